// Text coverage for the page, from stb_truetype and the one face built into it: the bold face
// the Linux program draws with, drawn the way the Linux font renderer draws it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "shell/raster/TextRasterizer.h"

struct stbtt_fontinfo;

// Every font request is drawn with the same face (the program asks only for bold text), at the
// whole pixels per em the Linux font renderer takes for the request's size, each glyph on a
// whole pixel and each advance rounded as it rounds them, so the texts take the same width and
// sit on the same baselines.
class StbTextRasterizer : public TextRasterizer {
  public:
    // The TrueType face in `bytes`, which must outlive the rasterizer.
    StbTextRasterizer(const unsigned char* bytes, std::size_t size);
    ~StbTextRasterizer() override;
    StbTextRasterizer(const StbTextRasterizer&) = delete;
    StbTextRasterizer& operator=(const StbTextRasterizer&) = delete;

  protected:
    bool measureFace(int weight, FaceMeasure& out) override;
    bool drawGlyphs(const GlyphSize& size, const std::string& text, TextCoverage& out) override;

  private:
    std::unique_ptr<stbtt_fontinfo> face;
    int unitsPerEm = 0;  // 0 when the face did not open
    int ascender = 0;    // the face's own, in font units
    int descender = 0;   // below the baseline, positive
};
