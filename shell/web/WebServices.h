// The window-system services of the page: the canvas, new tabs, and the browser's local storage.
#pragma once

#include "platform/WindowServices.h"
#include "shell/WindowLogic.h"

// The browser's services. Files live in the page's local storage, one item per file, keyed by
// the file's path; there are no folders. The page has no window of its own, nor a place.
class WebServices : public WindowServices {
  public:
    // The period of the interval the page ticks at.
    int timerPeriodMs() const { return tickPeriod; }
    // The left button's state, from a mouse event's `buttons`.
    void noteButtons(unsigned buttons) { leftHeld = (buttons & 1) != 0; }

    void startTimer(int timerId, int periodMs) override;
    void setDrawingSize(int width, int height) override;
    void clientSize(int& width, int& height) override;
    // The browser scales the page itself (its own zoom), and a page has no place to move to.
    void setScale(int /*scale*/) override {}
    void moveWindow(int /*left*/, int /*top*/) override {}
    // The canvas's CSS opacity.
    void setOpacity(int alpha) override;
    // Kept by the program and saved; a page cannot stay above other windows.
    void setTopmost(bool on) override;
    // A page has no place on the screen of its own: the saved one is kept as it was.
    std::optional<ScreenRect> windowRect() override { return std::nullopt; }
    void screenSize(int& width, int& height) override;
    // A new tab without a way back to this page (noopener), opened at once: only inside the
    // input event that asks for it does the browser let it through.
    void openUrl(const std::string& address) override;
    bool leftButtonDown() override { return leftHeld; }
    std::int64_t clockSeconds() override;
    // "/": the settings item is keyed "/vok/vudezazivaze/vudezazivaze.ini".
    std::string settingsBase() override { return "/"; }
    bool makeFolders(const std::string& folder, std::string& why) override;
    // Storage that cannot be read is reported on the console and reads as no file.
    bool readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    // One setItem; storage that is full or refused says why.
    bool replaceFileContent(const std::string& path, const std::string& bytes,
                            std::string& why) override;

  private:
    int tickPeriod = windowLogic::tickPeriodFor(windowLogic::timerPeriodMs);
    int drawWidth = windowLogic::drawingWidth;
    int drawHeight = windowLogic::drawingHeight;
    bool leftHeld = false;
};
