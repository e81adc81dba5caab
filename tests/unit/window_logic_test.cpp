// The window logic: start-up, the timer, keys, pointer, saving, as a front end drives it.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/ScreenDescription.h"
#include "tests/unit/program_harness.h"

namespace fs = std::filesystem;

namespace {

struct WindowLogic : ::testing::Test, ProgramHarness {
    fs::path dir;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::current_path() / "window_logic_test_tmp" / info->name();
        fs::remove_all(dir);
        fake().base = dir.string() + static_cast<char>(fs::path::preferred_separator);
    }
    void TearDown() override {
        fs::remove_all(dir);
        std::error_code ignored;
        fs::remove(dir.parent_path(), ignored);  // only once the last test's folder is gone
    }

    fs::path settingsFile() { return dir / "vok" / "vudezazivaze" / settingsFileName; }
    void writeSettings(const std::string& text) {
        fs::create_directories(settingsFile().parent_path());
        std::ofstream(settingsFile(), std::ios::binary) << text;
    }
    std::vector<std::string> savedLines() {
        std::ifstream in(settingsFile());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<int> position() {
        int left = -1;
        int top = -1;
        windowLogic::savedPosition(p, left, top);
        return {left, top};
    }
};

}  // namespace

TEST_F(WindowLogic, FirstRunOpensTopLeftAndKeepsItsChoices) {
    windowLogic::startUp(p);
    EXPECT_EQ(position(), (std::vector<int>{0, 0}));
    create();
    windowLogic::applyWindowFlags(p);
    EXPECT_EQ(fake().topmostCalls, std::vector<bool>{false});
    EXPECT_EQ(fake().opacities, std::vector<int>{255});
    int width = 0;
    int height = 0;
    windowLogic::drawingSize(p, width, height);
    EXPECT_EQ(width, 384);
    EXPECT_EQ(height, 365);

    click(spot::letterTX, spot::stripY);
    fake().rect = ScreenRect{300, 120, 690, 510};
    windowLogic::destroyed(p);
    windowLogic::shutDown(p);
    // The folder did not exist: the save made it.
    EXPECT_EQ(savedLines(), (std::vector<std::string>{"0", "0", "1", "120", "300", "0", "1"}));
}

TEST_F(WindowLogic, SavedChoicesComeBackAtTheNextStart) {
    writeSettings("2\r\n1\r\n0\r\n120\r\n300\r\n1\r\n2\r\n");
    windowLogic::startUp(p);
    EXPECT_EQ(position(), (std::vector<int>{300, 120}));
    create();
    EXPECT_EQ(p.skin.getTheme(), 2);
    EXPECT_TRUE(p.topmost);
    EXPECT_FALSE(p.transparent);
    EXPECT_EQ(p.gameBoard.getLevel(), game::Average);
    EXPECT_EQ(p.gameBoard.getState(), game::ComputerTurn);
}

TEST_F(WindowLogic, SavedPositionOffTheScreenBecomesTwo) {
    // The usable screen is 1024 x 738; both bounds are accepted.
    struct Case {
        const char* top;
        const char* left;
        std::vector<int> expected;  // left, top
    } cases[] = {
        {"100", "-5", {2, 100}},
        {"739", "50", {50, 2}},
        {"738", "1024", {1024, 738}},
        {"0", "1025", {2, 0}},
        {"4294967288", "4294967288", {2, 2}},  // a negative edge as the file keeps it
        {"abc", "", {0, 0}},
    };
    for (const Case& c : cases) {
        p.settings[3] = c.top;
        p.settings[4] = c.left;
        EXPECT_EQ(position(), c.expected) << c.top << " / " << c.left;
    }
}

TEST_F(WindowLogic, NegativeEdgeIsStoredUnsignedAndComesBackAsTwo) {
    create();
    fake().rect = ScreenRect{-8, -3, 382, 387};
    windowLogic::destroyed(p);
    windowLogic::shutDown(p);
    EXPECT_EQ(savedLines()[3], "4294967293");
    EXPECT_EQ(savedLines()[4], "4294967288");

    ProgramHarness next;
    next.fake().base = fake().base;
    windowLogic::startUp(next.p);
    int left = 0;
    int top = 0;
    windowLogic::savedPosition(next.p, left, top);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(top, 2);
}

