// The grid control: layout, cells, presses, moves, the cursor and the arrow keys.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "scob/Solution.h"
#include "scob/bitmapIds.h"
#include "scob/scobGrid.h"
#include "scob/skinInstance.h"
#include "tests/support/FakeServices.h"
#include "tests/support/RecordingSurface.h"

namespace {

// A grid that writes every cellAction, with the cursor at that moment, into a log.
class LoggingGrid : public scobGrid {
  public:
    std::vector<std::string> log;
    void cellAction(int code) override {
        log.push_back(std::to_string(cursorColumn) + "," + std::to_string(cursorRow) + " " +
                      std::to_string(code));
    }
    using scobGrid::setCell;
};

// A skin with a label for state 1 of text element 10, for the cells drawn without a picture.
class LabelSkin : public skinInstance {
  public:
    LabelSkin() { themeTexts[0][10][1] = "7"; }
};

// The game board's geometry: 3 x 3 cells of 78 x 78 pixels at (21, 90).
constexpr int left = 21;
constexpr int top = 90;
constexpr int cell = 78;

struct Grid : ::testing::Test {
    std::unique_ptr<skinInstance> skin = std::make_unique<skinInstance>();
    std::unique_ptr<LoggingGrid> grid = std::make_unique<LoggingGrid>();
    FakeServices services;

    void SetUp() override {
        grid->setLayout(left, top, 234, 234, 3, 3, skin.get());
        grid->setLook(5, 5, 6, 1, 3, element::pieces, -1, -1, -1, 1, 0);
        grid->setServices(&services);
        grid->setDirty(false);
    }
};

TEST(GridSetup, ConstructionAndLayout) {
    auto grid = std::make_unique<LoggingGrid>();
    EXPECT_EQ(grid->getCursorColumn(), 1);
    EXPECT_EQ(grid->getCursorRow(), 1);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(grid->getColumns(), 0);
    // Without columns nothing is hit and nothing is asked of the window system.
    EXPECT_FALSE(grid->mouseButton(0, 0, 1, false));
    EXPECT_TRUE(grid->log.empty());

    grid->setCell(2, 2, 9);
    grid->keyPress(key::left);
    grid->setLayout(10, 20, 100, 50, 3, 2, nullptr);
    EXPECT_EQ(grid->getCellWidth(), 33);  // integer division
    EXPECT_EQ(grid->getCellHeight(), 25);
    EXPECT_EQ(grid->getCursorColumn(), 1);  // the cursor goes home, the cells stay
    EXPECT_EQ(grid->getCell(2, 2), 9);
    EXPECT_EQ(grid->getX(), 10);
    EXPECT_EQ(grid->getHeight(), 50);
}

TEST(GridSetup, LayoutKeepsCountsWithinTheCellTable) {
    auto grid = std::make_unique<LoggingGrid>();
    grid->setLayout(0, 0, 90, 90, 0, -3, nullptr);  // would divide by zero
    EXPECT_EQ(grid->getColumns(), 1);
    EXPECT_EQ(grid->getRows(), 1);
    EXPECT_EQ(grid->getCellWidth(), 90);
    grid->setLayout(0, 0, 1000, 1000, 500, 151, nullptr);  // would run past the table
    EXPECT_EQ(grid->getColumns(), scobGrid::maxCells);
    EXPECT_EQ(grid->getRows(), scobGrid::maxCells);
}

TEST(GridSetup, SolutionIsNumberedRowByRowAndTakesNoInput) {
    auto solution = std::make_unique<Solution>();
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(solution->getCell(c, r), 4 * r + c + 1) << c << "," << r;
            EXPECT_EQ(solution->cellValue(c, r), 4 * r + c + 1);
        }
    }
    EXPECT_TRUE(solution->isVisible());
    EXPECT_FALSE(solution->isEnabled());
    // Lines on, cursor off.
    auto skin = std::make_unique<skinInstance>();
    solution->setLayout(0, 0, 40, 40, 4, 4, skin.get());
    RecordingSurface surface;
    solution->paint(surface);
    EXPECT_EQ(surface.only(DrawCall::Line).size(), 10u);
    EXPECT_TRUE(surface.only(DrawCall::Rectangle).size() == 16u) << surface.describe();
    for (const DrawCall& call : surface.only(DrawCall::Rectangle)) {
        EXPECT_FALSE(call.hollow);  // cell fills only, no cursor frame
    }
}

TEST_F(Grid, PressInsideACellMovesTheCursorThenActs) {
    EXPECT_TRUE(grid->mouseButton(left + 2 * cell + 5, top + 10, 1, false));
    EXPECT_EQ(grid->log, std::vector<std::string>{"2,0 -1"});
    EXPECT_EQ(grid->getCursorColumn(), 2);
    EXPECT_EQ(grid->getCursorRow(), 0);
    EXPECT_TRUE(grid->isDirty());

    grid->log.clear();
    EXPECT_TRUE(grid->mouseButton(left + 5, top + 2 * cell + 5, 1, true));
    EXPECT_EQ(grid->log, std::vector<std::string>{"0,2 -2"});  // the alternate flag
}

