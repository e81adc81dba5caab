// The Windows drawing surface: each operation through GDI, nothing kept between calls.
#pragma once

#include <windows.h>

#include "platform/DrawingSurface.h"

// Draws on a GDI device context. Every call makes the brush, pen, font, memory context and
// bitmap it needs and deletes them before it returns, leaving the target with the objects it
// had: nothing is cached between calls, so a frame never holds more than one of each at once.
//
// At a whole scale every point of the drawing area is `scale` x `scale` pixels of the target:
// pictures are enlarged without smoothing, rectangles and lines take scaled coordinates and
// pens, and text is rendered anew at `scale` times its size, so it stays sharp.
class GdiSurface : public DrawingSurface {
  public:
    // `module` holds the bitmaps, by their resource ids.
    GdiSurface(HDC target, HINSTANCE module, int scale = 1)
        : hdc(target), bitmaps(module), factor(scale < 1 ? 1 : scale) {}

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override;
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override;
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override;
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override;
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override;

  private:
    void copy(int bitmapId, int x, int y, int w, int h, bool keyed);
    void slantedLine(int x0, int y0, int x1, int y1, Colour colour, int pen);

    HDC hdc;
    HINSTANCE bitmaps;
    int factor;
};
