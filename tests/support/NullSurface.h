// A drawing surface that draws nothing, for runs that need frames but no pixels.
#pragma once

#include <string>

#include "platform/DrawingSurface.h"

// Draws nothing: for runs that only need the frames walked through (dirty marks cleared).
class NullSurface : public DrawingSurface {
  public:
    void copyBitmap(int, int, int, int, int) override {}
    void copyBitmapKeyed(int, int, int, int, int) override {}
    void rectangle(int, int, int, int, Colour, bool, Colour, int) override {}
    void line(int, int, int, int, Colour, int) override {}
    void text(const std::string&, int, int, int, int, const Font&, Colour, TextAlign) override {}
};
