// The computer opponent: each level's strategies, its random choices and its pause.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "game/Random.h"
#include "tests/unit/game_support.h"

namespace {

using namespace game;

// What one computer move draws at a given clock: a and b of the level table.
struct Draws {
    int a;
    int b;
};

Draws drawsAt(std::int64_t clock) {
    Random generator;
    generator.seed(static_cast<std::uint32_t>(clock));
    const int a = generator.draw() % 10;
    const int b = generator.draw() % 10;
    return {a, b};
}

// The first clock value from a base whose draws satisfy `wanted`. Every combination the tests
// ask for turns up within a few hundred seconds.
std::int64_t clockWhere(const std::function<bool(Draws)>& wanted) {
    const std::int64_t base = 1700000000;
    for (std::int64_t clock = base; clock < base + 100000; ++clock) {
        if (wanted(drawsAt(clock))) {
            return clock;
        }
    }
    ADD_FAILURE() << "no clock value gives the wanted draws";
    return base;
}

struct Opponent : GameFixture {
    void SetUp() override {
        GameFixture::SetUp();
        game->newGame(Smart);
    }

    // Where the random corner goes, by the shuffle of the four corners worked out by hand.
    static std::pair<int, int> expectedCorner(std::int64_t clock, const std::string& picture) {
        const int corners[4][2] = {{0, 0}, {2, 2}, {0, 2}, {2, 0}};
        int order[4] = {0, 1, 2, 3};
        Random generator;
        generator.seed(static_cast<std::uint32_t>(clock));
        for (int i = 0; i < 4; ++i) {
            std::swap(order[i], order[generator.draw() % 4]);
        }
        for (int index : order) {
            const int* corner = corners[index];
            if (picture[corner[0] * 4 + corner[1]] == '.') {
                return {corner[0], corner[1]};
            }
        }
        return {-1, -1};
    }

    // Where the random cell goes: the free cells column by column, one picked by the draw.
    static std::pair<int, int> expectedCell(std::int64_t clock, const std::string& picture) {
        std::pair<int, int> free[9];
        int count = 0;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                if (picture[c * 4 + r] == '.') {
                    free[count++] = {c, r};
                }
            }
        }
        Random generator;
        generator.seed(static_cast<std::uint32_t>(clock));
        return free[generator.draw() % count];
    }

    // The board after one computer move at `level` with the clock at `clock`.
    std::string moveAt(int level, std::int64_t clock, const std::string& picture) {
        setBoard(picture);
        game->setLevel(level);
        game->setState(ComputerTurn);
        services.clock = clock;
        game->computerMove();
        return board();
    }
};

TEST(Generator, FollowsTheLinearCongruentialSequence) {
    // Seed 1 gives the classic sequence of this multiplier and increment.
    Random generator;
    generator.seed(1);
    const int expected[5] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) {
        EXPECT_EQ(generator.draw(), value);
    }
    // The state wraps modulo 2^32.
    const std::uint32_t seeds[3] = {0u, 0x80000000u, 0xFFFFFFFFu};
    for (std::uint32_t seed : seeds) {
        generator.seed(seed);
        const std::uint64_t next = (std::uint64_t{seed} * 214013u + 2531011u) & 0xFFFFFFFFu;
        EXPECT_EQ(generator.draw(), static_cast<int>((next >> 16) & 0x7FFF)) << seed;
    }
}

TEST_F(Opponent, SeedsFromTheClockTruncatedTo32Bits) {
    // Seed 1 draws 41 first: 41 mod 9 free cells picks the sixth, (1, 2).
    services.clock = (std::int64_t{1} << 32) + 1;
    EXPECT_TRUE(game->randomCell());
    EXPECT_EQ(board(), "...|..2|...");
}

