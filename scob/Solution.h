// The board's cell values the grid can be told all at once.
#pragma once

#include "scob/scobGrid.h"

// A 4 x 4 grid preset with the numbers 1 to 16 row by row; it has no behaviour of its own and
// takes no pointer input.
class Solution : public scobGrid {
  public:
    Solution();
};
