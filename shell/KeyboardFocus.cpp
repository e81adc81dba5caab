// The keyboard focus of the desktop programs: Tab's stops, Enter, Space and the arrows, the ring.

#include "shell/KeyboardFocus.h"

#include <algorithm>
#include <variant>

#include "platform/Keys.h"
#include "screens/Program.h"

namespace windowLogic {

namespace {

ItemRole roleOf(int row) {
    return controlTable()[row].spoken.role;
}

// The rows Tab stops at now, in reading order.
std::vector<int> stopsShown(const Program& p) {
    std::vector<int> stops;
    for (const int row : shownRows(p)) {
        if (factsOf(roleOf(row)).tabStop) {
            stops.push_back(row);
        }
    }
    return stops;
}

// The place among `stops` of the one the focus is on, or -1 before the first Tab. When the
// control it was on has gone with its screen, the first stop of the screen shown now: the
// highest visible Page, as the frame page lies under both.
int currentStop(const Program& p, const std::vector<int>& stops) {
    if (p.focusRow < 0) {
        return -1;
    }
    int first = -1;
    for (int i = 0; i < static_cast<int>(stops.size()); ++i) {
        if (stops[i] == p.focusRow) {
            return i;
        }
        if (first < 0 || controlTable()[stops[i]].page > controlTable()[stops[first]].page) {
            first = i;
        }
    }
    return first;
}

// The row the focus is on now, or -1.
int focusedRow(const Program& p) {
    const std::vector<int> stops = stopsShown(p);
    const int at = currentStop(p, stops);
    return at < 0 ? -1 : stops[at];
}

// The place `step` (1 or -1) on from `at` among `count`, wrapping round; from none (-1), the
// first or the last.
int stepRound(int at, int step, int count) {
    return at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
}

// Where a press of the row's control goes, or of its member `member`: true, for a press due.
bool pressPoint(const Program& p, int row, int member, int& x, int& y) {
    const Place at = placeOf(p, row, member);
    x = at.x + at.width / 2;
    y = at.y + at.height / 2;
    return true;
}

// Moves the focus `step` stops on (1 or -1), wrapping round, and shows its ring.
void moveFocus(Program& p, int step) {
    const std::vector<int> stops = stopsShown(p);
    if (stops.empty()) {
        return;
    }
    const int count = static_cast<int>(stops.size());
    p.focusRow = stops[stepRound(currentStop(p, stops), step, count)];
    p.focusRingShown = true;
    p.redrawPending = 1;
    settleFocus(p);
}

// The list of a row; null for another control.
const scobList* listOf(const Program& p, int row) {
    const auto* list = std::get_if<scobList Program::*>(&controlTable()[row].control);
    return list ? &(p.**list) : nullptr;
}

// The chosen row of a list, or -1 while none is.
int chosenIn(const scobList& list) {
    const int chosen = list.getSelected();
    return chosen >= 0 && chosen < list.getItemCount() ? chosen : -1;
}

// Enter or Space: the focused control pressed, or on the board its cursor's cell, in a list its
// chosen row (nothing while none is chosen).
bool pressFocused(const Program& p, int row, int& x, int& y) {
    if (const scobList* list = listOf(p, row)) {
        return chosenIn(*list) >= 0 && pressPoint(p, row, chosenIn(*list), x, y);
    }
    int member = -1;
    if (roleOf(row) == ItemRole::Board) {
        const scobGrid& grid = p.gameBoard;
        const int cell = grid.getCursorRow() * grid.getColumns() + grid.getCursorColumn();
        member = cell >= 0 && cell < grid.getRows() * grid.getColumns() ? cell : -1;
    }
    return pressPoint(p, row, member, x, y);
}

}  // namespace

int focusedStop(const Program& p, const std::vector<ScreenItem>& items) {
    const int row = focusedRow(p);
    for (int i = 0; row >= 0 && i < static_cast<int>(items.size()); ++i) {
        if (items[i].id == itemIdOf(row)) {
            return i;
        }
    }
    return -1;
}

bool focusKey(Program& p, int virtualKey, bool shift, int& x, int& y) {
    if (virtualKey == key::tab) {
        moveFocus(p, shift ? -1 : 1);
        return false;
    }
    const int row = p.focusRingShown ? focusedRow(p) : -1;
    if (row < 0) {
        return false;
    }
    if (virtualKey == key::enter || virtualKey == key::space) {
        return pressFocused(p, row, x, y);
    }
    const scobList* list = listOf(p, row);
    const int step = virtualKey == key::up || virtualKey == key::left      ? -1
                     : virtualKey == key::down || virtualKey == key::right ? 1
                                                                           : 0;
    // The arrows in a list: the row before or after the chosen one, wrapping round, pressed.
    if (!list || step == 0 || list->getItemCount() == 0) {
        return false;
    }
    return pressPoint(p, row, stepRound(chosenIn(*list), step, list->getItemCount()), x, y);
}

bool focusTakesArrows(const Program& p) {
    const int row = p.focusRingShown ? focusedRow(p) : -1;
    return row >= 0 && listOf(p, row) != nullptr;
}

void settleFocus(Program& p) {
    if (p.focusRow < 0) {
        return;
    }
    const int row = focusedRow(p);
    if (row >= 0 && row != p.focusRow) {
        p.focusRow = row;
        p.redrawPending = 1;
    }
    p.gameBoard.setCursorShown(p.focusRingShown && row >= 0 && roleOf(row) == ItemRole::Board);
}

void hideFocusRing(Program& p) {
    if (p.focusRingShown) {
        p.focusRingShown = false;
        p.redrawPending = 1;
        settleFocus(p);
    }
}

void drawFocusRing(const Program& p, DrawingSurface& surface) {
    const int row = p.focusRingShown ? focusedRow(p) : -1;
    if (row < 0 || roleOf(row) == ItemRole::Board) {
        return;
    }
    // Only what the drawing area shows of the control (the pin reaches a pixel beyond it).
    Place it = placeOf(p, row);
    it.width = std::min(it.width, p.drawWidth - it.x);
    it.height = std::min(it.height, p.drawHeight - it.y);
    // A white line just outside it, the blue band on its edge, a white line inside it. In high
    // contrast: the highlight between lines of the background.
    const Colour ring = p.highContrast ? p.contrastPalette.highlight : focusRingColour;
    const Colour inside = p.highContrast ? p.contrastPalette.window : focusRingInside;
    for (int band = -1; band <= focusRingWidth; ++band) {
        const bool blue = band >= 0 && band < focusRingWidth;
        surface.rectangle(it.x + band, it.y + band, it.x + it.width - band, it.y + it.height - band,
                          inside, true, blue ? ring : inside, 1);
    }
}

}  // namespace windowLogic
