// The high-contrast look: every control flat, in the system's palette, drawn instead of the skin.
#pragma once

#include "platform/DrawingSurface.h"

struct Program;

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

// Palettes the program knows by name: Windows' two stock high-contrast themes (the
// colours of Windows 10's "High Contrast Black" and "High Contrast White"), and the program's own,
// used where the system asks for more contrast without giving colours (the Linux desktop's
// portal, the page under prefers-contrast): light on black and dark on white.
namespace contrastPalette {
extern const ContrastPalette windowsBlack;
extern const ContrastPalette windowsWhite;
extern const ContrastPalette lightOnDark;
extern const ContrastPalette darkOnLight;
}  // namespace contrastPalette

// Turns the high-contrast look on or off with the given palette (kept while off). A change
// marks the window for a repaint at the next tick; nothing else about the game or the screen
// changes.
void setHighContrast(Program& program, bool on, const ContrastPalette& palette);

// Draws every visible Page's controls in their flat form in the program's palette, then, as the
// Pages do, clears every control's dirty flag.
void drawHighContrast(Program& program, DrawingSurface& hdc);
