// How the Linux window shows a frame: drawn off screen, then copied to the window in one step.

#include "shell/sdl/SdlPresenter.h"

#include "shell/WindowLogic.h"

SdlPresenter::SdlPresenter(SDL_Window* w, Program& p, SdlFonts& fonts, int scale)
    : window(w), program(p) {
    int width = 0, height = 0;
    windowLogic::drawingSize(program, width, height);
    frame = std::make_unique<SdlSurface>(width, height, fonts, scale);
}

void SdlPresenter::paint() {
    frame->clear();
    windowLogic::render(program, *frame);
    if (SDL_Surface* target = SDL_GetWindowSurface(window)) {
        SDL_BlitSurface(frame->pixels(), nullptr, target, nullptr);
        SDL_UpdateWindowSurface(window);
    }
}
