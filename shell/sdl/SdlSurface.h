#pragma once

#include <map>
#include <string>
#include <utility>

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/DrawingSurface.h"
#include "shell/sdl/SdlFonts.h"

// The program's pictures, decoded once from the bytes built into the program and kept for the
// rest of the run. Null for an id the program does not have.
SDL_Surface* programBitmap(int bitmapId);

// A drawing surface of software pixels: the frame is drawn here and then shown in one step.
// Works without a display, so tests can draw real frames.
class SdlSurface : public DrawingSurface {
  public:
    // A black surface of the given size (what a fresh off-screen bitmap holds).
    SdlSurface(int width, int height, SdlFonts& fonts);
    ~SdlSurface() override;
    SdlSurface(const SdlSurface&) = delete;
    SdlSurface& operator=(const SdlSurface&) = delete;

    void copyBitmap(int bitmapId, int x, int y, int w, int h) override;
    void copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) override;
    void rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                   Colour outline, int penWidth) override;
    void line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) override;
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override;

    // Back to black, for the next frame.
    void clear();
    // The pixels, 32 bits each (0x00RRGGBB), for showing or saving.
    SDL_Surface* pixels() const { return surface; }
    int width() const { return surface ? surface->w : 0; }
    int height() const { return surface ? surface->h : 0; }
    // The colour at a point, or -1 outside the surface.
    Colour pixel(int x, int y) const;

  private:
    // Texts rendered once and kept, by font and text: the coverage of the glyphs, which the
    // colour is blended with at each draw.
    static constexpr std::size_t maxCachedTexts = 256;
    SDL_Surface* renderedText(TTF_Font* font, const std::string& shown);
    void freeTextCache();

    void copy(int bitmapId, int x, int y, int w, int h, bool keyed);
    void fillBox(int left, int top, int right, int bottom, Colour colour);
    void plot(int x, int y, Colour colour, int penWidth);

    SDL_Surface* surface = nullptr;
    SdlFonts& fonts;
    std::map<std::pair<TTF_Font*, std::string>, SDL_Surface*> textCache;
};

// The text DrawTextA shows for a string: a single '&' marks the next character and is not
// drawn, "&&" draws one '&'.
std::string withoutPrefixMarks(const std::string& text);
