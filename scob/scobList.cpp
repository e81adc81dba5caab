// A single-choice list with a title row and a selection mark.

#include "scob/scobList.h"

namespace {

// Side of the selection mark, pixels.
constexpr int markSize = 20;

}  // namespace

scobList::scobList() {
    enabled = true;
    selected = 0;
    hoverRow = -1;
    itemCount = 0;
}

void scobList::init(int left, int top, int rowH, int w, int textIndent, bool titled, scobSkin* s) {
    indent = textIndent;
    rowHeight = rowH;
    hasTitle = titled;
    setRect(left, top, w, 0);
    recomputeHeight();
    setSkin(s);
}

void scobList::setFont(int fontH, int fontW, int, int, int) {
    fontHeight = fontH;
    fontWidth = fontW;
}

void scobList::setColours(int itemText, int itemFill, int titleText, int titleFill, int hoverText,
                          int hoverFill, int selectedText, int selectedFill) {
    itemTextColour = itemText;
    itemFillColour = itemFill;
    titleTextColour = titleText;
    titleFillColour = titleFill;
    hoverTextColour = hoverText;
    hoverFillColour = hoverFill;
    selectedTextColour = selectedText;
    selectedFillColour = selectedFill;
}

void scobList::setMarks(int m1, int m2, int m3, int selectedMark) {
    markElements[0] = m1;
    markElements[1] = m2;
    markElements[2] = m3;
    markElements[3] = selectedMark;
}

void scobList::setTitle(const std::string& text) {
    title = text;
    hasTitle = true;
}

void scobList::addItem(const std::string& text) {
    if (itemCount >= maxItems) {
        return;
    }
    items[itemCount] = text;
    ++itemCount;
    recomputeHeight();
}

const std::string& scobList::getItem(int i) const {
    static const std::string none;
    return i >= 0 && i < maxItems ? items[i] : none;
}

void scobList::recomputeHeight() {
    height = rowHeight * itemCount + (hasTitle ? rowHeight : 0);
}

int scobList::findRow(int ry) const {
    const int top = hasTitle ? rowHeight : 0;
    for (int i = 0; i < itemCount; ++i) {
        if (ry > top && ry < top + (i + 1) * rowHeight) {
            return i;
        }
    }
    return -1;
}

void scobList::hover(int, int ry) {
    const int before = hoverRow;
    hoverRow = findRow(ry);
    // Moving within a row keeps asking for a redraw; moving onto the title or a boundary line
    // must also take a shown highlight away.
    if (hoverRow >= 0 || before >= 0) {
        dirty = true;
    }
}

void scobList::leave() {
    // Raised on every move outside the list: only a shown highlight needs a redraw.
    if (hoverRow >= 0) {
        dirty = true;
    }
    hoverRow = -1;
}

bool scobList::release(int, int ry) {
    const bool wasPressed = state == 2;
    state = 1;
    const int row = findRow(ry);
    if (row >= 0) {
        selected = row;
    }
    dirty = true;
    return wasPressed;
}

void scobList::press() {
    state = 2;
    dirty = true;
}

void scobList::paint(DrawingSurface& hdc) {
    if (!visible) {
        return;
    }
    // List text is always bold.
    const Font font{fontHeight, fontWidth, 700};

    // The title row is drawn even without a title; the first item row then covers it.
    const Colour titleFill = themeColour(titleFillColour);
    hdc.rectangle(x, y, x + width, y + rowHeight, titleFill, false, titleFill, 1);
    if (!title.empty()) {
        hdc.text(title, x + 5, y, x + 5 + width, y + rowHeight, font, themeColour(titleTextColour),
                 TextAlign::Left);
    }

    const bool hasMark = scobSkin::inRange(markElements[3], 1);
    for (int i = 0; i < itemCount; ++i) {
        // The highlight under the pointer wins over the selection.
        int textElement = itemTextColour;
        int fillElement = itemFillColour;
        if (i == hoverRow) {
            textElement = hoverTextColour;
            fillElement = hoverFillColour;
        } else if (i == selected) {
            textElement = selectedTextColour;
            fillElement = selectedFillColour;
        }
        const Colour fill = themeColour(fillElement);
        const int top = y + i * rowHeight + (hasTitle ? rowHeight : 0);
        const int bottom = top + rowHeight;
        hdc.rectangle(x, top, x + width, bottom, fill, false, fill, 1);

        if (i == selected && hasMark) {
            const int bitmapId = skin->getBitmap(markElements[3], 1, 0) & 0xFFFF;
            hdc.copyBitmapKeyed(bitmapId, x, top, markSize, markSize);
        }
        if (!items[i].empty()) {
            hdc.text(items[i], x + indent, top, x + width, bottom, font, themeColour(textElement),
                     TextAlign::Left);
        }
    }
}