TEST_F(Grid, BordersBelongToBothCells) {
    // A vertical border reaches the left cell, then the right one, where the cursor stays.
    EXPECT_TRUE(grid->mouseButton(left + cell, top + 10, 1, false));
    EXPECT_EQ(grid->log, (std::vector<std::string>{"0,0 -1", "1,0 -1"}));
    EXPECT_EQ(grid->getCursorColumn(), 1);

    // A horizontal border only the cell above it.
    grid->log.clear();
    EXPECT_TRUE(grid->mouseButton(left + 10, top + 2 * cell, 1, false));
    EXPECT_EQ(grid->log, std::vector<std::string>{"0,1 -1"});

    // A crossing of borders: the upper cell of each of the two columns.
    grid->log.clear();
    EXPECT_TRUE(grid->mouseButton(left + cell, top + cell, 1, false));
    EXPECT_EQ(grid->log, (std::vector<std::string>{"0,0 -1", "1,0 -1"}));

    // The outer edges are inside, one pixel beyond is not.
    grid->log.clear();
    EXPECT_TRUE(grid->mouseButton(left + 3 * cell, top + 3 * cell, 1, false));
    EXPECT_EQ(grid->log, std::vector<std::string>{"2,2 -1"});
    grid->log.clear();
    EXPECT_FALSE(grid->mouseButton(left + 3 * cell + 1, top + 5, 1, false));
    EXPECT_FALSE(grid->mouseButton(left - 1, top + 5, 1, false));
    EXPECT_TRUE(grid->log.empty());
}

TEST_F(Grid, ReleasesAndOtherKindsNeverHit) {
    for (int kind : {0, 2, 3}) {
        EXPECT_FALSE(grid->mouseButton(left + 10, top + 10, kind, false)) << kind;
    }
    EXPECT_TRUE(grid->log.empty());
    EXPECT_FALSE(grid->isDirty());
    EXPECT_EQ(grid->getCursorColumn(), 1);
}

TEST(GridStrip, PressOnTheUncoveredStripChangesNothing) {
    // 100 pixels in 3 columns of 33: pixel 99 is still the last cell's border, 100 is in none.
    auto grid = std::make_unique<LoggingGrid>();
    grid->setLayout(0, 0, 100, 100, 3, 3, nullptr);
    grid->setDirty(false);
    EXPECT_FALSE(grid->mouseButton(100, 10, 1, false));
    EXPECT_FALSE(grid->mouseButton(10, 100, 1, false));
    EXPECT_FALSE(grid->isDirty());
    EXPECT_EQ(grid->getCursorColumn(), 1);
    EXPECT_EQ(grid->getCursorRow(), 1);
    EXPECT_TRUE(grid->log.empty());
    EXPECT_TRUE(grid->mouseButton(99, 10, 1, false));
    EXPECT_EQ(grid->log, std::vector<std::string>{"2,0 -1"});
}

TEST_F(Grid, PointerMovesOnlyReportAndOnlyWithTheButtonDown) {
    services.leftDown = false;
    EXPECT_FALSE(grid->mouseMove(left + 10, top + 10));
    services.leftDown = true;
    EXPECT_TRUE(grid->mouseMove(left + 10, top + 10));
    EXPECT_TRUE(grid->mouseMove(left + cell, top + cell));
    EXPECT_FALSE(grid->mouseMove(left + 3 * cell + 1, top + 10));
    EXPECT_TRUE(grid->log.empty());
    EXPECT_FALSE(grid->isDirty());
    EXPECT_EQ(grid->getCursorColumn(), 1);
    EXPECT_EQ(grid->getCursorRow(), 1);
}

TEST_F(Grid, ArrowKeysWrapAndOtherKeysGoToTheCell) {
    grid->keyPress(key::left);
    EXPECT_EQ(grid->getCursorColumn(), 0);
    EXPECT_TRUE(grid->isDirty());
    grid->keyPress(key::left);
    EXPECT_EQ(grid->getCursorColumn(), 2);
    grid->keyPress(key::right);
    EXPECT_EQ(grid->getCursorColumn(), 0);

    grid->keyPress(key::down);
    EXPECT_EQ(grid->getCursorRow(), 2);
    grid->keyPress(key::down);
    EXPECT_EQ(grid->getCursorRow(), 0);
    grid->keyPress(key::up);
    EXPECT_EQ(grid->getCursorRow(), 2);
    EXPECT_TRUE(grid->log.empty());

    grid->setDirty(false);
    grid->keyPress(key::newGame);
    EXPECT_EQ(grid->log, std::vector<std::string>{"0,2 78"});
    EXPECT_FALSE(grid->isDirty());
}

