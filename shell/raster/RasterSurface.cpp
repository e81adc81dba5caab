// A drawing surface of software pixels, without any window system.

#include "shell/raster/RasterSurface.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "shell/raster/BmpDecoder.h"

namespace {

std::uint32_t pixelOf(Colour c) {
    return (static_cast<std::uint32_t>(redOf(c)) << 16) |
           (static_cast<std::uint32_t>(greenOf(c)) << 8) | static_cast<std::uint32_t>(blueOf(c));
}

Colour colourOf(std::uint32_t p) {
    return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A coordinate of the drawing area in pixels. Far-off points are first held where the product
// cannot overflow, still far outside any frame, so nothing on the frame changes.
int toPixels(int v, int scale) {
    constexpr int far = 1 << 24;
    return std::clamp(v, -far, far) * scale;
}

// The points a straight walk from `from` towards `to` plots, end point excluded: low..high.
void walkedSpan(int from, int to, int& low, int& high) {
    low = from < to ? from : to + 1;
    high = from < to ? to - 1 : from;
}

}  // namespace

std::string withoutPrefixMarks(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            ++i;
            if (i == text.size()) {
                break;
            }
        }
        shown.push_back(text[i]);
    }
    return shown;
}

RasterSurface::RasterSurface(int width, int height, int scale, TextRasterizer& text)
    : factor(std::clamp(scale, 1, maxScale)), rasterizer(text) {
    pixelWidth = std::max(width, 1) * factor;
    pixelHeight = std::max(height, 1) * factor;
    const std::size_t bytes = std::size_t(pixelWidth) * std::size_t(pixelHeight) * 4;
    // Left as the allocator gives it: the frame is blackened as the first drawing, unless a
    // drawing over all of it comes first.
    std::size_t room = bytes + lineBytes;
    storage.reset(new std::uint32_t[room / 4]);
    void* start = storage.get();
    pixels = static_cast<std::uint32_t*>(std::align(lineBytes, bytes, start, room));
    clear();
}

void RasterSurface::clear() {
    fillPixels(0, 0, pixelWidth, pixelHeight, rgb(0, 0, 0));
}

void RasterSurface::add(Drawing drawing, bool coversFrame) {
    if (coversFrame) {
        waiting.clear();
    }
    waiting.push_back(std::move(drawing));
}

void RasterSurface::settle() const {
    if (!waiting.empty()) {
        // The pixels are the frame's and change as they always would: only when the drawings
        // the frame was given are made.
        const_cast<RasterSurface*>(this)->drawWaiting();
    }
}

void RasterSurface::drawWaiting() {
    for (const Drawing& drawing : waiting) {
        switch (drawing.kind) {
            case Drawing::Kind::Fill:
                fillNow(drawing);
                break;
            case Drawing::Kind::Copy:
            case Drawing::Kind::CopyKeyed:
                copyNow(drawing);
                break;
            case Drawing::Kind::Text:
                textNow(drawing);
                break;
        }
    }
    waiting.clear();
}

Colour RasterSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth || y >= pixelHeight) {
        return -1;
    }
    settle();
    return colourOf(pixels[std::size_t(y) * pixelWidth + x]);
}

void RasterSurface::copyBitmap(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, false);
}

void RasterSurface::copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, true);
}

void RasterSurface::copy(int bitmapId, int x, int y, int w, int h, bool keyed) {
    // Decoded now, when first asked for.
    const RasterImage* source = programPicture(bitmapId);
    if (!source) {
        return;
    }
    const int s = factor;
    const bool covers = !keyed && toPixels(x, s) <= 0 && toPixels(y, s) <= 0 &&
                        toPixels(x + std::min(w, source->width), s) >= pixelWidth &&
                        toPixels(y + std::min(h, source->height), s) >= pixelHeight;
    Drawing drawing;
    drawing.kind = keyed ? Drawing::Kind::CopyKeyed : Drawing::Kind::Copy;
    drawing.bitmapId = bitmapId;
    drawing.left = x;
    drawing.top = y;
    drawing.right = w;
    drawing.bottom = h;
    add(std::move(drawing), covers);
}

