// The SDL drawing surface against the window system's geometry: what each call puts on the
// pixels, where, and what it leaves alone.

#include <gtest/gtest.h>

#include <algorithm>

#include "scob/bitmapIds.h"
#include "shell/sdl/SdlSurface.h"
#include "tests/sdl/RenderSupport.h"

namespace {

const Colour black = rgb(0, 0, 0);
const Colour red = rgb(255, 0, 0);
const Colour blue = rgb(0, 0, 255);
const Colour grey = rgb(128, 128, 128);

// The box around every pixel that is not the background colour, or an empty box.
struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // right, bottom inclusive
    bool empty() const { return right < left; }
};

Box inkBox(const SdlSurface& s, Colour background) {
    Box box;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) != background) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

TEST(SdlSurface, RectangleOutlinesLeftTopAndRightMinusOneBottomMinusOne) {
    SdlSurface s(12, 12, testFonts());
    s.rectangle(2, 3, 8, 7, red, false, blue, 0);
    // Outline on columns 2 and 7, rows 3 and 6; the fill inside; nothing at right or bottom.
    EXPECT_EQ(s.pixel(2, 3), blue);
    EXPECT_EQ(s.pixel(7, 3), blue);
    EXPECT_EQ(s.pixel(2, 6), blue);
    EXPECT_EQ(s.pixel(7, 6), blue);
    EXPECT_EQ(s.pixel(5, 3), blue);
    EXPECT_EQ(s.pixel(2, 5), blue);
    EXPECT_EQ(s.pixel(3, 4), red);
    EXPECT_EQ(s.pixel(6, 5), red);
    EXPECT_EQ(s.pixel(8, 5), black);
    EXPECT_EQ(s.pixel(5, 7), black);
    EXPECT_EQ(s.pixel(1, 3), black);
    EXPECT_EQ(s.pixel(5, 2), black);
}

TEST(SdlSurface, HollowRectangleKeepsTheInsideAndWidePensSpreadBothWays) {
    SdlSurface s(20, 20, testFonts());
    s.rectangle(0, 0, 20, 20, grey, false, grey, 1);
    s.rectangle(4, 4, 12, 12, red, true, blue, 1);
    EXPECT_EQ(s.pixel(4, 4), blue);
    EXPECT_EQ(s.pixel(11, 11), blue);
    EXPECT_EQ(s.pixel(6, 6), grey);

    SdlSurface wide(20, 20, testFonts());
    wide.rectangle(5, 5, 15, 15, red, false, blue, 3);
    EXPECT_EQ(wide.pixel(4, 10), blue);  // one pixel outward
    EXPECT_EQ(wide.pixel(6, 10), blue);  // one pixel inward
    EXPECT_EQ(wide.pixel(3, 10), black);
    EXPECT_EQ(wide.pixel(7, 10), red);
    EXPECT_EQ(wide.pixel(15, 10), blue);  // right-1 is 14, spread to 15
    EXPECT_EQ(wide.pixel(16, 10), black);
}

TEST(SdlSurface, RectanglesAreClippedToTheSurface) {
    SdlSurface s(10, 10, testFonts());
    s.rectangle(-5, -5, 30, 30, red, false, blue, 1);
    EXPECT_EQ(s.pixel(0, 0), red);
    EXPECT_EQ(s.pixel(9, 9), red);
}

TEST(SdlSurface, LinesLeaveTheirEndPointOut) {
    SdlSurface s(10, 10, testFonts());
    s.line(1, 1, 6, 1, red, 1);
    EXPECT_EQ(s.pixel(1, 1), red);
    EXPECT_EQ(s.pixel(5, 1), red);
    EXPECT_EQ(s.pixel(6, 1), black);
    s.line(8, 9, 8, 3, blue, 0);  // upward
    EXPECT_EQ(s.pixel(8, 9), blue);
    EXPECT_EQ(s.pixel(8, 4), blue);
    EXPECT_EQ(s.pixel(8, 3), black);
    s.line(0, 3, 3, 6, grey, 1);
    EXPECT_EQ(s.pixel(2, 5), grey);
    EXPECT_EQ(s.pixel(3, 6), black);
    s.line(4, 4, 4, 4, red, 1);  // no length: nothing
    EXPECT_EQ(s.pixel(4, 4), black);
}

TEST(SdlSurface, ThickLinesCoverThePenWidthAcrossTheLine) {
    SdlSurface s(20, 20, testFonts());
    s.line(10, 2, 10, 12, red, 3);
    EXPECT_EQ(s.pixel(9, 6), red);
    EXPECT_EQ(s.pixel(11, 6), red);
    EXPECT_EQ(s.pixel(12, 6), black);
    EXPECT_EQ(s.pixel(8, 6), black);
}

