// The rules: moves, turns, wins, ties and new games.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "tests/unit/game_support.h"

namespace {

using namespace game;

using Game = GameFixture;

TEST_F(Game, ConstructionLeavesNoGameOnAnEmptyBoard) {
    auto fresh = std::make_unique<TicTacToe>();
    EXPECT_EQ(fresh->getState(), NoGame);
    EXPECT_EQ(fresh->getFirstMover(), PlayerTurn);
    EXPECT_EQ(fresh->getLevel(), Smart);
    EXPECT_TRUE(fresh->isFresh());
    EXPECT_EQ(fresh->getCursorColumn(), 1);
    EXPECT_EQ(fresh->getCursorRow(), 1);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(fresh->cellValue(c, r), Empty);
        }
    }
}

TEST_F(Game, NewGameFromAnyStateStartsCleanWithTheFirstMover) {
    for (int from : {NoGame, PlayerTurn, ComputerTurn, PlayerWon, ComputerWon, Tied}) {
        for (int mover : {PlayerTurn, ComputerTurn}) {
            setBoard("121|2.1|.2.");
            game->setState(from);
            game->setFirstMover(mover);
            game->setDirty(false);
            game->thinkCounter = 7;
            press(1, 1);  // may or may not be a move; either way the new game wipes it
            game->newGame(Moronic);
            EXPECT_EQ(board(), "...|...|...") << from;
            EXPECT_EQ(game->getState(), mover);
            EXPECT_EQ(game->getLevel(), Moronic);
            EXPECT_TRUE(game->isFresh());
            EXPECT_TRUE(game->isDirty());
            EXPECT_EQ(game->getThinkCount(), 7);  // the pause count is not the game's
            EXPECT_EQ(game->getCursorColumn(), 1);
        }
    }
}

TEST_F(Game, PlayerMovePlacesTheMarkAndPassesTheTurn) {
    game->newGame(Smart);
    EXPECT_TRUE(game->isFresh());
    EXPECT_TRUE(press(2, 0));
    EXPECT_EQ(board(), "...|...|1..");
    EXPECT_EQ(game->getState(), ComputerTurn);
    EXPECT_FALSE(game->isFresh());
    EXPECT_EQ(game->getCursorColumn(), 2);
    EXPECT_EQ(game->getCursorRow(), 0);
}

TEST_F(Game, PressesThatAreNotMovesAreIgnored) {
    game->newGame(Smart);
    setBoard("1..|.2.|...");

    // An occupied cell: the cursor moves and the board redraws, the game is unchanged.
    game->setDirty(false);
    press(0, 0);
    EXPECT_EQ(board(), "1..|.2.|...");
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_TRUE(game->isFresh());
    EXPECT_TRUE(game->isDirty());
    EXPECT_EQ(game->getCursorColumn(), 0);
    EXPECT_EQ(game->getCursorRow(), 0);

    // Keys and the alternate press never move.
    game->keyPress(13);
    game->mouseButton(boardLeft + 10, boardTop + 100, 1, true);
    game->cellAction(-2);
    EXPECT_EQ(board(), "1..|.2.|...");

    // Any state but the player's turn.
    for (int state : {NoGame, ComputerTurn, PlayerWon, ComputerWon, Tied}) {
        game->setState(state);
        press(2, 2);
        EXPECT_EQ(board(), "1..|.2.|...") << state;
        EXPECT_EQ(game->getState(), state);
        EXPECT_TRUE(game->isFresh());
    }
}

TEST_F(Game, BorderPressBetweenOccupiedAndEmptyCellsPlaysTheEmptyOne) {
    game->newGame(Smart);
    setBoard("...|...|...");
    // Between two empty cells the left one is played; the right one then finds the turn over.
    game->mouseButton(boardLeft + cellSize, boardTop + 10, 1, false);
    EXPECT_EQ(board(), "1..|...|...");

    game->newGame(Smart);
    setBoard("2..|...|...");
    game->mouseButton(boardLeft + cellSize, boardTop + 10, 1, false);
    EXPECT_EQ(board(), "2..|1..|...");
    EXPECT_EQ(game->getState(), ComputerTurn);
}

