#pragma once

#include <SDL.h>

// Asks the window manager for the frame the game's window has on Windows: caption, window
// menu, minimise and close, but no maximise and no sizing. Call before the window is shown.
// Where the window system has no such request (not X11), nothing happens.
void requestFixedFrame(SDL_Window* window);
