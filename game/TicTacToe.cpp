// The game: the rules of noughts and crosses on the board control, and the computer opponent.

#include "game/TicTacToe.h"

namespace {

struct Cell {
    int column;
    int row;
};

// The eight lines of the 3 x 3 board by kind, each listed in the order its cells are numbered
// along it: down a column, across a row, (k, k) on the main diagonal, and from the bottom left
// up on the anti-diagonal.
const Cell columnLines[3][3] = {
    {{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}, {1, 2}}, {{2, 0}, {2, 1}, {2, 2}}};
const Cell rowLines[3][3] = {
    {{0, 0}, {1, 0}, {2, 0}}, {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {1, 2}, {2, 2}}};
const Cell mainDiagonal[1][3] = {{{0, 0}, {1, 1}, {2, 2}}};
const Cell antiDiagonal[1][3] = {{{0, 2}, {1, 1}, {2, 0}}};

struct LineKind {
    const Cell (*lines)[3];
    int count;
};

// The order in which the opponent searches: columns, rows, main diagonal, anti-diagonal.
const LineKind lineKinds[4] = {
    {columnLines, 3}, {rowLines, 3}, {mainDiagonal, 1}, {antiDiagonal, 1}};

// Where the second computer mark goes, by the position of the first along the line.
// Columns and rows: after the first cell the far end, otherwise the first cell.
const int straightExtension[3] = {2, 0, 0};
const int mainDiagonalExtension[3] = {1, 2, 0};
const int antiDiagonalExtension[3] = {1, 0, 1};
const int* const extensions[4] = {straightExtension, straightExtension, mainDiagonalExtension,
                                  antiDiagonalExtension};

const Cell corners[4] = {{0, 0}, {2, 2}, {0, 2}, {2, 0}};

}  // namespace

// The grid's constructor has put the cursor at (1, 1) with lines and cursor drawing on; the
// members start a board of 3 x 3 empty cells, no game, the player to begin, level Smart.
TicTacToe::TicTacToe() = default;

void TicTacToe::seedFromClock() {
    // Without a window system the clock stands at 0.
    random.seed(services ? static_cast<std::uint32_t>(services->clockSeconds()) : 0u);
}

void TicTacToe::newGame(int newLevel) {
    state = firstMover;
    level = newLevel;
    dirty = true;
    clearBoard();
    fresh = true;
}

int TicTacToe::cellValue(int column, int row) {
    return board[column][row];
}

void TicTacToe::placeMark(int column, int row, int mark) {
    board[column][row] = mark;
    setCell(column, row, mark);
}

void TicTacToe::cellAction(int code) {
    // Only a press plays a cell; keys and alternate presses are ignored. The keyboard's Space
    // and Enter and a screen reader's action play it with a press at the cell too.
    if (code != pressCode || state != game::PlayerTurn) {
        return;
    }
    if (board[cursorColumn][cursorRow] != game::Empty) {
        return;
    }
    placeMark(cursorColumn, cursorRow, game::PlayerMark);
    state = game::ComputerTurn;
    fresh = false;
    checkOutcome();
}

void TicTacToe::checkOutcome() {
    for (int mark : {game::PlayerMark, game::ComputerMark}) {
        for (const LineKind& kind : lineKinds) {
            for (int i = 0; i < kind.count; ++i) {
                const Cell* line = kind.lines[i];
                if (board[line[0].column][line[0].row] == mark &&
                    board[line[1].column][line[1].row] == mark &&
                    board[line[2].column][line[2].row] == mark) {
                    state = mark + 2;
                }
            }
        }
    }
    // Only a turn can end in a tie, so a full board that holds a line stays won.
    if (state != game::PlayerTurn && state != game::ComputerTurn) {
        return;
    }
    for (int c = 0; c < size; ++c) {
        for (int r = 0; r < size; ++r) {
            if (board[c][r] == game::Empty) {
                return;
            }
        }
    }
    state = game::Tied;
}

void TicTacToe::clearBoard() {
    for (int c = 0; c < size; ++c) {
        for (int r = 0; r < size; ++r) {
            placeMark(c, r, game::Empty);
        }
    }
}

void TicTacToe::tick() {
    if (state == game::ComputerTurn) {
        // The comparison is on the count before this tick: the move comes on the 22nd tick.
        if (thinkCounter++ > game::thinkTicks) {
            computerMove();
            thinkCounter = 0;
        }
    }
    checkOutcome();
}

