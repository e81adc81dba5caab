// The drawing seam: what the controls draw on, each operation with its GDI meaning.
#pragma once

#include <cstdint>
#include <string>

// A colour as the window system stores it: 0x00BBGGRR.
using Colour = std::int32_t;

inline Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline int redOf(Colour c) {
    return c & 0xFF;
}
inline int greenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
inline int blueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

// Horizontal placement of a line of text in its rectangle; the text is always vertically
// centred on one line and clipped to the rectangle.
enum class TextAlign { Left, Centre, Right };

// The largest whole number of pixels, each way, that any front end shows a point of the
// drawing area with: every scale is kept within 1..maxScale.
constexpr int maxScale = 4;

struct Font {
    int height = 0;  // cell height in pixels, as the window system's font creation takes it
    int width = 0;   // average character width in pixels; 0 lets the face choose
    int weight = 400;
};

// What the controls draw on. Each operation has the meaning of its GDI namesake, so a
// frame drawn through the SDL surface and through GDI comes out the same.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // Copies w x h pixels from the origin of the program's bitmap `bitmapId` to (x, y).
    // An id the program does not have draws nothing.
    virtual void copyBitmap(int bitmapId, int x, int y, int w, int h) = 0;

    // The same, leaving the pure white pixels of the bitmap out (white is the transparent key).
    virtual void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) = 0;

    // A rectangle with GDI's geometry: the outline covers left..right-1 and top..bottom-1, the
    // fill lies inside it. `penWidth` 0 and 1 both mean one pixel. `hollow` leaves the inside
    // untouched (the stock hollow brush).
    virtual void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                           Colour outline, int penWidth) = 0;

    // A line from (x0, y0) towards (x1, y1); the end point itself is not drawn.
    virtual void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) = 0;

    // One line of text in the rectangle, transparent background, vertically centred,
    // clipped to the rectangle.
    virtual void text(const std::string& text, int left, int top, int right, int bottom,
                      const Font& font, Colour colour, TextAlign align) = 0;
};
