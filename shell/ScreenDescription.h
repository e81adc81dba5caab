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

// The rows of the screens' table (screens/ControlTable.h) shown now, in the description's order:
// the controls of the visible Pages that are not hidden nor covered by a later Page's backdrop
// (the backdrops themselves left out), top to bottom, then left to right.
std::vector<int> shownRows(const Program& program);

// Where a row's control lies in the drawing area, or its member `member` (a list's row, the
// board's cell in reading order); a press goes to its middle.
Place placeOf(const Program& program, int row, int member = -1);

// The id the item of a row has in every description; its members' ids follow it.
int itemIdOf(int row);

// Where the item `id` of the description is pressed now, which a frame may not have shown yet;
// false when it is not on screen.
bool pressPointOf(const Program& program, int id, int& x, int& y);

// Which of an item's states changed.
enum class ItemState { Pressed, Checked, Disabled };

// One named change from one description to the next, as a platform tells it.
struct ScreenChange {
    enum Kind {
        Added,          // `now` came, under a parent that stays (the frame, a list or the board)
        Removed,        // `before` went, from under a parent that stays
        Renamed,        // `now` has another name
        StateChanged,   // `state` of `now` turned `on` or off
        BoundsChanged,  // `now` lies elsewhere
        FocusMoved,     // the focus left `from` (-1: nothing that stays had it) for `to` (-1: none)
        News,           // the news of the game
    };
    Kind kind = Added;
    int before = -1;  // the item's index in the earlier description (Removed)
    int now = -1;     // its index in the later one (the others but FocusMoved and News)
    ItemState state = ItemState::Pressed;
    bool on = false;
    int from = -1, to = -1;  // indices in the later description (FocusMoved)
};

// The changes from `before` to `now` (items matched by id), in the order a platform tells them:
// the items gone, in `before`'s order, then those come, in `now`'s, each only where its parent
// stays (a list or the board that comes or goes brings its members along); then, item by item
// in `now`'s order, its name, states and place; then the focus, which leaves one item before it
// reaches the next, so that the item it reaches is read with its new states; last the news,
// when there is some. What a front end's bridge tells its platform after each frame.
std::vector<ScreenChange> changesBetween(const std::vector<ScreenItem>& before,
                                         const std::vector<ScreenItem>& now,
                                         const std::string& news = {});

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
