// A fresh set of the program's objects behind fake services, driven as a front end drives it.
#pragma once

#include <memory>
#include <vector>

#include "game/GameCodes.h"
#include "game/TicTacToe.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "tests/support/BoardCells.h"
#include "tests/support/FakeServices.h"
#include "tests/support/RecordingSurface.h"

// A fresh set of the program's objects behind fake window-system services, driven through the
// window logic the way a front end drives it: clicks at pixel positions, timer ticks, keys.
struct ProgramHarness {
    FakeServices services;
    std::unique_ptr<Program> owned = std::make_unique<Program>(services);
    Program& p = *owned;

    FakeServices& fake() { return services; }

    // The window is created: the screens are built from whatever the settings hold.
    void create() { windowLogic::created(p); }

    void click(int x, int y) {
        windowLogic::pointer(p, PointerEvent::LeftDown, x, y);
        windowLogic::pointer(p, PointerEvent::LeftUp, x, y);
    }
    // The middle of board cell (column, row).
    void clickCell(int column, int row) {
        click(boardCell(column, row).x, boardCell(column, row).y);
    }

    bool tick() { return windowLogic::timerTick(p); }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            tick();
        }
    }
    // Ticks until the computer has answered (it moves on the 22nd tick of its turn).
    void letComputerMove() {
        for (int i = 0; i < 100 && p.gameBoard.getState() == game::ComputerTurn; ++i) {
            tick();
        }
    }
    // The player takes the first free cell each turn until the game is over.
    void playToTheEnd() {
        for (int turn = 0; turn < 9 && !game::isOver(p.gameBoard.getState()); ++turn) {
            letComputerMove();
            if (game::isOver(p.gameBoard.getState())) {
                break;
            }
            const int cell = firstEmptyCell();
            clickCell(cell / 3, cell % 3);
            letComputerMove();
        }
    }
    int firstEmptyCell() const {
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                if (p.gameBoard.getCell(c, r) == game::Empty) {
                    return c * 3 + r;
                }
            }
        }
        return -1;
    }
    int markCount() const {
        int count = 0;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                count += p.gameBoard.getCell(c, r) != game::Empty ? 1 : 0;
            }
        }
        return count;
    }
    std::vector<int> cells() const {
        std::vector<int> all;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                all.push_back(p.gameBoard.getCell(c, r));
            }
        }
        return all;
    }

    // One frame, as the front end would draw it.
    RecordingSurface paint() {
        RecordingSurface surface;
        windowLogic::render(p, surface);
        return surface;
    }
};

// Places on the window the tests click.
namespace spot {
constexpr int newGameX = 321, newGameY = 110;
constexpr int settingsX = 321, settingsY = 155;
constexpr int playX = 195, playY = 225;
constexpr int helpX = 335, stripY = 10;
constexpr int letterTX = 355;
constexpr int pinX = 375;
constexpr int levelLabelX = 60;
constexpr int linkX = 195, linkY = 342;
// The lists' columns and their item rows (the title row is 50..70).
constexpr int firstMoveX = 60, piecesX = 190, levelX = 300;
constexpr int rowY(int row) {
    return 80 + 20 * row;
}
}  // namespace spot
