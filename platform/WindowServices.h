#pragma once

#include <cstdint>
#include <string>

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What the program logic asks of the window system. Each front end implements it; tests use
// a fake. The program has one current instance (see `windowServices`).
class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Starts the periodic timer that drives the game and the repaint.
    virtual void startTimer(int timerId, int periodMs) = 0;
    // Sets the window's outer size, keeping its position.
    virtual void setWindowSize(int width, int height) = 0;
    // The drawing area's size.
    virtual void clientSize(int& width, int& height) = 0;
    // Whole-window opacity, 0..255 (255 is opaque).
    virtual void setOpacity(int alpha) = 0;
    // Keeps the window above other windows, or not.
    virtual void setTopmost(bool on) = 0;
    // The window's outer rectangle in screen coordinates.
    virtual ScreenRect windowRect() = 0;
    // The usable size of the primary screen: the bounds a saved window position must lie in.
    virtual void screenSize(int& width, int& height) = 0;
    // Hands a web address to the desktop; never waits for the browser.
    virtual void openUrl(const std::string& address) = 0;
    // Whether the left mouse button is down.
    virtual bool leftButtonDown() = 0;
    // The calendar clock, whole seconds since 1970-01-01 UTC.
    virtual std::int64_t clockSeconds() = 0;

    // Files. The folder that holds the settings file (ending in a separator), or "" when the
    // system cannot name one.
    virtual std::string settingsFolder() = 0;
    // Creates a folder and every missing parent; true when it exists afterwards.
    virtual bool makeFolders(const std::string& folder) = 0;
    // Moves `from` over `to`, replacing it in one step; true on success.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
};

// The program's current window-system services. Until a front end (or a test) installs its
// own, a harmless stand-in answers: no button down, clock at 0, no settings folder.
WindowServices& windowServices();
void setWindowServices(WindowServices* services);
