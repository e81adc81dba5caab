// The Linux program's drawing surface: the raster surface with SDL_ttf's text coverage.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include <SDL.h>

#include "shell/raster/RasterSurface.h"
#include "shell/raster/TextRasterizer.h"
#include "shell/sdl/SdlFonts.h"

// Text coverage from SDL_ttf, through the fonts of this desktop. Texts are rendered once and
// kept, by font and text.
class SdlTextRasterizer : public TextRasterizer {
  public:
    explicit SdlTextRasterizer(SdlFonts& fontSet) : fonts(fontSet) {}

    bool metrics(const Font& font, TextMetrics& out) override;
    const TextCoverage* coverage(const Font& font, const std::string& text) override;

  private:
    static constexpr std::size_t maxCachedTexts = 256;
    SdlFonts& fonts;
    std::map<std::tuple<int, int, int, std::string>, TextCoverage> rendered;
};

// The frame of the Linux window: a raster surface drawing text with SDL_ttf, its pixels also
// seen as an SDL surface for showing or saving. Works without a display, so tests can draw real
// frames.
class SdlSurface : public DrawingSurface {
  public:
    // A black surface for a drawing area of the given size (what a fresh off-screen bitmap
    // holds), each point of it `scale` x `scale` pixels.
    SdlSurface(int width, int height, SdlFonts& fonts, int scale = 1);
    ~SdlSurface() override;
    SdlSurface(const SdlSurface&) = delete;
    SdlSurface& operator=(const SdlSurface&) = delete;

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override {
        raster.copyBitmap(bitmapId, x, y, w, h);
    }
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override {
        raster.copyBitmapKeyed(bitmapId, x, y, w, h);
    }
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override {
        raster.rectangle(left, top, right, bottom, fill, hollow, outline, penWidth);
    }
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override {
        raster.line(x0, y0, x1, y1, colour, penWidth);
    }
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override {
        raster.text(text, left, top, right, bottom, font, colour, align);
    }

    // Back to black, for the next frame.
    void clear() { raster.clear(); }
    // The pixels, 32 bits each (0x00RRGGBB), for showing or saving.
    SDL_Surface* pixels() const {
        raster.data();  // a clear still pending is done now
        return surface;
    }
    // The frame's size in pixels: the drawing area's times the scale.
    int width() const { return raster.width(); }
    int height() const { return raster.height(); }
    // The colour at a pixel, or -1 outside the surface.
    Colour pixel(int x, int y) const { return raster.pixel(x, y); }

  private:
    SdlTextRasterizer glyphs;
    RasterSurface raster;
    SDL_Surface* surface = nullptr;
};
