// What each control does when it is activated, by its command id.
#pragma once

#include <cstdint>

struct Program;

// What an activated control does, by the command id its Page stores beside it. The parameter
// is not used (the screens store 0). Unknown ids do nothing.
void onCommand(Program& program, int commandId, int commandParam);

// A new game at `level` with the current first mover; the level label follows and the window
// is repainted at the next tick.
void restartGame(Program& program, int level);

// The status display shows the text and plaque of the game's state.
void showGameState(Program& program);

// Hands the two window flags to the window system: always-on-top, and opacity 190 or opaque.
void applyTopmost(Program& program);
void applyOpacity(Program& program);
