// Buttons and state buttons: their looks, states and clicks.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scob/Page.h"
#include "scob/scobButton.h"
#include "scob/scobStateButton.h"
#include "scob/skinInstance.h"
#include "tests/support/RecordingSurface.h"

namespace {

// A skin whose colours a test can set, for looks the program's own Themes never produce.
class PaletteSkin : public scobSkin {
  public:
    void setColour(int colourElement, Colour c) { colours[0][colourElement][1] = c; }
};

// One Page holding the controls under test, driven as the window drives it.
struct Clicks {
    PageSet set;
    std::vector<int> commands;

    Clicks() {
        set.pageCount = 1;
        set.pages[0].setVisible(true);
    }
    void add(scob& control, int commandId) { set.pages[0].add(&control, commandId, 0); }
    void route(PointerEvent event, int px, int py) {
        routePointer(set, event, px, py, [this](int id, int) { commands.push_back(id); });
    }
    void down(int px, int py) { route(PointerEvent::LeftDown, px, py); }
    void up(int px, int py) { route(PointerEvent::LeftUp, px, py); }
    void move(int px, int py) { route(PointerEvent::Move, px, py); }
};

// "New Game" as the board screen sets it up: no picture, black with green bold text.
void setUpNewGame(scobButton& button, scobSkin* skin) {
    button.init(281, 95, 31, 80, skin, 1, 5, 5, 15, 6, 1);
    button.setText("New Game", 1);
    button.setElement(-26, 0);
}

TEST(PushButton, PressThenReleaseOnItActivatesOnce) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    setUpNewGame(button, skin.get());
    Clicks clicks;
    clicks.add(button, 3);

    clicks.down(300, 100);
    EXPECT_EQ(button.getState(), 2);
    clicks.up(300, 100);
    EXPECT_EQ(clicks.commands, std::vector<int>{3});
    EXPECT_EQ(button.getState(), 1);

    // A second release with no press in between is not a click.
    clicks.up(300, 100);
    EXPECT_EQ(clicks.commands, std::vector<int>{3});
}

TEST(PushButton, DraggingOutCancelsTheClickEvenAfterComingBack) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    setUpNewGame(button, skin.get());
    Clicks clicks;
    clicks.add(button, 3);

    clicks.down(300, 100);
    button.setDirty(false);
    clicks.move(400, 100);
    EXPECT_EQ(button.getState(), 1);
    EXPECT_TRUE(button.isDirty());
    button.setDirty(false);
    clicks.move(401, 100);  // still outside: nothing more to undo
    EXPECT_FALSE(button.isDirty());
    clicks.move(300, 100);
    clicks.up(300, 100);
    EXPECT_TRUE(clicks.commands.empty());
}

TEST(PushButton, ReleaseWithoutPressReportsNothingButResetsTheState) {
    scobButton button;
    button.setRect(0, 0, 50, 20);
    button.setState(4);
    button.setDirty(false);
    EXPECT_FALSE(button.mouseButton(10, 10, 2, false));
    EXPECT_EQ(button.getState(), 1);
    EXPECT_TRUE(button.isDirty());
}

TEST(StateButton, ReleaseOutsideStaysArmedAndTheNextReleaseOverItSteps) {
    scobStateButton toggle;
    toggle.setRect(345, 1, 20, 20);
    Clicks clicks;
    clicks.add(toggle, 11);

    clicks.down(350, 5);
    EXPECT_EQ(toggle.getState(), 1);  // pressing does not change the look
    clicks.move(200, 200);
    clicks.up(200, 200);
    EXPECT_TRUE(toggle.isArmed());
    EXPECT_EQ(toggle.getState(), 1);
    EXPECT_TRUE(clicks.commands.empty());

    clicks.up(350, 5);  // no new press
    EXPECT_EQ(clicks.commands, std::vector<int>{11});
    EXPECT_EQ(toggle.getState(), 2);
    EXPECT_FALSE(toggle.isArmed());

    clicks.up(350, 5);  // disarmed now
    EXPECT_EQ(clicks.commands, std::vector<int>{11});
    EXPECT_EQ(toggle.getState(), 2);

    clicks.down(350, 5);
    clicks.up(350, 5);
    EXPECT_EQ(toggle.getState(), 1);  // 2 steps back round to 1
    EXPECT_EQ(clicks.commands, (std::vector<int>{11, 11}));
}

TEST(StateButton, StatesSetFromOutsideAboveTheCountWrapToOne) {
    scobStateButton status;
    status.setRect(87, 40, 100, 30);
    for (int outside : {2, 3, 5}) {
        status.setState(outside);
        status.setDirty(false);
        EXPECT_TRUE(status.mouseButton(90, 50, 1, false));
        EXPECT_TRUE(status.mouseButton(90, 50, 2, false));
        EXPECT_EQ(status.getState(), 1) << "from " << outside;
        EXPECT_TRUE(status.isDirty());
    }
}

TEST(ButtonText, PressedTextIsACopyOfTheFirstNormalText) {
    auto skin = std::make_unique<skinInstance>();
    scobButton label;
    label.init(3, 0, 20, 175, skin.get(), 5, 8, 2, 15, 6, 1);
    label.setText("Computer IQ:  Smart", 1);
    EXPECT_EQ(label.getText(2), "Computer IQ:  Smart");
    label.setText("Computer IQ:  Moronic", 1);
    EXPECT_EQ(label.getText(2), "Computer IQ:  Smart");

    label.press();
    RecordingSurface surface;
    label.paint(surface);
    ASSERT_EQ(surface.only(DrawCall::Text).size(), 1u) << surface.describe();
    EXPECT_EQ(surface.only(DrawCall::Text)[0].text, "Computer IQ:  Smart");
}

