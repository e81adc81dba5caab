// A drawing surface of software pixels, without any window system: the frame is drawn here and
// then shown in one step. The SDL front end blits it to its window; only text coverage comes
// from the platform (TextRasterizer).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/DrawingSurface.h"
#include "shell/raster/TextRasterizer.h"

class RasterSurface : public DrawingSurface {
  public:
    // A black frame for a drawing area of width x height, every point of which is `scale` x
    // `scale` pixels: pictures, rectangles and lines grow in blocks, text is rendered at
    // `scale` times its size. The frame's pixels are that many times wider and higher.
    RasterSurface(int width, int height, int scale, TextRasterizer& text);
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override;
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override;
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override;
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override;
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override;

    // Back to black, for the next frame.
    void clear();
    // The frame in pixels, 32 bits each (0x00RRGGBB), rows of width() pixels one after another.
    int width() const { return pixelWidth; }
    int height() const { return pixelHeight; }
    int scale() const { return factor; }
    std::uint32_t* data() {
        settle();
        return pixels;
    }
    const std::uint32_t* data() const {
        settle();
        return pixels;
    }
    // The colour of a pixel, or -1 outside the frame.
    Colour pixel(int x, int y) const;

  private:
    // A drawing not yet made. Drawings wait until the frame's pixels are asked for, and one that
    // covers the whole frame with pixels of its own drops those before it, which would never be
    // seen: the clear under a background picture, or all of the board screen under the
    // settings screen's backdrop. The frame comes out the same, pixel for pixel.
    struct Drawing {
        enum class Kind { Fill, Copy, CopyKeyed, Text } kind = Kind::Fill;
        int left = 0, top = 0, right = 0, bottom = 0;  // pixels (a copy: its points x, y, w, h)
        int bitmapId = 0;
        Colour colour = 0;
        std::string text;  // without prefix marks, in `font` at this scale
        Font font;
        TextAlign align = TextAlign::Left;
    };
    void add(Drawing drawing, bool coversFrame);
    // Makes the waiting drawings.
    void settle() const;
    void drawWaiting();
    std::uint32_t* row(int y) { return pixels + std::size_t(y) * pixelWidth; }
    void copy(int bitmapId, int x, int y, int w, int h, bool keyed);
    void copyNow(const Drawing& copy);
    void fillNow(const Drawing& fill);
    void textNow(const Drawing& text);
    // Puts `count` pixels into wideRow: the row's pixels from `column` on, each `scale` times
    // over, the first only `scale - skip` times.
    void widen(const std::uint32_t* from, int column, int skip, int count);
    // A box of pixels [left, right) x [top, bottom), clipped to the frame.
    void fillPixels(int left, int top, int right, int bottom, Colour colour);
    // The same box of points of the drawing area.
    void fillBox(int left, int top, int right, int bottom, Colour colour);
    void plot(int x, int y, Colour colour, int penWidth);
    // The font a text at this scale is rendered with.
    Font scaledFont(const Font& font);
    // Blends coverage `glyphs` placed at (x, y) in `colour` into the box [left, right) x
    // [top, bottom) of the frame.
    void blend(const TextCoverage& glyphs, int x, int y, int left, int top, int right, int bottom,
               Colour colour);

    // A text run as last drawn: the frame's pixels under its box before and after. A run drawn
    // again over the same pixels is copied, not blended anew, which spares most of a repaint's
    // cost; anything else under it (a highlighted row, another picture) blends it afresh.
    struct KeptRun {
        std::vector<std::uint32_t> under;
        std::vector<std::uint32_t> drawn;
    };
    // A run is known by all that decides its pixels: its text, font, colour, rectangle and
    // alignment.
    using RunKey = std::tuple<std::string, int, int, int, Colour, int, int, int, int, TextAlign>;
    // The program draws a few dozen runs; should it ever draw ever new ones, the kept runs start
    // over rather than grow without end.
    static constexpr std::size_t maxKeptRuns = 128;
    std::map<RunKey, KeptRun> keptRuns;

    // The frame starts on a cache line, as SDL's own pixels do.
    static constexpr std::size_t lineBytes = 64;
    std::unique_ptr<std::uint32_t[]> storage;
    std::uint32_t* pixels = nullptr;
    std::vector<Drawing> waiting;

    std::vector<std::uint32_t> wideRow;
    int pixelWidth = 1;
    int pixelHeight = 1;
    int factor = 1;
    TextRasterizer& rasterizer;
};

// The text DrawTextA shows for a string: a single '&' marks the next character and is not
// drawn, "&&" draws one '&'.
std::string withoutPrefixMarks(const std::string& text);