TEST_F(Game, FifthMarkOnAFullBoardWinsOrTiesAndTheComputerNeverMoves) {
    // Completing the middle column with the last free cell is a win, not a tie.
    game->newGame(Smart);
    setBoard("221|11.|212");
    press(1, 2);
    EXPECT_EQ(game->getState(), PlayerWon);

    // The last free cell without a line ties at once.
    game->newGame(Smart);
    setBoard("121|21.|212");
    press(1, 2);
    EXPECT_EQ(board(), "121|211|212");
    EXPECT_EQ(game->getState(), Tied);
    for (int i = 0; i < 100; ++i) {
        game->tick();
    }
    EXPECT_EQ(game->getState(), Tied);
    EXPECT_EQ(board(), "121|211|212");
    EXPECT_EQ(game->getThinkCount(), 0);
}

TEST_F(Game, OutcomeCheck) {
    game->newGame(Smart);

    // The computer's line is found after the player's, and wins.
    setBoard("111|...|222");
    game->setState(ComputerTurn);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), ComputerWon);

    // A won game keeps its result on a full board, and on every later check.
    setBoard("222|112|121");
    game->setState(PlayerTurn);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), ComputerWon);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), ComputerWon);

    // Each of the eight lines counts.
    const char* lines[8] = {"111|...|...", "...|111|...", "...|...|111", "1..|1..|1..",
                            ".1.|.1.|.1.", "..1|..1|..1", "1..|.1.|..1", "..1|.1.|1.."};
    for (const char* line : lines) {
        setBoard(line);
        game->setState(ComputerTurn);
        game->checkOutcome();
        EXPECT_EQ(game->getState(), PlayerWon) << line;
    }

    // Only a turn turns into a tie.
    setBoard("121|211|212");
    game->setState(NoGame);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), NoGame);
    game->setState(ComputerTurn);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), Tied);

    // A board with a free cell and no line leaves the turn alone.
    setBoard("121|21.|212");
    game->setState(PlayerTurn);
    game->checkOutcome();
    EXPECT_EQ(game->getState(), PlayerTurn);
}

TEST_F(Game, ComputerFirstStartsOnAnEmptyBoardAndStaysFreshUntilItMoves) {
    game->setFirstMover(ComputerTurn);
    game->newGame(Smart);
    EXPECT_EQ(game->getState(), ComputerTurn);
    for (int i = 0; i < 21; ++i) {
        game->tick();
    }
    EXPECT_EQ(board(), "...|...|...");
    EXPECT_TRUE(game->isFresh());
    game->tick();
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_FALSE(game->isFresh());
    int marks = 0;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            marks += game->cellValue(c, r) == ComputerMark;
        }
    }
    EXPECT_EQ(marks, 1);
}

TEST_F(Game, FirstMoverChangesOnlyTheNextGame) {
    game->newGame(Smart);
    game->setFirstMover(ComputerTurn);
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_TRUE(press(0, 0));
    EXPECT_EQ(game->getState(), ComputerTurn);
    game->newGame(game->getLevel());
    EXPECT_EQ(game->getState(), ComputerTurn);
    EXPECT_EQ(game->getFirstMover(), ComputerTurn);
}

