// An image control: one picture of the skin, or a framed rectangle.

#include "scob/scobImage.h"

scobImage::scobImage() {
    dirty = true;
    state = 1;
    visible = true;
    enabled = false;
}

void scobImage::init(int left, int top, int h, int w, scobSkin* s, int borderColourElement,
                     int states) {
    borderColour = borderColourElement;
    setRect(left, top, w, h);
    setSkin(s);
    stateCount = states;
}

void scobImage::paint(DrawingSurface& hdc) {
    if (!visible) {
        return;
    }
    // Only the "no picture at all" id gets the rectangle; other negative ids draw nothing.
    if (elementId == -1) {
        hdc.rectangle(x, y, x + width, y + height, themeColour(fillColour), false,
                      themeColour(borderColour), 1);
    }
    dirty = false;
}
