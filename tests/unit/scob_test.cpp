// The control base and Pages: dirty flags, visibility and pointer routing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scob/Page.h"
#include "scob/skinInstance.h"
#include "tests/support/RecordingSurface.h"

namespace {

// A control that reports what happened to it into a shared log.
class Probe : public scob {
  public:
    Probe(std::vector<std::string>& log, std::string name, bool activates = true)
        : log(log), name(std::move(name)), activates(activates) {
        visible = true;
        enabled = true;
    }
    void hover(int rx, int ry) override {
        log.push_back(name + " hover " + std::to_string(rx) + "," + std::to_string(ry));
    }
    void leave() override { log.push_back(name + " leave"); }
    bool release(int rx, int ry) override {
        log.push_back(name + " release " + std::to_string(rx) + "," + std::to_string(ry));
        return activates;
    }
    void press() override { log.push_back(name + " press"); }
    void paint(DrawingSurface& hdc) override {
        log.push_back(name + " paint");
        hdc.line(0, 0, 1, 1, 0, 1);
    }
    int stateCountValue() const { return stateCount; }

  private:
    std::vector<std::string>& log;
    std::string name;
    bool activates;
};

struct Routing : ::testing::Test {
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> commands;
    PageSet set;
    CommandHandler handler = [this](int id, int param) { commands.emplace_back(id, param); };

