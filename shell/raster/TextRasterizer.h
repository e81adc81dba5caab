// What a raster surface needs of a platform's font renderer: the cell a font takes and the
// coverage of its glyphs. Placing, clipping and colouring the text are the surface's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DrawingSurface.h"

// Where a font's line lies, in pixels: the whole cell (ascent + descent), as a positive font
// height asks for, and the baseline's distance from the cell's top.
struct TextMetrics {
    int cellHeight = 0;
    int ascent = 0;
};

// The glyphs of one line of text: how much of each pixel they cover (0 none, 255 all), row
// after row from the top, and the row the baseline lies on.
struct TextCoverage {
    int width = 0;
    int height = 0;
    int baseline = 0;
    std::vector<std::uint8_t> alpha;  // width * height

    const std::uint8_t* row(int y) const { return alpha.data() + std::size_t(y) * width; }
};

class TextRasterizer {
  public:
    virtual ~TextRasterizer() = default;

    // The metrics of the font asked for; false when there is no face to draw it with (the text
    // is then left out).
    virtual bool metrics(const Font& font, TextMetrics& out) = 0;

    // The coverage of `text` (already without prefix marks) in the font, or null when it cannot
    // be drawn. Good until the next call.
    virtual const TextCoverage* coverage(const Font& font, const std::string& text) = 0;
};
