// The screen builder: every control's place, look and command, and the saved choices applied.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "scob/bitmapIds.h"
#include "screens/Commands.h"
#include "screens/Screens.h"
#include "services/WebLinks.h"
#include "shell/ScreenDescription.h"
#include "tests/unit/program_harness.h"

namespace {

// Read access to the controls' configuration. A pointer to a protected member, formed through
// a derived class, may be applied to any object of the base.
struct ButtonFields : scobButton {
    static std::vector<int> of(const scobButton& b) {
        return {b.*(&ButtonFields::textColour),   b.*(&ButtonFields::fillColour),
                b.*(&ButtonFields::borderColour), b.*(&ButtonFields::fontHeight),
                b.*(&ButtonFields::fontWidth),    b.*(&ButtonFields::bold)};
    }
};
struct ImageFields : scobImage {
    static std::vector<int> of(const scobImage& i) {
        return {i.*(&ImageFields::fillColour), i.*(&ImageFields::borderColour),
                i.*(&ImageFields::stateCount)};
    }
};
struct ListFields : scobList {
    static std::vector<int> of(const scobList& l) {
        const auto& marks = l.*(&ListFields::markElements);
        return {l.*(&ListFields::itemTextColour),
                l.*(&ListFields::itemFillColour),
                l.*(&ListFields::titleTextColour),
                l.*(&ListFields::titleFillColour),
                l.*(&ListFields::hoverTextColour),
                l.*(&ListFields::hoverFillColour),
                l.*(&ListFields::selectedTextColour),
                l.*(&ListFields::selectedFillColour),
                l.*(&ListFields::fontHeight),
                l.*(&ListFields::fontWidth),
                marks[0],
                marks[1],
                marks[2],
                marks[3],
                l.*(&ListFields::indent)};
    }
};
struct GridFields : TicTacToe {
    static std::vector<int> of(const TicTacToe& g) {
        return {g.*(&GridFields::lineColour),   g.*(&GridFields::rowLineColour),
                g.*(&GridFields::cursorColour), g.*(&GridFields::lineWidth),
                g.*(&GridFields::cursorWidth),  g.*(&GridFields::fillColour),
                g.*(&GridFields::cellText),     g.*(&GridFields::textColour),
                g.*(&GridFields::showLines),    g.*(&GridFields::showCursor)};
    }
};

std::vector<int> rectOf(const scob& control) {
    return {control.getX(), control.getY(), control.getWidth(), control.getHeight()};
}

struct Entry {
    const scob* control;
    int commandId;
};

std::vector<Entry> entriesOf(const Page& page) {
    std::vector<Entry> entries;
    for (int i = 0; i < page.controlCount(); ++i) {
        EXPECT_EQ(page.commandParam(i), 0);
        entries.push_back({page.controlAt(i), page.commandId(i)});
    }
    return entries;
}

struct Screens : ::testing::Test, ProgramHarness {};

// The game's board written directly, to set up an outcome.
struct Placer : TicTacToe {
    static void place(TicTacToe& game, int column, int row, int mark) {
        (game.*(&Placer::placeMark))(column, row, mark);
    }
};

using windowLogic::ScreenItem;

// The description as lines: "<role> <name>", its states after it, a group's members indented;
// each press point checked to lie inside its item and its item inside its group.
std::vector<std::string> read(const std::vector<ScreenItem>& items) {
    const char* const roles[] = {"button", "toggle", "radiogroup", "radio", "board",
                                 "cell",   "status", "label",      "link"};
    const auto within = [](const ScreenItem& it, int x, int y) {
        return x >= it.x && x < it.x + it.width && y >= it.y && y < it.y + it.height;
    };
    std::vector<std::string> lines;
    for (const ScreenItem& it : items) {
        std::string line = std::string(it.parent >= 0 ? "  " : "") +
                           roles[static_cast<int>(it.role)] + " " + it.name +
                           (it.pressed ? " pressed" : "") + (it.checked ? " checked" : "") +
                           (it.disabled ? " disabled" : "");
        EXPECT_TRUE(within(it, it.pressX, it.pressY)) << line;
        if (it.parent >= 0) {
            EXPECT_TRUE(within(items[it.parent], it.x, it.y)) << line;
        }
        lines.push_back(line);
    }
    return lines;
}

const ScreenItem& named(const std::vector<ScreenItem>& items, const std::string& name) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&name](const ScreenItem& it) { return it.name == name; });
    EXPECT_NE(found, items.end()) << name;
    return *found;
}

}  // namespace

