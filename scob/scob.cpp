// The control base every control of the toolkit derives from.

#include "scob/scob.h"

void scob::draw(DrawingSurface& hdc) {
    if (elementId >= 0) {
        // Only the low 16 bits name a resource.
        const int bitmapId = skin->getBitmap(elementId, state, elementVariant) & 0xFFFF;
        hdc.copyBitmap(bitmapId, x, y, width, height);
    }
    paint(hdc);
}

bool scob::mouseButton(int px, int py, int kind, bool alternate) {
    if (!contains(px, py)) {
        return false;
    }
    dirty = true;
    if (kind == 1) {
        if (alternate) {
            pressAlternate();
        } else {
            press();
        }
        return true;
    }
    if (kind == 2) {
        if (alternate) {
            releaseAlternate();
            return true;
        }
        return release(px - x, py - y);
    }
    return true;
}

bool scob::mouseMove(int px, int py) {
    if (contains(px, py)) {
        hover(px - x, py - y);
        return true;
    }
    leave();
    return false;
}

std::int32_t scob::themeColour(int colourElement) const {
    return scobSkin::inRange(colourElement, 1) ? skin->getColour(colourElement, 1) : -1;
}

void scob::hover(int, int) {}
void scob::leave() {}
bool scob::release(int, int) {
    return true;
}
void scob::releaseAlternate() {}
void scob::press() {}
void scob::pressAlternate() {}
void scob::paint(DrawingSurface&) {}

void scob::setRect(int left, int top, int w, int h) {
    x = left;
    y = top;
    width = w;
    height = h;
}

void scob::setElement(int id, int variant) {
    elementId = id;
    elementVariant = variant;
}

void scob::setVisible(bool flag) {
    if (visible != flag) {
        dirty = true;
    }
    visible = flag;
}
