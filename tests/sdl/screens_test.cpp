// The real screens drawn through the raster surface, as the Linux window shows them: pixel probes
// at known places, and screenshots for people to look at; and the same at twice the scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "scob/bitmapIds.h"
#include "screens/Commands.h"
#include "screens/Program.h"
#include "platform/Keys.h"
#include "shell/KeyboardFocus.h"
#include "shell/WindowLogic.h"
#include "shell/raster/BmpDecoder.h"
#include "shell/raster/RasterSurface.h"
#include "tests/sdl/RenderSupport.h"
#include "tests/support/BoardCells.h"
#include "tests/support/FakeServices.h"
#include "tests/support/HighContrastFrames.h"
#include "tests/support/RecordingSurface.h"

namespace {

// Text that draws nothing: frames without their text.
class NoText : public TextRasterizer {
  protected:
    bool measureFace(int, FaceMeasure&) override { return false; }
    bool drawGlyphs(const GlyphSize&, const std::string&, TextCoverage&) override { return false; }
};

const Colour black = rgb(0, 0, 0);
const Colour white = rgb(255, 255, 255);

// The board's cell (c, r) starts here; cells are square.
int cellX(int c) {
    return boardCells[0].left + boardCells[0].size * c;
}
int cellY(int r) {
    return boardCells[0].top + boardCells[0].size * r;
}

// A fresh program in a window of the drawing area's size, with no settings file and a fixed
// clock, drawn through the raster surface with the Linux program's text.
class Screens : public ::testing::Test {
  protected:
    void SetUp() override {
        p = std::make_unique<Program>(services);
        windowLogic::startUp(*p);
        windowLogic::created(*p);
        int w = 0, h = 0;
        windowLogic::drawingSize(*p, w, h);
        frame = std::make_unique<RasterSurface>(w, h, 1, testText());
        draw();
    }

    void draw() {
        frame->clear();
        windowLogic::render(*p, *frame);
    }
    // Ticks until the frame needs a repaint, then draws it.
    void tickAndDraw(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            if (windowLogic::timerTick(*p)) {
                draw();
            }
        }
    }
    void click(int x, int y) {
        windowLogic::pointer(*p, PointerEvent::Move, x, y);
        windowLogic::pointer(*p, PointerEvent::LeftDown, x, y);
        windowLogic::pointer(*p, PointerEvent::LeftUp, x, y);
        tickAndDraw();
    }
    // Ticks through the computer's thinking pause.
    void letComputerMove() {
        for (int i = 0; i < 100 && p->gameBoard.getState() == 2; ++i) {
            tickAndDraw();
        }
        tickAndDraw();
    }
    // Settings, a row of the Pieces list, "Play !".
    void choosePieces(int row) {
        click(320, 155);
        click(137 + 50, 50 + 20 * (row + 1) + 10);
        click(195, 225);
    }
    // A frame drawn without text is saved as `name` with "-notext": where it differs from the
    // frame of the same name is text (the web tier compares the page's frames outside it).
    void save(const std::string& name, const RasterSurface* surface = nullptr) {
        const std::string path = screenshotFolder() + "/" + name + ".png";
        EXPECT_TRUE(writePng(path, surface ? *surface : *frame)) << path;
    }
    void saveWithAndWithoutText(const std::string& name) {
        save(name);
        NoText none;
        RasterSurface bare(frame->width(), frame->height(), 1, none);
        windowLogic::render(*p, bare);
        save(name + "-notext", &bare);
    }