    void SetUp() override {
        set.pageCount = 3;
        for (Page& page : set.pages) {
            page.setVisible(true);
        }
    }
};

TEST(Scob, ConstructorDefaults) {
    std::vector<std::string> log;
    scob plain;
    EXPECT_TRUE(plain.isDirty());
    EXPECT_FALSE(plain.isVisible());
    EXPECT_FALSE(plain.isEnabled());
    EXPECT_EQ(plain.getState(), 0);
    EXPECT_EQ(plain.getElement(), -1);
    EXPECT_EQ(plain.getX(), 0);
    EXPECT_EQ(plain.getWidth(), 0);
}

TEST(Scob, HitTestIncludesBothFarEdges) {
    scob c;
    c.setRect(10, 20, 20, 5);
    EXPECT_TRUE(c.contains(10, 20));
    EXPECT_TRUE(c.contains(30, 25));  // x + width, y + height
    EXPECT_FALSE(c.contains(31, 25));
    EXPECT_FALSE(c.contains(30, 26));
    EXPECT_FALSE(c.contains(9, 20));
    EXPECT_FALSE(c.contains(10, 19));
}

TEST(Scob, MouseButtonOutsideChangesNothingInsideMarksDirtyAndDispatches) {
    std::vector<std::string> log;
    Probe p(log, "p");
    p.setRect(10, 10, 20, 20);
    p.setDirty(false);
    EXPECT_FALSE(p.mouseButton(5, 5, 1, false));
    EXPECT_FALSE(p.isDirty());
    EXPECT_TRUE(log.empty());

    EXPECT_TRUE(p.mouseButton(15, 16, 1, false));
    EXPECT_TRUE(p.isDirty());
    EXPECT_TRUE(p.mouseButton(15, 16, 2, false));
    EXPECT_TRUE(p.mouseButton(15, 16, 7, false));  // any other kind: a hit, nothing raised
    EXPECT_TRUE(p.mouseButton(15, 16, 2, true));   // alternate release: base does nothing
    EXPECT_EQ(log, (std::vector<std::string>{"p press", "p release 5,6"}));
}

TEST(Scob, MouseMoveRaisesHoverInsideAndLeaveOnEveryMoveOutside) {
    std::vector<std::string> log;
    Probe p(log, "p");
    p.setRect(10, 10, 20, 20);
    p.setDirty(false);
    EXPECT_TRUE(p.mouseMove(30, 30));
    EXPECT_FALSE(p.mouseMove(40, 40));
    EXPECT_FALSE(p.mouseMove(41, 40));
    EXPECT_EQ(log, (std::vector<std::string>{"p hover 20,20", "p leave", "p leave"}));
    EXPECT_FALSE(p.isDirty());  // moves never mark the base dirty
}

TEST(Scob, SetVisibleMarksDirtyOnlyOnAChange) {
    scob c;
    c.setDirty(false);
    c.setVisible(false);
    EXPECT_FALSE(c.isDirty());
    c.setVisible(true);
    EXPECT_TRUE(c.isDirty());
    c.setDirty(false);
    c.setVisible(true);
    EXPECT_FALSE(c.isDirty());
    c.setVisible(false);
    EXPECT_TRUE(c.isDirty());
}

TEST(Scob, SettersThatDoNotMarkDirty) {
    scob c;
    c.setDirty(false);
    c.setRect(1, 2, 3, 4);
    c.setElement(5, 0);
    c.setEnabled(true);
    c.setState(2);
    EXPECT_FALSE(c.isDirty());
    EXPECT_EQ(c.getState(), 2);
    EXPECT_EQ(c.getElement(), 5);
}

TEST(Scob, DrawCopiesTheElementBitmapForTheStateThenPaints) {
    auto skin = std::make_unique<skinInstance>();
    std::vector<std::string> log;
    Probe p(log, "p");
    p.setSkin(skin.get());
    p.setRect(87, 40, 100, 30);
    p.setElement(element::statusPlaque, 0);
    p.setState(3);
    RecordingSurface surface;
    p.draw(surface);
    ASSERT_EQ(surface.calls.size(), 2u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "bitmap 734 at 87,40 100x30");
    EXPECT_EQ(surface.calls[1].kind, DrawCall::Line);  // paint comes after the bitmap
}

TEST(Scob, DrawWithNegativeElementOnlyPaints) {
    auto skin = std::make_unique<skinInstance>();
    std::vector<std::string> log;
    Probe p(log, "p");
    p.setSkin(skin.get());
    for (int id : {-1, -26}) {
        p.setElement(id, 0);
        RecordingSurface surface;
        p.draw(surface);
        ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
        EXPECT_EQ(surface.calls[0].kind, DrawCall::Line);
    }
}

TEST(PageTest, AddKeepsOrderAndColumns) {
    std::vector<std::string> log;
    Probe a(log, "a"), b(log, "b");
    Page page;
    page.add(&a, 3, 0);
    page.add(&b, 4, 7);
    EXPECT_EQ(page.controlCount(), 2);
    EXPECT_EQ(page.controlAt(1), &b);
    EXPECT_EQ(page.commandId(0), 3);
    EXPECT_EQ(page.commandParam(1), 7);
    page.clear();
    EXPECT_EQ(page.controlCount(), 0);
}

TEST(PageTest, DrawPaintsVisibleControlsInOrderAndClearsEveryFlag) {
    std::vector<std::string> log;
    Probe a(log, "a"), hidden(log, "hidden"), c(log, "c");
    hidden.setVisible(false);
    hidden.setDirty(true);
    Page page;
    page.add(&a, 1, 0);
    page.add(&hidden, 1, 0);
    page.add(&c, 1, 0);
    RecordingSurface surface;
    page.draw(surface);
    EXPECT_EQ(log, (std::vector<std::string>{"a paint", "c paint"}));
    EXPECT_FALSE(a.isDirty());
    EXPECT_FALSE(hidden.isDirty());
    EXPECT_FALSE(c.isDirty());
    EXPECT_FALSE(page.anyDirty());
}

TEST_F(Routing, TouchingControlsShareAColumnAndBothActivateInPageOrder) {
    Probe left(log, "left"), right(log, "right");
    left.setRect(0, 0, 20, 20);
    right.setRect(20, 0, 20, 20);
    set.pages[0].add(&right, 8, 0);
    set.pages[1].add(&left, 7, 0);
    routePointer(set, PointerEvent::LeftDown, 20, 5, handler);
    routePointer(set, PointerEvent::LeftUp, 20, 5, handler);
    EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{8, 0}, {7, 0}}));
    EXPECT_EQ(log, (std::vector<std::string>{"right press", "left press", "right release 0,5",
                                             "left release 20,5"}));
}

TEST_F(Routing, ReleaseOutsideReportsNothing) {
    Probe p(log, "p");
    p.setRect(10, 10, 20, 20);
    set.pages[0].add(&p, 5, 0);
    routePointer(set, PointerEvent::LeftDown, 15, 15, handler);
    routePointer(set, PointerEvent::LeftUp, 50, 50, handler);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(log, (std::vector<std::string>{"p press"}));
}

TEST_F(Routing, DisabledControlsGetNothingButAreDrawn) {
    Probe p(log, "p");
    p.setRect(0, 0, 50, 50);
    p.setEnabled(false);
    set.pages[0].add(&p, 5, 0);
    routePointer(set, PointerEvent::Move, 5, 5, handler);
    routePointer(set, PointerEvent::LeftDown, 5, 5, handler);
    routePointer(set, PointerEvent::LeftUp, 5, 5, handler);
    EXPECT_TRUE(log.empty());
    RecordingSurface surface;
    drawPages(set, surface);
    EXPECT_EQ(log, (std::vector<std::string>{"p paint"}));
}

