// What the Linux program asks of the desktop beneath SDL: X11's and Wayland's own. Each part
// does nothing on another desktop.
#pragma once

#include <poll.h>

#include <cstddef>
#include <functional>
#include <vector>

#include <SDL.h>

// The desktop SDL's video shows the window on (once SDL's video has started).
enum class Desktop { x11, wayland, other };
Desktop currentDesktop();

// X11: asks the window manager for the frame the game's window has on Windows: caption, window
// menu, minimise and close, but no maximise and no sizing. Call before the window is shown.
// (SDL gives a Wayland window that cannot be resized a minimum size equal to its maximum, which
// is as much as a Wayland client can ask.)
void requestFixedFrame(SDL_Window* window);

// X11: the Xft.dpi resource of the display SDL is showing on (what the desktop has set for its
// programs' text), or 0 when there is none.
double desktopXftDpi();

// The Xft.dpi value in the text of an X resource database ("Xft.dpi:\t192\n..."), or 0.
double xftDpiIn(const char* resources);

// Wayland: libwayland's own messages while SDL's video starts (where there is no display at all,
// "XDG_RUNTIME_DIR is invalid or not set") are held back from the terminal: without a display
// the program's own message says what is wrong. Call `holdWaylandMessages` before SDL_Init, and
// `releaseWaylandMessages` once the video has started on a display: it writes out what was held
// and lets later messages through. Held messages that are never released are never shown.
void holdWaylandMessages();
void releaseWaylandMessages();

// X11: calls `lastWords` when the connection to the X server is lost, then ends the program
// with exit code 1 (Xlib would end it anyway). Nothing of the display may be used by then.
void onDisplayLost(void (*lastWords)());

// Sleeps until there is something for the event loop: an event of the window's display, a byte
// on `wake`, or the end of `timeoutMs` (-1 for no end). On X11 it waits on the display's
// connection itself rather than in SDL's wait, which would send the window a wake-up message
// for each event it takes, and a late one to a window just closed ends the program with an X
// error. On Wayland it waits on the compositor's connection as SDL reads it, sleeping at most
// `heldKeyMs` while a key is held, since SDL makes a held key's repeats itself there.
// Elsewhere it waits in SDL's own way, looking at `wake` at least twice a second.
class EventWaiter {
  public:
    void watch(SDL_Window* window, int wake, int heldKeyMs);
    void wait(int timeoutMs);
    // Wayland: the connection to the compositor has failed (SDL reports that as a quit).
    bool displayGone() const;
    // Another source the same sleep wakes for (the accessibility bus): `fill` appends its
    // descriptors and may shorten the sleep; `ready` is given them back after each sleep.
    using Fill = std::function<void(std::vector<pollfd>& fds, int& timeoutMs)>;
    using Ready = std::function<void(const pollfd* fds, std::size_t count)>;
    void alsoWatch(Fill fill, Ready ready);

  private:
    Desktop desktop = Desktop::other;
    void* display = nullptr;
    int connection = -1;
    int wake = -1;
    int heldKeyMs = 0;
    Fill fill;
    Ready ready;
    std::vector<pollfd> fds;
};
