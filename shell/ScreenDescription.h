// What is on screen, for assistive technology: the people-facing items of the visible Pages,
// read from the real controls and the game, and the news a screen reader is told.
#pragma once

#include <string>
#include <vector>

#include "screens/ControlTable.h"

struct Program;

namespace windowLogic {

// What an item is to a person (screens/ControlTable.h).
using ::ItemRole;

// One item on screen. Rectangles and points are in drawing-area pixels (before any scale).
struct ScreenItem {
    ItemRole role = ItemRole::Label;
    std::string name;
    bool pressed = false;   // a Toggle whose mode is on
    bool checked = false;   // the chosen Radio of its group
    bool disabled = false;  // takes no press now (a Cell already taken, or not the player's turn)
    // Has the keyboard focus: the focused item itself, or within the board the cursor's cell and
    // within a list its chosen row. At most one item of a description has it.
    bool focused = false;
    int x = 0, y = 0, width = 0, height = 0;
    // Where a press goes, inside the rectangle: a mouse click there does what the item does.
    int pressX = 0, pressY = 0;
    // The index, in the same description, of the RadioGroup or Board holding it; -1 for none.
    int parent = -1;
    // The Page the item is on.
    int page = 0;
    // Stays the same for the same item from one description to the next.
    int id = 0;
};

// The items of the visible Pages in reading order (top to bottom, then left to right), each
// group followed by its members. Controls covered by a later Page's backdrop are left out, as
// nobody can see them.
std::vector<ScreenItem> describeScreen(const Program& program);

// What changed for one item from one description to the next (items are matched by id): an
// item that came or went, or one whose name, states, place or focus changed.
struct ScreenChange {
    int before = -1;  // its index in the earlier description; -1 when it came
    int now = -1;     // its index in the later one; -1 when it went
    bool name = false;
    bool pressed = false;
    bool checked = false;
    bool disabled = false;
    bool place = false;
    bool focused = false;
};

// The changes from `before` to `now`: the items of `now` in order, then those that went. What a
// front end's bridge tells its platform after each frame.
std::vector<ScreenChange> changesBetween(const std::vector<ScreenItem>& before,
                                         const std::vector<ScreenItem>& now);

// A left-button press and release at (x, y) of the drawing area, as a mouse click gives them:
// what activating an item does, at its press point. Unlike a real pointer's press, it leaves
// the keyboard's focus ring shown.
void press(Program& program, int x, int y);

// What a screen reader was last told of the game: the status and the board's marks.
struct ScreenNews {
    bool known = false;
    std::string status;
    std::vector<int> marks;
};

// The news since `told`, as sentences for a polite live region: a new game, the computer's
// move ("The computer took the top left."), the status when it changes and the end of the
// game. Empty when there is none, or when the board screen is not shown (its news waits until
// it is); `told` is brought up to date. The first call only takes note.
std::string newsSince(const Program& program, ScreenNews& told);

}  // namespace windowLogic