void RasterSurface::copyNow(const Drawing& drawing) {
    const RasterImage* source = programPicture(drawing.bitmapId);
    const bool keyed = drawing.kind == Drawing::Kind::CopyKeyed;
    const int x = drawing.left, y = drawing.top, w = drawing.right, h = drawing.bottom;
    // Only the part the picture has, from its origin, and only what lands on the frame; each
    // of the picture's pixels is a block of scale x scale.
    const int s = factor;
    const int left = toPixels(x, s), top = toPixels(y, s);
    const int x0 = std::max(left, 0);
    const int x1 = std::min(toPixels(x + std::min(w, source->width), s), pixelWidth);
    const int y0 = std::max(top, 0);
    const int y1 = std::min(toPixels(y + std::min(h, source->height), s), pixelHeight);
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    const std::uint32_t white = 0xFFFFFF;
    int widened = -1;  // the picture's row `wideRow` holds, each pixel `s` times over
    for (int ty = y0; ty < y1; ++ty) {
        const int sourceRow = (ty - top) / s;
        const std::uint32_t* from = wideRow.data();
        if (s == 1) {
            from = source->row(sourceRow) + (x0 - left);
        } else if (sourceRow != widened) {
            widen(source->row(sourceRow), (x0 - left) / s, (x0 - left) % s, x1 - x0);
            widened = sourceRow;
            from = wideRow.data();
        }
        std::uint32_t* to = row(ty) + x0;
        if (!keyed) {
            std::copy(from, from + (x1 - x0), to);
            continue;
        }
        for (int i = 0; i < x1 - x0; ++i) {
            if (from[i] != white) {
                to[i] = from[i];
            }
        }
    }
}

void RasterSurface::widen(const std::uint32_t* from, int column, int skip, int count) {
    wideRow.resize(std::max(wideRow.size(), std::size_t(count)));
    std::uint32_t* to = wideRow.data();
    const int s = factor;
    // The first pixel may be cut at the frame's left edge, the last at its right.
    const int head = std::min(s - skip, count);
    std::fill(to, to + head, from[column++]);
    to += head;
    count -= head;
    const int whole = count / s;
    if (s == 2) {
        for (int i = 0; i < whole; ++i, to += 2) {
            to[0] = to[1] = from[column++];
        }
    } else {
        for (int i = 0; i < whole; ++i, to += s) {
            std::fill(to, to + s, from[column++]);
        }
    }
    std::fill(to, to + count % s, count % s ? from[column] : 0);
}

void RasterSurface::fillPixels(int left, int top, int right, int bottom, Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, pixelWidth);
    bottom = std::min(bottom, pixelHeight);
    if (right <= left || bottom <= top) {
        return;
    }
    Drawing drawing;
    drawing.left = left;
    drawing.top = top;
    drawing.right = right;
    drawing.bottom = bottom;
    drawing.colour = colour;
    add(std::move(drawing), left == 0 && top == 0 && right == pixelWidth && bottom == pixelHeight);
}

void RasterSurface::fillNow(const Drawing& drawing) {
    const int left = drawing.left, top = drawing.top, right = drawing.right;
    // Row by row, the first filled and the others copied from it: a copy moves wider words than
    // a fill of 32-bit pixels does, and one fill of a whole frame would become a memset large
    // enough for streaming stores, which push the frame out of the cache just before the rest
    // of it is drawn (a whole repaint then takes twice as long).
    std::fill(row(top) + left, row(top) + right, pixelOf(drawing.colour));
    for (int y = top + 1; y < drawing.bottom; ++y) {
        std::copy(row(top) + left, row(top) + right, row(y) + left);
    }
}

void RasterSurface::fillBox(int left, int top, int right, int bottom, Colour colour) {
    const int s = factor;
    fillPixels(toPixels(left, s), toPixels(top, s), toPixels(right, s), toPixels(bottom, s),
               colour);
}