TEST(ButtonText, OnlyAChangedTextMarksDirtyAndBadIndicesAreIgnored) {
    scobButton button;
    button.setText("Play !", 1);
    button.setDirty(false);
    button.setText("Play !", 1);
    EXPECT_FALSE(button.isDirty());
    button.setText("Play", 1);
    EXPECT_TRUE(button.isDirty());

    button.setDirty(false);
    button.setText("x", 10);
    button.setText("x", -1);
    EXPECT_FALSE(button.isDirty());
    EXPECT_EQ(button.getText(10), "");
}

TEST(ButtonText, AStateWithoutItsOwnTextShowsTheNormalText) {
    auto skin = std::make_unique<skinInstance>();
    scobStateButton status;
    status.init(87, 40, 30, 100, skin.get(), 5, 8, 2, 15, 6, 1);
    status.setText("Your Move", 1);
    status.setText("You Win !!!", 3);
    for (auto [state, shown] : std::vector<std::pair<int, std::string>>{
             {3, "You Win !!!"}, {4, "Your Move"}, {0, "Your Move"}, {12, "Your Move"}}) {
        status.setState(state);
        RecordingSurface surface;
        status.paint(surface);
        ASSERT_EQ(surface.calls.size(), 2u) << surface.describe();
        EXPECT_EQ(surface.calls[1].text, shown) << "state " << state;
    }
}

TEST(ButtonPaint, PlainButtonFillsOutlinesAndCentresItsText) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    setUpNewGame(button, skin.get());
    RecordingSurface surface;
    button.draw(surface);
    ASSERT_EQ(surface.calls.size(), 2u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "rect 281,95-361,126 fill 0 outline 0 pen 0");
    EXPECT_EQ(surface.calls[1].describe(),
              "text \"New Game\" in 281,95-361,126 font 15/6/700 colour 10078619 align 1");
}

TEST(ButtonPaint, PressedTextSinksOnePixelButTheRectangleStays) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    setUpNewGame(button, skin.get());
    button.press();
    RecordingSurface surface;
    button.paint(surface);
    ASSERT_EQ(surface.calls.size(), 2u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "rect 281,95-361,126 fill 0 outline 0 pen 0");
    const DrawCall& text = surface.calls[1];
    EXPECT_EQ(text.left, 282);
    EXPECT_EQ(text.top, 96);
    EXPECT_EQ(text.right, 361);
    EXPECT_EQ(text.bottom, 126);
}

TEST(ButtonPaint, AlignmentPicksThePlacementAndOtherValuesShowNoText) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    setUpNewGame(button, skin.get());
    const std::pair<int, TextAlign> placements[] = {
        {0, TextAlign::Left}, {1, TextAlign::Centre}, {2, TextAlign::Right}};
    for (auto [align, placement] : placements) {
        button.setAlign(align);
        RecordingSurface surface;
        button.paint(surface);
        ASSERT_EQ(surface.only(DrawCall::Text).size(), 1u);
        EXPECT_EQ(surface.only(DrawCall::Text)[0].align, placement) << "align " << align;
    }
    for (int align : {3, -1}) {
        button.setAlign(align);
        RecordingSurface surface;
        button.paint(surface);
        ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
        EXPECT_EQ(surface.calls[0].kind, DrawCall::Rectangle);
    }
}

TEST(ButtonPaint, NegativeFillDrawsTextOnlyAndNotBoldIsNormalWeight) {
    auto skin = std::make_unique<PaletteSkin>();
    skin->setColour(9, -1);
    skin->setColour(7, rgb(255, 255, 255));
    scobButton button;
    button.init(10, 10, 20, 60, skin.get(), 7, 9, 5, 14, 6, 2);
    button.setText("Link", 1);
    RecordingSurface surface;
    button.draw(surface);
    ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(),
              "text \"Link\" in 10,10-70,30 font 14/6/400 colour 16777215 align 1");
}

TEST(ButtonPaint, PictureButtonGetsNoRectangleAndItsPictureFollowsTheState) {
    auto skin = std::make_unique<skinInstance>();
    scobButton button;
    button.init(100, 50, 30, 80, skin.get(), 1, 5, 5, 15, 6, 1);
    button.setElement(element::woodButton, 0);
    button.setText("Go", 1);
    RecordingSurface surface;
    button.draw(surface);
    button.press();
    button.draw(surface);
    ASSERT_EQ(surface.calls.size(), 4u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "bitmap 619 at 100,50 80x30");
    EXPECT_EQ(surface.calls[1].kind, DrawCall::Text);
    EXPECT_EQ(surface.calls[2].describe(), "bitmap 620 at 100,50 80x30");
    EXPECT_EQ(surface.calls[3].kind, DrawCall::Text);
}

TEST(ButtonPaint, EmptyTextAndHiddenButtonsDrawAccordingly) {
    auto skin = std::make_unique<skinInstance>();
    scobButton backdrop;
    backdrop.init(0, 0, 361, 384, skin.get(), 2, 4, 4, 0, 0, 0);
    backdrop.setElement(-1, 0);
    RecordingSurface surface;
    backdrop.draw(surface);
    ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "rect 0,0-384,361 fill 16777215 outline 16777215 pen 0");

    backdrop.setVisible(false);
    surface.clear();
    backdrop.paint(surface);
    EXPECT_TRUE(surface.calls.empty());
}

}  // namespace