TEST_F(Screens, BuildAsksTheWindowForTimerAndSize) {
    create();
    EXPECT_EQ(fake().timerId, 111);
    EXPECT_EQ(fake().timerPeriod, 1);
    EXPECT_EQ(fake().timerStarts, 1);
    EXPECT_EQ(fake().drawingWidth, 384);
    EXPECT_EQ(fake().drawingHeight, 365);
    EXPECT_EQ(p.drawWidth, 384);
    EXPECT_EQ(p.drawHeight, 365);
    EXPECT_EQ(p.redrawPending, 1);
    EXPECT_EQ(p.pageSet.pageCount, 3);
    EXPECT_TRUE(p.framePage().isVisible());
    EXPECT_TRUE(p.boardPage().isVisible());
    EXPECT_FALSE(p.settingsPage().isVisible());
    EXPECT_EQ(p.levelNames[0], "Smart");
    EXPECT_EQ(p.levelNames[1], "Average");
    EXPECT_EQ(p.levelNames[2], "Moronic");
}

TEST_F(Screens, PagesHoldTheirControlsInPaintOrderWithTheirCommands) {
    create();
    auto check = [](const Page& page, const std::vector<Entry>& expected, const char* name) {
        const std::vector<Entry> actual = entriesOf(page);
        ASSERT_EQ(actual.size(), expected.size()) << name;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(actual[i].control, expected[i].control) << name << " entry " << i;
            EXPECT_EQ(actual[i].commandId, expected[i].commandId) << name << " entry " << i;
        }
    };
    check(p.framePage(),
          {{&p.backgroundImage, 1},
           {&p.titleStrip, 9},
           {&p.helpButton, 10},
           {&p.transparencyButton, 11},
           {&p.topmostButton, 12},
           {&p.levelLabel, 9}},
          "frame");
    check(p.boardPage(),
          {{&p.gameBoard, 2}, {&p.statusDisplay, 8}, {&p.newGameButton, 3}, {&p.settingsButton, 4}},
          "board");
    check(p.settingsPage(),
          {{&p.settingsBackdrop, 1},
           {&p.playButton, 5},
           {&p.linkLabel, 50},
           {&p.firstMoveList, 6},
           {&p.piecesList, 7},
           {&p.levelList, 15}},
          "settings");
    for (int unused = 3; unused < PageSet::maxPages; ++unused) {
        EXPECT_EQ(p.pageSet.pages[unused].controlCount(), 0);
    }
}

TEST_F(Screens, ButtonsTakeTheirPlaceLookAndTexts) {
    create();
    struct Row {
        const char* name;
        const scobButton* button;
        std::vector<int> rect;
        int element;
        std::vector<int> look;  // text, fill, outline colour elements; font height, width, bold
        std::vector<std::string> texts;  // texts 1, 2, ...
        bool enabled;
        int state;
        int align;
    };
    const std::string site = publisherAddress();
    // clang-format off
    const std::vector<Row> rows = {
        {"titleStrip",         &p.titleStrip,         {0, 0, 475, 20},     24,  {7, 17, 17, 15, 6, 1},  {"", ""},  false, 1, 1},
        {"helpButton",         &p.helpButton,         {325, 1, 20, 20},    25,  {7, 8, 2, 15, 6, 1},    {"", ""},  true,  1, 1},
        {"transparencyButton", &p.transparencyButton, {345, 1, 20, 20},    29,  {7, 8, 2, 15, 6, 1},    {"", ""},  true,  1, 1},
        {"topmostButton",      &p.topmostButton,      {365, 1, 20, 20},    23,  {7, 8, 2, 15, 6, 1},    {"", ""},  true,  1, 1},
        {"levelLabel",         &p.levelLabel,         {3, 0, 175, 20},     24,  {5, 8, 2, 15, 6, 1},    {"Computer IQ:  Smart"}, false, 1, 0},
        {"statusDisplay",      &p.statusDisplay,      {87, 40, 100, 30},   30,  {5, 8, 2, 15, 6, 1},
         {"Your Move", "Thinking...", "You Win !!!", "Computer wins", "Tie"}, true, 1, 1},
        {"newGameButton",      &p.newGameButton,      {281, 95, 80, 31},   -26, {1, 5, 5, 15, 6, 1},    {"New Game", "New Game"}, true, 1, 1},
        {"settingsButton",     &p.settingsButton,     {281, 145, 80, 20},  -26, {1, 5, 5, 14, 6, 1},    {"Settings", "Settings"}, true, 1, 1},
        {"settingsBackdrop",   &p.settingsBackdrop,   {0, 0, 384, 365},    -1,  {2, 4, 4, 0, 0, 0},     {"", ""},  true,  1, 1},
        {"playButton",         &p.playButton,         {145, 185, 100, 80}, -1,  {7, 6, 5, 27, 13, 1},   {"Play !", "Play !"}, true, 1, 1},
        {"linkLabel",          &p.linkLabel,          {95, 330, 200, 25},  -1,  {5, 4, 5, 15, 6, 1},    {site, site}, true, 1, 1},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const scobButton& b = *row.button;
        EXPECT_EQ(rectOf(b), row.rect);
        EXPECT_EQ(b.getElement(), row.element);
        EXPECT_EQ(ButtonFields::of(b), row.look);
        for (std::size_t i = 0; i < row.texts.size(); ++i) {
            EXPECT_EQ(b.getText(static_cast<int>(i) + 1), row.texts[i]) << "text " << i + 1;
        }
        EXPECT_EQ(b.isEnabled(), row.enabled);
        EXPECT_TRUE(b.isVisible());
        EXPECT_EQ(b.getState(), row.state);
        EXPECT_EQ(b.getAlign(), row.align);
    }
    EXPECT_EQ(publisherAddress(), "http://www.vok.example");
}

