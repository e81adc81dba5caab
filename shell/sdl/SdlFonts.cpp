// The Linux program's fonts: the desktop's bold sans face through fontconfig, sized as GDI sizes.

#include "shell/sdl/SdlFonts.h"

#include <cmath>

#include <fontconfig/fontconfig.h>

namespace {

// The three weights the program can ask for.
int weightClass(int weight) {
    if (weight <= 0 || weight < 550) {
        return 400;
    }
    return weight < 800 ? 700 : 900;
}

// Measuring size: large enough that rounding in the face's metrics plays no part.
constexpr int unitsPpem = 2048;

// Share of each lowercase letter and the space in running text, per thousand: the classic
// definition of a face's average character width, which a requested font width scales to.
constexpr int letterShare[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                 56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};

double averageAdvance(TTF_Font* font) {
    double sum = 0;
    for (int i = 0; i < 27; ++i) {
        const Uint32 ch = i < 26 ? static_cast<Uint32>('a' + i) : ' ';
        int minx, maxx, miny, maxy, advance = 0;
        if (TTF_GlyphMetrics32(font, ch, &minx, &maxx, &miny, &maxy, &advance) == 0) {
            sum += letterShare[i] * advance;
        }
    }
    return sum / 1000.0;
}

}  // namespace

FontFile findSansFont(int weight) {
    FontFile found;
    if (!FcInit()) {
        return found;
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern) {
        return found;
    }
    const int fcWeight = FcWeightFromOpenType(weightClass(weight));
    FcPatternAddInteger(pattern, FC_WEIGHT, fcWeight);
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

SdlFonts::~SdlFonts() {
    for (auto& entry : sized) {
        if (entry.second.ttf) {
            TTF_CloseFont(entry.second.ttf);
        }
    }
}

SdlFonts::Face& SdlFonts::face(int weight) {
    Face& f = faces[weightClass(weight)];
    if (!f.looked) {
        f.looked = true;
        f.file = findSansFont(weight);
        if (!f.file.path.empty() && !measure(f)) {
            f.file.path.clear();
        }
    }
    return f;
}

bool SdlFonts::measure(Face& f) {
    TTF_Font* font =
        TTF_OpenFontIndexDPI(f.file.path.c_str(), 1, f.file.index, 72 * unitsPpem, 72 * unitsPpem);
    if (!font) {
        return false;
    }
    const int ascent = TTF_FontAscent(font);
    const int descent = -TTF_FontDescent(font);
    TTF_CloseFont(font);
    if (ascent <= 0 || ascent + descent <= 0) {
        return false;
    }
    f.cellPerEm = static_cast<double>(ascent + descent) / unitsPpem;
    f.ascentShare = static_cast<double>(ascent) / (ascent + descent);
    return true;
}

bool SdlFonts::available() {
    return !face(700).file.path.empty();
}

const SizedFont& SdlFonts::get(const Font& request) {
    const int weight = weightClass(request.weight);
    const auto key = std::make_tuple(request.height, request.width, weight);
    auto existing = sized.find(key);
    if (existing != sized.end()) {
        return existing->second;
    }
    SizedFont& made = sized[key];
    Face& f = face(weight);
    if (f.file.path.empty()) {
        return made;
    }

    // A positive height is the whole cell (ascent + descent); a negative one the em alone;
    // 0 asks for the window system's ordinary size.
    double em;
    if (request.height > 0) {
        made.cellHeight = request.height;
        em = request.height / f.cellPerEm;
    } else {
        em = request.height < 0 ? -request.height : 16 / f.cellPerEm;
        made.cellHeight = static_cast<int>(std::lround(em * f.cellPerEm));
    }
    made.ascent = static_cast<int>(std::lround(made.cellHeight * f.ascentShare));

    // Sizes are set through the resolution (1 point at N dpi is N/72 pixels), which allows
    // fractional pixel sizes and a horizontal scale of its own.
    const unsigned vdpi = static_cast<unsigned>(std::lround(em * 72));
    unsigned hdpi = vdpi;
    TTF_Font* font = TTF_OpenFontIndexDPI(f.file.path.c_str(), 1, f.file.index, hdpi, vdpi);
    if (!font) {
        return made;
    }
    if (request.width > 0) {
        // A requested width is the average character width: squeeze or stretch the face
        // horizontally to meet it.
        TTF_SetFontSizeDPI(font, 1, 72 * unitsPpem, 72 * unitsPpem);
        const double naturalPerEm = averageAdvance(font) / unitsPpem;
        if (naturalPerEm > 0) {
            hdpi = static_cast<unsigned>(std::lround(72.0 * request.width / naturalPerEm));
        }
        TTF_SetFontSizeDPI(font, 1, hdpi > 0 ? hdpi : 1, vdpi);
    }
    TTF_SetFontKerning(font, 0);
    if (weight >= 700 && !f.file.boldFace) {
        TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    }
    made.ttf = font;
    return made;
}
