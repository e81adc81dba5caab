// The raster surface with the Linux program's text: the drawing table every surface must pass
// (tests/support), and what is its own: the fonts its text asks for and the text it shows for
// prefix marks.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "shell/raster/RasterSurface.h"
#include "tests/sdl/RenderSupport.h"
#include "tests/support/FocusRings.h"
#include "tests/support/HighContrastFrames.h"
#include "tests/support/SurfaceContract.h"

namespace {

// The pictures are the program's own, built in.
class RasterCanvas : public ContractCanvas {
  public:
    DrawingSurface& start(int width, int height, Colour background) override {
        surface = std::make_unique<RasterSurface>(width, height, 1, testText());
        std::uint32_t* pixels = surface->data();
        std::fill(pixels, pixels + width * height,
                  (redOf(background) << 16) | (greenOf(background) << 8) | blueOf(background));
        return *surface;
    }
    Colour at(int x, int y) override { return surface->pixel(x, y); }
    const RasterSurface& frame() const { return *surface; }

  private:
    std::unique_ptr<RasterSurface> surface;
};

TEST(RasterSurface, KeepsTheSurfaceContract) {
    RasterCanvas canvas;
    for (const std::string& failure : surfaceContractFailures(canvas)) {
        ADD_FAILURE() << failure;
    }
}

TEST(RasterSurface, DrawsTheFocusRingOnTheRealScreens) {
    RasterCanvas canvas;
    for (const std::string& failure : focusRings::failures(canvas)) {
        ADD_FAILURE() << failure;
    }
}

TEST(RasterSurface, DrawsTheHighContrastLookInEveryPalette) {
    RasterCanvas canvas;
    const auto save = [&canvas](const std::string& name) {
        EXPECT_TRUE(writePng(screenshotFolder() + "/" + name + ".png", canvas.frame()));
    };
    for (const std::string& failure : highContrastFrames::failures(canvas, save)) {
        ADD_FAILURE() << failure;
    }
}

TEST(RasterSurface, AClearLeavesBlackWhereverTheNextDrawingDoesNot) {
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
            RasterSurface surface(40, 30, scale, testText());
            surface.rectangle(0, 0, 40, 30, rgb(255, 255, 255), false, rgb(255, 255, 255), 1);
            surface.clear();
            draw(surface);
            const std::uint32_t* pixels = surface.data();
            EXPECT_EQ(pixels[surface.width() * surface.height() - 1], 0u)
                << "drawing " << &draw - draws << " at scale " << scale;
        }
    }
}

TEST(RasterSurfaceText, ARunDrawnAgainOverOtherPixelsBlendsAfresh) {
    // The same run over the same pixels is copied as last drawn; over others (a row that lights
    // up under the pointer) it must be blended anew, as a fresh surface blends it.
    const auto frame = [](RasterSurface& s, Colour under) {
        s.clear();
        s.rectangle(0, 0, 60, 30, under, false, under, 1);
        s.text("Wave", 0, 0, 60, 30, Font{20, 8, 700}, rgb(0, 0, 160), TextAlign::Centre);
        return std::vector<std::uint32_t>(s.data(), s.data() + s.width() * s.height());
    };
    RasterSurface kept(60, 30, 1, testText());
    for (const Colour under :
         {rgb(255, 255, 255), rgb(255, 255, 255), rgb(185, 230, 184), rgb(255, 255, 255)}) {
        RasterSurface fresh(60, 30, 1, testText());
        EXPECT_EQ(frame(kept, under), frame(fresh, under)) << "over " << under;
    }
}

TEST(RasterSurfaceText, TheFontFollowsTheAskedCellHeightAndAverageWidth) {
    ASSERT_TRUE(testText().available()) << "no sans-serif font through fontconfig";
    TextMetrics metrics;
    ASSERT_TRUE(testText().metrics(Font{15, 6, 700}, metrics));
    EXPECT_EQ(metrics.cellHeight, 15);
    EXPECT_GT(metrics.ascent, 9);
    EXPECT_LT(metrics.ascent, 15);

    // Twenty lowercase letters of ordinary text come to about twenty average widths.
    const TextCoverage* narrow = testText().coverage(Font{15, 6, 700}, "the quick brown fox ");
    ASSERT_NE(narrow, nullptr);
    const int narrowWidth = narrow->width;
    const TextCoverage* wide = testText().coverage(Font{15, 12, 700}, "the quick brown fox ");
    ASSERT_NE(wide, nullptr);
    EXPECT_NEAR(narrowWidth, 20 * 6, 20);
    EXPECT_NEAR(wide->width, 2 * narrowWidth, 20);
}

TEST(RasterSurfaceText, AmpersandsMarkTheNextCharacterAsDrawTextShowsThem) {
    EXPECT_EQ(withoutPrefixMarks("Play !"), "Play !");
    EXPECT_EQ(withoutPrefixMarks("&New Game"), "New Game");
    EXPECT_EQ(withoutPrefixMarks("Fish && Chips"), "Fish & Chips");
    EXPECT_EQ(withoutPrefixMarks("end&"), "end");
}

}  // namespace
