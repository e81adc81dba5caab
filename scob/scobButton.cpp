// A button: a picture or a plain rectangle, with a text, that reports a click.

#include "scob/scobButton.h"

scobButton::scobButton() {
    state = 1;
    visible = true;
    enabled = true;
    dirty = true;
    stateCount = 3;
}

void scobButton::init(int left, int top, int h, int w, scobSkin* s, int textColourElement,
                      int fillColourElement, int borderColourElement, int fontH, int fontW,
                      int boldFlag) {
    textColour = textColourElement;
    fillColour = fillColourElement;
    borderColour = borderColourElement;
    fontHeight = fontH;
    fontWidth = fontW;
    bold = boldFlag;
    visible = true;
    setRect(left, top, w, h);
    setSkin(s);
}

void scobButton::setText(const std::string& text, int index) {
    if (index < 0 || index >= maxTexts) {
        return;
    }
    if (texts[index] != text) {
        dirty = true;
    }
    texts[index] = text;
    if (texts[2].empty()) {
        texts[2] = texts[1];
    }
}

const std::string& scobButton::getText(int index) const {
    static const std::string none;
    return index >= 0 && index < maxTexts ? texts[index] : none;
}

const std::string& scobButton::shownText() const {
    return state >= 0 && state < maxTexts && !texts[state].empty() ? texts[state] : texts[1];
}

void scobButton::leave() {
    // Raised on every move outside, so only a pressed button has anything to undo.
    if (state == 2) {
        state = 1;
        dirty = true;
    }
}

bool scobButton::release(int, int) {
    const bool wasPressed = state == 2;
    state = 1;
    dirty = true;
    return wasPressed;
}

void scobButton::press() {
    state = 2;
    dirty = true;
}

void scobButton::paint(DrawingSurface& hdc) {
    if (!visible) {
        return;
    }
    const Colour fill = themeColour(fillColour);
    const Colour outline = themeColour(borderColour);
    const Colour ink = themeColour(textColour);

    int left = x;
    int top = y;
    const int right = x + width;
    const int bottom = y + height;

    // A button with a picture, or without a fill colour, shows only its text.
    if (elementId <= 0 && fill >= 0) {
        hdc.rectangle(left, top, right, bottom, fill, false, outline, 0);
    }
    if (state == 2) {
        // The pressed look: the text sinks one pixel right and down.
        ++left;
        ++top;
    }

    TextAlign placement;
    switch (align) {
        case 0:
            placement = TextAlign::Left;
            break;
        case 1:
            placement = TextAlign::Centre;
            break;
        case 2:
            placement = TextAlign::Right;
            break;
        default:
            return;  // any other alignment shows no text
    }
    const std::string& shown = shownText();
    if (shown.empty()) {
        return;  // an empty line would draw nothing
    }
    hdc.text(shown, left, top, right, bottom, Font{fontHeight, fontWidth, bold == 1 ? 700 : 400},
             ink, placement);
}
