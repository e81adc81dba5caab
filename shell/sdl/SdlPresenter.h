// How the Linux window shows a frame: drawn off screen, then copied to the window in one step.
#pragma once

#include <memory>

#include <SDL.h>

#include "screens/Program.h"
#include "shell/sdl/SdlFonts.h"
#include "shell/sdl/SdlSurface.h"

class SdlPresenter {
  public:
    SdlPresenter(SDL_Window* window, Program& program, SdlFonts& fonts);
    // Renders the whole frame at the drawing area's size and shows it.
    void paint();

  private:
    SDL_Window* window;
    Program& program;
    std::unique_ptr<SdlSurface> frame;
};
