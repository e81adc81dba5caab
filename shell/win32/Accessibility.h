// The Windows program read and played by screen readers, through Microsoft Active
// Accessibility: the client area answers WM_GETOBJECT with IAccessible objects made from the
// screen's description (shell/ScreenDescription.h), and tells its clients what changed.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "shell/ScreenDescription.h"

struct Program;

namespace accessibility {

// The objects' shared state (Accessibility.cpp).
struct State;

// The objects screen readers read and what they were told, owned by the Windows front end's
// state (`Frontend`, shell/win32/Window.cpp).
class Bridge {
  public:
    Bridge();
    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;
    ~Bridge();

    // WM_GETOBJECT. For the client area, `answer` receives what the window procedure returns
    // and the result is true; the first such request loads the system's accessibility DLLs
    // (from its own folder) and builds the objects. False for any other object, or where those
    // DLLs cannot be loaded: the window procedure then leaves the message to DefWindowProc, as
    // before.
    bool getObject(HWND window, Program& program, int scale, WPARAM wParam, LPARAM lParam,
                   LRESULT& answer);

    // Whether the objects exist (a client asked for them): only then does a frame need
    // describing for them.
    bool listening() const;
    // A frame has reached the window, and `now` describes it: what changed since the last one
    // (names, states, places, the keyboard focus, the news of the game) is told to clients.
    void frameShown(const std::vector<windowLogic::ScreenItem>& now);

    // The window is drawn at another scale (the player's zoom, another monitor's DPI): the
    // places told from now on follow it, and clients are told the client area's location
    // changed.
    void scaleChanged(int scale);

    // WM_DESTROY: every object a client may still hold is disconnected; from then on each
    // answers with an error and never reaches the program.
    void windowDestroyed();

  private:
    std::unique_ptr<State> state;
};

}  // namespace accessibility
