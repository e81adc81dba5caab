// The text of a raster surface: how a font request is read and sized, and the texts drawn so far.

#include "shell/raster/TextRasterizer.h"

#include <algorithm>
#include <cmath>

namespace {

// The three weights the program can ask for.
int weightClass(int weight) {
    if (weight < 550) {
        return 400;
    }
    return weight < 800 ? 700 : 900;
}

// Share of each lowercase letter and the space in running text, per thousand: the classic
// definition of a face's average character width, which a requested font width scales to.
constexpr int letterShare[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                 56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

}  // namespace

const TextRasterizer::Face& TextRasterizer::face(int weight) {
    Face& f = faces[weight];
    if (f.known) {
        return f;
    }
    f.known = true;
    FaceMeasure m;
    if (!measureFace(weight, m) || m.ascent <= 0 || m.ascent + m.descent <= 0) {
        return f;
    }
    double sum = 0;
    for (int i = 0; i < 27; ++i) {
        sum += letterShare[i] * m.advances[i];
    }
    f.cellPerEm = static_cast<double>(m.ascent + m.descent) / measuringPpem;
    f.ascentShare = static_cast<double>(m.ascent) / (m.ascent + m.descent);
    f.averagePerEm = sum / 1000.0 / measuringPpem;
    return f;
}

const TextRasterizer::Sized* TextRasterizer::sized(const Font& font) {
    const int weight = weightClass(font.weight);
    const auto key = std::make_tuple(font.height, font.width, weight);
    if (const auto found = sizes.find(key); found != sizes.end()) {
        return &found->second;
    }
    const Face& f = face(weight);
    if (f.cellPerEm <= 0) {
        return nullptr;
    }
    Sized& made = sizes[key];
    double em;
    if (font.height > 0) {
        made.metrics.cellHeight = font.height;
        em = font.height / f.cellPerEm;
    } else {
        em = font.height < 0 ? -font.height : 16 / f.cellPerEm;
        made.metrics.cellHeight = static_cast<int>(std::lround(em * f.cellPerEm));
    }
    made.metrics.ascent = static_cast<int>(std::lround(made.metrics.cellHeight * f.ascentShare));
    // Sizes are told as resolutions (a point at N dpi is N/72 pixels), which allows fractional
    // pixel sizes and a horizontal scale of its own.
    made.glyphs.weight = weight;
    made.glyphs.yDpi = std::lround(em * 72);
    made.glyphs.xDpi = made.glyphs.yDpi;
    if (font.width > 0 && f.averagePerEm > 0) {
        made.glyphs.xDpi = std::max(1L, std::lround(72.0 * font.width / f.averagePerEm));
    }
    return &made;
}

bool TextRasterizer::available() {
    return face(700).cellPerEm > 0;
}

bool TextRasterizer::metrics(const Font& font, TextMetrics& out) {
    const Sized* size = sized(font);
    if (size) {
        out = size->metrics;
    }
    return size != nullptr;
}

const TextCoverage* TextRasterizer::coverage(const Font& font, const std::string& text) {
    const Sized* size = sized(font);
    if (!size) {
        return nullptr;
    }
    auto key = std::make_tuple(font.height, font.width, size->glyphs.weight, text);
    if (const auto found = drawn.find(key); found != drawn.end()) {
        return &found->second;
    }
    TextCoverage glyphs;
    if (!drawGlyphs(size->glyphs, text, glyphs)) {
        return nullptr;
    }
    if (drawn.size() >= maxKeptTexts) {
        drawn.clear();
    }
    return &(drawn[std::move(key)] = std::move(glyphs));
}
