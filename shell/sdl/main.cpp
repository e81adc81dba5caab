// The Linux program: one SDL window whose events become calls of the window logic, on X11 or
// natively on Wayland.
//
// The front-end contract (shell/WindowLogic.h), row by row:
//   Pointer   SDL mouse motion and left-button events inside the window (`handle`), divided
//             by the scale; other buttons are not passed on
//   Keys      SDL key-down events, repeats included, named by SdlKeys (by the key's symbol, or
//             by its place when the symbol is no Latin letter), with Shift and Ctrl; Alt
//             withheld there
//   Timer     the event loop's own tick (`run`), at the 15 ms floor of tickPeriodFor, only
//             while the window logic wants ticks; otherwise the loop sleeps until an event
//   Paint     `paint` (SdlProgram): on SDL_WINDOWEVENT_EXPOSED, after the first build, after a
//             tick; the frame at as many pixels a point as the window has (text rendered at its
//             size, all else in blocks), into the window's own surface or, where the window has
//             none (Wayland), a renderer's texture
//   Window    SdlServices: the drawing area the window logic states, `scale` times as many
//             units each way (`--scale`, VOK_SCALE, else the desktop's: `chosenScale`; Wayland
//             scales the pixels itself), a fixed frame asked of the window manager (SdlDesktop),
//             the place noted at every window event where the desktop tells it (not Wayland)
//   Zoom      the zoom's keys with Ctrl (SdlKeys); the services resize the window and move it
//             (SdlServices), `paint` draws at the window's new pixels a point, the pointer and
//             the AT-SPI extents take the services' scale at each event and request
//   Save      runProgram at a close; SIGHUP, SIGINT and SIGTERM end the program as a close
//             does (`handleSignals`); a lost display or compositor saves at once and exits 1; a
//             failed save is reported on stderr
//   Access    AtspiBridge (shell/atspi), started with the event loop where the session has an
//             accessibility bus: handed each frame's description, made once while it listens
//             (`paint`), and told of the window's focus, its bus watched in the loop's own sleep
//             (EventWaiter)

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include <SDL.h>
#include <SDL_ttf.h>

#include "services/AppInfo.h"
#include "shell/WindowLogic.h"
#include "shell/posix/PosixCommandLine.h"
#include "shell/posix/PosixProcess.h"
#include "shell/sdl/SdlDesktop.h"
#include "shell/sdl/SdlKeys.h"
#include "shell/sdl/SdlProgram.h"

namespace {

Frontend frontend;

// The scale named, else the desktop's. Needs SDL's video.
int chosenScale(int named) {
    if (named > 0) {
        return named;
    }
    // A Wayland compositor scales its windows' pixels itself (runProgram asks for them).
    if (currentDesktop() == Desktop::wayland) {
        return 1;
    }
    float displayDpi = 0;
    if (SDL_GetDisplayDPI(0, nullptr, &displayDpi, nullptr) != 0) {
        displayDpi = 0;
    }
    return desktopScale(std::getenv("GDK_SCALE"), desktopXftDpi(), displayDpi);
}

int failed(const std::string& what) {
    complain(what);
    return 1;
}

bool insideWindow(int x, int y) {
    int width = 0, height = 0;
    SDL_GetWindowSize(frontend.window, &width, &height);
    return x >= 0 && y >= 0 && x < width && y < height;
}

// One event; false when the window has been closed.
bool handle(const SDL_Event& event) {
    Program& program = frontend.program;
    const int scale = frontend.services.scale();
    switch (event.type) {
        case SDL_QUIT:
            // SDL tells a Wayland compositor's going away as a quit.
            if (frontend.waiter.displayGone()) {
                endAtDisplayLoss(frontend);
            }
            return false;
        case SDL_WINDOWEVENT:
            frontend.services.noteWindowPlace();
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                return false;
            }
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                frontend.access.windowActive(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
            }
            // A new size is a new scale of the compositor's.
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                paint(frontend);
            }
            break;
        case SDL_MOUSEMOTION:
            // As on Windows, the pointer is seen only while it is over the drawing area.
            if (insideWindow(event.motion.x, event.motion.y)) {
                windowLogic::pointer(program, PointerEvent::Move, event.motion.x / scale,
                                     event.motion.y / scale);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            // Only the left button plays; the right button's press is swallowed.
            if (event.button.button == SDL_BUTTON_LEFT &&
                insideWindow(event.button.x, event.button.y)) {
                windowLogic::pointer(program,
                                     event.type == SDL_MOUSEBUTTONDOWN ? PointerEvent::LeftDown
                                                                       : PointerEvent::LeftUp,
                                     event.button.x / scale, event.button.y / scale);
            }
            break;
        case SDL_KEYDOWN:
            // Repeats included: holding a key acts once per repeat.
            if (const int key = virtualKeyFor(event.key.keysym.sym, event.key.keysym.scancode,
                                              event.key.keysym.mod)) {
                windowLogic::keyDown(program, key, (event.key.keysym.mod & KMOD_SHIFT) != 0,
                                     (event.key.keysym.mod & KMOD_CTRL) != 0);
            }
            break;
        default:
            break;
    }
    return true;
}

