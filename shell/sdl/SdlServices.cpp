// The window-system services of the Linux program: the window's on SDL, the rest POSIX's.

#include "shell/sdl/SdlServices.h"

#include <cstdlib>

#include "services/Settings.h"
#include "shell/sdl/SdlDesktop.h"

int desktopScale(const char* gdkScale, double xftDpi, double displayDpi) {
    if (gdkScale && *gdkScale) {
        char* end = nullptr;
        const long asked = std::strtol(gdkScale, &end, 10);
        if (*end == '\0' && asked >= 1) {
            return asked < maxScale ? static_cast<int>(asked) : maxScale;
        }
    }
    return windowLogic::scaleForDpi(xftDpi > 0 ? xftDpi : displayDpi);
}

// The settings file's own naming of a save's temporary files.
SdlServices::SdlServices()
    : PosixServices({temporaryFileName, temporaryFileOwner, temporaryFileTries}) {}

void SdlServices::attach(SDL_Window* window) {
    sdlWindow = window;
    placesTold = currentDesktop() != Desktop::wayland;
}

void SdlServices::setScale(int scale) {
    unitsPerPoint = scale < 1 ? 1 : scale > maxScale ? maxScale : scale;
}

void SdlServices::startTimer(int /*timerId*/, int periodMs) {
    tickPeriod = windowLogic::tickPeriodFor(periodMs);
}

void SdlServices::setDrawingSize(int width, int height) {
    drawWidth = width > 1 ? width : 1;
    drawHeight = height > 1 ? height : 1;
    if (sdlWindow) {
        SDL_SetWindowSize(sdlWindow, drawWidth * unitsPerPoint, drawHeight * unitsPerPoint);
    }
}

void SdlServices::clientSize(int& width, int& height) {
    width = drawWidth;
    height = drawHeight;
    if (sdlWindow) {
        SDL_GetWindowSize(sdlWindow, &width, &height);
        width /= unitsPerPoint;
        height /= unitsPerPoint;
    }
}

void SdlServices::moveWindow(int left, int top) {
    if (!sdlWindow || !placesTold) {
        return;
    }
    int borderTop = 0, borderLeft = 0;
    if (SDL_GetWindowBordersSize(sdlWindow, &borderTop, &borderLeft, nullptr, nullptr) != 0) {
        borderTop = borderLeft = 0;
    }
    SDL_SetWindowPosition(sdlWindow, left + borderLeft, top + borderTop);
    noteWindowPlace();
}

void SdlServices::setOpacity(int alpha) {
    if (sdlWindow) {
        SDL_SetWindowOpacity(sdlWindow, alpha / 255.0f);
    }
}

void SdlServices::setTopmost(bool on) {
    if (sdlWindow) {
        SDL_SetWindowAlwaysOnTop(sdlWindow, on ? SDL_TRUE : SDL_FALSE);
    }
}

void SdlServices::noteWindowPlace() {
    if (!sdlWindow || !placesTold) {
        return;
    }
    // SDL reports where the drawing area is; the window's rectangle includes the frame the
    // window manager put around it, as the saved position always has.
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(sdlWindow, &x, &y);
    SDL_GetWindowSize(sdlWindow, &w, &h);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(sdlWindow, &top, &left, &bottom, &right) != 0) {
        top = left = bottom = right = 0;
    }
    lastPlace = ScreenRect{x - left, y - top, x + w + right, y + h + bottom};
}

std::optional<ScreenRect> SdlServices::windowRect() {
    return lastPlace;
}

void SdlServices::screenSize(int& width, int& height) {
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &bounds) != 0 && SDL_GetDisplayBounds(0, &bounds) != 0) {
        bounds = SDL_Rect{0, 0, 0, 0};
    }
    width = bounds.w;
    height = bounds.h;
}

bool SdlServices::leftButtonDown() {
    return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
}
