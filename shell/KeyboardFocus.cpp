// The keyboard focus of the desktop programs: Tab's stops, Enter, Space and the arrows, the ring.

#include "shell/KeyboardFocus.h"

#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"

namespace windowLogic {

namespace {

// The rows of the list at `group`, in order: its members follow it.
std::vector<int> membersOf(const std::vector<ScreenItem>& items, int group) {
    std::vector<int> members;
    for (int i = group + 1; i < static_cast<int>(items.size()) && items[i].parent == group; ++i) {
        members.push_back(i);
    }
    return members;
}

// The place `step` (1 or -1) on from `at` among `count`, wrapping round; from none (-1), the
// first or the last.
int stepRound(int at, int step, int count) {
    return at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
}

void pressItem(Program& p, const ScreenItem& item) {
    press(p, item.pressX, item.pressY);
}

// Moves the focus `step` stops on (1 or -1), wrapping round, and shows its ring.
void moveFocus(Program& p, int step) {
    const std::vector<ScreenItem> items = describeScreen(p);
    std::vector<int> stops;
    int at = -1;
    const int current = focusedStop(p, items);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (isFocusStop(items[i])) {
            at = i == current ? static_cast<int>(stops.size()) : at;
            stops.push_back(i);
        }
    }
    if (stops.empty()) {
        return;
    }
    p.focusItem = items[stops[stepRound(at, step, static_cast<int>(stops.size()))]].id;
    p.focusRingShown = true;
    p.redrawPending = 1;
    settleFocus(p);
}

// The arrows in a list: the row before or after the chosen one, wrapping round, pressed.
void chooseInList(Program& p, const std::vector<ScreenItem>& items, int list, int step) {
    const std::vector<int> rows = membersOf(items, list);
    const int count = static_cast<int>(rows.size());
    int chosen = -1;
    for (int i = 0; i < count; ++i) {
        chosen = items[rows[i]].checked ? i : chosen;
    }
    if (count == 0) {
        return;
    }
    pressItem(p, items[rows[stepRound(chosen, step, count)]]);
}

}  // namespace

bool isFocusStop(const ScreenItem& item) {
    switch (item.role) {
        case ItemRole::Button:
        case ItemRole::Toggle:
        case ItemRole::Link:
        case ItemRole::RadioGroup:
        case ItemRole::Board:
            return true;
        default:
            return false;
    }
}

int focusedStop(const Program& p, const std::vector<ScreenItem>& items) {
    if (p.focusItem < 0) {
        return -1;
    }
    // The screen shown now is the highest visible Page; the frame page lies under both.
    int firstOfScreen = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (!isFocusStop(items[i])) {
            continue;
        }
        if (items[i].id == p.focusItem) {
            return i;
        }
        if (firstOfScreen < 0 || items[i].page > items[firstOfScreen].page) {
            firstOfScreen = i;
        }
    }
    return firstOfScreen;
}

int focusTarget(const Program& p, const std::vector<ScreenItem>& items) {
    const int stop = focusedStop(p, items);
    if (stop < 0) {
        return -1;
    }
    if (items[stop].role == ItemRole::Board) {
        const scobGrid& grid = p.gameBoard;
        const int cell = grid.getCursorRow() * grid.getColumns() + grid.getCursorColumn();
        const std::vector<int> cells = membersOf(items, stop);
        return cell >= 0 && cell < static_cast<int>(cells.size()) ? cells[cell] : stop;
    }
    if (items[stop].role == ItemRole::RadioGroup) {
        for (const int row : membersOf(items, stop)) {
            if (items[row].checked) {
                return row;
            }
        }
    }
    return stop;
}

void focusKey(Program& p, int virtualKey, bool shift) {
    if (virtualKey == key::tab) {
        moveFocus(p, shift ? -1 : 1);
        return;
    }
    if (!p.focusRingShown) {
        return;
    }
    const std::vector<ScreenItem> items = describeScreen(p);
    const int stop = focusedStop(p, items);
    if (stop < 0) {
        return;
    }
    const bool isList = items[stop].role == ItemRole::RadioGroup;
    if (virtualKey == key::enter || virtualKey == key::space) {
        const int target = focusTarget(p, items);
        // A list with no row chosen has nothing to press.
        if (!(isList && target == stop)) {
            pressItem(p, items[target]);
        }
    } else if (isList && (virtualKey == key::up || virtualKey == key::left)) {
        chooseInList(p, items, stop, -1);
    } else if (isList && (virtualKey == key::down || virtualKey == key::right)) {
        chooseInList(p, items, stop, 1);
    }
}

void settleFocus(Program& p) {
    if (p.focusItem < 0) {
        return;
    }
    const std::vector<ScreenItem> items = describeScreen(p);
    const int stop = focusedStop(p, items);
    if (stop >= 0 && items[stop].id != p.focusItem) {
        p.focusItem = items[stop].id;
        p.redrawPending = 1;
    }
    p.gameBoard.setCursorShown(p.focusRingShown && stop >= 0 &&
                               items[stop].role == ItemRole::Board);
}

void hideFocusRing(Program& p) {
    if (p.focusRingShown) {
        p.focusRingShown = false;
        p.redrawPending = 1;
        settleFocus(p);
    }
}

void drawFocusRing(const Program& p, DrawingSurface& surface) {
    if (!p.focusRingShown) {
        return;
    }
    const std::vector<ScreenItem> items = describeScreen(p);
    const int stop = focusedStop(p, items);
    if (stop < 0 || items[stop].role == ItemRole::Board) {
        return;
    }
    // A white line just outside the item, the blue band on its edge, a white line inside it.
    // In high contrast: the highlight between lines of the background.
    const ScreenItem& it = items[stop];
    const Colour ring = p.highContrast ? p.contrastPalette.highlight : focusRingColour;
    const Colour inside = p.highContrast ? p.contrastPalette.window : focusRingInside;
    for (int band = -1; band <= focusRingWidth; ++band) {
        const bool blue = band >= 0 && band < focusRingWidth;
        surface.rectangle(it.x + band, it.y + band, it.x + it.width - band, it.y + it.height - band,
                          inside, true, blue ? ring : inside, 1);
    }
}

}  // namespace windowLogic