// Screen readers see the window from its first frame on, while the desktop has an accessibility
// bus; its messages wake the same sleep as the window's events.
void startAccess(Frontend& f) {
    AtspiWindow window;
    window.scale = [&f] { return f.services.scale(); };
    window.origin = [&f](int& x, int& y) {
        // Wayland never tells a window where it is.
        if (currentDesktop() != Desktop::x11) {
            return false;
        }
        SDL_GetWindowPosition(f.window, &x, &y);
        return true;
    };
    window.complain = complain;
    f.access.start(f.program, window);
    f.access.windowActive((SDL_GetWindowFlags(f.window) & SDL_WINDOW_INPUT_FOCUS) != 0);
    // The desktop's contrast, followed on the same bus; the look is the normal one until the
    // portal answers, and stays so without one.
    f.contrast.start(sessionBusAddress(), [&f](bool high, bool dark) {
        setHighContrast(f.program, high,
                        dark ? contrastPalette::lightOnDark : contrastPalette::darkOnLight);
    });
    // Both share the sleep: the bridge's descriptors first, then the portal's.
    auto bridgeCount = std::make_shared<std::size_t>(0);
    f.waiter.alsoWatch(
        [&f, bridgeCount](std::vector<pollfd>& fds, int& ms) {
            const std::size_t before = fds.size();
            f.access.watches(fds, ms);
            *bridgeCount = fds.size() - before;
            f.contrast.watches(fds, ms);
        },
        [&f, bridgeCount](const pollfd* fds, std::size_t n) {
            const std::size_t first = std::min(*bridgeCount, n);
            f.access.handle(fds, first);
            f.contrast.handle(fds + first, n - first);
        });
}

// The event loop: events as they come, and the timer's ticks while the game wants them. Between
// them the loop sleeps: until the next tick, or, when nothing can change before the player
// acts, until the next event.
void run(Frontend& f) {
    f.waiter.watch(f.window, endWake(), windowLogic::timerFloorMs);
    startAccess(f);
    // The bus is left with the window.
    struct Leave {
        AtspiBridge& access;
        PortalContrast& contrast;
        ~Leave() {
            access.stop();
            contrast.stop();
        }
    } leave{f.access, f.contrast};
    const Uint64 period = static_cast<Uint64>(f.services.timerPeriodMs());
    Uint64 nextTick = SDL_GetTicks64() + period;
    while (!endRequested()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (!handle(event)) {
                return;
            }
        }
        if (!windowLogic::wantsTicks(f.program)) {
            f.waiter.wait(-1);
            // Ticks start again a whole period after whatever woke the loop.
            nextTick = SDL_GetTicks64() + period;
            continue;
        }
        const Uint64 now = SDL_GetTicks64();
        if (now < nextTick) {
            f.waiter.wait(static_cast<int>(nextTick - now));
            continue;
        }
        if (windowLogic::timerTick(f.program)) {
            paint(f);
        }
        // A late tick is not made up for: the next one is a whole period away.
        nextTick += period;
        const Uint64 after = SDL_GetTicks64();
        if (nextTick <= after) {
            nextTick = after + period;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    int named = 0;
    if (const int answered = commandLine(argc, argv, appTitle, named); answered >= 0) {
        return answered;
    }
    handleSignals();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Transparency needs the desktop's compositor, which SDL would otherwise ask to stand
    // aside. A press inside and a release outside the window is no release for the game.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // The frame is software pixels: where the window has pixels of its own (X11), show them as
    // they are, without a 3D renderer in between (asking for one can make SDL replace the
    // window, losing what was set on it). Where it has none, runProgram makes a renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");

    holdWaylandMessages();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        return failed("cannot open a window: " + sdlError() +
                      " (the game needs a graphical desktop; is DISPLAY or WAYLAND_DISPLAY set?)");
    }
    // Without a desktop SDL falls back to drawing into memory, where no one would see the game.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) {
        SDL_Quit();
        return failed(
            "no display to open the window on (the game needs a graphical desktop; is DISPLAY "
            "or WAYLAND_DISPLAY set?)");
    }
    releaseWaylandMessages();
    if (TTF_Init() != 0) {
        SDL_Quit();
        return failed("cannot start the font renderer: " + sdlError());
    }
    onDisplayLost([] { endAtDisplayLoss(frontend); });
    windowLogic::setSystemScale(frontend.program, chosenScale(named));
    int status = 1;
    if (!frontend.text.available()) {
        complain(
            "no sans-serif font found through fontconfig; install one (for example the "
            "fonts-dejavu-core package)");
    } else if (runProgram(frontend, run)) {
        status = 0;
    }
    frontend.text.close();
    TTF_Quit();
    SDL_Quit();
    return status;
}
