// A game laid out as on the board screen, with boards written as pictures, for the game tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/GameCodes.h"
#include "game/TicTacToe.h"
#include "scob/skinInstance.h"
#include "tests/support/FakeServices.h"

// The game with its board writable, to set up positions directly.
class TestGame : public TicTacToe {
  public:
    using TicTacToe::placeMark;
    using TicTacToe::thinkCounter;
};

// A game laid out as the screens lay it out (3 x 3 cells of 78 pixels at (21, 90), no cursor
// frame), a fixed clock, and boards written as pictures: column by column, '.' empty,
// e.g. "1..|.2.|..." has the player at (0, 0) and the computer at (1, 1).
struct GameFixture : ::testing::Test {
    static constexpr int boardLeft = 21;
    static constexpr int boardTop = 90;
    static constexpr int cellSize = 78;

    std::unique_ptr<skinInstance> skin = std::make_unique<skinInstance>();
    std::unique_ptr<TestGame> game = std::make_unique<TestGame>();
    FakeServices services;

    void SetUp() override {
        game->setServices(&services);
        game->setLayout(boardLeft, boardTop, 234, 234, 3, 3, skin.get());
        game->setLook(5, 5, 6, 1, 3, element::pieces, -1, -1, -1, 1, 0);
    }

    // A press in the middle of a cell, as the window delivers it.
    bool press(int column, int row) {
        return game->mouseButton(boardLeft + column * cellSize + cellSize / 2,
                                 boardTop + row * cellSize + cellSize / 2, 1, false);
    }

    // The board as a picture; the grid's own copy must agree with it.
    std::string board() const {
        std::string text;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                const int mark = game->cellValue(c, r);
                EXPECT_EQ(game->getCell(c, r), mark) << "grid and board differ at " << c << r;
                text += mark == game::Empty ? '.' : static_cast<char>('0' + mark);
            }
            if (c < 2) {
                text += '|';
            }
        }
        return text;
    }

    void setBoard(const std::string& picture) {
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                const char mark = picture[c * 4 + r];
                game->placeMark(c, r, mark == '.' ? game::Empty : mark - '0');
            }
        }
    }

    // `picture` with one more computer mark at (column, row).
    static std::string with(std::string picture, int column, int row) {
        picture[column * 4 + row] = '2';
        return picture;
    }
};
