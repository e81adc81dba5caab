// The SDL drawing surface: the drawing table every surface must pass (tests/support), and what
// is its own: the fonts it picks and the text it shows for prefix marks.

#include <gtest/gtest.h>

#include <memory>

#include "shell/sdl/SdlSurface.h"
#include "tests/sdl/RenderSupport.h"
#include "tests/support/SurfaceContract.h"

namespace {

// The pictures are the program's own, built in.
class SdlCanvas : public ContractCanvas {
  public:
    DrawingSurface& start(int width, int height, Colour background) override {
        surface = std::make_unique<SdlSurface>(width, height, testFonts());
        SDL_Surface* pixels = surface->pixels();
        SDL_FillRect(
            pixels, nullptr,
            SDL_MapRGB(pixels->format, redOf(background), greenOf(background), blueOf(background)));
        return *surface;
    }
    Colour at(int x, int y) override { return surface->pixel(x, y); }

  private:
    std::unique_ptr<SdlSurface> surface;
};

TEST(SdlSurface, KeepsTheSurfaceContract) {
    SdlCanvas canvas;
    for (const std::string& failure : surfaceContractFailures(canvas)) {
        ADD_FAILURE() << failure;
    }
}

TEST(SdlSurface, AClearLeavesBlackWhereverTheNextDrawingDoesNot) {
    // The blackening waits for the next drawing and is left out only under a whole-frame
    // picture, so each of these must still find it done.
    using Draw = void (*)(DrawingSurface&);
    const Draw draws[] = {
        [](DrawingSurface&) {},
        [](DrawingSurface& s) { s.rectangle(1, 1, 5, 5, rgb(200, 0, 0), false, 0, 1); },
        [](DrawingSurface& s) { s.line(0, 0, 5, 5, rgb(200, 0, 0), 1); },
        [](DrawingSurface& s) { s.copyBitmap(740, 0, 0, 40, 30); },  // 20 x 20: not all
        [](DrawingSurface& s) { s.copyBitmapKeyed(740, 0, 0, 40, 30); },
        [](DrawingSurface& s) {
            s.text("Ab", 0, 0, 40, 30, Font{15, 6, 700}, 0, TextAlign::Left);
        },
    };
    for (int scale : {1, 2}) {
        for (const Draw& draw : draws) {
            SdlSurface surface(40, 30, testFonts(), scale);
            surface.rectangle(0, 0, 40, 30, rgb(255, 255, 255), false, rgb(255, 255, 255), 1);
            surface.clear();
            draw(surface);
            const SDL_Surface* pixels = surface.pixels();
            const Uint32 corner =
                static_cast<const Uint32*>(pixels->pixels)[pixels->h * pixels->pitch / 4 - 1];
            EXPECT_EQ(corner, 0u) << "drawing " << &draw - draws << " at scale " << scale;
        }
    }
}

TEST(SdlSurfaceText, TheFontFollowsTheAskedCellHeightAndAverageWidth) {
    ASSERT_TRUE(testFonts().available()) << "no sans-serif font through fontconfig";
    const SizedFont& f = testFonts().get(Font{15, 6, 700});
    ASSERT_NE(f.ttf, nullptr);
    EXPECT_EQ(f.cellHeight, 15);
    EXPECT_GT(f.ascent, 9);
    EXPECT_LT(f.ascent, 15);

    // Twenty lowercase letters of ordinary text come to about twenty average widths.
    int narrow = 0, wide = 0;
    TTF_SizeText(f.ttf, "the quick brown fox ", &narrow, nullptr);
    TTF_SizeText(testFonts().get(Font{15, 12, 700}).ttf, "the quick brown fox ", &wide, nullptr);
    EXPECT_NEAR(narrow, 20 * 6, 20);
    EXPECT_NEAR(wide, 2 * narrow, 20);
}

TEST(SdlSurfaceText, AmpersandsMarkTheNextCharacterAsDrawTextShowsThem) {
    EXPECT_EQ(withoutPrefixMarks("Play !"), "Play !");
    EXPECT_EQ(withoutPrefixMarks("&New Game"), "New Game");
    EXPECT_EQ(withoutPrefixMarks("Fish && Chips"), "Fish & Chips");
    EXPECT_EQ(withoutPrefixMarks("end&"), "end");
}

}  // namespace
