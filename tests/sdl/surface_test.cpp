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
