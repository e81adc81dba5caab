// Text coverage for the page, from stb_truetype and the one face built into it.

#include "shell/web/StbTextRasterizer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace {

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
    int gap = 0;
    stbtt_GetFontVMetrics(face.get(), &ascender, &descender, &gap);
    descender = -descender;
    unitsPerEm =
        static_cast<int>(std::lround(1.0 / stbtt_ScaleForMappingEmToPixels(face.get(), 1)));
}

StbTextRasterizer::~StbTextRasterizer() = default;

bool StbTextRasterizer::measureFace(int /*weight*/, FaceMeasure& out) {
    if (unitsPerEm <= 0) {
        return false;
    }
    // As the Linux font renderer measures it: in whole pixels at the measuring size.
    const std::int64_t measuring = fixedScale(measuringPpem, unitsPerEm);
    out.ascent = ceilPixels(ascender, measuring);
    out.descent = -ceilPixels(-descender, measuring);
    for (int i = 0; i < 27; ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(face.get(), i < 26 ? 'a' + i : ' ', &advance, &bearing);
        out.advances[i] = roundPixels(advance, measuring);
    }
    return true;
}

bool StbTextRasterizer::drawGlyphs(const GlyphSize& size, const std::string& text,
                                   TextCoverage& out) {
    const int ppemX = ppemAt(size.xDpi), ppemY = ppemAt(size.yDpi);
    const float scaleX = static_cast<float>(ppemX) / unitsPerEm;
    const float scaleY = static_cast<float>(ppemY) / unitsPerEm;
    const std::int64_t advanceScale = fixedScale(ppemX, unitsPerEm);
    const std::int64_t fixedY = fixedScale(ppemY, unitsPerEm);
    const int baseline = ceilPixels(ascender, fixedY);

    // Each character (a byte, as Latin-1) on a whole pixel, the pen moving by its advance
    // rounded to whole pixels; the line spans every glyph's box and the pen's travel.
    struct Placed {
        int glyph, x, x0, y0, x1, y1;
    };
    std::vector<Placed> placed;
    int pen = 0, left = 0, right = 0, top = 0;
    int bottom = baseline - ceilPixels(-descender, fixedY);
    for (const unsigned char c : text) {
        Placed g{stbtt_FindGlyphIndex(face.get(), c), pen, 0, 0, 0, 0};
        stbtt_GetGlyphBitmapBox(face.get(), g.glyph, scaleX, scaleY, &g.x0, &g.y0, &g.x1, &g.y1);
        left = std::min(left, pen + g.x0);
        right = std::max(right, pen + g.x1);
        top = std::min(top, baseline + g.y0);
        bottom = std::max(bottom, baseline + g.y1);
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(face.get(), g.glyph, &advance, &bearing);
        pen += roundPixels(advance, advanceScale);
        placed.push_back(g);
    }
    right = std::max(right, pen);

    out.width = right - left;
    out.height = bottom - top;
    out.baseline = baseline - top;
    out.alpha.assign(std::size_t(out.width) * std::size_t(out.height), 0);
    std::vector<unsigned char> one;
    for (const Placed& g : placed) {
        const int w = g.x1 - g.x0, h = g.y1 - g.y0;
        if (w <= 0 || h <= 0) {
            continue;
        }
        one.assign(std::size_t(w) * std::size_t(h), 0);
        stbtt_MakeGlyphBitmap(face.get(), one.data(), w, h, w, scaleX, scaleY, g.glyph);
        // Glyphs that overlap keep the larger coverage.
        const int atX = g.x + g.x0 - left, atY = out.baseline + g.y0;
        for (int y = 0; y < h; ++y) {
            std::uint8_t* to = out.alpha.data() + std::size_t(atY + y) * out.width + atX;
            for (int x = 0; x < w; ++x) {
                to[x] = std::max<std::uint8_t>(to[x], one[std::size_t(y) * w + x]);
            }
        }
    }
    return true;
}
