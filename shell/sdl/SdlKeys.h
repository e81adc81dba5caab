#pragma once

#include <SDL.h>

// The Windows virtual-key code the window logic knows a key by (N is 78, the arrows 37 to 40,
// letters and digits their upper-case characters), or 0 for a key press the program is not
// given: keys it has no code for, and keys pressed with Alt, which the window system keeps for
// itself on Windows.
int virtualKeyFor(SDL_Keycode key, Uint16 modifiers);
