// A drawing surface that records its calls in order, for the unit tests to read.
#pragma once

#include <string>
#include <vector>

#include "platform/DrawingSurface.h"

// A drawing surface that keeps every call in order, so a test can say what a control drew.
struct DrawCall {
    enum Kind { Bitmap, KeyedBitmap, Rectangle, Line, Text };
    Kind kind = Bitmap;
    int id = 0;                                    // Bitmap, KeyedBitmap
    int x = 0, y = 0, w = 0, h = 0;                // Bitmap, KeyedBitmap
    int left = 0, top = 0, right = 0, bottom = 0;  // Rectangle, Text; Line: x0 y0 x1 y1
    Colour fill = 0;                               // Rectangle
    bool hollow = false;                           // Rectangle
    Colour colour = 0;                             // Rectangle outline, Line, Text
    int penWidth = 0;                              // Rectangle, Line
    std::string text;                              // Text
    Font font;                                     // Text
    TextAlign align = TextAlign::Left;             // Text

    std::string describe() const;
};

class RecordingSurface : public DrawingSurface {
  public:
    std::vector<DrawCall> calls;

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override;
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override;
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override;
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override;
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override;

    // The calls of one kind, in order.
    std::vector<DrawCall> only(DrawCall::Kind kind) const;
    // One line per call, for readable failure messages.
    std::string describe() const;
    void clear() { calls.clear(); }
};
