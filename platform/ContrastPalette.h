// The colours a system in high contrast gives the programs that draw for themselves.
#pragma once

#include "platform/DrawingSurface.h"

// The colours a window system gives programs that draw for themselves in high contrast, by the
// names Windows' GetSysColor uses; the Linux desktop and the page hand over the same eight.
struct ContrastPalette {
    Colour window = 0;         // the background
    Colour windowText = 0;     // text, the board's lines, the pieces, the strip's symbols
    Colour buttonFace = 0;     // a button's fill
    Colour buttonText = 0;     // a button's text and outline
    Colour highlight = 0;      // the selected row, a toggle that is on, the cursor, the focus
    Colour highlightText = 0;  // text on the highlight
    Colour hotLight = 0;       // the web address
    Colour grayText = 0;       // what is disabled (nothing on these screens is)

    bool operator==(const ContrastPalette& o) const {
        return window == o.window && windowText == o.windowText && buttonFace == o.buttonFace &&
               buttonText == o.buttonText && highlight == o.highlight &&
               highlightText == o.highlightText && hotLight == o.hotLight && grayText == o.grayText;
    }
    bool operator!=(const ContrastPalette& o) const { return !(*this == o); }
};
