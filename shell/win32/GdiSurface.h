// The Windows drawing surface: each operation through GDI, nothing kept between calls.
#pragma once

#include <windows.h>

#include "platform/DrawingSurface.h"

// Draws on a GDI device context. Every call makes the brush, pen, font, memory context and
// bitmap it needs and deletes them before it returns, leaving the target with the objects it
// had: nothing is cached between calls, so a frame never holds more than one of each at once.
class GdiSurface : public DrawingSurface {
  public:
    // `module` holds the bitmaps, by their resource ids.
    GdiSurface(HDC target, HINSTANCE module) : hdc(target), bitmaps(module) {}

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override;
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override;
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override;
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override;
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override;

  private:
    HDC hdc;
    HINSTANCE bitmaps;
};
