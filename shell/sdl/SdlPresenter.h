#pragma once

#include <memory>

#include <SDL.h>

#include "shell/sdl/SdlFonts.h"
#include "shell/sdl/SdlSurface.h"

// The window's one way of showing a frame: drawn off-screen at the drawing area's size, then
// copied to the window in one step.
class SdlPresenter {
  public:
    SdlPresenter(SDL_Window* window, SdlFonts& fonts);
    void paint();

  private:
    SDL_Window* window;
    std::unique_ptr<SdlSurface> frame;
};