void TicTacToe::computerMove() {
    seedFromClock();
    const int a = random.draw() % 10;
    const int b = random.draw() % 10;

    // Each level tries its strategies in order and stops at the first that places a mark.
    switch (level) {
        case game::Smart:
            (void)(completeLine(game::ComputerMark) || completeLine(game::PlayerMark) ||
                   extendLine() || (a > 1 && centreAfterCorner()) || (b > 1 && randomCorner()) ||
                   randomCell());
            break;
        case game::Average:
            (void)(completeLine(game::ComputerMark) || completeLine(game::PlayerMark) ||
                   extendLine() || (a > 7 && centreAfterCorner()) || (b > 7 && randomCorner()) ||
                   randomCell());
            break;
        case game::Moronic:
            (void)((a > 2 && completeLine(game::ComputerMark)) ||
                   (b > 6 && completeLine(game::PlayerMark)) || randomCell());
            break;
        default:
            break;  // an unknown level passes its move
    }

    fresh = false;
    state = game::PlayerTurn;
    checkOutcome();
    dirty = true;
}

bool TicTacToe::completeLine(int mark) {
    for (const LineKind& kind : lineKinds) {
        // Every line of the kind is tested and the last that qualifies is taken.
        const Cell* target = nullptr;
        for (int i = 0; i < kind.count; ++i) {
            const Cell* line = kind.lines[i];
            int marks = 0;
            const Cell* empty = nullptr;
            for (int k = 0; k < 3; ++k) {
                const int value = board[line[k].column][line[k].row];
                if (value == mark) {
                    ++marks;
                } else if (value == game::Empty) {
                    empty = &line[k];
                }
            }
            if (marks == 2 && empty != nullptr) {
                target = empty;
            }
        }
        if (target != nullptr) {
            placeMark(target->column, target->row, game::ComputerMark);
            return true;
        }
    }
    return false;
}

bool TicTacToe::extendLine() {
    for (int kindIndex = 0; kindIndex < 4; ++kindIndex) {
        const LineKind& kind = lineKinds[kindIndex];
        const Cell* target = nullptr;
        for (int i = 0; i < kind.count; ++i) {
            const Cell* line = kind.lines[i];
            int own = 0;
            int empty = 0;
            int ownAt = 0;
            for (int k = 0; k < 3; ++k) {
                const int value = board[line[k].column][line[k].row];
                if (value == game::ComputerMark) {
                    ++own;
                    ownAt = k;
                } else if (value == game::Empty) {
                    ++empty;
                }
            }
            if (own == 1 && empty == 2) {
                target = &line[extensions[kindIndex][ownAt]];
            }
        }
        if (target != nullptr) {
            placeMark(target->column, target->row, game::ComputerMark);
            return true;
        }
    }
    return false;
}

bool TicTacToe::centreAfterCorner() {
    int occupied = 0;
    for (int c = 0; c < size; ++c) {
        for (int r = 0; r < size; ++r) {
            if (board[c][r] != game::Empty) {
                ++occupied;
            }
        }
    }
    if (occupied != 1) {
        return false;
    }
    for (const Cell& corner : corners) {
        if (board[corner.column][corner.row] == game::PlayerMark) {
            placeMark(1, 1, game::ComputerMark);
            return true;
        }
    }
    return false;
}

bool TicTacToe::randomCorner() {
    int order[4] = {0, 1, 2, 3};
    seedFromClock();
    for (int i = 0; i < 4; ++i) {
        const int j = random.draw() % 4;
        const int swapped = order[i];
        order[i] = order[j];
        order[j] = swapped;
    }
    for (int index : order) {
        const Cell& corner = corners[index];
        if (board[corner.column][corner.row] == game::Empty) {
            placeMark(corner.column, corner.row, game::ComputerMark);
            return true;
        }
    }
    return false;
}

bool TicTacToe::randomCell() {
    Cell free[maxSize * maxSize];
    int count = 0;
    for (int c = 0; c < size; ++c) {
        for (int r = 0; r < size; ++r) {
            if (board[c][r] == game::Empty) {
                free[count++] = Cell{c, r};
            }
        }
    }
    // A computer turn always has a free cell; without one there is nothing to choose from.
    if (count == 0) {
        return false;
    }
    seedFromClock();
    const Cell& chosen = free[random.draw() % count];
    placeMark(chosen.column, chosen.row, game::ComputerMark);
    return true;
}