TEST_F(Opponent, CompleteLineSearchesColumnsRowsThenDiagonals) {
    // The player threatens a column, a row and the main diagonal: one block per call, in the
    // order of the kinds.
    setBoard("11.|.1.|...");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "112|.1.|...");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "112|.1.|.2.");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "112|.1.|.22");
    EXPECT_FALSE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "112|.1.|.22");

    // Within a kind the highest-numbered line is taken; the other stays open.
    setBoard("11.|...|11.");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "11.|...|112");
    setBoard("112|1..|.1.");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "112|12.|.1.");

    // The main diagonal before the anti-diagonal.
    setBoard("1..|21.|1..");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "1..|21.|1.2");
    EXPECT_TRUE(game->completeLine(PlayerMark));
    EXPECT_EQ(board(), "1.2|21.|1.2");

    // Completing the computer's own line places a computer mark too.
    setBoard("2..|2..|...");
    EXPECT_TRUE(game->completeLine(ComputerMark));
    EXPECT_EQ(board(), "2..|2..|2..");
}

TEST_F(Opponent, ExtendLinePlacesTheSecondMarkByTheTable) {
    struct Case {
        const char* before;
        int column, row;
    };
    const Case cases[] = {
        // Columns.
        {"2..|...|...", 0, 2},
        {".2.|...|...", 0, 0},
        {"..2|...|...", 0, 0},
        {"...|...|2..", 2, 2},
        // Rows, with the column blocked by the player.
        {"12.|...|...", 2, 1},
        {"...|12.|...", 0, 1},
        {"...|...|1.2", 0, 2},
        // The main diagonal, with column and row blocked.
        {"21.|1..|...", 1, 1},
        {".1.|12.|...", 2, 2},
        {"..1|...|1.2", 0, 0},
        // The anti-diagonal, with everything before it blocked.
        {"1.2|..1|...", 1, 1},
        {"11.|12.|...", 0, 2},
        {"...|1..|21.", 1, 1},
        // The computer's only mark at (2, 1): column 2 comes before row 1.
        {"1..|...|.2.", 2, 0},
        // Two own columns open: the higher one.
        {"2..|...|.2.", 2, 0},
    };
    for (const Case& c : cases) {
        setBoard(c.before);
        EXPECT_TRUE(game->extendLine()) << c.before;
        EXPECT_EQ(board(), with(c.before, c.column, c.row)) << c.before;
    }

    for (const char* nothing : {"...|...|...", "12.|.1.|...", "21.|1..|..1"}) {
        setBoard(nothing);
        EXPECT_FALSE(game->extendLine()) << nothing;
        EXPECT_EQ(board(), nothing);
    }
}

TEST_F(Opponent, CentreAnswersOnlyALoneCornerOpening) {
    for (const char* opening : {"1..|...|...", "..1|...|...", "...|...|1..", "...|...|..1"}) {
        setBoard(opening);
        EXPECT_TRUE(game->centreAfterCorner()) << opening;
        EXPECT_EQ(game->cellValue(1, 1), ComputerMark);
    }
    for (const char* other :
         {".1.|...|...", "...|.1.|...", "2..|...|...", "1..|...|..2", "...|...|..."}) {
        setBoard(other);
        EXPECT_FALSE(game->centreAfterCorner()) << other;
        EXPECT_EQ(board(), other);
    }
}

TEST_F(Opponent, RandomCornerShufflesFromTheClock) {
    int picked[3][3] = {};
    for (std::int64_t clock = 1700000000; clock < 1700000040; ++clock) {
        for (const char* picture : {"...|...|...", "1..|...|2.."}) {
            setBoard(picture);
            services.clock = clock;
            const auto corner = expectedCorner(clock, picture);
            EXPECT_TRUE(game->randomCorner());
            EXPECT_EQ(board(), with(picture, corner.first, corner.second)) << clock;
            ++picked[corner.first][corner.second];
        }
    }
    // Every corner turns up.
    EXPECT_GT(picked[0][0], 0);
    EXPECT_GT(picked[0][2], 0);
    EXPECT_GT(picked[2][0], 0);
    EXPECT_GT(picked[2][2], 0);

    setBoard("1.2|...|2.1");
    EXPECT_FALSE(game->randomCorner());
    EXPECT_EQ(board(), "1.2|...|2.1");
}

