// How the Linux window shows a frame: drawn off screen, then copied to the window in one step.
#pragma once

#include <memory>

#include <SDL.h>

#include "screens/Program.h"
#include "shell/sdl/SdlFonts.h"
#include "shell/sdl/SdlSurface.h"

class SdlPresenter {
  public:
    // Each point of the drawing area is `scale` x `scale` pixels of the window.
    SdlPresenter(SDL_Window* window, Program& program, SdlFonts& fonts, int scale = 1);
    // Renders the whole frame at the drawing area's size times the scale and shows it.
    void paint();

  private:
    SDL_Window* window;
    Program& program;
    std::unique_ptr<SdlSurface> frame;
};
