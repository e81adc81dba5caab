// The board's cell values the grid can be told all at once.

#include "scob/Solution.h"

Solution::Solution() {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            cells[c][r] = 4 * r + c + 1;
        }
    }
    showCursor = 0;
    visible = true;
    enabled = false;
}
