// Text coverage for the page, from stb_truetype and the one face built into it.

#include "shell/web/StbTextRasterizer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace {

// The Linux program measures a face at this many pixels per em (see SdlFonts).
constexpr int measuringPpem = 2048;

// Share of each lowercase letter and the space in running text, per thousand: the classic
// definition of a face's average character width, which a requested font width scales to (the
// same table as SdlFonts').
constexpr int letterShare[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                 56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

// The whole pixels per em the Linux font renderer draws a size set as 1 point at `dpi` with:
// the size in 64ths of a pixel, rounded to whole pixels, as TrueType faces ask.
int ppemAt(long dpi) {
    const long size = (64 * dpi + 36) / 72;
    return std::max(1, static_cast<int>((size + 32) >> 6));
}

// The Linux font renderer's fixed-point sizes: the scale for `ppem` pixels per em (16.16), and
// a length in font units at that scale in 64ths of a pixel, each rounded as it rounds them.
std::int64_t fixedScale(int ppem, int unitsPerEm) {
    return ((static_cast<std::int64_t>(ppem) << 22) + unitsPerEm / 2) / unitsPerEm;
}
std::int64_t sixtyFourths(std::int64_t units, std::int64_t scale) {
    const std::int64_t product = units * scale;
    return product >= 0 ? (product + 0x8000) >> 16 : -((-product + 0x8000) >> 16);
}
// The same length in whole pixels, rounded up, and rounded to the nearest (as an advance is).
int ceilPixels(std::int64_t units, std::int64_t scale) {
    return static_cast<int>((sixtyFourths(units, scale) + 63) >> 6);
}
int roundPixels(std::int64_t units, std::int64_t scale) {
    return static_cast<int>((sixtyFourths(units, scale) + 32) >> 6);
}

}  // namespace

StbTextRasterizer::StbTextRasterizer(const unsigned char* bytes, std::size_t size)
    : face(std::make_unique<stbtt_fontinfo>()) {
    if (!bytes || size < 12) {
        return;
    }
    const int offset = stbtt_GetFontOffsetForIndex(bytes, 0);
    if (offset < 0 || !stbtt_InitFont(face.get(), bytes, offset)) {
        return;
    }
    unitsPerEm =
        static_cast<int>(std::lround(1.0 / stbtt_ScaleForMappingEmToPixels(face.get(), 1)));
    int gap = 0;
    stbtt_GetFontVMetrics(face.get(), &ascender, &descender, &gap);
    descender = -descender;
    // As SdlFonts measures the face: ascent and descent in whole pixels at a large size.
    if (unitsPerEm <= 0) {
        return;
    }
    const std::int64_t measuring = fixedScale(measuringPpem, unitsPerEm);
    const int ascent = ceilPixels(ascender, measuring);
    const int descent = -ceilPixels(-descender, measuring);
    if (ascent <= 0 || ascent + descent <= 0) {
        return;
    }
    double sum = 0;
    for (int i = 0; i < 27; ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(face.get(), i < 26 ? 'a' + i : ' ', &advance, &bearing);
        sum += letterShare[i] * roundPixels(advance, measuring);
    }
    averagePerEm = sum / 1000.0 / measuringPpem;
    ascentShare = static_cast<double>(ascent) / (ascent + descent);
    cellPerEm = static_cast<double>(ascent + descent) / measuringPpem;
}

StbTextRasterizer::~StbTextRasterizer() = default;

