// The Linux front end's state, and one life of the program in its window.

#include "shell/sdl/SdlProgram.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include "resources/embedded.h"
#include "services/AppInfo.h"
#include "shell/WindowLogic.h"

namespace {

// A save that failed says so, naming the file and the reason.
void report(const SaveOutcome& outcome) {
    if (!outcome) {
        std::fprintf(stderr, "vok-tictactoe: could not save the settings%s%s: %s\n",
                     outcome.path.empty() ? "" : " to ", outcome.path.c_str(),
                     outcome.reason.c_str());
    }
}

void setIcon(SDL_Window* window) {
    const EmbeddedResource icon = embeddedIcon();
    if (!icon.data) {
        return;
    }
    if (SDL_Surface* picture =
            SDL_LoadBMP_RW(SDL_RWFromConstMem(icon.data, static_cast<int>(icon.size)), 1)) {
        SDL_SetWindowIcon(window, picture);
        SDL_FreeSurface(picture);
    }
}

}  // namespace

void complain(const std::string& what) {
    std::fprintf(stderr, "vok-tictactoe: %s\n", what.c_str());
}

std::string sdlError() {
    const char* error = SDL_GetError();
    return error && *error ? error : "no reason given";
}

void endAtDisplayLoss(Frontend& f) {
    if (f.open) {
        report(windowLogic::sessionEnding(f.program));
    }
    complain("lost the connection to the display");
    std::fflush(nullptr);
    _exit(1);
}

bool runProgram(Frontend& f, const WindowLife& live) {
    windowLogic::startUp(f.program);
    int left = 0, top = 0;
    windowLogic::savedPosition(f.program, left, top);
    int width = 0, height = 0;
    f.services.clientSize(width, height);
    const int units = f.services.scale();
    f.window =
        SDL_CreateWindow(appTitle, left, top, width * units, height * units, SDL_WINDOW_HIDDEN);
    if (!f.window) {
        complain("cannot create the window: " + sdlError());
        return false;
    }
    f.services.attach(f.window);
    windowLogic::created(f.program);
    // The window's pixels exist before anything else is set on the window.
    SDL_GetWindowSurface(f.window);
    setIcon(f.window);
    requestFixedFrame(f.window);
    windowLogic::applyWindowFlags(f.program);
    SDL_ShowWindow(f.window);
    f.services.noteWindowPlace();
    f.open = true;
    paint(f);
    live(f);
    f.services.noteWindowPlace();
    windowLogic::destroyed(f.program);
    f.open = false;
    f.services.attach(nullptr);
    SDL_DestroyWindow(f.window);
    f.window = nullptr;
    report(windowLogic::shutDown(f.program));
    return true;
}

void paint(Frontend& f) {
    int width = 0, height = 0;
    windowLogic::drawingSize(f.program, width, height);
    SDL_Surface* target = SDL_GetWindowSurface(f.window);
    if (!target) {
        return;
    }
    const int scale = f.services.scale();
    if (!f.frame) {
        f.frame = std::make_unique<RasterSurface>(width, height, scale, f.text);
    }
    f.frame->clear();
    windowLogic::render(f.program, *f.frame);
    SDL_ConvertPixels(std::min(target->w, f.frame->width()), std::min(target->h, f.frame->height()),
                      SDL_PIXELFORMAT_RGB888, f.frame->data(), f.frame->width() * 4,
                      target->format->format, target->pixels, target->pitch);
    SDL_UpdateWindowSurface(f.window);
}
