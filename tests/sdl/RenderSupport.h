// What the SDL tests share: their text, PNG writing and the screenshot folder.
#pragma once

#include <string>

#include "shell/raster/RasterSurface.h"
#include "shell/sdl/SdlText.h"

// The text every render test draws with (the font renderer is started once for the run).
SdlText& testText();

// Writes the frame as an 8-bit RGB PNG; true on success.
bool writePng(const std::string& path, const RasterSurface& frame);

// The folder screenshots go to (created on first use): $VOK_SCREENSHOT_DIR, else
// "screenshots" in the working folder.
std::string screenshotFolder();
