// One life of the program in an SDL window, shared by the Linux program and its headless run.
#pragma once

#include <functional>

#include <SDL.h>

#include "screens/Program.h"
#include "shell/sdl/SdlFonts.h"
#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlServices.h"

// What happens while the window is open: the event loop of the program, or the headless run's
// own script. It returns when the window is to close.
using WindowLife = std::function<void(SDL_Window* window, SdlPresenter& presenter)>;

// The program's life in the front-end contract's order: the settings read, the window made at
// the saved place (at the services' scale), built, given its flags and shown with its first
// frame, `live` run, then the choices captured, the window destroyed and the settings saved (a
// failed save reported on stderr). `program` works through `services`. False, with the reason
// on stderr, when no window could be made. Needs SDL's video and the font renderer started.
bool runProgram(Program& program, SdlServices& services, SdlFonts& fonts, const WindowLife& live);

// Prints "vok-tictactoe: <what>" on stderr.
void complain(const char* what);
