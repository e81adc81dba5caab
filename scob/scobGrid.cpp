// The grid control: cells with pictures, grid lines, a cursor, presses and arrow keys.

#include "scob/scobGrid.h"

#include <string>

#include "platform/Keys.h"

namespace {

// Skin lookups with the table bounds checked: a grid that names no element, no colour or no
// text (a negative id), or has no skin yet, reads nothing instead of memory outside the tables.
bool inSkin(const scobSkin* skin, int element, int state) {
    return skin != nullptr && scobSkin::inRange(element, state);
}

}  // namespace

scobGrid::scobGrid() {
    visible = true;
    enabled = true;
}

bool scobGrid::cellContains(int column, int row, int dx, int dy) const {
    return column * cellWidth <= dx && dx <= (column + 1) * cellWidth && row * cellHeight <= dy &&
           dy <= (row + 1) * cellHeight;
}

bool scobGrid::mouseButton(int px, int py, int kind, bool alternate) {
    if (kind != 1) {
        return false;  // a release is never a hit, so the grid never activates a command
    }
    const int dx = px - x;
    const int dy = py - y;
    bool hit = false;
    // Every column is examined: a press on the border between two columns reaches both cells,
    // the left one first, and leaves the cursor in the right one.
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            if (cellContains(c, r, dx, dy)) {
                cursorRow = r;
                cursorColumn = c;
                dirty = true;
                cellAction(alternate ? alternatePressCode : pressCode);
                hit = true;
                break;  // only the upper of two cells sharing a row border
            }
        }
    }
    return hit;
}

bool scobGrid::mouseMove(int px, int py) {
    // A move with the button held over a cell reports it. The routing ignores what a move
    // reports today; the answer is kept because it is part of what a control tells its Page.
    if (!services || !services->leftButtonDown() || columns < 1) {
        return false;
    }
    const int dx = px - x;
    const int dy = py - y;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            if (cellContains(c, r, dx, dy)) {
                return true;
            }
        }
    }
    return false;
}

void scobGrid::paint(DrawingSurface& hdc) {
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const int v = cells[c][r];
            const int left = x + c * cellWidth;
            const int top = y + r * cellHeight;
            const int right = left + cellWidth;
            const int bottom = top + cellHeight;
            const int id =
                inSkin(skin, elementId, v) ? skin->getBitmap(elementId, v, elementVariant) : 0;
            if (id > 0) {
                // Only the low 16 bits name a resource.
                hdc.copyBitmap(id & 0xFFFF, left, top, cellWidth, cellHeight);
                continue;
            }
            if (inSkin(skin, fillColour, v)) {
                const Colour fill = skin->getColour(fillColour, v);
                hdc.rectangle(left, top, right, bottom, fill, false, fill, 0);
            }
            if (inSkin(skin, cellText, v) && inSkin(skin, textColour, v)) {
                const std::string label = skin->getText(cellText, v);
                if (!label.empty()) {
                    const Font font{cellHeight - 10, cellWidth - 25, 900};
                    hdc.text(label, left, top, right, bottom, font, skin->getColour(textColour, v),
                             TextAlign::Centre);
                }
            }
        }
    }
    if (showLines != 0) {
        for (int k = 0; k <= columns; ++k) {
            const Pen pen = linePen(k, 0);
            const int lineX = x + k * cellWidth;
            hdc.line(lineX, y, lineX, y + height, pen.colour, pen.width);
        }
        for (int k = 0; k <= rows; ++k) {
            const Pen pen = linePen(k, 0);
            const int lineY = y + k * cellHeight;
            hdc.line(x, lineY, x + width, lineY, pen.colour, pen.width);
        }
    }
    if (showCursor != 0) {
        const Colour colour = inSkin(skin, cursorColour, 1) ? skin->getColour(cursorColour, 1) : 0;
        const int left = x + cursorColumn * cellWidth;
        const int top = y + cursorRow * cellHeight;
        hdc.rectangle(left, top, left + cellWidth, top + cellHeight, 0, true, colour, cursorWidth);
    }
    dirty = false;
}

int scobGrid::cellValue(int column, int row) {
    return cells[column][row];
}

void scobGrid::cellAction(int) {}

Pen scobGrid::linePen(int, int) {
    Pen pen;
    pen.colour = inSkin(skin, lineColour, 1) ? skin->getColour(lineColour, 1) : 0;
    pen.width = lineWidth;
    return pen;
}

void scobGrid::setLayout(int left, int top, int w, int h, int columnCount, int rowCount,
                         scobSkin* s) {
    setRect(left, top, w, h);
    // The cell table holds at most maxCells in each direction, and the cell size divides by
    // the counts: keep both within 1..maxCells.
    columns = columnCount < 1 ? 1 : (columnCount > maxCells ? maxCells : columnCount);
    rows = rowCount < 1 ? 1 : (rowCount > maxCells ? maxCells : rowCount);
    cellWidth = w / columns;
    cellHeight = h / rows;
    cursorColumn = 1;
    cursorRow = 1;
    setSkin(s);
}

void scobGrid::setLook(int lineColourElement, int rowLineColourElement, int cursorColourElement,
                       int linePixels, int cursorPixels, int element, int fillColourElement,
                       int cellTextElement, int textColourElement, int linesShown,
                       int cursorShown) {
    lineColour = lineColourElement;
    rowLineColour = rowLineColourElement;
    cursorColour = cursorColourElement;
    lineWidth = linePixels;
    cursorWidth = cursorPixels;
    elementId = element;
    fillColour = fillColourElement;
    cellText = cellTextElement;
    textColour = textColourElement;
    showLines = linesShown;
    showCursor = cursorShown;
}

void scobGrid::keyPress(int key) {
    switch (key) {
        case key::left:
            if (--cursorColumn < 0) {
                cursorColumn = columns - 1;
            }
            break;
        case key::up:
            if (--cursorRow < 0) {
                cursorRow = rows - 1;
            }
            break;
        case key::right:
            if (++cursorColumn >= columns) {
                cursorColumn = 0;
            }
            break;
        case key::down:
            if (++cursorRow >= rows) {
                cursorRow = 0;
            }
            break;
        default:
            cellAction(key);
            return;  // other keys leave the redraw to the subclass
    }
    dirty = true;
}

void scobGrid::setCursorShown(bool shown) {
    if ((showCursor != 0) != shown) {
        showCursor = shown ? 1 : 0;
        dirty = true;
    }
}