TEST(WindowScale, SmallestWholeScaleCoveringTheDevicePixels) {
    // Device pixels a 384-pixel frame is shown on: at ratios 1 and 2, at 2.625, at 360 CSS
    // pixels on a ratio of 3, zoomed to 125 %, beyond the largest scale, and nothing known.
    const std::vector<std::pair<double, int>> rows = {{384, 1}, {768, 2},      {1008, 3}, {1080, 3},
                                                      {480, 2}, {384.0004, 1}, {5000, 4}, {0, 1}};
    for (const auto& row : rows) {
        EXPECT_EQ(windowLogic::scaleToCover(row.first, 384), row.second) << row.first;
    }
}

TEST_F(WindowLogic, TimerRepaintsOnlyWhenSomethingIsDirty) {
    create();
    ASSERT_TRUE(tick());  // the first frame
    EXPECT_EQ(p.redrawPending, 0);
    paint();
    EXPECT_FALSE(tick());
    EXPECT_FALSE(tick());
    // A pointer move over nothing that reacts changes nothing.
    windowLogic::pointer(p, PointerEvent::Move, 200, 370);
    EXPECT_FALSE(tick());
    // A press on a cell marks the board.
    clickCell(1, 1);
    EXPECT_TRUE(tick());
    paint();
    // The computer thinks without anything to draw, then its move is painted in its tick.
    int quietTicks = 0;
    while (p.gameBoard.getState() == game::ComputerTurn) {
        const bool repaint = tick();
        if (p.gameBoard.getState() == game::ComputerTurn) {
            EXPECT_FALSE(repaint);
            ++quietTicks;
        } else {
            EXPECT_TRUE(repaint);
        }
    }
    // 22 ticks in the computer's turn: the one after the click, 20 quiet ones, the move.
    EXPECT_EQ(quietTicks, 20);
    // A dirty control on the hidden settings screen asks for nothing.
    paint();
    p.levelList.setDirty(true);
    EXPECT_FALSE(tick());
}

TEST_F(WindowLogic, KeysReachTheBoardAndNRestarts) {
    create();
    clickCell(0, 0);
    letComputerMove();
    ASSERT_EQ(markCount(), 2);
    windowLogic::keyDown(p, key::left);  // the cursor moves, nothing else
    EXPECT_EQ(markCount(), 2);
    EXPECT_EQ(p.gameBoard.getCursorColumn(), 2);
    windowLogic::keyDown(p, 'M');
    EXPECT_EQ(markCount(), 2);
    tick();
    paint();
    windowLogic::keyDown(p, key::newGame);
    EXPECT_EQ(markCount(), 0);
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
    EXPECT_TRUE(tick());
}

TEST_F(WindowLogic, AWholeGameThroughPointerTimerAndKeys) {
    windowLogic::startUp(p);
    create();
    int games = 0;
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(markCount(), 0);
        playToTheEnd();
        ASSERT_TRUE(game::isOver(p.gameBoard.getState()));
        EXPECT_TRUE(tick());
        const RecordingSurface frame = paint();
        bool statusShown = false;
        for (const DrawCall& call : frame.only(DrawCall::Text)) {
            statusShown = statusShown || call.text == "You Win !!!" ||
                          call.text == "Computer wins" || call.text == "Tie";
        }
        EXPECT_TRUE(statusShown) << frame.describe();
        // Clicks on the finished board change nothing.
        const std::vector<int> finished = cells();
        for (int cell = 0; cell < 9; ++cell) {
            clickCell(cell / 3, cell % 3);
        }
        EXPECT_EQ(cells(), finished);
        windowLogic::keyDown(p, key::newGame);
        ++games;
    }
    EXPECT_EQ(games, 3);
}

