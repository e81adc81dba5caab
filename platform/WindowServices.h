// The window-system seam: what the program logic asks of the window system and the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ContrastPalette.h"

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What the program logic asks of the window system. Each front end implements it and hands it
// to the program's objects; tests use a fake.
class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Starts the periodic timer that drives the game and the repaint.
    virtual void startTimer(int timerId, int periodMs) = 0;
    // Gives the window a drawing area of width x height points, keeping its place; the window
    // system's own frame, if any, goes round it.
    virtual void setDrawingSize(int width, int height) = 0;
    // The drawing area's size.
    virtual void clientSize(int& width, int& height) = 0;
    // Each point of the drawing area is `scale` x `scale` of the window's pixels from now on
    // (the window is resized by the next setDrawingSize). A window system that scales the
    // program's pixels itself (the page) ignores it.
    virtual void setScale(int scale) = 0;
    // Puts the window's outer top-left corner at (left, top) in screen pixels, keeping its size;
    // nothing where the window system does not let a program place its window.
    virtual void moveWindow(int left, int top) = 0;
    // Whole-window opacity, 0..255 (255 is opaque).
    virtual void setOpacity(int alpha) = 0;
    // Keeps the window above other windows, or not.
    virtual void setTopmost(bool on) = 0;
    // The window's outer rectangle in screen coordinates; none where the window system does
    // not tell a program where its window is.
    virtual std::optional<ScreenRect> windowRect() = 0;
    // The usable size of the primary screen: the bounds a saved window position must lie in.
    virtual void screenSize(int& width, int& height) = 0;
    // Hands a web address to the desktop; never waits for the browser.
    virtual void openUrl(const std::string& address) = 0;
    // Whether the left mouse button is down.
    virtual bool leftButtonDown() = 0;
    // The calendar clock, whole seconds since 1970-01-01 UTC.
    virtual std::int64_t clockSeconds() = 0;

    // Whether the system asks for high contrast now, and then its palette. A window system that
    // tells it only by events of its own (the Linux desktop, the browser) answers no here.
    virtual bool highContrast(ContrastPalette& palette) {
        (void)palette;
        return false;
    }

    // Files. The folder the program keeps its own settings folder in (ending in the platform's
    // separator, '/' or '\\'), or "" when the system names none; the program adds the rest.
    virtual std::string settingsBase() = 0;
    // Creates a folder and every missing parent; true when it exists afterwards, otherwise
    // `why` says what stood in the way.
    virtual bool makeFolders(const std::string& folder, std::string& why) = 0;
    // At most `limit` bytes of the regular file at `path`. False, without waiting, when there
    // is no regular file there (a FIFO, a device or a folder is never read) or it cannot be read.
    virtual bool readFile(const std::string& path, std::size_t limit, std::string& bytes) = 0;
    // Makes `bytes` the whole content of the file at `path` in one step: a temporary file of this
    // save's own, in the same folder, flushed to disk and then moved over the file, and never
    // left behind. A file that is a symbolic link stays one (its target is replaced); a file the
    // user may not write is left as it is. True on success, otherwise `why` says what failed.
    virtual bool replaceFileContent(const std::string& path, const std::string& bytes,
                                    std::string& why) = 0;
};
