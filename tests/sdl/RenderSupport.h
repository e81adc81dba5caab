// What the SDL tests share: their fonts, PNG writing and the screenshot folder.
#pragma once

#include <string>

#include <SDL.h>

#include "shell/sdl/SdlFonts.h"

// The fonts every render test draws with (the font renderer is started once for the run).
SdlFonts& testFonts();

// Writes the surface as an 8-bit RGB PNG; true on success.
bool writePng(const std::string& path, SDL_Surface* surface);

// The folder screenshots go to (created on first use): $VOK_SCREENSHOT_DIR, else
// "screenshots" in the working folder.
std::string screenshotFolder();
