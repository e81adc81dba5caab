// Where the board lies on the board screen, in drawing-area pixels.
#pragma once

// The test drivers play the board from a file the build writes from these lines
// (cmake/board-cells.cmake), so each stays of the form `constexpr int name = number;`.
namespace boardLayout {
constexpr int left = 21;
constexpr int top = 90;
constexpr int columns = 3;
constexpr int rows = 3;
constexpr int cellSize = 78;
}  // namespace boardLayout
