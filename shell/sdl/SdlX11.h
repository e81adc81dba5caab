#pragma once

#include <SDL.h>

// What the program asks of an X11 desktop beyond SDL. Elsewhere these do nothing.

// Asks the window manager for the frame the game's window has on Windows: caption, window
// menu, minimise and close, but no maximise and no sizing. Call before the window is shown.
void requestFixedFrame(SDL_Window* window);
