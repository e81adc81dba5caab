#pragma once

#include <SDL.h>

// What the program asks of an X11 desktop beyond SDL. Elsewhere these do nothing.

// Asks the window manager for the frame the game's window has on Windows: caption, window
// menu, minimise and close, but no maximise and no sizing. Call before the window is shown.
void requestFixedFrame(SDL_Window* window);

// Calls `lastWords` when the connection to the X server is lost, then ends the program with
// exit code 1 (Xlib would end it anyway). Nothing of the display may be used by then.
void onDisplayLost(void (*lastWords)());
