// The command handler: what each command does to the screens, the game and the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "scob/bitmapIds.h"
#include "screens/Commands.h"
#include "tests/unit/program_harness.h"

namespace {

struct Commands : ::testing::Test, ProgramHarness {
    void SetUp() override { create(); }

    std::string statusText() { return p.statusDisplay.getText(p.statusDisplay.getState()); }
    bool boardShown() { return p.boardPage().isVisible() && !p.settingsPage().isVisible(); }
    bool settingsShown() { return !p.boardPage().isVisible() && p.settingsPage().isVisible(); }
    void openSettings() {
        click(spot::settingsX, spot::settingsY);
        ASSERT_TRUE(settingsShown());
    }
    void play() {
        click(spot::playX, spot::playY);
        ASSERT_TRUE(boardShown());
    }
    // The player takes a cell and the computer answers.
    void exchangeMoves(int column, int row) {
        clickCell(column, row);
        ASSERT_EQ(p.gameBoard.getState(), game::ComputerTurn);
        letComputerMove();
    }
    std::vector<int> bitmapsDrawn() {
        tick();
        std::vector<int> ids;
        for (const DrawCall& call : paint().only(DrawCall::Bitmap)) {
            ids.push_back(call.id);
        }
        return ids;
    }
    static bool contains(const std::vector<int>& ids, int id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }
};

}  // namespace

TEST_F(Commands, NewGameClearsARunningGameAtOnce) {
    exchangeMoves(0, 0);
    ASSERT_EQ(markCount(), 2);
    p.redrawPending = 0;
    click(spot::newGameX, spot::newGameY);
    EXPECT_EQ(markCount(), 0);
    EXPECT_TRUE(p.gameBoard.isFresh());
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
    EXPECT_EQ(p.redrawPending, 1);

    // With the computer to begin, the new game opens with its thinking and then its move.
    p.gameBoard.setFirstMover(game::ComputerTurn);
    click(spot::newGameX, spot::newGameY);
    tick();
    EXPECT_EQ(statusText(), "Thinking...");
    EXPECT_EQ(markCount(), 0);
    letComputerMove();
    EXPECT_EQ(markCount(), 1);
    EXPECT_EQ(statusText(), "Your Move");
}

TEST_F(Commands, PlayRestartsAnUntouchedGameSoTheNewFirstMoverApplies) {
    openSettings();
    click(spot::firstMoveX, spot::rowY(1));  // "Computer"
    EXPECT_EQ(p.firstMoveList.getSelected(), 1);
    EXPECT_EQ(p.gameBoard.getFirstMover(), game::ComputerTurn);
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);  // the running game is not touched
    play();
    EXPECT_EQ(p.gameBoard.getState(), game::ComputerTurn);
    tick();
    EXPECT_EQ(statusText(), "Thinking...");
}

TEST_F(Commands, PlayContinuesAGameInProgress) {
    exchangeMoves(1, 1);
    const std::vector<int> before = cells();
    openSettings();
    click(spot::firstMoveX, spot::rowY(1));
    play();
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
    EXPECT_FALSE(p.gameBoard.isFresh());
    // The board screen comes back at the next tick although no command asked for a repaint.
    p.redrawPending = 0;
    EXPECT_TRUE(tick());
}

TEST_F(Commands, PlayAfterAFinishedGameStartsANewOne) {
    playToTheEnd();
    ASSERT_TRUE(game::isOver(p.gameBoard.getState()));
    openSettings();
    play();
    EXPECT_EQ(markCount(), 0);
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
}

TEST_F(Commands, GameGoesOnBehindTheSettingsScreen) {
    clickCell(0, 0);
    openSettings();
    letComputerMove();
    EXPECT_EQ(markCount(), 2);
    play();
    tick();
    EXPECT_EQ(statusText(), "Your Move");
}

TEST_F(Commands, LevelChoiceRenamesTheLabelAndLeavesTheBoard) {
    exchangeMoves(0, 0);
    const std::vector<int> before = cells();
    openSettings();
    click(spot::levelX, spot::rowY(2));
    EXPECT_EQ(p.gameBoard.getLevel(), game::Moronic);
    EXPECT_EQ(p.levelLabel.getText(1), "Computer IQ:  Moronic");
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
    // New Game and N keep the chosen level.
    play();
    click(spot::newGameX, spot::newGameY);
    EXPECT_EQ(p.gameBoard.getLevel(), game::Moronic);
    windowLogic::keyDown(p, key::newGame);
    EXPECT_EQ(p.levelLabel.getText(1), "Computer IQ:  Moronic");
}

TEST_F(Commands, FishPiecesShowOnTheNextPaint) {
    exchangeMoves(0, 0);
    const std::vector<int> traditional = bitmapsDrawn();
    EXPECT_TRUE(contains(traditional, bitmap::ring));
    EXPECT_TRUE(contains(traditional, bitmap::cross));

    openSettings();
    click(spot::piecesX, spot::rowY(2));
    EXPECT_EQ(p.skin.getTheme(), 2);
    play();
    const std::vector<int> fish = bitmapsDrawn();
    EXPECT_TRUE(contains(fish, bitmap::stripedFish));
    EXPECT_TRUE(contains(fish, bitmap::spottedFish));
    EXPECT_TRUE(contains(fish, bitmap::blankFish));
    EXPECT_FALSE(contains(fish, bitmap::ring));
    EXPECT_FALSE(contains(fish, bitmap::cross));

    openSettings();
    click(spot::piecesX, spot::rowY(0));
    play();
    const std::vector<int> back = bitmapsDrawn();
    EXPECT_TRUE(contains(back, bitmap::ring));
    EXPECT_FALSE(contains(back, bitmap::stripedFish));
}

