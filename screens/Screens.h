// The screen builder: every control's place, look and command id, and the saved choices.
#pragma once

struct Choices;
struct Program;

// Sets up every control of the three Pages for the window's sizes (already set and measured):
// applies the saved piece set, flags, level and first mover, and starts the first game. Runs
// once per window.
void buildScreens(Program& program, const Choices& saved);

// The saved choices in force, checked against this program's piece sets and this screen.
Choices savedChoices(Program& program);

// The other way: copies the current choices and the window's position into settings entries
// 0 to 6, while the window still exists (the position only where the window system tells it).
void captureSettings(Program& program);

// "Computer IQ:  " and the name of the game's current level.
void refreshLevelLabel(Program& program);