void RasterSurface::rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                              Colour outline, int penWidth) {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    if (right == left || bottom == top) {
        return;
    }
    if (!hollow && fill == outline) {
        // The outline and the inside together make one box.
        const int pen = std::max(penWidth, 1);
        fillBox(left - pen / 2, top - pen / 2, right + pen - 1 - pen / 2,
                bottom + pen - 1 - pen / 2, fill);
        return;
    }
    // The pen runs along left..right-1 and top..bottom-1; a wide pen spreads to both sides
    // of that path, half outward and half inward.
    const int pen = std::max(penWidth, 1);
    const int out = pen / 2;
    const int in = pen - 1 - out;
    const int outerL = left - out, outerT = top - out;
    const int outerR = right + in, outerB = bottom + in;  // exclusive
    const int innerL = left + in + 1, innerT = top + in + 1;
    const int innerR = right - 1 - out, innerB = bottom - 1 - out;  // exclusive
    if (!hollow) {
        fillBox(innerL, innerT, innerR, innerB, fill);
    }
    fillBox(outerL, outerT, outerR, std::min(innerT, outerB), outline);
    fillBox(outerL, std::max(innerB, outerT), outerR, outerB, outline);
    fillBox(outerL, innerT, std::min(innerL, outerR), innerB, outline);
    fillBox(std::max(innerR, outerL), innerT, outerR, innerB, outline);
}

void RasterSurface::plot(int x, int y, Colour colour, int penWidth) {
    if (penWidth <= 1) {
        fillBox(x, y, x + 1, y + 1, colour);
        return;
    }
    const int from = penWidth / 2;
    fillBox(x - from, y - from, x - from + penWidth, y - from + penWidth, colour);
}