    // True when the frame at (x, y) shows picture `id`'s pixel (px, py).
    bool showsPicture(int id, int x, int y, int px, int py) {
        const RasterImage* picture = programPicture(id);
        if (!picture) {
            return false;
        }
        const std::uint32_t p = picture->at(px, py);
        return frame->pixel(x, y) == rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // True when the inside of cell (c, r) is exactly picture `id`.
    bool cellShows(int c, int r, int id) {
        for (int y = 1; y < 77; ++y) {
            for (int x = 1; x < 77; ++x) {
                if (!showsPicture(id, cellX(c) + x, cellY(r) + y, x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
    // How many pixels of the box have exactly this colour.
    int count(int left, int top, int right, int bottom, Colour colour) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                n += frame->pixel(x, y) == colour;
            }
        }
        return n;
    }

    FakeServices services;
    std::unique_ptr<Program> p;
    std::unique_ptr<RasterSurface> frame;
};

TEST_F(Screens, TheBoardScreenOnParchmentWithTheFrameStrip) {
    ASSERT_EQ(frame->width(), 384);
    ASSERT_EQ(frame->height(), 365);
    // Parchment where nothing else is, the title strip along the top.
    EXPECT_TRUE(showsPicture(bitmap::parchmentPage, 200, 350, 200, 350));
    EXPECT_TRUE(showsPicture(bitmap::parchmentPage, 370, 200, 370, 200));
    EXPECT_TRUE(showsPicture(bitmap::titleStrip, 250, 10, 250, 10));
    // The three picture buttons at the right of the strip.
    EXPECT_TRUE(showsPicture(bitmap::question, 330, 5, 5, 4));
    EXPECT_TRUE(showsPicture(bitmap::letterT, 350, 5, 5, 4));
    EXPECT_TRUE(showsPicture(bitmap::pinFlat, 370, 5, 5, 4));
    // The level label's black text on the strip's left.
    EXPECT_GT(count(3, 0, 178, 20, black), 20);
    // An empty board: white cells, black lines.
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_TRUE(cellShows(c, r, bitmap::blankTraditional)) << c << "," << r;
        }
    }
    EXPECT_EQ(frame->pixel(cellX(1), cellY(0) + 40), black);
    EXPECT_EQ(frame->pixel(cellX(0) + 40, cellY(3)), black);
    // "New Game" and "Settings": black rectangles with soft green text.
    EXPECT_EQ(frame->pixel(282, 96), black);
    EXPECT_EQ(frame->pixel(359, 124), black);
    EXPECT_EQ(frame->pixel(283, 147), black);
    EXPECT_GT(count(281, 95, 361, 126, rgb(0x9B, 0xC9, 0x99)), 15);
    EXPECT_GT(count(281, 145, 361, 165, rgb(0x9B, 0xC9, 0x99)), 15);
    saveWithAndWithoutText("board");
}

TEST_F(Screens, TheStatusPlaqueFollowsEveryGameState) {
    const char* names[] = {"", "your-move", "thinking", "you-win", "computer-wins", "tie"};
    const int plaques[] = {0,
                           bitmap::plaquePink,
                           bitmap::plaqueWood,
                           bitmap::plaqueRed,
                           bitmap::plaqueOrange,
                           bitmap::plaqueBlue};
    for (int state = 1; state <= 5; ++state) {
        p->gameBoard.setState(state);
        p->gameBoard.setDirty(true);
        tickAndDraw();
        // The plaque of the state, with its text in black across the middle.
        EXPECT_TRUE(showsPicture(plaques[state], 87 + 4, 40 + 4, 4, 4)) << state;
        EXPECT_TRUE(showsPicture(plaques[state], 87 + 95, 40 + 25, 95, 25)) << state;
        EXPECT_GT(count(87, 40, 187, 70, black), 15) << state;
        if (state == 3 || state == 5) {
            save(std::string("status-") + names[state]);
        }
    }
}

TEST_F(Screens, APlayedCellShowsTheRingAndTheComputerAnswersWithItsCross) {
    click(boardCell(0, 0).x, boardCell(0, 0).y);
    EXPECT_TRUE(cellShows(0, 0, bitmap::ring));
    EXPECT_TRUE(showsPicture(bitmap::plaqueWood, 87 + 4, 40 + 4, 4, 4));  // "Thinking..."
    letComputerMove();
    int crosses = 0;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            crosses += cellShows(c, r, bitmap::cross);
        }
    }
    EXPECT_EQ(crosses, 1);
    EXPECT_TRUE(showsPicture(bitmap::plaquePink, 87 + 4, 40 + 4, 4, 4));  // "Your Move" again
}

