#include "scob/scobImage.h"

namespace {

std::int32_t themeColour(const scobSkin* skin, int colourElement) {
    if (colourElement < 0 || colourElement >= scobSkin::maxElements) {
        return -1;
    }
    return skin->getColour(colourElement, 1);
}

}  // namespace

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
        hdc.rectangle(x, y, x + width, y + height, themeColour(skin, fillColour), false,
                      themeColour(skin, borderColour), 1);
    }
    dirty = false;
}
