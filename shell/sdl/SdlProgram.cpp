// One life of the program in an SDL window, shared by the Linux program and its headless run.

#include "shell/sdl/SdlProgram.h"

#include <cstdio>

#include "resources/embedded.h"
#include "services/AppInfo.h"
#include "shell/WindowLogic.h"
#include "shell/sdl/SdlX11.h"

namespace {

// The program whose window is open, for the one moment that cannot be given it: the display
// going away in the middle of some X call.
Program* running = nullptr;

// A save that failed says so, naming the file and the reason.
void report(const SaveOutcome& outcome) {
    if (!outcome) {
        std::fprintf(stderr, "vok-tictactoe: could not save the settings%s%s: %s\n",
                     outcome.path.empty() ? "" : " to ", outcome.path.c_str(),
                     outcome.reason.c_str());
    }
}

// The display went away under the program: the choices last known, with the window's last known
// place, are saved before the program ends.
void displayLost() {
    if (running) {
        report(windowLogic::sessionEnding(*running));
    }
    complain("lost the connection to the display");
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

void complain(const char* what) {
    std::fprintf(stderr, "vok-tictactoe: %s\n", what);
}

bool runProgram(Program& program, SdlServices& services, SdlFonts& fonts, const WindowLife& live) {
    windowLogic::startUp(program);
    int left = 0, top = 0;
    windowLogic::savedPosition(program, left, top);
    int width = 0, height = 0;
    services.clientSize(width, height);
    const int scale = services.scale();
    SDL_Window* window =
        SDL_CreateWindow(appTitle, left, top, width * scale, height * scale, SDL_WINDOW_HIDDEN);
    if (!window) {
        const std::string reason = std::string("cannot create the window: ") + SDL_GetError();
        complain(reason.c_str());
        return false;
    }
    services.attach(window);
    windowLogic::created(program);
    // The window's pixels exist before anything else is set on the window.
    SDL_GetWindowSurface(window);
    setIcon(window);
    requestFixedFrame(window);
    windowLogic::applyWindowFlags(program);
    SDL_ShowWindow(window);
    services.noteWindowPlace();
    running = &program;
    onDisplayLost(displayLost);
    {
        SdlPresenter presenter(window, program, fonts, scale);
        presenter.paint();
        live(window, presenter);
    }
    services.noteWindowPlace();
    windowLogic::destroyed(program);
    running = nullptr;
    services.attach(nullptr);
    SDL_DestroyWindow(window);
    report(windowLogic::shutDown(program));
    return true;
}