TEST_F(Opponent, RandomCellPicksAmongTheFreeCellsColumnByColumn) {
    for (std::int64_t clock = 1700000000; clock < 1700000040; ++clock) {
        for (const char* picture : {"...|...|...", "12.|.1.|2..", "121|2.1|212"}) {
            setBoard(picture);
            services.clock = clock;
            const auto cell = expectedCell(clock, picture);
            EXPECT_TRUE(game->randomCell());
            EXPECT_EQ(board(), with(picture, cell.first, cell.second)) << clock;
        }
    }
    // A full board has no cell to give.
    setBoard("121|211|212");
    EXPECT_FALSE(game->randomCell());
}

TEST_F(Opponent, SmartAndAverageThresholdsOnACornerOpening) {
    const std::string opening = "1..|...|...";
    const std::string centre = "1..|.2.|...";

    // Smart: centre when a > 1; otherwise a corner when b > 1; otherwise any free cell.
    const auto aTwo = clockWhere([](Draws d) { return d.a == 2; });
    EXPECT_EQ(moveAt(Smart, aTwo, opening), centre);
    const auto aOneBTwo = clockWhere([](Draws d) { return d.a == 1 && d.b == 2; });
    auto corner = expectedCorner(aOneBTwo, opening);
    EXPECT_EQ(moveAt(Smart, aOneBTwo, opening), with(opening, corner.first, corner.second));
    const auto aOneBOne = clockWhere([](Draws d) { return d.a == 1 && d.b == 1; });
    auto cell = expectedCell(aOneBOne, opening);
    EXPECT_EQ(moveAt(Smart, aOneBOne, opening), with(opening, cell.first, cell.second));

    // Average: the same steps with thresholds at 7.
    const auto aEight = clockWhere([](Draws d) { return d.a == 8; });
    EXPECT_EQ(moveAt(Average, aEight, opening), centre);
    const auto aSevenBEight = clockWhere([](Draws d) { return d.a == 7 && d.b == 8; });
    corner = expectedCorner(aSevenBEight, opening);
    EXPECT_EQ(moveAt(Average, aSevenBEight, opening), with(opening, corner.first, corner.second));
    const auto aSevenBSeven = clockWhere([](Draws d) { return d.a == 7 && d.b == 7; });
    cell = expectedCell(aSevenBSeven, opening);
    EXPECT_EQ(moveAt(Average, aSevenBSeven, opening), with(opening, cell.first, cell.second));
    // ...where Smart takes the centre.
    EXPECT_EQ(moveAt(Smart, aSevenBSeven, opening), centre);
}

TEST_F(Opponent, OpeningMoveOnAnEmptyBoard) {
    const std::string empty = "...|...|...";
    // Nothing to win, block, extend or answer: a corner when b > 1, whatever a is.
    const auto bTwo = clockWhere([](Draws d) { return d.a == 9 && d.b == 2; });
    const auto corner = expectedCorner(bTwo, empty);
    EXPECT_EQ(moveAt(Smart, bTwo, empty), with(empty, corner.first, corner.second));
    const auto bOne = clockWhere([](Draws d) { return d.a == 9 && d.b == 1; });
    const auto cell = expectedCell(bOne, empty);
    EXPECT_EQ(moveAt(Smart, bOne, empty), with(empty, cell.first, cell.second));
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_FALSE(game->isFresh());
}