const StbTextRasterizer::Sized& StbTextRasterizer::sized(const Font& font) {
    const auto key = std::make_pair(font.height, font.width);
    const auto found = sizes.find(key);
    if (found != sizes.end()) {
        return found->second;
    }
    Sized& made = sizes[key];
    // The Linux program's reading of a request (SdlFonts::get): a positive height is the whole
    // cell, a negative one the em alone, 0 the window system's ordinary size; a width squeezes
    // or stretches the face to that average character width.
    double em;
    if (font.height > 0) {
        made.metrics.cellHeight = font.height;
        em = font.height / cellPerEm;
    } else {
        em = font.height < 0 ? -font.height : 16 / cellPerEm;
        made.metrics.cellHeight = static_cast<int>(std::lround(em * cellPerEm));
    }
    made.metrics.ascent = static_cast<int>(std::lround(made.metrics.cellHeight * ascentShare));
    const long vdpi = std::lround(em * 72);
    long hdpi = vdpi;
    if (font.width > 0 && averagePerEm > 0) {
        hdpi = std::max(1L, std::lround(72.0 * font.width / averagePerEm));
    }
    const int ppemX = ppemAt(hdpi), ppemY = ppemAt(vdpi);
    made.scaleX = static_cast<float>(ppemX) / unitsPerEm;
    made.scaleY = static_cast<float>(ppemY) / unitsPerEm;
    made.advanceScale = fixedScale(ppemX, unitsPerEm);
    const std::int64_t scaleY = fixedScale(ppemY, unitsPerEm);
    made.baseline = ceilPixels(ascender, scaleY);
    made.height = made.baseline - ceilPixels(-descender, scaleY);
    return made;
}

bool StbTextRasterizer::metrics(const Font& font, TextMetrics& out) {
    if (!available()) {
        return false;
    }
    out = sized(font).metrics;
    return true;
}

const TextCoverage* StbTextRasterizer::coverage(const Font& font, const std::string& text) {
    if (!available()) {
        return nullptr;
    }
    auto key = std::make_tuple(font.height, font.width, text);
    const auto found = rendered.find(key);
    if (found != rendered.end()) {
        return &found->second;
    }
    if (rendered.size() >= maxCachedTexts) {
        rendered.clear();
    }
    const Sized& size = sized(font);

    // Each character (a byte, as Latin-1) on a whole pixel, the pen moving by its advance
    // rounded to whole pixels; the line spans every glyph's box and the pen's travel.
    struct Placed {
        int glyph, x, x0, y0, x1, y1;
    };
    std::vector<Placed> placed;
    int pen = 0, left = 0, right = 0, top = 0, bottom = size.height;
    for (const unsigned char c : text) {
        Placed g{stbtt_FindGlyphIndex(face.get(), c), pen, 0, 0, 0, 0};
        stbtt_GetGlyphBitmapBox(face.get(), g.glyph, size.scaleX, size.scaleY, &g.x0, &g.y0, &g.x1,
                                &g.y1);
        left = std::min(left, pen + g.x0);
        right = std::max(right, pen + g.x1);
        top = std::min(top, size.baseline + g.y0);
        bottom = std::max(bottom, size.baseline + g.y1);
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(face.get(), g.glyph, &advance, &bearing);
        pen += roundPixels(advance, size.advanceScale);
        placed.push_back(g);
    }
    right = std::max(right, pen);

    TextCoverage glyphs;
    glyphs.width = right - left;
    glyphs.height = bottom - top;
    glyphs.baseline = size.baseline - top;
    glyphs.alpha.assign(std::size_t(glyphs.width) * std::size_t(glyphs.height), 0);
    std::vector<unsigned char> one;
    for (const Placed& g : placed) {
        const int w = g.x1 - g.x0, h = g.y1 - g.y0;
        if (w <= 0 || h <= 0) {
            continue;
        }
        one.assign(std::size_t(w) * std::size_t(h), 0);
        stbtt_MakeGlyphBitmap(face.get(), one.data(), w, h, w, size.scaleX, size.scaleY, g.glyph);
        // Glyphs that overlap keep the larger coverage.
        const int atX = g.x + g.x0 - left, atY = glyphs.baseline + g.y0;
        for (int y = 0; y < h; ++y) {
            std::uint8_t* to = glyphs.alpha.data() + std::size_t(atY + y) * glyphs.width + atX;
            for (int x = 0; x < w; ++x) {
                to[x] = std::max<std::uint8_t>(to[x], one[std::size_t(y) * w + x]);
            }
        }
    }
    return &(rendered[std::move(key)] = std::move(glyphs));
}
