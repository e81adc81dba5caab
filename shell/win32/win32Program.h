#pragma once

#include <windows.h>

class Win32Services;

// The Windows program: one window of class "winMain", one thread, one message loop.

// The module the program runs from: the window class, the icon and every bitmap come from it.
extern HINSTANCE appInstance;
// The main window, from the moment its creation message arrives.
extern HWND mainWindow;

// The services the program logic uses on Win32; installed before anything asks for them.
Win32Services& win32Services();

// Registers "winMain"; on failure reports the system's error and ends the process.
void registerWindowClass();
// Shows "<name> failed with error <code>: <system text>" in a box captioned "Error" and ends
// the process with the thread's last error code. Never returns.
[[noreturn]] void fatalError(const char* name);
// Creates the window at the saved place, shows it and runs the message loop until the quit
// message; returns the quit message's wParam.
WPARAM runMainWindow();

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Draws the whole frame off screen and copies it to `target` in one block copy.
void paintWindow(HDC target);
void onTimer(HWND window);
void onKeyDown(WPARAM virtualKey);