TEST_F(Grid, PaintsCellsByColumnThenLinesThenTheCursor) {
    grid->setLook(5, 5, 6, 1, 3, element::pieces, -1, -1, -1, 1, 1);
    grid->setCell(0, 1, 1);
    grid->setCell(2, 0, 2);
    grid->keyPress(key::right);  // cursor at (2, 1)
    RecordingSurface surface;
    grid->paint(surface);

    std::vector<std::string> expected;
    const int traditional[3] = {bitmap::blankTraditional, bitmap::ring, bitmap::cross};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            const int mark = (c == 0 && r == 1) ? 1 : (c == 2 && r == 0) ? 2 : 0;
            expected.push_back("bitmap " + std::to_string(traditional[mark]) + " at " +
                               std::to_string(left + c * cell) + "," +
                               std::to_string(top + r * cell) + " 78x78");
        }
    }
    for (int k = 0; k <= 3; ++k) {
        const int lineX = left + k * cell;
        expected.push_back("line " + std::to_string(lineX) + ",90-" + std::to_string(lineX) +
                           ",324 colour 0 pen 1");
    }
    for (int k = 0; k <= 3; ++k) {
        const int lineY = top + k * cell;
        expected.push_back("line 21," + std::to_string(lineY) + "-255," + std::to_string(lineY) +
                           " colour 0 pen 1");
    }
    expected.push_back("rect 177,168-255,246 hollow outline 255 pen 3");

    ASSERT_EQ(surface.calls.size(), expected.size()) << surface.describe();
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(surface.calls[i].describe(), expected[i]) << i;
    }
    EXPECT_FALSE(grid->isDirty());
}

TEST_F(Grid, PaintFollowsTheThemeAndTheSwitches) {
    grid->setLook(5, 5, 6, 1, 3, element::pieces, -1, -1, -1, 0, 0);
    grid->setCell(1, 1, 1);
    skin->setTheme(2);
    RecordingSurface surface;
    grid->paint(surface);
    ASSERT_EQ(surface.calls.size(), 9u) << surface.describe();  // no lines, no cursor
    EXPECT_EQ(surface.calls[4].id, bitmap::stripedFish);        // the Fish player's piece
    EXPECT_EQ(surface.calls[0].id, bitmap::blankFish);
}

TEST(GridFallback, CellsWithoutPictureAreFilledAndLabelled) {
    auto skin = std::make_unique<LabelSkin>();
    auto grid = std::make_unique<LoggingGrid>();
    grid->setLayout(0, 0, 100, 60, 2, 1, skin.get());
    // Element 40 has no pictures; fill in colour element 6, label text 10 in colour element 7.
    grid->setLook(5, 5, 6, 1, 1, 40, 6, 10, 7, 0, 0);
    grid->setCell(1, 0, 1);
    RecordingSurface surface;
    grid->paint(surface);

    ASSERT_EQ(surface.calls.size(), 3u) << surface.describe();
    // State 0 has colour 0 and no label: a solid rectangle, outline in the fill colour.
    EXPECT_EQ(surface.calls[0].describe(), "rect 0,0-50,60 fill 0 outline 0 pen 0");
    EXPECT_EQ(surface.calls[1].describe(), "rect 50,0-100,60 fill 255 outline 255 pen 0");
    EXPECT_EQ(surface.calls[2].describe(),
              "text \"7\" in 50,0-100,60 font 50/25/900 colour 16777215 align 1");
}

TEST(GridFallback, NegativeElementsDrawNothingInsteadOfReadingOutsideTheSkin) {
    auto skin = std::make_unique<LabelSkin>();
    auto grid = std::make_unique<LoggingGrid>();
    grid->setLayout(0, 0, 100, 60, 2, 1, skin.get());
    grid->setLook(-1, -1, -1, 1, 1, -1, -1, -1, -1, 1, 1);
    grid->setCell(0, 0, 1);
    grid->setCell(1, 0, 99);  // outside the skin's states
    RecordingSurface surface;
    grid->paint(surface);
    // Only the lines (black) and the cursor frame (black) remain.
    EXPECT_EQ(surface.only(DrawCall::Bitmap).size(), 0u);
    EXPECT_EQ(surface.only(DrawCall::Text).size(), 0u);
    EXPECT_EQ(surface.only(DrawCall::Line).size(), 5u);
    const auto rectangles = surface.only(DrawCall::Rectangle);
    ASSERT_EQ(rectangles.size(), 1u) << surface.describe();
    EXPECT_TRUE(rectangles[0].hollow);
    EXPECT_EQ(rectangles[0].colour, 0);
}

}  // namespace
