// The keyboard focus of the desktop programs: which item of the screen's description Tab has
// reached, what Enter, Space and the arrows do there, and its ring. The page keeps the
// browser's own focus and never calls these.
#pragma once

#include <vector>

#include "platform/DrawingSurface.h"
#include "shell/ScreenDescription.h"

struct Program;

namespace windowLogic {

// The focus ring's colours: a band of blue on the item's edge between two white lines, so that
// the blue stands out against parchment, white and green, and the white against wood's dark
// edges and the black buttons.
const Colour focusRingColour = rgb(0x14, 0x47, 0xc4);
const Colour focusRingInside = rgb(0xff, 0xff, 0xff);
constexpr int focusRingWidth = 2;

// Whether Tab stops at the item: a button, toggle, link, list or the board. A list's rows and the
// board's cells are reached with the arrows.
bool isFocusStop(const ScreenItem& item);

// The index in `items` of the stop that has the focus, or -1 before the first Tab. When the
// item it was on has gone with its screen, the first stop of the screen shown now.
int focusedStop(const Program& program, const std::vector<ScreenItem>& items);

// The item a press of the focused stop goes to, and that assistive technology is told has the
// focus: the stop itself, or on the board the cursor's cell, or in a list its chosen row (the
// list itself while none is chosen). -1 when nothing has the focus.
int focusTarget(const Program& program, const std::vector<ScreenItem>& items);

// A key for the focus, after the board has had it: Tab and Shift+Tab move it, wrapping round;
// while the ring shows, Enter and Space press the focused item (on the board the cursor's
// cell, in a list its chosen row) and the arrows choose in a list.
void focusKey(Program& program, int virtualKey, bool shift);

// After any press: the focus follows a screen change to the new screen's first stop, and the
// board's cursor frame shows while the board has the focus and its ring shows.
void settleFocus(Program& program);

// A pointer press: the ring is hidden until the next Tab.
void hideFocusRing(Program& program);

// The ring over the focused item, drawn after the Pages (the board shows its own cursor frame).
void drawFocusRing(const Program& program, DrawingSurface& surface);

}  // namespace windowLogic
