// The Linux program's drawing surface: the raster surface with SDL_ttf's text coverage.

#include "shell/sdl/SdlSurface.h"

bool SdlTextRasterizer::metrics(const Font& font, TextMetrics& out) {
    const SizedFont& sized = fonts.get(font);
    if (!sized.ttf) {
        return false;
    }
    out.cellHeight = sized.cellHeight;
    out.ascent = sized.ascent;
    return true;
}

const TextCoverage* SdlTextRasterizer::coverage(const Font& font, const std::string& text) {
    auto key = std::make_tuple(font.height, font.width, font.weight, text);
    const auto found = rendered.find(key);
    if (found != rendered.end()) {
        return &found->second;
    }
    TTF_Font* ttf = fonts.get(font).ttf;
    if (!ttf) {
        return nullptr;
    }
    // The program shows a few dozen texts; should it ever show ever new ones, start over
    // rather than grow without end.
    if (rendered.size() >= maxCachedTexts) {
        rendered.clear();
    }
    // White glyphs: their alpha is the coverage; the colour is blended in when it is drawn.
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* argb = nullptr;
    if (SDL_Surface* blended = TTF_RenderText_Blended(ttf, text.c_str(), white)) {
        argb = SDL_ConvertSurfaceFormat(blended, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(blended);
    }
    if (!argb) {
        return nullptr;
    }
    TextCoverage glyphs;
    glyphs.width = argb->w;
    glyphs.height = argb->h;
    glyphs.baseline = TTF_FontAscent(ttf);
    glyphs.alpha.resize(std::size_t(argb->w) * std::size_t(argb->h));
    for (int y = 0; y < argb->h; ++y) {
        const Uint32* from = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            glyphs.alpha[std::size_t(y) * argb->w + x] = static_cast<std::uint8_t>(from[x] >> 24);
        }
    }
    SDL_FreeSurface(argb);
    return &(rendered[std::move(key)] = std::move(glyphs));
}

SdlSurface::SdlSurface(int width, int height, SdlFonts& fonts, int scale)
    : glyphs(fonts), raster(width, height, scale, glyphs) {
    // The raster's pixels seen as an SDL surface: the same memory, which never moves.
    surface = SDL_CreateRGBSurfaceWithFormatFrom(raster.data(), raster.width(), raster.height(), 32,
                                                 raster.width() * 4, SDL_PIXELFORMAT_RGB888);
}

SdlSurface::~SdlSurface() {
    if (surface) {
        SDL_FreeSurface(surface);
    }
}
