#pragma once

struct Program;

// Sets up every control of the three Pages from the loaded settings, through the window-system
// services: starts the timer, sizes the window, measures the drawing area, applies the saved
// piece set, flags, level and first mover, and starts the first game. Runs once per window.
void buildScreens(Program& program);

// "Computer IQ:  " and the name of the game's current level.
void refreshLevelLabel(Program& program);