TEST_F(Screens, BackgroundBoardAndListsTakeTheirPlaceAndLook) {
    create();
    EXPECT_EQ(rectOf(p.backgroundImage), (std::vector<int>{0, 0, 384, 365}));
    EXPECT_EQ(p.backgroundImage.getElement(), 4);
    EXPECT_EQ(ImageFields::of(p.backgroundImage), (std::vector<int>{0, 2, 1}));
    EXPECT_FALSE(p.backgroundImage.isEnabled());
    EXPECT_TRUE(p.backgroundImage.isVisible());

    EXPECT_EQ(rectOf(p.gameBoard), (std::vector<int>{21, 90, 234, 234}));
    EXPECT_EQ(p.gameBoard.getElement(), 12);
    EXPECT_EQ(p.gameBoard.getColumns(), 3);
    EXPECT_EQ(p.gameBoard.getRows(), 3);
    EXPECT_EQ(p.gameBoard.getCellWidth(), 78);
    EXPECT_EQ(p.gameBoard.getCellHeight(), 78);
    EXPECT_EQ(GridFields::of(p.gameBoard), (std::vector<int>{5, 5, 6, 1, 3, -1, -1, -1, 1, 0}));

    struct Row {
        const char* name;
        const scobList* list;
        std::vector<int> rect;
        std::string title;
        std::vector<std::string> items;
    };
    const std::vector<Row> rows = {
        {"firstMoveList", &p.firstMoveList, {16, 50, 105, 60}, "First Move", {"You", "Computer"}},
        {"piecesList",
         &p.piecesList,
         {137, 50, 105, 80},
         "Pieces",
         {"Traditional", "Colors", "Fish"}},
        {"levelList",
         &p.levelList,
         {258, 50, 105, 80},
         "Computer IQ",
         {"Smart", "Average", "Moronic"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const scobList& list = *row.list;
        EXPECT_EQ(rectOf(list), row.rect);
        EXPECT_EQ(list.getRowHeight(), 20);
        EXPECT_TRUE(list.isTitled());
        EXPECT_EQ(list.getTitle(), row.title);
        ASSERT_EQ(list.getItemCount(), static_cast<int>(row.items.size()));
        for (int i = 0; i < list.getItemCount(); ++i) {
            EXPECT_EQ(list.getItem(i), row.items[i]);
        }
        EXPECT_EQ(ListFields::of(list),
                  (std::vector<int>{0, 3, 0, 1, 0, 2, 0, 3, 15, 6, -1, -1, -1, 31, 25}));
        EXPECT_TRUE(list.isVisible());
        EXPECT_TRUE(list.isEnabled());
        EXPECT_EQ(list.getSelected(), 0);
    }
}

TEST_F(Screens, FirstFrameShowsTheBoardScreenOverTheFrame) {
    create();
    EXPECT_TRUE(tick());
    const RecordingSurface frame = paint();
    const std::vector<DrawCall> bitmaps = frame.only(DrawCall::Bitmap);
    ASSERT_FALSE(bitmaps.empty());
    // The parchment first, over the whole drawing area; nothing of the settings screen.
    EXPECT_EQ(bitmaps.front().id, bitmap::parchmentPage);
    EXPECT_EQ(bitmaps.front().w, 384);
    EXPECT_EQ(bitmaps.front().h, 365);
    std::vector<std::string> texts;
    for (const DrawCall& call : frame.only(DrawCall::Text)) {
        texts.push_back(call.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Computer IQ:  Smart", "Your Move", "New Game",
                                               "Settings"}))
        << frame.describe();
}

TEST(SavedChoices, SavedPieceSetOutsideTheThemesFallsBackToTraditional) {
    for (const char* saved : {"3", "-1", "Fish", "2147483648"}) {
        ProgramHarness h;
        h.p.settings[0] = saved;
        h.create();
        EXPECT_EQ(h.p.skin.getTheme(), 0) << saved;
        EXPECT_EQ(h.p.piecesList.getSelected(), 0) << saved;
    }
    ProgramHarness fish;
    fish.p.settings[0] = "2";
    fish.create();
    EXPECT_EQ(fish.p.skin.getTheme(), 2);
    EXPECT_EQ(fish.p.piecesList.getSelected(), 2);
}

TEST(SavedChoices, SavedLevelOutsideTheLevelsFallsBackToSmart) {
    for (const char* saved : {"3", "7", "-1", "x"}) {
        ProgramHarness h;
        h.p.settings[5] = saved;
        h.create();
        EXPECT_EQ(h.p.gameBoard.getLevel(), game::Smart) << saved;
        EXPECT_EQ(h.p.levelLabel.getText(1), "Computer IQ:  Smart") << saved;
        EXPECT_EQ(h.p.levelList.getSelected(), 0) << saved;
    }
    ProgramHarness moronic;
    moronic.p.settings[5] = "2";
    moronic.create();
    EXPECT_EQ(moronic.p.levelLabel.getText(1), "Computer IQ:  Moronic");
    EXPECT_EQ(moronic.p.levelList.getSelected(), 2);
}

TEST(SavedChoices, SavedFirstMoverOutsideOneAndTwoLetsThePlayerBegin) {
    for (const char* saved : {"0", "3", "-2"}) {
        ProgramHarness h;
        h.p.settings[6] = saved;
        h.create();
        h.tick();
        EXPECT_EQ(h.p.gameBoard.getFirstMover(), game::PlayerTurn) << saved;
        EXPECT_EQ(h.p.firstMoveList.getSelected(), 0) << saved;
        EXPECT_EQ(h.p.statusDisplay.getText(h.p.statusDisplay.getState()), "Your Move") << saved;
    }
    ProgramHarness computer;
    computer.p.settings[6] = "2";
    computer.create();
    computer.tick();
    EXPECT_EQ(computer.p.firstMoveList.getSelected(), 1);
    EXPECT_EQ(computer.p.gameBoard.getState(), game::ComputerTurn);
    EXPECT_EQ(computer.p.statusDisplay.getText(computer.p.statusDisplay.getState()), "Thinking...");
    EXPECT_EQ(computer.markCount(), 0);
}

TEST_F(Screens, SavedFlagsStartThePicturesInTheirSecondState) {
    p.settings[1] = "1";
    p.settings[2] = "2";
    create();
    EXPECT_TRUE(p.topmost);
    EXPECT_TRUE(p.transparent);
    EXPECT_EQ(p.topmostButton.getState(), 2);
    EXPECT_EQ(p.transparencyButton.getState(), 2);
    EXPECT_TRUE(p.transparencyButton.isEnabled());
    windowLogic::applyWindowFlags(p);
    EXPECT_EQ(fake().topmostCalls, std::vector<bool>{true});
    EXPECT_EQ(fake().opacities, std::vector<int>{190});
    const std::vector<std::string> lines = read(windowLogic::describeScreen(p));
    EXPECT_EQ(lines[2], "toggle Translucent pressed");
    EXPECT_EQ(lines[3], "toggle Keep on top pressed");
}

TEST_F(Screens, DescribedInReadingOrderPressedAtTheirPointsAndToldTheNews) {
    create();
    tick();
    windowLogic::ScreenNews told;
    EXPECT_EQ(windowLogic::newsSince(p, told), "");  // the first only takes note
    std::vector<ScreenItem> items = windowLogic::describeScreen(p);
    std::vector<std::string> board = {"label Computer IQ: Smart", "button Help",
                                      "toggle Translucent",       "toggle Keep on top",
                                      "status Your Move",         "board Board"};
    for (const char* place : {"top left", "top centre", "top right", "middle left", "centre",
                              "middle right", "bottom left", "bottom centre", "bottom right"}) {
        board.push_back(std::string("  cell ") + place + ", empty");
    }
    board.insert(board.end(), {"button New Game", "button Settings"});
    EXPECT_EQ(read(items), board);

    // Each item's point does what its item does.
    const auto pressItem = [&](const char* name) {
        windowLogic::press(p, named(items, name).pressX, named(items, name).pressY);
    };
    pressItem("Translucent");
    EXPECT_TRUE(p.transparent);
    pressItem("centre, empty");
    tick();
    items = windowLogic::describeScreen(p);
    EXPECT_EQ(read(items)[4], "status Thinking...");
    EXPECT_EQ(read(items)[10], "  cell centre, yours (ring) disabled");
    EXPECT_EQ(read(items)[6], "  cell top left, empty disabled");  // the computer's turn
    EXPECT_EQ(windowLogic::newsSince(p, told), "Thinking...");
    letComputerMove();
    std::string taken;
    for (const ScreenItem& it : windowLogic::describeScreen(p)) {
        taken += it.name.find("computer's") != std::string::npos ? it.name : "";
    }
    EXPECT_EQ(windowLogic::newsSince(p, told),
              "The computer took the " + taken.substr(0, taken.find(',')) + ". Your Move.");
    EXPECT_EQ(windowLogic::newsSince(p, told), "");

    pressItem("Settings");
    tick();
    items = windowLogic::describeScreen(p);
    // The backdrop hides the frame page's controls.
    EXPECT_EQ(read(items), (std::vector<std::string>{
                               "radiogroup First Move", "  radio You checked", "  radio Computer",
                               "radiogroup Pieces", "  radio Traditional checked", "  radio Colors",
                               "  radio Fish", "radiogroup Computer IQ", "  radio Smart checked",
                               "  radio Average", "  radio Moronic", "button Play !",
                               "link http://www.vok.example"}));
    pressItem("Fish");
    EXPECT_EQ(p.skin.getTheme(), 2);
    EXPECT_TRUE(named(windowLogic::describeScreen(p), "Fish").checked);
    pressItem("Play !");
    EXPECT_EQ(read(windowLogic::describeScreen(p))[10],
              "  cell centre, yours (blue fish) disabled");
    windowLogic::keyDown(p, key::newGame);
    tick();
    EXPECT_EQ(windowLogic::newsSince(p, told), "A new game.");
}

TEST(ScreenOutcomes, EachEndIsDescribedAndToldInEachPieceSet) {
    const char* const rows[][5] = {
        // piece set, the board row by row, the status, the top left square, the news's end
        {"0", "111|22.|...", "You Win !!!", "top left, yours (ring)",
         "You Win !!! Press N for a new game."},
        {"1", "222|11.|1..", "Computer wins", "top left, the computer's (dark square)",
         "Computer wins. Press N for a new game."},
        {"2", "121|122|211", "Tie", "top left, yours (blue fish)", "Tie. Press N for a new game."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[2]);
        ProgramHarness h;
        h.p.settings[0] = row[0];
        h.create();
        h.tick();
        windowLogic::ScreenNews told;
        windowLogic::newsSince(h.p, told);
        for (int cell = 0; cell < 9; ++cell) {
            const char mark = row[1][cell / 3 * 4 + cell % 3];
            Placer::place(h.p.gameBoard, cell % 3, cell / 3, mark == '.' ? 0 : mark - '0');
        }
        h.p.gameBoard.checkOutcome();
        h.tick();
        const std::vector<std::string> lines = read(windowLogic::describeScreen(h.p));
        EXPECT_EQ(lines[4], std::string("status ") + row[2]);
        EXPECT_EQ(lines[6], std::string("  cell ") + row[3] + " disabled");
        const std::string news = windowLogic::newsSince(h.p, told);
        EXPECT_NE(news.find(row[4]), std::string::npos) << news;
    }
}

// Items for the comparison's table: an id, a name, and flags (p pressed, c checked, d disabled,
// f focused, m moved), under the item at `parent`.
ScreenItem item(int id, const char* name, const char* flags = "", int parent = -1) {
    ScreenItem it;
    it.id = id;
    it.name = name;
    it.parent = parent;
    const std::string on = flags;
    it.pressed = on.find('p') != std::string::npos;
    it.checked = on.find('c') != std::string::npos;
    it.disabled = on.find('d') != std::string::npos;
    it.focused = on.find('f') != std::string::npos;
    it.x = on.find('m') != std::string::npos ? 5 : 0;
    return it;
}

TEST(ScreenChanges, NamedOnceInTheOrderPlatformsTellThem) {
    using Items = std::vector<ScreenItem>;
    struct Row {
        const char* what;
        Items before, now;
        const char* news;
        std::vector<std::string> told;
    };
    const Row rows[] = {
        {"nothing changed",
         {item(1, "Help"), item(2, "Tie")},
         {item(1, "Help"), item(2, "Tie")},
         "",
         {}},
        {"an item renamed, pressed and moved: name, states, place",
         {item(1, "Help")},
         {item(1, "Hilfe", "pm")},
         "",
         {"renamed 1", "pressed on 1", "moved 1"}},
        {"a group comes with its members: only the group is told",
         {item(1, "Help")},
         {item(1, "Help"), item(2, "Pieces"), item(3, "Fish", "", 1)},
         "",
         {"added 2"}},
        {"a member comes under a group that stays",
         {item(2, "Pieces"), item(3, "Fish", "", 0)},
         {item(2, "Pieces"), item(3, "Fish", "", 0), item(4, "Colors", "", 0)},
         "",
         {"added 4"}},
        {"what went before what came, each in its own list's order",
         {item(1, "Help"), item(2, "Pieces"), item(3, "Fish", "", 1), item(4, "Tie")},
         {item(5, "Play"), item(4, "Tie"), item(6, "Link")},
         "",
         {"removed 1", "removed 2", "added 5", "added 6"}},
        {"another row chosen: the states, then the focus leaves one row for the other",
         {item(10, "First Move"), item(11, "You", "cf", 0), item(12, "Computer", "", 0)},
         {item(10, "First Move"), item(11, "You", "", 0), item(12, "Computer", "cf", 0)},
         "",
         {"checked off 11", "checked on 12", "focus 11>12"}},
        {"the focus reaches an item that came, from one that went",
         {item(1, "Settings", "f")},
         {item(5, "First Move", "f")},
         "",
         {"removed 1", "added 5", "focus >5"}},
        {"the focus leaves for nothing",
         {item(1, "Help", "f")},
         {item(1, "Help")},
         "",
         {"focus 1>"}},
        {"a cell taken, and the news last",
         {item(20, "Board"), item(21, "centre, empty", "f", 0)},
         {item(20, "Board"), item(21, "centre, yours", "df", 0)},
         "Thinking...",
         {"renamed 21", "disabled on 21", "news"}},
    };
    const char* const states[] = {"pressed", "checked", "disabled"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto id = [&](int index) {
            return index < 0 ? "" : std::to_string(row.now[index].id);
        };
        std::vector<std::string> told;
        for (const auto& c : windowLogic::changesBetween(row.before, row.now, row.news)) {
            using C = windowLogic::ScreenChange;
            told.push_back(
                c.kind == C::Added          ? "added " + id(c.now)
                : c.kind == C::Removed      ? "removed " + std::to_string(row.before[c.before].id)
                : c.kind == C::Renamed      ? "renamed " + id(c.now)
                : c.kind == C::StateChanged ? std::string(states[static_cast<int>(c.state)]) +
                                                  (c.on ? " on " : " off ") + id(c.now)
                : c.kind == C::BoundsChanged ? "moved " + id(c.now)
                : c.kind == C::FocusMoved    ? "focus " + id(c.from) + ">" + id(c.to)
                                             : std::string("news"));
        }
        EXPECT_EQ(told, row.told);
    }
}

TEST_F(Screens, CaptureWritesTheChoicesAndThePosition) {
    p.settings[1] = "2";  // any number but 0 means on, and is saved back as 1
    p.settings[6] = "2";
    p.settings[9] = "untouched";
    create();
    p.skin.setTheme(1);
    p.gameBoard.setLevel(game::Average);
    fake().rect = ScreenRect{-8, 120, 382, 510};
    captureSettings(p);
    const char* expected[] = {"1", "1", "0", "120", "4294967288", "1", "2"};
    for (int i = 0; i < Settings::storedCount; ++i) {
        EXPECT_EQ(p.settings[i], expected[i]) << "entry " << i;
    }
    EXPECT_EQ(p.settings[9], "untouched");
    // A window system that does not tell the place leaves the saved one as it was read.
    fake().rect.reset();
    p.settings[3] = "  300 px";
    captureSettings(p);
    EXPECT_EQ(p.settings[3], "300");
    EXPECT_EQ(p.settings[4], "2");  // -8 was off the screen: the window opened at 2
}