TEST_F(WindowLogic, HighContrastSwitchedWhilePlayingKeepsGameScreenAndFocus) {
    // As the Windows program is told by WM_SYSCOLORCHANGE and WM_SETTINGCHANGE: read at the
    // start, then at each change, a repaint only when the look changed.
    fake().contrastOn = true;
    create();
    EXPECT_TRUE(p.highContrast);
    fake().contrastOn = false;
    windowLogic::systemContrastChanged(p);
    clickCell(0, 0);
    letComputerMove();
    windowLogic::keyDown(p, key::tab);
    tick();
    const std::string normal = paint().describe();
    const int focus = p.focusRow;
    EXPECT_FALSE(windowLogic::systemContrastChanged(p));
    std::string before = normal;
    for (const Colour highlight : {rgb(26, 235, 255), rgb(0, 255, 0)}) {  // a colour changed
        fake().contrastOn = true;
        fake().contrast.highlight = highlight;
        EXPECT_TRUE(windowLogic::systemContrastChanged(p) && tick());
        EXPECT_NE(paint().describe(), before);
        before = paint().describe();
    }
    fake().contrastOn = false;
    EXPECT_TRUE(windowLogic::systemContrastChanged(p) && tick());
    EXPECT_EQ(paint().describe(), normal);
    EXPECT_EQ(p.focusRow, focus);
    EXPECT_EQ(p.gameBoard.getCell(0, 0), game::PlayerMark);
}

TEST_F(WindowLogic, TheKeyboardFocusGoesRoundBothScreensAndPlays) {
    create();
    tick();
    const std::string untouched = paint().describe();
    // Each step: a key ("S-" for Shift) or "click", then the start of the focused item's name
    // ("" for none) and whether the ring shows.
    struct Step {
        const char* action;
        const char* focused;
        bool ring;
    };
    const std::vector<Step> steps = {
        {"space", "", false},  // nothing has the focus before the first Tab
        {"enter", "", false},
        {"tab", "Help", true},
        {"tab", "Translucent", true},
        {"tab", "Keep on top", true},
        {"tab", "centre, empty", true},  // the board is one stop, at its cursor's cell
        {"tab", "New Game", true},
        {"tab", "Settings", true},
        {"tab", "Help", true},  // round again
        {"S-tab", "Settings", true},
        {"S-tab", "New Game", true},
        {"S-tab", "centre, empty", true},
        {"left", "middle left, empty", true},  // the board's arrows move its cursor
        {"up", "top left, empty", true},
        {"space", "top left, yours (ring)", true},
        {"tab", "New Game", true},
        {"click", "New Game", false},  // a pointer press hides the ring, the focus stays
        {"space", "New Game", false},  // and keys other than Tab do nothing
        {"tab", "Settings", true},
        {"enter", "You", true},  // the new screen's first item: the chosen row of First Move
        {"down", "Computer", true},
        {"down", "You", true},  // round again
        {"tab", "Traditional", true},
        {"right", "Colors", true},
        {"S-tab", "You", true},
        {"S-tab", "http://www.vok.example", true},
        {"S-tab", "Play !", true},
        {"space", "top left", true},  // the board's cursor stayed while the lists had the arrows
    };
    const std::vector<std::pair<std::string, int>> keys = {
        {"tab", key::tab}, {"enter", key::enter}, {"space", key::space}, {"left", key::left},
        {"up", key::up},   {"right", key::right}, {"down", key::down}};
    for (const Step& step : steps) {
        std::string action = step.action;
        const bool shift = action.rfind("S-", 0) == 0;
        action = shift ? action.substr(2) : action;
        if (action == "click") {
            click(spot::pinX, 200);  // on the parchment, where nothing reacts
        }
        for (const auto& k : keys) {
            if (k.first == action) {
                windowLogic::keyDown(p, k.second, shift);
            }
        }
        letComputerMove();
        std::string focused;
        bool onBoard = false;
        for (const windowLogic::ScreenItem& it : windowLogic::describeScreen(p)) {
            focused += it.focused ? it.name : "";
            onBoard = onBoard || (it.focused && it.role == windowLogic::ItemRole::Cell);
        }
        SCOPED_TRACE(step.action);
        EXPECT_EQ(focused.rfind(step.focused, 0), 0u) << focused;
        EXPECT_EQ(p.focusRingShown, step.ring);
        EXPECT_EQ(p.gameBoard.isCursorShown(), step.ring && onBoard);
        if (std::string(step.focused).empty()) {
            tick();
            EXPECT_EQ(paint().describe(), untouched);  // no Tab yet: the frame is as it was
        }
    }
    EXPECT_EQ(p.gameBoard.getFirstMover(), game::PlayerTurn);
    EXPECT_EQ(p.skin.getTheme(), 1);
}

