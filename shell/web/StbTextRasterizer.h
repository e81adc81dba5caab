// Text coverage for the page, from stb_truetype and the one face built into it: the bold face
// the Linux program draws with, sized and placed the way the Linux program sizes and places it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "shell/raster/TextRasterizer.h"

struct stbtt_fontinfo;

// Every font request is drawn with the same face (the program asks only for bold text). A
// request's cell and baseline are those the Linux program gives it, and its glyphs are drawn
// at the whole pixels per em the Linux font renderer uses for that request, each on a whole
// pixel, so the texts take the same width and sit on the same baselines.
class StbTextRasterizer : public TextRasterizer {
  public:
    // The TrueType face in `bytes`, which must outlive the rasterizer.
    StbTextRasterizer(const unsigned char* bytes, std::size_t size);
    ~StbTextRasterizer() override;
    StbTextRasterizer(const StbTextRasterizer&) = delete;
    StbTextRasterizer& operator=(const StbTextRasterizer&) = delete;

    // True when the face opened.
    bool available() const { return cellPerEm > 0; }

    bool metrics(const Font& font, TextMetrics& out) override;
    const TextCoverage* coverage(const Font& font, const std::string& text) override;

  private:
    // One request's size: its metrics, the face's scale each way, and where the drawn line's
    // baseline and bottom lie below its top.
    struct Sized {
        TextMetrics metrics;
        float scaleX = 0;
        float scaleY = 0;
        std::int64_t advanceScale = 0;  // 16.16, for the advances
        int baseline = 0;
        int height = 0;
    };
    const Sized& sized(const Font& font);

    static constexpr std::size_t maxCachedTexts = 256;
    std::unique_ptr<stbtt_fontinfo> face;
    int unitsPerEm = 0;
    int ascender = 0;         // the face's own, in font units
    int descender = 0;        // below the baseline, positive
    double cellPerEm = 0;     // (ascent + descent) / em
    double ascentShare = 0;   // ascent / (ascent + descent)
    double averagePerEm = 0;  // the average character width / em
    std::map<std::pair<int, int>, Sized> sizes;
    std::map<std::tuple<int, int, std::string>, TextCoverage> rendered;
};
