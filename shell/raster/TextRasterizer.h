// The text of a raster surface: how a font request is read and sized, and the texts drawn so
// far. Each front end derives it and supplies only its glyph source.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
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

// A request is read the way the window system's text drawing reads it: a positive height is
// the whole cell, a negative one the em alone, 0 the ordinary size; a width is the average
// character width, which squeezes or stretches the face. Every front end's texts therefore take
// the same cells, baselines and sizes, whatever draws their glyphs.
class TextRasterizer {
  public:
    virtual ~TextRasterizer() = default;

    // True when there is a bold face to draw with: the program cannot show its texts without.
    bool available();
    // The metrics of the font asked for; false when there is no face to draw it with (the text
    // is then left out).
    bool metrics(const Font& font, TextMetrics& out);
    // The coverage of `text` (already without prefix marks) in the font, or null when it cannot
    // be drawn. Good until the next call.
    const TextCoverage* coverage(const Font& font, const std::string& text);

  protected:
    // Faces are measured at this many pixels per em: large enough that rounding plays no part.
    static constexpr int measuringPpem = 2048;
    // A face at measuringPpem, in whole pixels: its ascent, its descent (below the baseline,
    // positive) and the advances of 'a' to 'z' and the space.
    struct FaceMeasure {
        int ascent = 0;
        int descent = 0;
        int advances[27] = {};
    };
    // What a text is drawn at: the weight class (400, 700 or 900) and a size of one point at
    // xDpi by yDpi dots per inch, so dpi / 72 pixels per em each way.
    struct GlyphSize {
        int weight = 700;
        long xDpi = 72;
        long yDpi = 72;
    };

    // The glyph source. The face of a weight class, measured; false when there is none.
    virtual bool measureFace(int weight, FaceMeasure& out) = 0;
    // The glyphs of `text` at `size`, with their baseline's row; false when they cannot be drawn.
    virtual bool drawGlyphs(const GlyphSize& size, const std::string& text, TextCoverage& out) = 0;

  private:
    struct Face {
        bool known = false;
        double cellPerEm = 0;  // (ascent + descent) / em; 0 when there is no face
        double ascentShare = 0;
        double averagePerEm = 0;  // the average character width / em
    };
    struct Sized {
        TextMetrics metrics;
        GlyphSize glyphs;
    };
    const Face& face(int weight);
    // The request's size, or null when there is no face for it.
    const Sized* sized(const Font& font);

    // The program shows a few dozen texts; should it ever show ever new ones, the kept texts
    // start over rather than grow without end.
    static constexpr std::size_t maxKeptTexts = 256;
    std::map<int, Face> faces;
    std::map<std::tuple<int, int, int>, Sized> sizes;
    std::map<std::tuple<int, int, int, std::string>, TextCoverage> drawn;
};
