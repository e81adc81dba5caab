// The Windows program's one window: its class, its procedure and the message loop.
#pragma once

#include <windows.h>

// Makes the program DPI-aware and takes the scale from the system's DPI, registers the window
// class "winMain" with `instance`, reads the settings, creates the window at the saved place,
// gives it its stacking order and opacity and shows it. A failure to
// register or create is shown in a box and ends the process with the system's error code.
HWND openMainWindow(HINSTANCE instance);

// Runs the message loop until the quit message the window's destruction posts.
void runMessageLoop();