void RasterSurface::line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) {
    // A level or upright line (the board's grid lines) covers one box: the very pixels the walk
    // below would plot one by one.
    if ((x0 == x1) != (y0 == y1)) {
        int lowX = x0, highX = x0, lowY = y0, highY = y0;
        if (y0 == y1) {
            walkedSpan(x0, x1, lowX, highX);
        } else {
            walkedSpan(y0, y1, lowY, highY);
        }
        const int pen = penWidth <= 1 ? 1 : penWidth;
        const int from = pen == 1 ? 0 : pen / 2;
        fillBox(lowX - from, lowY - from, highX - from + pen, highY - from + pen, colour);
        return;
    }
    // Bresenham's walk, stopping before the end point.
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        plot(x, y, colour, penWidth);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

Font RasterSurface::scaledFont(const Font& font) {
    // The cell and the average width `scale` times over, so the glyphs are drawn anew at that
    // size and stay sharp. The window system's ordinary size (height 0) grows from the cell it has.
    Font scaled = font;
    scaled.width = font.width * factor;
    scaled.height = font.height * factor;
    TextMetrics ordinary;
    if (font.height == 0 && rasterizer.metrics(font, ordinary)) {
        scaled.height = ordinary.cellHeight * factor;
    }
    return scaled;
}

void RasterSurface::text(const std::string& text, int left, int top, int right, int bottom,
                         const Font& font, Colour colour, TextAlign align) {
    const std::string shown = withoutPrefixMarks(text);
    if (shown.empty()) {
        return;
    }
    const Font asked = factor == 1 ? font : scaledFont(font);
    TextMetrics metrics;
    if (!rasterizer.metrics(asked, metrics)) {
        return;
    }
    // Rasterized now, the first time it is asked for; blended when the frame is made.
    if (!rasterizer.coverage(asked, shown)) {
        return;
    }
    Drawing drawing;
    drawing.kind = Drawing::Kind::Text;
    drawing.left = toPixels(left, factor);
    drawing.top = toPixels(top, factor);
    drawing.right = toPixels(right, factor);
    drawing.bottom = toPixels(bottom, factor);
    drawing.colour = colour;
    drawing.text = shown;
    drawing.font = asked;
    drawing.align = align;
    add(std::move(drawing), false);
}

void RasterSurface::textNow(const Drawing& drawing) {
    const std::string& shown = drawing.text;
    const Font& asked = drawing.font;
    const Colour colour = drawing.colour;
    const TextAlign align = drawing.align;
    const int left = drawing.left, top = drawing.top, right = drawing.right,
              bottom = drawing.bottom;
    TextMetrics metrics;
    const TextCoverage* glyphs = rasterizer.coverage(asked, shown);
    if (!glyphs || !rasterizer.metrics(asked, metrics)) {
        return;
    }

    // Placed as one vertically centred line: the cell's top at the centre less half the
    // cell, the glyphs' baseline on the cell's baseline.
    const int textWidth = glyphs->width;
    int x = left;
    if (align == TextAlign::Centre) {
        x = (left + right - textWidth) / 2;
    } else if (align == TextAlign::Right) {
        x = right - textWidth;
    }
    const int cellTop = top + (bottom - top - metrics.cellHeight) / 2;
    const int y = cellTop + metrics.ascent - glyphs->baseline;

    // Clipped to the rectangle and the frame.
    const int clipL = std::max({left, x, 0});
    const int clipR = std::min({right, x + glyphs->width, pixelWidth});
    const int clipT = std::max({top, y, 0});
    const int clipB = std::min({bottom, y + glyphs->height, pixelHeight});
    if (clipR <= clipL || clipB <= clipT) {
        return;
    }
    const std::size_t boxWidth = std::size_t(clipR - clipL);
    const std::size_t boxPixels = boxWidth * std::size_t(clipB - clipT);
    RunKey key{shown, asked.height, asked.width, asked.weight, colour,
               left,  top,          right,       bottom,       align};
    auto kept = keptRuns.find(key);
    if (kept != keptRuns.end() && kept->second.under.size() == boxPixels) {
        KeptRun& run = kept->second;
        bool same = true;
        for (int ty = clipT; ty < clipB && same; ++ty) {
            same = std::equal(row(ty) + clipL, row(ty) + clipR,
                              run.under.data() + std::size_t(ty - clipT) * boxWidth);
        }
        if (same) {
            for (int ty = clipT; ty < clipB; ++ty) {
                const std::uint32_t* from = run.drawn.data() + std::size_t(ty - clipT) * boxWidth;
                std::copy(from, from + boxWidth, row(ty) + clipL);
            }
            return;
        }
    }
    if (kept == keptRuns.end()) {
        if (keptRuns.size() >= maxKeptRuns) {
            keptRuns.clear();
        }
        kept = keptRuns.emplace(std::move(key), KeptRun{}).first;
    }
    KeptRun& run = kept->second;
    run.under.resize(boxPixels);
    run.drawn.resize(boxPixels);
    for (int ty = clipT; ty < clipB; ++ty) {
        std::copy(row(ty) + clipL, row(ty) + clipR,
                  run.under.data() + std::size_t(ty - clipT) * boxWidth);
    }
    blend(*glyphs, x, y, clipL, clipT, clipR, clipB, colour);
    for (int ty = clipT; ty < clipB; ++ty) {
        std::copy(row(ty) + clipL, row(ty) + clipR,
                  run.drawn.data() + std::size_t(ty - clipT) * boxWidth);
    }
}

void RasterSurface::blend(const TextCoverage& glyphs, int x, int y, int left, int top, int right,
                          int bottom, Colour colour) {
    // The glyphs' coverage blends the colour in.
    const int r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
    const std::uint32_t ink = pixelOf(colour);
    for (int ty = top; ty < bottom; ++ty) {
        const std::uint8_t* from = glyphs.row(ty - y);
        std::uint32_t* to = row(ty);
        for (int tx = left; tx < right; ++tx) {
            const int a = from[tx - x];
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                to[tx] = ink;
                continue;
            }
            const std::uint32_t old = to[tx];
            const int oldR = (old >> 16) & 0xFF, oldG = (old >> 8) & 0xFF, oldB = old & 0xFF;
            const int newR = (r * a + oldR * (255 - a) + 127) / 255;
            const int newG = (g * a + oldG * (255 - a) + 127) / 255;
            const int newB = (b * a + oldB * (255 - a) + 127) / 255;
            to[tx] = (static_cast<std::uint32_t>(newR) << 16) |
                     (static_cast<std::uint32_t>(newG) << 8) | static_cast<std::uint32_t>(newB);
        }
    }
}
