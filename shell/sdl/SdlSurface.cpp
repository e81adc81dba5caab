#include "shell/sdl/SdlSurface.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "resources/embedded.h"

namespace {

constexpr Uint32 surfaceFormat = SDL_PIXELFORMAT_RGB888;

Uint32 pixelOf(Colour c) {
    return (static_cast<Uint32>(redOf(c)) << 16) | (static_cast<Uint32>(greenOf(c)) << 8) |
           static_cast<Uint32>(blueOf(c));
}

Colour colourOf(Uint32 p) {
    return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Uint32* row(SDL_Surface* s, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
}

// Decoded pictures, freed when the program ends.
class BitmapCache {
  public:
    ~BitmapCache() {
        for (auto& entry : decoded) {
            if (entry.second) {
                SDL_FreeSurface(entry.second);
            }
        }
    }
    SDL_Surface* get(int id) {
        auto found = decoded.find(id);
        if (found != decoded.end()) {
            return found->second;
        }
        SDL_Surface* pixels = nullptr;
        const EmbeddedResource bytes = findEmbeddedBitmap(id);
        if (bytes.data && bytes.size > 0) {
            SDL_RWops* stream = SDL_RWFromConstMem(bytes.data, static_cast<int>(bytes.size));
            if (SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1)) {
                pixels = SDL_ConvertSurfaceFormat(loaded, surfaceFormat, 0);
                SDL_FreeSurface(loaded);
            }
            // The unused top byte is cleared once here, so that copies can move whole rows.
            for (int y = 0; pixels && y < pixels->h; ++y) {
                Uint32* line = row(pixels, y);
                std::transform(line, line + pixels->w, line, [](Uint32 p) { return p & 0xFFFFFF; });
            }
        }
        decoded[id] = pixels;
        return pixels;
    }

  private:
    std::map<int, SDL_Surface*> decoded;
};

}  // namespace

SDL_Surface* programBitmap(int bitmapId) {
    static BitmapCache cache;
    return cache.get(bitmapId);
}

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

SdlSurface::SdlSurface(int width, int height, SdlFonts& fontSet) : fonts(fontSet) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, std::max(width, 1), std::max(height, 1), 32,
                                             surfaceFormat);
    clear();
}

SdlSurface::~SdlSurface() {
    freeTextCache();
    if (surface) {
        SDL_FreeSurface(surface);
    }
}

void SdlSurface::clear() {
    // Plain stores: SDL_FillRect's streaming stores push the frame out of the cache just before
    // the next frame is drawn into it, which made a whole repaint take twice as long.
    if (surface) {
        fillBox(0, 0, surface->w, surface->h, 0);
    }
}

Colour SdlSurface::pixel(int x, int y) const {
    if (!surface || x < 0 || y < 0 || x >= surface->w || y >= surface->h) {
        return -1;
    }
    return colourOf(row(surface, y)[x]);
}

void SdlSurface::copyBitmap(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, false);
}

void SdlSurface::copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, true);
}