TEST_F(Screens, EachPieceSetDrawsItsOwnPieces) {
    struct Set {
        int row, ring, cross;
        const char* name;
    };
    const Set sets[] = {{0, bitmap::ring, bitmap::cross, "traditional"},
                        {1, bitmap::greenSquare, bitmap::orangeSquare, "colors"},
                        {2, bitmap::stripedFish, bitmap::spottedFish, "fish"}};
    // Two moves each side on the board, the same for every set.
    click(boardCell(1, 1).x, boardCell(1, 1).y);
    letComputerMove();
    for (int c = 0; c < 3; ++c) {
        if (p->gameBoard.getState() == 1 && p->gameBoard.cellValue(c, 2) == 0) {
            click(boardCell(c, 2).x, boardCell(c, 2).y);
            letComputerMove();
            break;
        }
    }
    for (const Set& set : sets) {
        choosePieces(set.row);
        ASSERT_EQ(p->skin.getTheme(), set.row);
        EXPECT_TRUE(cellShows(1, 1, set.ring)) << set.name;
        int crosses = 0;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                crosses += cellShows(c, r, set.cross);
            }
        }
        EXPECT_EQ(crosses, 2) << set.name;
        save(std::string("pieces-") + set.name);
    }
}

TEST_F(Screens, AtTwiceTheScaleEachPointIsABlockAndTheTextIsDrawnLarger) {
    for (const char* screen : {"board", "settings"}) {
        SCOPED_TRACE(screen);
        if (std::string(screen) == "settings") {
            click(320, 155);
            windowLogic::pointer(*p, PointerEvent::Move, 195, 300);
            tickAndDraw();
        }
        RasterSurface twice(384, 365, 2, testText());
        windowLogic::render(*p, twice);
        ASSERT_EQ(twice.width(), 768);
        ASSERT_EQ(twice.height(), 730);
        save(std::string(screen) + "-x2", &twice);

        // What is not text is told by frames drawn without any: there every pixel at twice the
        // scale is its point at the first.
        NoText none;
        RasterSurface bare(384, 365, 1, none), bareTwice(384, 365, 2, none);
        windowLogic::render(*p, bare);
        windowLogic::render(*p, bareTwice);
        save(std::string(screen) + "-x2-notext", &bareTwice);
        int unlike = 0;
        for (int y = 0; y < 730; ++y) {
            for (int x = 0; x < 768; ++x) {
                unlike += bareTwice.pixel(x, y) != bare.pixel(x / 2, y / 2);
            }
        }
        EXPECT_EQ(unlike, 0);

        // The text differs from the bare frame only inside the text rectangles, with about four
        // times the ink, and it is drawn anew, not in blocks of its small self.
        RecordingSurface calls;
        windowLogic::render(*p, calls);
        const auto inText = [&calls](int x, int y) {
            for (const DrawCall& t : calls.only(DrawCall::Text)) {
                if (x >= t.left && x < t.right && y >= t.top && y < t.bottom) {
                    return true;
                }
            }
            return false;
        };
        int ink = 0, inkTwice = 0, outside = 0, blocky = 0;
        for (int y = 0; y < 730; ++y) {
            for (int x = 0; x < 768; ++x) {
                if (twice.pixel(x, y) != bareTwice.pixel(x, y)) {
                    ++inkTwice;
                    outside += !inText(x / 2, y / 2);
                    blocky += twice.pixel(x, y) == frame->pixel(x / 2, y / 2);
                }
                if (x < 384 && y < 365) {
                    ink += frame->pixel(x, y) != bare.pixel(x, y);
                }
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(ink, 200);
        EXPECT_GT(inkTwice, 3 * ink);
        EXPECT_LT(inkTwice, 5 * ink);
        EXPECT_LT(blocky, inkTwice / 2);
    }
}

TEST_F(Screens, TheSettingsScreenOnWhiteWithListsAndPlay) {
    click(320, 155);
    windowLogic::pointer(*p, PointerEvent::Move, 195, 300);  // the pointer rests below the lists
    tickAndDraw();
    // White backdrop over the whole window, the frame strip included.
    EXPECT_EQ(frame->pixel(5, 300), white);
    EXPECT_EQ(frame->pixel(370, 5), white);
    EXPECT_EQ(frame->pixel(200, 10), white);
    // Each list: a soft green title row, the selected first row with its mark, pale rows.
    const int listX[] = {16, 137, 258};
    for (int x : listX) {
        EXPECT_EQ(frame->pixel(x + 100, 52), rgb(0x9B, 0xC9, 0x99)) << x;
        EXPECT_EQ(frame->pixel(x + 100, 75), rgb(0xB9, 0xE6, 0xB8)) << x;
        // The mark: the picture's dark pixels, the row's green where the picture is white.
        const RasterImage* mark = programPicture(bitmap::selectionMark);
        ASSERT_NE(mark, nullptr);
        int dark = 0;
        for (int y = 0; y < 20; ++y) {
            for (int mx = 0; mx < 20; ++mx) {
                const std::uint32_t m = mark->at(mx, y);
                const Colour shown = frame->pixel(x + mx, 70 + y);
                if ((m & 0xFFFFFF) == 0xFFFFFF) {
                    ASSERT_NE(shown, white) << x << ": " << mx << "," << y;
                } else {
                    ++dark;
                    ASSERT_EQ(shown, rgb((m >> 16) & 0xFF, (m >> 8) & 0xFF, m & 0xFF));
                }
            }
        }
        EXPECT_GT(dark, 50);
        // The unselected second row carries no mark.
        EXPECT_EQ(frame->pixel(x + 10, 100), rgb(0xB9, 0xE6, 0xB8)) << x;
    }
    // "Play !": a red button with white text; the link in black on a white box.
    EXPECT_EQ(frame->pixel(150, 190), rgb(255, 0, 0));
    EXPECT_EQ(frame->pixel(240, 260), rgb(255, 0, 0));
    EXPECT_GT(count(145, 185, 245, 265, white), 60);
    EXPECT_EQ(frame->pixel(95, 330), black);
    EXPECT_GT(count(96, 331, 294, 354, black), 30);
    saveWithAndWithoutText("settings");
}

// How far a pixel stands apart from the nearer of the focus ring's two colours (1 to 21), as
// the accessibility guidelines reckon contrast.
double apartFromRing(Colour pixel) {
    return std::max(highContrastFrames::contrast(windowLogic::focusRingColour, pixel),
                    highContrastFrames::contrast(windowLogic::focusRingInside, pixel));
}

TEST_F(Screens, TheFocusRingStandsOutOnEveryItemOfBothScreens) {
    // Each stop of both screens: next to the ring on either side, its blue or its white stands
    // 3:1 apart from what lies there (the white beside dark wood and black, else the blue).
    for (const int stops : {6, 5}) {
        for (int stop = 0; stop < stops; ++stop) {
            windowLogic::keyDown(*p, key::tab);
            tickAndDraw();
            const auto items = windowLogic::describeScreen(*p);
            const windowLogic::ScreenItem& it = items[windowLogic::focusedStop(*p, items)];
            for (int d = 0; d < 1000 && it.role != windowLogic::ItemRole::Board; ++d) {
                const int x = it.x + d % 100 * (it.width - 1) / 99;
                const int y = it.y + d / 100 * (it.height - 1) / 9;
                for (const auto& [px, py] : {std::pair{x, it.y - 2},
                                             {x, it.y + it.height + 1},
                                             {it.x - 2, y},
                                             {it.x + it.width + 1, y},
                                             {x, it.y + 3},
                                             {it.x + 3, y}}) {
                    if (px >= 0 && py >= 0 && px < 384 && py < 365) {
                        EXPECT_GE(apartFromRing(frame->pixel(px, py)), 3.0) << it.name;
                    }
                }
            }
            if (stop == 1 || stop == 3) {
                save(std::string("focus-") + (stops == 6 ? "board-screen-" : "settings-") +
                     std::to_string(stop));
            }
        }
        windowLogic::keyDown(*p, key::enter);  // on "Settings"
        tickAndDraw();
    }
}

}  // namespace