TEST_F(Opponent, WinComesFirstAndMoronicOnlySometimesTakesIt) {
    // The computer can win at (0, 2) and must block at (2, 2).
    const std::string both = "22.|.1.|11.";
    const std::string won = "222|.1.|11.";
    const std::string blocked = "22.|.1.|112";

    const auto lowest = clockWhere([](Draws d) { return d.a == 0 && d.b == 0; });
    for (int level : {Smart, Average}) {
        EXPECT_EQ(moveAt(level, lowest, both), won) << level;
        EXPECT_EQ(game->getState(), ComputerWon);
    }

    // Moronic: the win only when a > 2, the block only when b > 6, else a random cell.
    const auto aThree = clockWhere([](Draws d) { return d.a == 3 && d.b == 0; });
    EXPECT_EQ(moveAt(Moronic, aThree, both), won);
    const auto aTwoBSeven = clockWhere([](Draws d) { return d.a == 2 && d.b == 7; });
    EXPECT_EQ(moveAt(Moronic, aTwoBSeven, both), blocked);
    EXPECT_EQ(game->getState(), PlayerTurn);
    const auto aTwoBSix = clockWhere([](Draws d) { return d.a == 2 && d.b == 6; });
    const auto cell = expectedCell(aTwoBSix, both);
    EXPECT_EQ(moveAt(Moronic, aTwoBSix, both), with(both, cell.first, cell.second));

    // Moronic never extends, centres or seeks a corner.
    const std::string opening = "1..|...|...";
    const auto high = clockWhere([](Draws d) { return d.a == 9 && d.b == 9; });
    const auto anyCell = expectedCell(high, opening);
    EXPECT_EQ(moveAt(Moronic, high, opening), with(opening, anyCell.first, anyCell.second));
}

TEST_F(Opponent, UnknownLevelPassesTheMove) {
    game->setDirty(false);
    EXPECT_EQ(moveAt(7, 1700000000, "1..|...|..."), "1..|...|...");
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_FALSE(game->isFresh());
    EXPECT_TRUE(game->isDirty());
}

TEST_F(Opponent, ThinkingPauseIs22TicksAndOutlivesANewGame) {
    game->setFirstMover(ComputerTurn);
    game->newGame(Smart);
    for (int i = 0; i < 21; ++i) {
        game->tick();
    }
    EXPECT_EQ(game->getThinkCount(), 21);
    EXPECT_EQ(game->getState(), ComputerTurn);
    game->tick();
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_EQ(game->getThinkCount(), 0);

    // A new game during the pause keeps the count; the player's turn does not touch it.
    game->newGame(Smart);
    for (int i = 0; i < 10; ++i) {
        game->tick();
    }
    game->setFirstMover(PlayerTurn);
    game->newGame(Smart);
    for (int i = 0; i < 50; ++i) {
        game->tick();
    }
    EXPECT_EQ(game->getThinkCount(), 10);
    press(0, 0);
    ASSERT_EQ(game->getState(), ComputerTurn);
    for (int i = 0; i < 11; ++i) {
        game->tick();
    }
    EXPECT_EQ(game->getState(), ComputerTurn);
    game->tick();
    EXPECT_EQ(game->getState(), PlayerTurn);
    EXPECT_EQ(game->getThinkCount(), 0);
}

TEST_F(Opponent, LevelChangeTakesEffectAtTheNextComputerMove) {
    // At this clock Smart answers a corner with the centre, Average with a random cell that is
    // not the centre.
    const std::string opening = "1..|...|...";
    std::int64_t clock = 1700000000;
    while (!(drawsAt(clock).a == 5 && drawsAt(clock).b == 5 &&
             expectedCell(clock, opening) != std::make_pair(1, 1))) {
        ++clock;
    }
    services.clock = clock;
    const auto cell = expectedCell(clock, opening);

    game->newGame(Smart);
    press(0, 0);
    game->setLevel(Average);
    for (int i = 0; i < 22; ++i) {
        game->tick();
    }
    EXPECT_EQ(board(), with(opening, cell.first, cell.second));

    game->newGame(Average);
    press(0, 0);
    game->setLevel(Smart);
    for (int i = 0; i < 22; ++i) {
        game->tick();
    }
    EXPECT_EQ(board(), "1..|.2.|...");
}

}  // namespace
