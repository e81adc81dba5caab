// The Linux front end's state, and one life of the program in its window, shared by the Linux
// program and its headless run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <SDL.h>

#include "screens/Program.h"
#include "shell/atspi/AtspiBridge.h"
#include "shell/raster/RasterSurface.h"
#include "shell/sdl/SdlDesktop.h"
#include "shell/sdl/PortalContrast.h"
#include "shell/sdl/SdlServices.h"
#include "shell/sdl/SdlText.h"

// The Linux front end's own: its window-system services and the program working through them,
// the text, the window, its pixels and the frame shown in them, and what screen readers are
// told. A program has one, of static storage duration (the program's skin alone is about a
// megabyte).
struct Frontend {
    SdlServices services;
    Program program{services};
    SdlText text;
    SDL_Window* window = nullptr;
    // The window's pixels: its own surface where the video driver has one (X11, with no 3D
    // renderer loaded for it), else a renderer's streaming texture (Wayland).
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // The frame, at as many pixels a point as the window has.
    std::unique_ptr<RasterSurface> frame;
    // True while the window is shown with the program's choices in it.
    bool open = false;
    EventWaiter waiter;
    // The tree screen readers read, while the desktop has an accessibility bus.
    AtspiBridge access;
    // The desktop's contrast setting, while the session has a portal.
    PortalContrast contrast;
};

// What happens while the window is open: the event loop of the program, or the headless run's
// own script. It returns when the window is to close.
using WindowLife = std::function<void(Frontend& frontend)>;

// The program's life in the front-end contract's order: the settings read, the window made at
// the saved place (at the services' scale), built, given its pixels and its flags and shown
// with its first frame, `live` run, then the choices captured, the window destroyed and the
// settings saved (a failed save reported on stderr). False, with the reason on stderr, when no
// window or none of its pixels could be had. Needs SDL's video and the font renderer started.
bool runProgram(Frontend& frontend, const WindowLife& live);

// Renders the whole frame and shows it in the window in one step.
void paint(Frontend& frontend);

// The display went away under the program: the choices last known, with the window's last
// known place, are saved (while the window is open), it is said on stderr, and the program
// ends with exit code 1. Nothing of the display is used.
[[noreturn]] void endAtDisplayLoss(Frontend& frontend);

// Prints "vok-tictactoe: <what>" on stderr.
void complain(const std::string& what);
// SDL's last error, or "no reason given".
std::string sdlError();
