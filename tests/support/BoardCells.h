// The board's cells as the test drivers play them, from the file the build writes from the
// screen builder's layout (tests/CMakeLists.txt).
#pragma once

struct BoardCell {
    int column, row;
    int left, top, size;  // the cell's square
    int x, y;             // its centre
};

constexpr BoardCell boardCells[] = {
#include "board-cells.inc"
};

// The cell at (column, row).
inline const BoardCell& boardCell(int column, int row) {
    for (const BoardCell& cell : boardCells) {
        if (cell.column == column && cell.row == row) {
            return cell;
        }
    }
    return boardCells[0];
}