TEST_F(Commands, TwoClicksOnTAndOnThePinRestoreBothModes) {
    click(spot::letterTX, spot::stripY);
    EXPECT_TRUE(p.transparent);
    EXPECT_EQ(p.transparencyButton.getState(), 2);
    EXPECT_EQ(p.redrawPending, 1);
    click(spot::letterTX, spot::stripY);
    EXPECT_FALSE(p.transparent);
    EXPECT_EQ(p.transparencyButton.getState(), 1);
    EXPECT_EQ(fake().opacities, (std::vector<int>{190, 255}));

    click(spot::pinX, spot::stripY);
    EXPECT_TRUE(p.topmost);
    EXPECT_EQ(p.topmostButton.getState(), 2);
    click(spot::pinX, spot::stripY);
    EXPECT_FALSE(p.topmost);
    EXPECT_EQ(p.topmostButton.getState(), 1);
    EXPECT_EQ(fake().topmostCalls, (std::vector<bool>{true, false}));
}

TEST_F(Commands, LevelLabelTakesNoClicks) {
    p.redrawPending = 0;
    click(spot::levelLabelX, spot::stripY);
    EXPECT_FALSE(p.topmost);
    EXPECT_TRUE(fake().topmostCalls.empty());
    EXPECT_EQ(p.topmostButton.getState(), 1);
    EXPECT_EQ(p.redrawPending, 0);
    // The pin alone decides, and its picture keeps matching the mode.
    click(spot::pinX, spot::stripY);
    click(spot::levelLabelX, spot::stripY);
    EXPECT_TRUE(p.topmost);
    EXPECT_EQ(p.topmostButton.getState(), 2);
}

TEST_F(Commands, FrameButtonsWorkOverTheSettingsScreen) {
    openSettings();
    click(spot::helpX, spot::stripY);
    click(spot::letterTX, spot::stripY);
    click(spot::linkX, spot::linkY);
    ASSERT_EQ(fake().urls.size(), 2u);
    EXPECT_NE(fake().urls[0].find("/tictactoe/index.php?v=dur1.2a"), std::string::npos);
    EXPECT_EQ(fake().urls[1].substr(fake().urls[1].find('?') - 1), "e?v=dur1.2a");
    EXPECT_TRUE(p.transparent);
    EXPECT_TRUE(settingsShown());
}

TEST_F(Commands, NOnTheSettingsScreenStartsTheGameSeenOnReturn) {
    exchangeMoves(2, 2);
    p.gameBoard.setFirstMover(game::ComputerTurn);
    openSettings();
    p.redrawPending = 0;
    windowLogic::keyDown(p, key::newGame);
    EXPECT_EQ(p.redrawPending, 1);
    EXPECT_EQ(markCount(), 0);
    EXPECT_TRUE(settingsShown());
    play();
    tick();
    EXPECT_EQ(statusText(), "Thinking...");
}

TEST_F(Commands, InertAndUnknownIdsChangeNothing) {
    exchangeMoves(0, 0);
    p.redrawPending = 0;
    const std::vector<int> board = cells();
    const std::string label = p.levelLabel.getText(1);
    for (int id : {1, 2, 8, 9, 0, 13, 14, 16, 49, 51, -1, 1000}) {
        onCommand(p, id, 0);
        onCommand(p, id, 7);
        SCOPED_TRACE(id);
        EXPECT_EQ(cells(), board);
        EXPECT_EQ(p.gameBoard.getState(), game::PlayerTurn);
        EXPECT_FALSE(p.gameBoard.isFresh());
        EXPECT_TRUE(boardShown());
        EXPECT_EQ(p.skin.getTheme(), 0);
        EXPECT_FALSE(p.topmost);
        EXPECT_FALSE(p.transparent);
        EXPECT_EQ(p.levelLabel.getText(1), label);
        EXPECT_EQ(p.redrawPending, 0);
    }
    EXPECT_TRUE(fake().urls.empty());
    EXPECT_TRUE(fake().opacities.empty());
    EXPECT_TRUE(fake().topmostCalls.empty());
}

TEST_F(Commands, StatusFollowsTheGameOnEveryTick) {
    // A click on the status steps its picture, and the next tick puts the game's state back.
    click(127, 55);
    EXPECT_EQ(p.statusDisplay.getState(), 2);
    tick();
    EXPECT_EQ(statusText(), "Your Move");
    playToTheEnd();
    tick();
    const char* endings[] = {"You Win !!!", "Computer wins", "Tie"};
    EXPECT_EQ(statusText(), endings[p.gameBoard.getState() - game::PlayerWon]);
}
