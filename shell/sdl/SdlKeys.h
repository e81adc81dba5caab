// Which SDL key presses the Linux program passes on, and as which key.
#pragma once

#include <SDL.h>

// The code of platform/Keys.h for N and the four arrows, or 0 for a key press the program is
// not given: every other key, and keys pressed with Alt, which the window system keeps for
// itself on Windows.
int virtualKeyFor(SDL_Keycode key, Uint16 modifiers);