void SdlSurface::copy(int bitmapId, int x, int y, int w, int h, bool keyed) {
    SDL_Surface* source = programBitmap(bitmapId);
    if (!surface || !source) {
        return;
    }
    // Only the part the picture has, from its origin, and only what lands on the surface.
    const int copyW = std::min(w, source->w);
    const int copyH = std::min(h, source->h);
    const int x0 = std::max(x, 0), x1 = std::min(x + copyW, surface->w);
    const int y0 = std::max(y, 0), y1 = std::min(y + copyH, surface->h);
    if (x1 <= x0) {
        return;
    }
    const Uint32 white = 0xFFFFFF;
    for (int ty = y0; ty < y1; ++ty) {
        const Uint32* from = row(source, ty - y) + (x0 - x);
        Uint32* to = row(surface, ty) + x0;
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

void SdlSurface::fillBox(int left, int top, int right, int bottom, Colour colour) {
    if (!surface) {
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface->w);
    bottom = std::min(bottom, surface->h);
    const Uint32 p = pixelOf(colour);
    for (int y = top; y < bottom; ++y) {
        std::fill(row(surface, y) + left, row(surface, y) + std::max(left, right), p);
    }
}

void SdlSurface::rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
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

void SdlSurface::plot(int x, int y, Colour colour, int penWidth) {
    if (penWidth <= 1) {
        fillBox(x, y, x + 1, y + 1, colour);
        return;
    }
    const int from = penWidth / 2;
    fillBox(x - from, y - from, x - from + penWidth, y - from + penWidth, colour);
}

namespace {

// The points a straight walk from `from` towards `to` plots, end point excluded: low..high.
void walkedSpan(int from, int to, int& low, int& high) {
    low = from < to ? from : to + 1;
    high = from < to ? to - 1 : from;
}

}  // namespace

void SdlSurface::line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) {
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

void SdlSurface::text(const std::string& text, int left, int top, int right, int bottom,
                      const Font& font, Colour colour, TextAlign align) {
    const std::string shown = withoutPrefixMarks(text);
    if (!surface || shown.empty()) {
        return;
    }
    const SizedFont& sized = fonts.get(font);
    if (!sized.ttf) {
        return;
    }
    SDL_Surface* rendered = renderedText(sized.ttf, shown);
    if (!rendered) {
        return;
    }

    // Placed as one vertically centred line: the cell's top at the centre less half the
    // cell, the rendered baseline on the cell's baseline.
    const int textWidth = rendered->w;
    int x = left;
    if (align == TextAlign::Centre) {
        x = (left + right - textWidth) / 2;
    } else if (align == TextAlign::Right) {
        x = right - textWidth;
    }
    const int cellTop = top + (bottom - top - sized.cellHeight) / 2;
    const int y = cellTop + sized.ascent - TTF_FontAscent(sized.ttf);

    // Clipped to the rectangle and the surface; the glyphs' coverage blends the colour in.
    const int clipL = std::max({left, x, 0});
    const int clipR = std::min({right, x + rendered->w, surface->w});
    const int clipT = std::max({top, y, 0});
    const int clipB = std::min({bottom, y + rendered->h, surface->h});
    const int r = redOf(colour), g = greenOf(colour), b = blueOf(colour);
    const Uint32 ink = pixelOf(colour);
    for (int ty = clipT; ty < clipB; ++ty) {
        const Uint32* from = row(rendered, ty - y);
        Uint32* to = row(surface, ty);
        for (int tx = clipL; tx < clipR; ++tx) {
            const int a = static_cast<int>(from[tx - x] >> 24);
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                to[tx] = ink;
                continue;
            }
            const Uint32 old = to[tx];
            const int oldR = (old >> 16) & 0xFF, oldG = (old >> 8) & 0xFF, oldB = old & 0xFF;
            const int newR = (r * a + oldR * (255 - a) + 127) / 255;
            const int newG = (g * a + oldG * (255 - a) + 127) / 255;
            const int newB = (b * a + oldB * (255 - a) + 127) / 255;
            to[tx] = (static_cast<Uint32>(newR) << 16) | (static_cast<Uint32>(newG) << 8) |
                     static_cast<Uint32>(newB);
        }
    }
}

SDL_Surface* SdlSurface::renderedText(TTF_Font* font, const std::string& shown) {
    const auto key = std::make_pair(font, shown);
    const auto found = textCache.find(key);
    if (found != textCache.end()) {
        return found->second;
    }
    // The program shows a few dozen texts; should it ever show ever new ones, start over
    // rather than grow without end.
    if (textCache.size() >= maxCachedTexts) {
        freeTextCache();
    }
    // The coverage alone (white glyphs); the colour is blended in when it is drawn.
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* rendered = nullptr;
    if (SDL_Surface* glyphs = TTF_RenderText_Blended(font, shown.c_str(), white)) {
        rendered = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(glyphs);
    }
    if (rendered) {
        textCache[key] = rendered;
    }
    return rendered;
}

void SdlSurface::freeTextCache() {
    for (auto& entry : textCache) {
        SDL_FreeSurface(entry.second);
    }
    textCache.clear();
}
