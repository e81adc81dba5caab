// The keyboard focus of the desktop programs: which control of the screens' table Tab has
// reached, what Enter, Space and the arrows do there, and its ring. It is worked out from the
// table and the controls alone, never from a description of the screen. The page keeps the
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

// The index in `items` (a description of the screen as it is now) of the control the focus is
// on, or -1 before the first Tab.
int focusedStop(const Program& program, const std::vector<ScreenItem>& items);

// A key for the focus, after the board has had it: Tab and Shift+Tab move it round the stops
// shown, in reading order, wrapping round; while the ring shows, Enter and Space press the
// focused item (on the board the cursor's cell, in a list its chosen row) and the arrows choose
// in a list. True, with the point, when a press is due there.
bool focusKey(Program& program, int virtualKey, bool shift, int& pressX, int& pressY);

// Whether the arrows are the focus's now: a list has it and its ring shows. The board's cursor
// then stays where it is.
bool focusTakesArrows(const Program& program);

// After any press: the focus follows a screen change to the new screen's first stop, and the
// board's cursor frame shows while the board has the focus and its ring shows.
void settleFocus(Program& program);

// A pointer press: the ring is hidden until the next Tab.
void hideFocusRing(Program& program);

// The ring round the focused control, drawn after the Pages (the board shows its own cursor
// frame).
void drawFocusRing(const Program& program, DrawingSurface& surface);

}  // namespace windowLogic
