// The high-contrast look: every control flat, in the system's palette, drawn instead of the skin.
#pragma once

#include "platform/ContrastPalette.h"
#include "platform/DrawingSurface.h"

struct Program;

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
