// The Linux front end's state, and one life of the program in its window.

#include "shell/sdl/SdlProgram.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include "resources/embedded.h"
#include "services/AppInfo.h"
#include "shell/ScreenDescription.h"
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

void closeWindow(Frontend& f) {
    f.services.attach(nullptr);
    if (f.texture) {
        SDL_DestroyTexture(f.texture);
    }
    if (f.renderer) {
        SDL_DestroyRenderer(f.renderer);
    }
    SDL_DestroyWindow(f.window);
    f.window = nullptr;
    f.renderer = nullptr;
    f.texture = nullptr;
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

namespace {

// The Linux program's part of the start-up: its SDL window.
class SdlOpener : public windowLogic::WindowOpener {
  public:
    explicit SdlOpener(Frontend& frontend) : f(frontend) {}

    bool makeWindow(int left, int top) override {
        const int units = f.services.scale();
        // Where the compositor scales the window (Wayland), its pixels are as many as the
        // screen's, so that the frame is drawn sharp at that size. A Wayland window has no pixels
        // of its own: it is made for the 3D renderer its frame is shown through.
        const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI |
                             (currentDesktop() == Desktop::wayland ? SDL_WINDOW_OPENGL : 0);
        f.window = SDL_CreateWindow(appTitle, left, top, windowLogic::drawingWidth * units,
                                    windowLogic::drawingHeight * units, flags);
        if (!f.window) {
            complain("cannot create the window: " + sdlError());
            return false;
        }
        f.services.attach(f.window);
        // The window's pixels exist before anything else is set on the window: making a
        // renderer can replace the window, losing what was set on it.
        if (!SDL_GetWindowSurface(f.window) &&
            !(f.renderer = SDL_CreateRenderer(f.window, -1, 0))) {
            complain("cannot draw into the window: " + sdlError());
            closeWindow(f);
            return false;
        }
        setIcon(f.window);
        requestFixedFrame(f.window);
        return true;
    }

    void showWindow() override {
        SDL_ShowWindow(f.window);
        f.services.noteWindowPlace();
        f.open = true;
        paint(f);
    }

  private:
    Frontend& f;
};

}  // namespace

bool runProgram(Frontend& f, const WindowLife& live) {
    SdlOpener opener(f);
    if (!windowLogic::openWindow(f.program, opener)) {
        return false;
    }
    live(f);
    f.services.noteWindowPlace();
    windowLogic::destroyed(f.program);
    f.open = false;
    closeWindow(f);
    report(windowLogic::shutDown(f.program));
    return true;
}

void paint(Frontend& f) {
    int width = 0, height = 0, pixelWidth = 0, pixelHeight = 0;
    windowLogic::drawingSize(f.program, width, height);
    SDL_Surface* target = f.renderer ? nullptr : SDL_GetWindowSurface(f.window);
    if (target) {
        pixelWidth = target->w;
        pixelHeight = target->h;
    } else if (!f.renderer || SDL_GetRendererOutputSize(f.renderer, &pixelWidth, &pixelHeight)) {
        return;
    }
    // As many pixels a point as the window has: on Wayland, the compositor's scale.
    const int scale = std::clamp(pixelWidth / std::max(width, 1), 1, maxScale);
    if (!f.frame || f.frame->scale() != scale) {
        f.frame = std::make_unique<RasterSurface>(width, height, scale, f.text);
        if (f.texture) {
            SDL_DestroyTexture(f.texture);
            f.texture = nullptr;
        }
    }
    f.frame->clear();
    windowLogic::render(f.program, *f.frame);
    const int pitch = f.frame->width() * 4;
    if (target) {
        SDL_ConvertPixels(std::min(pixelWidth, f.frame->width()),
                          std::min(pixelHeight, f.frame->height()), SDL_PIXELFORMAT_RGB888,
                          f.frame->data(), pitch, target->format->format, target->pixels,
                          target->pitch);
        SDL_UpdateWindowSurface(f.window);
    } else {
        if (!f.texture) {
            f.texture =
                SDL_CreateTexture(f.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  f.frame->width(), f.frame->height());
        }
        SDL_UpdateTexture(f.texture, nullptr, f.frame->data(), pitch);
        SDL_RenderCopy(f.renderer, f.texture, nullptr, nullptr);
        SDL_RenderPresent(f.renderer);
    }
    // Screen readers hear what this frame changed: the frame described once, while one listens.
    if (f.access.listening()) {
        f.access.frameShown(windowLogic::describeScreen(f.program));
    }
}