TEST_F(WindowLogic, CtrlZoomsByWholeStepsWithinTheScreenAndTheZoomIsKept) {
    // 1920 x 1080 usable: the window (in a frame of 6 x 25) fits at 2, not at 3. Each step: a key,
    // with Ctrl or not, the scale, and the left edge (moved once, just enough to fit).
    fake().screenWidth = 1920;
    fake().screenHeight = 1080;
    create();
    fake().moveWindow(1500, 100);
    const std::vector<std::vector<int>> steps = {
        {key::plus, 1, 2, 1146},     {key::padPlus, 1, 2, 1146}, {key::minus, 1, 1, 1146},
        {key::padMinus, 1, 1, 1146}, {key::plus, 0, 1, 1146},    {key::padPlus, 1, 2, 1146},
        {key::digit0, 1, 1, 1146},   {key::plus, 1, 2, 1146},    {key::pad0, 1, 1, 1146},
        {key::plus, 1, 2, 1146}};
    for (const std::vector<int>& step : steps) {
        windowLogic::keyDown(p, step[0], false, step[1] != 0);
        EXPECT_EQ(fake().scale, step[2]) << step[0];
        EXPECT_EQ(fake().rect->left, step[3]) << step[0];
        EXPECT_EQ(fake().rect->right - step[3], 384 * step[2] + 6) << step[0];
    }
    EXPECT_EQ(markCount(), 0);  // no zoom key reached the game
    EXPECT_TRUE(tick());
    windowLogic::destroyed(p);
    ASSERT_TRUE(windowLogic::shutDown(p));
    EXPECT_EQ(savedLines().size(), 7u);
    const fs::path zoomFile = settingsFile().parent_path() / zoomFileName;
    EXPECT_EQ(std::ifstream(zoomFile).get(), '1');
    // The next start: the step above the system's scale where it fits, else the largest that
    // fits; an unchanged zoom is not written again.
    for (const std::vector<int>& start : std::vector<std::vector<int>>{
             {1, 1920, 1080, 2}, {2, 2560, 1600, 3}, {1, 1024, 738, 1}, {2, 1024, 738, 2}}) {
        ProgramHarness next;
        next.fake().base = fake().base;
        next.fake().screenWidth = start[1];
        next.fake().screenHeight = start[2];
        windowLogic::setSystemScale(next.p, start[0]);
        windowLogic::startUp(next.p);
        next.create();
        EXPECT_EQ(next.fake().scale, start[3]) << start[1];
        fs::remove(zoomFile);
        windowLogic::shutDown(next.p);
        EXPECT_FALSE(fs::exists(zoomFile));
        std::ofstream(zoomFile) << "1\n";
    }
}

TEST_F(WindowLogic, AnotherMonitorsDpiGivesTheWholeScaleWithTheZoomAndItsSize) {
    // From one DPI to another with the zoom's steps, on a screen of 2560 x 1600 (or 1920 x
    // 1080): the scale, whose drawing area WM_GETDPISCALEDSIZE answers and WM_DPICHANGED then
    // applies at the suggested corner. The player's steps stay as chosen.
    const std::vector<std::vector<int>> rows = {
        {96, 0, 192, 2560, 2}, {192, 0, 96, 2560, 1}, {96, 1, 192, 2560, 3}, {192, 1, 96, 2560, 2},
        {96, 1, 144, 2560, 3}, {96, 2, 192, 1920, 2}, {192, 2, 288, 2560, 4}};
    for (const std::vector<int>& row : rows) {
        ProgramHarness h;
        h.fake().screenWidth = row[3];
        h.fake().screenHeight = row[3] == 1920 ? 1080 : 1600;
        windowLogic::setSystemScale(h.p, windowLogic::scaleForDpi(row[0]));
        h.p.zoomSteps = row[1];
        h.create();
        const int toScale = windowLogic::scaleForDpi(row[2]);
        int width = 0, height = 0;
        windowLogic::drawingPixels(windowLogic::scaleAtSystemScale(h.p, toScale), width, height);
        EXPECT_EQ(width, 384 * row[4]) << row[0] << " to " << row[2];
        EXPECT_EQ(height, 365 * row[4]);
        windowLogic::systemScaleChanged(h.p, toScale, 200, 100);
        EXPECT_EQ(h.fake().scale, row[4]);
        EXPECT_EQ(h.fake().rect->left, 200);
        EXPECT_EQ(h.fake().rect->top, 100);
        EXPECT_EQ(h.fake().rect->right - 200, width + 6);
        EXPECT_EQ(h.p.zoomSteps, row[1]);
    }
}
