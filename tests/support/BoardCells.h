// The board's cells as the test drivers play them, from the file the build writes from the
// screen builder's layout (cmake/board-cells.cmake).
#pragma once

#include "screens/BoardLayout.h"

struct BoardCell {
    int column, row;
    int left, top, size;  // the cell's square
    int x, y;             // its centre
};

constexpr BoardCell boardCells[] = {
#include "board-cells.inc"
};

// The cell at (column, row): the file lists them row by row.
inline const BoardCell& boardCell(int column, int row) {
    return boardCells[row * boardLayout::columns + column];
}
