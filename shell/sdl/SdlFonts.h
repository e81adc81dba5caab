// The Linux program's fonts: the desktop's bold sans face through fontconfig, sized as GDI sizes.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include <SDL_ttf.h>

#include "platform/DrawingSurface.h"

// A font file as fontconfig names it.
struct FontFile {
    std::string path;  // "" when nothing was found
    int index = 0;     // face within a collection file
    bool boldFace = false;
};

// The default sans-serif face of this desktop for a weight (400 regular, 700 bold, 900
// black), found through fontconfig.
FontFile findSansFont(int weight);

// One face at one size, with the metrics the window system's text drawing places it by.
struct SizedFont {
    TTF_Font* ttf = nullptr;
    int cellHeight = 0;  // ascent + descent: what a positive font height asks for
    int ascent = 0;      // from the top of the cell to the baseline
};

// The fonts text is drawn with. A font is asked for the way the controls ask the window system
// for one (cell height, average character width, weight) and is kept for reuse. Needs TTF_Init.
class SdlFonts {
  public:
    SdlFonts() = default;
    ~SdlFonts();
    SdlFonts(const SdlFonts&) = delete;
    SdlFonts& operator=(const SdlFonts&) = delete;

    // True when a bold sans face was found and opens: the program cannot show its texts
    // without one.
    bool available();

    // The font for this request; `ttf` is null when no face could be opened.
    const SizedFont& get(const Font& request);

  private:
    struct Face {
        FontFile file;
        bool looked = false;
        double cellPerEm = 0;  // (ascent + descent) / em of the face's own metrics
        double ascentShare = 0;
    };
    Face& face(int weight);
    bool measure(Face& face);

    std::map<int, Face> faces;
    std::map<std::tuple<int, int, int>, SizedFont> sized;
};
