// The single-choice list: rows, the selection and its mark.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scob/Page.h"
#include "scob/scobList.h"
#include "scob/skinInstance.h"
#include "tests/support/RecordingSurface.h"

namespace {

// The "Pieces" list of the settings screen: x 137, y 50, rows of 20, a title and three items.
struct PiecesList : ::testing::Test {
    std::unique_ptr<skinInstance> skin = std::make_unique<skinInstance>();
    scobList list;
    PageSet set;
    std::vector<int> commands;
    std::vector<int> selectionSeen;

    void SetUp() override {
        list.init(137, 50, 20, 105, 25, true, skin.get());
        list.setFont(15, 6, 0, 0, 0);
        list.setColours(0, 3, 0, 1, 0, 2, 0, 3);
        list.setMarks(-1, -1, -1, element::selectionMark);
        list.setTitle("Pieces");
        for (const char* item : {"Traditional", "Colors", "Fish"}) {
            list.addItem(item);
        }
        list.setVisible(true);
        list.setSelected(0);
        set.pageCount = 1;
        set.pages[0].setVisible(true);
        set.pages[0].add(&list, 7, 0);
    }

    // Routes as the window does; the handler reads the selection as the command handler would.
    void route(PointerEvent event, int rx, int ry) {
        routePointer(set, event, 137 + rx, 50 + ry, [this](int id, int) {
            commands.push_back(id);
            selectionSeen.push_back(list.getSelected());
        });
    }
    void down(int rx, int ry) { route(PointerEvent::LeftDown, rx, ry); }
    void up(int rx, int ry) { route(PointerEvent::LeftUp, rx, ry); }
    void move(int rx, int ry) { route(PointerEvent::Move, rx, ry); }
};

TEST_F(PiecesList, RowsStartBelowTheTitleAndBoundaryLinesBelongToNoRow) {
    EXPECT_EQ(list.getHeight(), 80);
    const int expected[][2] = {{20, -1}, {21, 0}, {39, 0}, {40, 1}, {79, 2}, {80, -1}, {5, -1}};
    for (const auto& [line, row] : expected) {
        move(50, line);
        EXPECT_EQ(list.getHoverRow(), row) << "relative line " << line;
    }
}

TEST_F(PiecesList, PressOnOneRowReleaseOnAnotherSelectsTheLaterAndActivates) {
    down(50, 30);
    up(50, 70);
    EXPECT_EQ(commands, std::vector<int>{7});
    EXPECT_EQ(selectionSeen, std::vector<int>{2});
    EXPECT_EQ(list.getState(), 1);
}

TEST_F(PiecesList, ReleaseOnTheTitleActivatesWithoutChangingTheSelection) {
    list.setSelected(1);
    down(50, 50);
    up(50, 10);
    EXPECT_EQ(commands, std::vector<int>{7});
    EXPECT_EQ(selectionSeen, std::vector<int>{1});
}

TEST_F(PiecesList, APressOutlivesLeavingAndAReleaseWithoutPressOnlySelects) {
    down(50, 30);
    move(300, 300);
    up(300, 300);
    EXPECT_TRUE(commands.empty());
    up(50, 50);  // no new press: the pending one still counts
    EXPECT_EQ(selectionSeen, std::vector<int>{1});

    list.setDirty(false);
    up(50, 70);  // the press is used up
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(list.getSelected(), 2);
    EXPECT_TRUE(list.isDirty());
}

TEST_F(PiecesList, HoverColoursWinOverTheSelectedOnesWhileTheMarkStillShows) {
    list.setSelected(1);
    move(50, 45);
    ASSERT_EQ(list.getHoverRow(), 1);
    RecordingSurface surface;
    set.pages[0].draw(surface);
    const std::string expected =
        "rect 137,50-242,70 fill 10078619 outline 10078619 pen 1\n"
        "text \"Pieces\" in 142,50-247,70 font 15/6/700 colour 0 align 0\n"
        "rect 137,70-242,90 fill 12117689 outline 12117689 pen 1\n"
        "text \"Traditional\" in 162,70-242,90 font 15/6/700 colour 0 align 0\n"
        "rect 137,90-242,110 fill 14417884 outline 14417884 pen 1\n"
        "keyed 740 at 137,90 20x20\n"
        "text \"Colors\" in 162,90-242,110 font 15/6/700 colour 0 align 0\n"
        "rect 137,110-242,130 fill 12117689 outline 12117689 pen 1\n"
        "text \"Fish\" in 162,110-242,130 font 15/6/700 colour 0 align 0\n";
    EXPECT_EQ(surface.describe(), expected);
}

TEST_F(PiecesList, MovingOffAShownHighlightAsksForARedrawOnce) {
    // Off the list entirely.
    move(50, 30);
    list.setDirty(false);
    move(300, 300);
    EXPECT_TRUE(list.isDirty());
    EXPECT_EQ(list.getHoverRow(), -1);
    list.setDirty(false);
    move(301, 300);
    EXPECT_FALSE(list.isDirty());

    // Onto the title row, still over the list: the stale highlight must go too.
    move(50, 30);
    list.setDirty(false);
    move(50, 10);
    EXPECT_TRUE(list.isDirty());
    EXPECT_EQ(list.getHoverRow(), -1);
    list.setDirty(false);
    move(50, 11);
    EXPECT_FALSE(list.isDirty());

    // Moving within a row keeps asking for a redraw.
    move(50, 30);
    list.setDirty(false);
    move(51, 30);
    EXPECT_TRUE(list.isDirty());
}

TEST(List, TitleSetAfterItemsLeavesTheHeightAsItWas) {
    scobList list;
    list.init(16, 50, 20, 105, 25, false, nullptr);
    list.addItem("You");
    list.addItem("Computer");
    EXPECT_EQ(list.getHeight(), 40);
    list.setTitle("First Move");
    EXPECT_EQ(list.getHeight(), 40);
    EXPECT_TRUE(list.isTitled());

    // The last item row now lies below the rectangle: events there do not reach the list.
    EXPECT_TRUE(list.mouseMove(20, 50 + 30));
    EXPECT_EQ(list.getHoverRow(), 0);
    EXPECT_FALSE(list.mouseMove(20, 50 + 50));
    EXPECT_EQ(list.getHoverRow(), -1);
}

TEST(List, ItemsBeyondTheTenthAreIgnored) {
    scobList list;
    list.init(0, 0, 10, 50, 5, false, nullptr);
    for (int i = 0; i < 12; ++i) {
        list.addItem("item " + std::to_string(i));
    }
    EXPECT_EQ(list.getItemCount(), 10);
    EXPECT_EQ(list.getHeight(), 100);
    EXPECT_EQ(list.getItem(9), "item 9");
    EXPECT_EQ(list.getItem(10), "");
}

TEST(List, NoMarkForASelectionOutsideTheRowsOrWithoutAMarkPicture) {
    auto skin = std::make_unique<skinInstance>();
    scobList list;
    list.init(0, 0, 20, 100, 25, false, skin.get());
    list.setMarks(-1, -1, -1, element::selectionMark);
    list.addItem("You");
    list.setVisible(true);
    for (int outside : {-1, 1, 7}) {
        list.setSelected(outside);
        RecordingSurface surface;
        list.paint(surface);
        EXPECT_TRUE(surface.only(DrawCall::KeyedBitmap).empty()) << outside;
    }
    list.setSelected(0);
    list.setMarks(-1, -1, -1, -1);
    RecordingSurface surface;
    list.paint(surface);
    EXPECT_TRUE(surface.only(DrawCall::KeyedBitmap).empty());
    EXPECT_EQ(surface.only(DrawCall::Rectangle).size(), 2u);  // the covered title row, the item
}

}  // namespace
