// The Linux program's text: glyphs from SDL_ttf in the desktop's sans face, found by fontconfig.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include <SDL_ttf.h>

#include "shell/raster/TextRasterizer.h"

// A font file as fontconfig names it.
struct FontFile {
    std::string path;  // "" when nothing was found
    int index = 0;     // face within a collection file
    bool boldFace = false;
};

// The default sans-serif face of this desktop for a weight class (400 regular, 700 bold, 900
// black), found through fontconfig.
FontFile findSansFont(int weight);

// The raster surface's text drawn by SDL_ttf. Needs TTF_Init while fonts are open.
class SdlText : public TextRasterizer {
  public:
    SdlText() = default;
    ~SdlText() override { close(); }
    SdlText(const SdlText&) = delete;
    SdlText& operator=(const SdlText&) = delete;

    // Closes every open font (before TTF_Quit); they open again when next needed.
    void close();

  protected:
    bool measureFace(int weight, FaceMeasure& out) override;
    bool drawGlyphs(const GlyphSize& size, const std::string& text, TextCoverage& out) override;

  private:
    const FontFile& file(int weight);

    std::map<int, FontFile> files;
    std::map<std::tuple<int, long, long>, TTF_Font*> fonts;
};
