// The Windows program read and played by screen readers, through Microsoft Active
// Accessibility: the client area answers WM_GETOBJECT with IAccessible objects made from the
// screen's description (shell/ScreenDescription.h), and tells its clients what changed.
#pragma once

#include <windows.h>

struct Program;

namespace accessibility {

// WM_GETOBJECT. For the client area, `answer` receives what the window procedure returns and
// the result is true; the first such request loads the system's accessibility DLLs (from its own
// folder) and builds the objects. False for any other object, or where those DLLs cannot be
// loaded: the window procedure then leaves the message to DefWindowProc, as before.
bool getObject(HWND window, Program& program, int scale, WPARAM wParam, LPARAM lParam,
               LRESULT& answer);

// A frame has reached the window: what changed since the last one (names, states, the keyboard
// focus, the news of the game) is told to clients. Nothing at all until a client first asked.
void frameShown();

// The window is drawn at another scale (the player's zoom, another monitor's DPI): the places
// told from now on follow it, and clients are told the client area's location changed.
void scaleChanged(int scale);

// WM_DESTROY: every object a client may still hold is disconnected; from then on each answers
// with an error and never reaches the program.
void windowDestroyed();

}  // namespace accessibility