TEST(SdlSurface, BitmapCopyTakesTheTopLeftPartAndOnlyWhatThePictureHas) {
    SDL_Surface* mark = programBitmap(bitmap::selectionMark);  // 20 x 20
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(mark->w, 20);
    SdlSurface s(40, 40, testFonts());
    s.rectangle(0, 0, 40, 40, grey, false, grey, 1);
    s.copyBitmap(bitmap::selectionMark, 5, 5, 30, 30);
    SdlSurface reference(20, 20, testFonts());
    reference.copyBitmap(bitmap::selectionMark, 0, 0, 20, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(s.pixel(5 + x, 5 + y), reference.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(s.pixel(25, 10), grey);  // beyond the picture: untouched
    EXPECT_EQ(s.pixel(10, 25), grey);

    SdlSurface part(40, 40, testFonts());
    part.rectangle(0, 0, 40, 40, grey, false, grey, 1);
    part.copyBitmap(bitmap::selectionMark, 0, 0, 7, 3);
    EXPECT_EQ(part.pixel(6, 2), reference.pixel(6, 2));
    EXPECT_EQ(part.pixel(7, 2), grey);
    EXPECT_EQ(part.pixel(6, 3), grey);
}

TEST(SdlSurface, BitmapCopyIsClippedAndUnknownPicturesDrawNothing) {
    SdlSurface reference(20, 20, testFonts());
    reference.copyBitmap(bitmap::selectionMark, 0, 0, 20, 20);
    SdlSurface s(10, 10, testFonts());
    s.copyBitmap(bitmap::selectionMark, -5, -6, 20, 20);
    EXPECT_EQ(s.pixel(0, 0), reference.pixel(5, 6));
    EXPECT_EQ(s.pixel(9, 9), reference.pixel(14, 15));

    SdlSurface none(10, 10, testFonts());
    none.copyBitmap(12345, 0, 0, 10, 10);
    none.copyBitmapKeyed(0, 0, 0, 10, 10);
    EXPECT_TRUE(inkBox(none, black).empty());
}

TEST(SdlSurface, KeyedCopyLeavesPureWhiteOut) {
    SdlSurface plain(20, 20, testFonts());
    plain.copyBitmap(bitmap::selectionMark, 0, 0, 20, 20);
    SdlSurface keyed(20, 20, testFonts());
    keyed.rectangle(0, 0, 20, 20, red, false, red, 1);
    keyed.copyBitmapKeyed(bitmap::selectionMark, 0, 0, 20, 20);
    int white = 0, copied = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (plain.pixel(x, y) == rgb(255, 255, 255)) {
                ++white;
                ASSERT_EQ(keyed.pixel(x, y), red) << x << "," << y;
            } else {
                ++copied;
                ASSERT_EQ(keyed.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
            }
        }
    }
    // The mark has both: a white ground and a dark square.
    EXPECT_GT(white, 0);
    EXPECT_GT(copied, 0);
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

TEST(SdlSurfaceText, CentredTextSitsInTheMiddleOfItsRectangle) {
    SdlSurface s(200, 60, testFonts());
    s.text("New Game", 20, 10, 180, 50, Font{15, 6, 700}, red, TextAlign::Centre);
    const Box box = inkBox(s, black);
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR(box.left - 20, 179 - box.right, 3);
    // Capitals of a 15-pixel cell stand about 10 pixels tall, centred on the middle line.
    EXPECT_GE(box.bottom - box.top + 1, 8);
    EXPECT_LE(box.bottom - box.top + 1, 15);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, 30, 3);
}

TEST(SdlSurfaceText, LeftAndRightAlignmentAndClipping) {
    SdlSurface left(200, 40, testFonts());
    left.text("Computer IQ:  Smart", 3, 0, 178, 20, Font{15, 6, 700}, red, TextAlign::Left);
    const Box l = inkBox(left, black);
    ASSERT_FALSE(l.empty());
    EXPECT_LE(l.left, 5);
    EXPECT_GE(l.left, 3);
    EXPECT_LE(l.bottom, 19);

    SdlSurface right(200, 40, testFonts());
    right.text("Tie", 0, 0, 150, 40, Font{15, 6, 700}, red, TextAlign::Right);
    const Box r = inkBox(right, black);
    ASSERT_FALSE(r.empty());
    EXPECT_LE(r.right, 149);
    EXPECT_GE(r.right, 145);

    // A rectangle too small for the text shows only the part inside it.
    SdlSurface clipped(200, 60, testFonts());
    clipped.text("Computer wins", 50, 25, 80, 32, Font{27, 13, 700}, red, TextAlign::Centre);
    const Box c = inkBox(clipped, black);
    ASSERT_FALSE(c.empty());
    EXPECT_GE(c.left, 50);
    EXPECT_LE(c.right, 79);
    EXPECT_GE(c.top, 25);
    EXPECT_LE(c.bottom, 31);
}

TEST(SdlSurfaceText, TextBlendsOverWhatIsBelowAndEmptyTextDrawsNothing) {
    SdlSurface s(100, 30, testFonts());
    s.rectangle(0, 0, 100, 30, grey, false, grey, 1);
    s.text("", 0, 0, 100, 30, Font{15, 6, 700}, red, TextAlign::Centre);
    s.text("&", 0, 0, 100, 30, Font{15, 6, 700}, red, TextAlign::Centre);
    EXPECT_TRUE(inkBox(s, grey).empty());
    s.text("Tie", 0, 0, 100, 30, Font{15, 6, 700}, red, TextAlign::Centre);
    int solid = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            solid += s.pixel(x, y) == red;
        }
    }
    EXPECT_GT(solid, 10);  // the strokes' cores carry the colour itself
    EXPECT_EQ(s.pixel(0, 0), grey);
}

TEST(SdlSurfaceText, AmpersandsMarkTheNextCharacterAsDrawTextShowsThem) {
    EXPECT_EQ(withoutPrefixMarks("Play !"), "Play !");
    EXPECT_EQ(withoutPrefixMarks("&New Game"), "New Game");
    EXPECT_EQ(withoutPrefixMarks("Fish && Chips"), "Fish & Chips");
    EXPECT_EQ(withoutPrefixMarks("end&"), "end");
}

}  // namespace
