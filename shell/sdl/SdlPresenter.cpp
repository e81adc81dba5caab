#include "shell/sdl/SdlPresenter.h"

#include "shell/WindowLogic.h"

SdlPresenter::SdlPresenter(SDL_Window* w, SdlFonts& fonts) : window(w) {
    int width = 0, height = 0;
    windowLogic::drawingSize(width, height);
    frame = std::make_unique<SdlSurface>(width, height, fonts);
}

void SdlPresenter::paint() {
    frame->clear();
    windowLogic::render(*frame);
    if (SDL_Surface* target = SDL_GetWindowSurface(window)) {
        SDL_BlitSurface(frame->pixels(), nullptr, target, nullptr);
        SDL_UpdateWindowSurface(window);
    }
}
