// What the Linux program asks of the desktop beneath SDL: X11's and Wayland's own.

#include "shell/sdl/SdlDesktop.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>
#include <unistd.h>

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#endif
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
#include <wayland-client.h>
#endif

Desktop currentDesktop() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) {
        return Desktop::x11;
    }
    return driver && std::strcmp(driver, "wayland") == 0 ? Desktop::wayland : Desktop::other;
}

void requestFixedFrame(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    // The Motif hints most window managers read: which functions and decorations to offer.
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints = {1 | 2,            // functions and decorations given
               4 | 8 | 32,       // move, minimise, close
               2 | 8 | 16 | 32,  // border, title, menu, minimise button
               0, 0};
    Display* display = info.info.x11.display;
    const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, info.info.x11.window, atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
    XFlush(display);
#else
    (void)window;
#endif
}

double xftDpiIn(const char* resources) {
    const char name[] = "Xft.dpi:";
    for (const char* line = resources; line && *line;) {
        if (std::strncmp(line, name, sizeof name - 1) == 0) {
            const char* value = line + sizeof name - 1;
            char* end = nullptr;
            const double dpi = std::strtod(value, &end);
            // Only a plain number, with nothing but blanks after it on its line.
            while (end != value && (*end == ' ' || *end == '\t')) {
                ++end;
            }
            return end != value && (*end == '\n' || *end == '\0') && dpi > 0 ? dpi : 0;
        }
        line = std::strchr(line, '\n');
        line = line ? line + 1 : nullptr;
    }
    return 0;
}

double desktopXftDpi() {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (currentDesktop() != Desktop::x11) {
        return 0;
    }
    // A connection of its own, for a moment: the window SDL would give its connection through
    // does not exist yet. The resources are what the desktop had set when it was opened.
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return 0;
    }
    const double dpi = xftDpiIn(XResourceManagerString(display));
    XCloseDisplay(display);
    return dpi;
#else
    return 0;
#endif
}

#if defined(SDL_VIDEO_DRIVER_WAYLAND)
namespace {

bool holdingWaylandMessages = false;
std::string heldWaylandMessages;

void waylandMessage(const char* format, va_list args) {
    if (!holdingWaylandMessages) {
        std::vfprintf(stderr, format, args);
        return;
    }
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    heldWaylandMessages += text;
}

}  // namespace
#endif

void holdWaylandMessages() {
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    holdingWaylandMessages = true;
    wl_log_set_handler_client(waylandMessage);
#endif
}

void releaseWaylandMessages() {
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    holdingWaylandMessages = false;
    std::fputs(heldWaylandMessages.c_str(), stderr);
    heldWaylandMessages.clear();
#endif
}

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

void (*displayLostHandler)() = nullptr;

int connectionLost(Display*) {
    if (displayLostHandler) {
        displayLostHandler();
    }
    std::fflush(nullptr);
    _exit(1);
}

}  // namespace
#endif

void onDisplayLost(void (*lastWords)()) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (currentDesktop() != Desktop::x11) {
        return;
    }
    displayLostHandler = lastWords;
    XSetIOErrorHandler(connectionLost);
#else
    (void)lastWords;
#endif
}

void EventWaiter::watch(SDL_Window* window, int wakeFd, int heldKeyWakeMs) {
    wake = wakeFd;
    heldKeyMs = heldKeyWakeMs;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) {
        return;
    }
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) {
        desktop = Desktop::x11;
        display = info.info.x11.display;
        connection = ConnectionNumber(info.info.x11.display);
    }
#endif
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    if (info.subsystem == SDL_SYSWM_WAYLAND) {
        desktop = Desktop::wayland;
        display = info.info.wl.display;
        connection = wl_display_get_fd(info.info.wl.display);
    }
#endif
}

bool EventWaiter::displayGone() const {
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    return desktop == Desktop::wayland && wl_display_get_error(static_cast<wl_display*>(display));
#else
    return false;
#endif
}

void EventWaiter::alsoWatch(Fill f, Ready r) {
    fill = std::move(f);
    ready = std::move(r);
}

void EventWaiter::wait(int timeoutMs) {
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        return;
    }
    fds.assign({{connection, POLLIN, 0}, {wake, POLLIN, 0}});
    if (fill) {
        fill(fds, timeoutMs);
    }
    int woken = -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    // Events Xlib has already read sit in its queue, where the connection shows nothing more.
    if (desktop == Desktop::x11 && XPending(static_cast<Display*>(display)) == 0) {
        woken = poll(fds.data(), fds.size(), timeoutMs);
    }
#endif
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    // Events read but not yet handed out are SDL's to take at its next look.
    wl_display* d = static_cast<wl_display*>(display);
    if (desktop == Desktop::wayland && wl_display_prepare_read(d) == 0) {
        wl_display_flush(d);
        int keys = 0;
        const Uint8* held = SDL_GetKeyboardState(&keys);
        if (std::count(held, held + keys, 0) != keys && (timeoutMs < 0 || timeoutMs > heldKeyMs)) {
            timeoutMs = heldKeyMs;
        }
        woken = poll(fds.data(), fds.size(), timeoutMs);
        if (woken > 0 && fds[0].revents != 0) {
            wl_display_read_events(d);
        } else {
            wl_display_cancel_read(d);
        }
    }
#endif
    if (desktop == Desktop::other) {
        woken = poll(&fds[1], fds.size() - 1, 0);
        if (woken == 0) {
            SDL_WaitEventTimeout(nullptr, timeoutMs < 0 || timeoutMs > 500 ? 500 : timeoutMs);
        }
    }
    // The other source hears what its descriptors said after every sleep that looked at them.
    if (ready && woken >= 0) {
        ready(fds.data() + 2, fds.size() - 2);
    }
}
