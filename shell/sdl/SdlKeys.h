// Which SDL key presses the Linux program passes on, and as which key.
#pragma once

#include <SDL.h>

// The code of platform/Keys.h for N, the four arrows, Tab, Enter and Space, or 0 for a key press
// the program is not given: every other key, and keys pressed with Alt, which the window system
// keeps for itself on Windows. A key whose symbol is no Latin letter (a Cyrillic layout's, say)
// counts by its place on the keyboard, as the Windows virtual keys do. With Ctrl, the zoom's keys
// too (=, +, -, 0 and the keypad's plus, minus and 0).
int virtualKeyFor(SDL_Keycode key, SDL_Scancode place, Uint16 modifiers);
