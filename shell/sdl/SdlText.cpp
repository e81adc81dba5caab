// The Linux program's text: glyphs from SDL_ttf in the desktop's sans face, found by fontconfig.

#include "shell/sdl/SdlText.h"

#include <fontconfig/fontconfig.h>

FontFile findSansFont(int weight) {
    FontFile found;
    if (!FcInit()) {
        return found;
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern) {
        return found;
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* file = nullptr;
        FcBool scalable = FcFalse;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
            (FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) != FcResultMatch || scalable)) {
            found.path = reinterpret_cast<const char*>(file);
            int index = 0;
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
                found.index = index;
            }
            int matchedWeight = FC_WEIGHT_REGULAR;
            FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
            found.boldFace = matchedWeight >= FC_WEIGHT_DEMIBOLD;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

void SdlText::close() {
    for (auto& open : fonts) {
        TTF_CloseFont(open.second);
    }
    fonts.clear();
}

const FontFile& SdlText::file(int weight) {
    const auto found = files.find(weight);
    return found != files.end() ? found->second : (files[weight] = findSansFont(weight));
}

bool SdlText::measureFace(int weight, FaceMeasure& out) {
    const FontFile& face = file(weight);
    TTF_Font* font = face.path.empty()
                         ? nullptr
                         : TTF_OpenFontIndexDPI(face.path.c_str(), 1, face.index,
                                                72 * measuringPpem, 72 * measuringPpem);
    if (!font) {
        return false;
    }
    out.ascent = TTF_FontAscent(font);
    out.descent = -TTF_FontDescent(font);
    for (int i = 0; i < 27; ++i) {
        int minx, maxx, miny, maxy;
        if (TTF_GlyphMetrics32(font, i < 26 ? 'a' + i : ' ', &minx, &maxx, &miny, &maxy,
                               &out.advances[i]) != 0) {
            out.advances[i] = 0;
        }
    }
    TTF_CloseFont(font);
    return true;
}

bool SdlText::drawGlyphs(const GlyphSize& size, const std::string& text, TextCoverage& out) {
    // A size is set through the resolution, a point at N dpi being N/72 pixels.
    TTF_Font*& font = fonts[std::make_tuple(size.weight, size.xDpi, size.yDpi)];
    const FontFile& face = file(size.weight);
    if (!font && !face.path.empty()) {
        font =
            TTF_OpenFontIndexDPI(face.path.c_str(), 1, face.index, static_cast<unsigned>(size.xDpi),
                                 static_cast<unsigned>(size.yDpi));
        if (font) {
            TTF_SetFontKerning(font, 0);
            if (size.weight >= 700 && !face.boldFace) {
                TTF_SetFontStyle(font, TTF_STYLE_BOLD);
            }
        }
    }
    if (!font) {
        return false;
    }
    // White glyphs: their alpha is the coverage; the colour is blended in when it is drawn.
    SDL_Surface* argb = nullptr;
    if (SDL_Surface* blended = TTF_RenderText_Blended(font, text.c_str(), {255, 255, 255, 255})) {
        argb = SDL_ConvertSurfaceFormat(blended, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(blended);
    }
    if (!argb) {
        return false;
    }
    out.width = argb->w;
    out.height = argb->h;
    out.baseline = TTF_FontAscent(font);
    out.alpha.resize(std::size_t(argb->w) * std::size_t(argb->h));
    for (int y = 0; y < argb->h; ++y) {
        const Uint32* from = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            out.alpha[std::size_t(y) * argb->w + x] = static_cast<std::uint8_t>(from[x] >> 24);
        }
    }
    SDL_FreeSurface(argb);
    return true;
}