// Whole games through the public operations only: presses at pixel positions and timer ticks,
// at every level, with either side first, over many clock values. Every game must end in a
// state its board supports.
class WholeGames : public Game {
  protected:
    static bool hasLine(TicTacToe& board, int mark) {
        static const int lines[8][3][2] = {{{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}, {1, 2}},
                                           {{2, 0}, {2, 1}, {2, 2}}, {{0, 0}, {1, 0}, {2, 0}},
                                           {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {1, 2}, {2, 2}},
                                           {{0, 0}, {1, 1}, {2, 2}}, {{0, 2}, {1, 1}, {2, 0}}};
        for (const auto& line : lines) {
            bool all = true;
            for (const auto& cell : line) {
                all = all && board.cellValue(cell[0], cell[1]) == mark;
            }
            if (all) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(WholeGames, EndConsistentlyAtEveryLevelAndFirstMover) {
    std::uint32_t playerChoice = 12345;  // the player's own little generator
    int outcomes[3][6] = {};
    for (int level : {Smart, Average, Moronic}) {
        for (int mover : {PlayerTurn, ComputerTurn}) {
            for (int gameIndex = 0; gameIndex < 150; ++gameIndex) {
                services.clock = 1700000000 + gameIndex * 7 + level * 1000;
                game->setFirstMover(mover);
                game->newGame(level);
                int moves = 0;
                while (game->getState() == PlayerTurn || game->getState() == ComputerTurn) {
                    ASSERT_LT(moves, 9);
                    if (game->getState() == PlayerTurn) {
                        int free[9][2];
                        int count = 0;
                        for (int c = 0; c < 3; ++c) {
                            for (int r = 0; r < 3; ++r) {
                                if (game->cellValue(c, r) == Empty) {
                                    free[count][0] = c;
                                    free[count][1] = r;
                                    ++count;
                                }
                            }
                        }
                        ASSERT_GT(count, 0);
                        playerChoice = playerChoice * 1103515245u + 12345u;
                        const int pick = static_cast<int>((playerChoice >> 8) % count);
                        ASSERT_TRUE(press(free[pick][0], free[pick][1]));
                        ASSERT_NE(game->getState(), PlayerTurn);
                    } else {
                        // The computer always takes exactly 22 ticks.
                        for (int t = 0; t < 21; ++t) {
                            game->tick();
                            ASSERT_EQ(game->getState(), ComputerTurn);
                        }
                        game->tick();
                        ASSERT_NE(game->getState(), ComputerTurn);
                        ++services.clock;
                    }
                    ++moves;
                }

                int player = 0;
                int computer = 0;
                for (int c = 0; c < 3; ++c) {
                    for (int r = 0; r < 3; ++r) {
                        player += game->cellValue(c, r) == PlayerMark;
                        computer += game->cellValue(c, r) == ComputerMark;
                        ASSERT_EQ(game->getCell(c, r), game->cellValue(c, r));
                    }
                }
                const int first = mover == PlayerTurn ? player : computer;
                const int second = mover == PlayerTurn ? computer : player;
                ASSERT_TRUE(first == second || first == second + 1)
                    << "player " << player << " computer " << computer;
                ASSERT_EQ(player + computer, moves);
                ASSERT_FALSE(game->isFresh());
                const int state = game->getState();
                switch (state) {
                    case PlayerWon:
                        ASSERT_TRUE(hasLine(*game, PlayerMark));
                        ASSERT_FALSE(hasLine(*game, ComputerMark));
                        // The winner made the last move.
                        ASSERT_EQ(player, mover == PlayerTurn ? computer + 1 : computer);
                        break;
                    case ComputerWon:
                        ASSERT_TRUE(hasLine(*game, ComputerMark));
                        ASSERT_FALSE(hasLine(*game, PlayerMark));
                        ASSERT_EQ(computer, mover == ComputerTurn ? player + 1 : player);
                        break;
                    case Tied:
                        ASSERT_EQ(player + computer, 9);
                        ASSERT_FALSE(hasLine(*game, PlayerMark));
                        ASSERT_FALSE(hasLine(*game, ComputerMark));
                        break;
                    default:
                        FAIL() << "unexpected final state " << state;
                }
                ++outcomes[level][state];

                // A finished game ignores presses and ticks.
                press(1, 1);
                for (int t = 0; t < 30; ++t) {
                    game->tick();
                }
                ASSERT_EQ(game->getState(), state);
                ASSERT_EQ(game->getThinkCount(), 0);
            }
        }
    }
    // A random player loses far more often against the strongest level than the weakest.
    EXPECT_GT(outcomes[Smart][ComputerWon], outcomes[Moronic][ComputerWon]);
    EXPECT_GT(outcomes[Moronic][PlayerWon], outcomes[Smart][PlayerWon]);
}

}  // namespace