TEST_F(Routing, HiddenControlOnVisiblePageStillGetsEventsHiddenPageGetsNone) {
    Probe hiddenControl(log, "hc"), onHiddenPage(log, "hp");
    hiddenControl.setRect(0, 0, 50, 50);
    hiddenControl.setVisible(false);
    onHiddenPage.setRect(0, 0, 50, 50);
    set.pages[0].add(&hiddenControl, 1, 0);
    set.pages[1].add(&onHiddenPage, 2, 0);
    set.pages[1].setVisible(false);
    routePointer(set, PointerEvent::LeftDown, 5, 5, handler);
    routePointer(set, PointerEvent::LeftUp, 5, 5, handler);
    EXPECT_EQ(log, (std::vector<std::string>{"hc press", "hc release 5,5"}));
    EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{1, 0}}));
    log.clear();
    RecordingSurface surface;
    drawPages(set, surface);
    EXPECT_TRUE(log.empty());  // neither is drawn
}

TEST_F(Routing, PagesBeyondPageCountAreIgnored) {
    Probe p(log, "p");
    p.setRect(0, 0, 50, 50);
    set.pages[3].add(&p, 1, 0);
    routePointer(set, PointerEvent::LeftUp, 5, 5, handler);
    EXPECT_TRUE(log.empty());
}

TEST_F(Routing, PageShownDuringAReleaseIsRoutedOnlyWhenItComesLater) {
    Probe opener(log, "opener"), later(log, "later"), earlier(log, "earlier");
    for (Probe* p : {&opener, &later, &earlier}) {
        p->setRect(0, 0, 50, 50);
    }
    set.pages[0].add(&earlier, 1, 0);
    set.pages[1].add(&opener, 4, 0);
    set.pages[2].add(&later, 6, 0);
    set.pages[0].setVisible(false);
    set.pages[2].setVisible(false);
    CommandHandler showBoth = [&](int id, int param) {
        commands.emplace_back(id, param);
        if (id == 4) {
            set.pages[0].setVisible(true);
            set.pages[2].setVisible(true);
        }
    };
    routePointer(set, PointerEvent::LeftUp, 5, 5, showBoth);
    EXPECT_EQ(log, (std::vector<std::string>{"opener release 5,5", "later release 5,5"}));
    EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{4, 0}, {6, 0}}));
}

TEST_F(Routing, HidingThePageBeingRoutedStillReachesItsLaterControls) {
    Probe first(log, "first"), second(log, "second");
    first.setRect(0, 0, 50, 50);
    second.setRect(0, 0, 50, 50);
    set.pages[1].add(&first, 5, 0);
    set.pages[1].add(&second, 6, 0);
    routePointer(set, PointerEvent::LeftUp, 5, 5, [&](int id, int param) {
        commands.emplace_back(id, param);
        set.pages[1].setVisible(false);
    });
    EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{5, 0}, {6, 0}}));
}

TEST_F(Routing, TwoEntriesWithOneCommandIdBothFire) {
    Probe a(log, "a"), b(log, "b"), silent(log, "silent", false);
    for (Probe* p : {&a, &b, &silent}) {
        p->setRect(0, 0, 50, 50);
    }
    set.pages[0].add(&a, 12, 0);
    set.pages[0].add(&silent, 13, 0);
    set.pages[1].add(&b, 12, 0);
    routePointer(set, PointerEvent::LeftUp, 5, 5, handler);
    EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{12, 0}, {12, 0}}));
}

TEST_F(Routing, DirtyScanLooksOnlyAtVisiblePages) {
    Probe a(log, "a"), b(log, "b");
    set.pages[0].add(&a, 1, 0);
    set.pages[2].add(&b, 1, 0);
    a.setDirty(false);
    b.setDirty(true);
    set.pages[2].setVisible(false);
    EXPECT_FALSE(anyVisibleDirty(set));
    set.pages[2].setVisible(true);
    EXPECT_TRUE(anyVisibleDirty(set));
    RecordingSurface surface;
    set.pages[2].setVisible(false);
    drawPages(set, surface);  // a hidden Page keeps its flags
    EXPECT_TRUE(b.isDirty());
}

}  // namespace
