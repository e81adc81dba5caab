// What the Linux program asks of an X11 desktop beyond SDL. Elsewhere these do what they can.
#pragma once

#include <SDL.h>

// Asks the window manager for the frame the game's window has on Windows: caption, window
// menu, minimise and close, but no maximise and no sizing. Call before the window is shown.
void requestFixedFrame(SDL_Window* window);

// The Xft.dpi resource of the X display SDL is showing on (what the desktop has set for its
// programs' text), or 0 when there is none or SDL is not on X11.
double desktopXftDpi();

// The Xft.dpi value in the text of an X resource database ("Xft.dpi:\t192\n..."), or 0.
double xftDpiIn(const char* resources);

// Calls `lastWords` when the connection to the X server is lost, then ends the program with
// exit code 1 (Xlib would end it anyway). Nothing of the display may be used by then.
void onDisplayLost(void (*lastWords)());

// Sleeps until there is something for the event loop: an event of the window's display, a byte
// on `wake`, or the end of `timeoutMs` (-1 for no end). On X11 it waits on the display's
// connection itself rather than in SDL's wait, which would send the window a wake-up message
// for each event it takes, and a late one to a window just closed ends the program with an X
// error. Elsewhere it waits in SDL's own way, looking at `wake` at least twice a second.
class EventWaiter {
  public:
    EventWaiter(SDL_Window* window, int wake);
    void wait(int timeoutMs);

  private:
    void* display = nullptr;
    int connection = -1;
    int wake;
};
