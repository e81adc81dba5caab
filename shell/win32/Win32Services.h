// The window-system services of the Windows program: window calls, the shell, the files.
#pragma once

#include <windows.h>

#include "platform/WindowServices.h"

// The window-system services on Win32. The window is handed over when it is created; until
// then the window calls simply fail, which nothing depends on.
class Win32Services : public WindowServices {
  public:
    void setWindow(HWND handle) { window = handle; }
    // The whole scale the window is drawn at (the system's DPI and the player's zoom): every
    // point of the drawing area is that many pixels each way.
    void setScale(int pixelsPerPoint) override { scaleFactor = pixelsPerPoint; }
    void moveWindow(int left, int top) override;
    // The outer size of the window round a client area of width x height pixels at `dpi` (0:
    // the DPI the window has now), its frame as the system draws it there: per monitor where
    // the system has AdjustWindowRectExForDpi, else at the system's DPI.
    SIZE outerSize(int width, int height, int dpi = 0) const;
    int scale() const { return scaleFactor; }

    void startTimer(int timerId, int periodMs) override;
    void setDrawingSize(int width, int height) override;
    void clientSize(int& width, int& height) override;
    void setOpacity(int alpha) override;
    void setTopmost(bool on) override;
    std::optional<ScreenRect> windowRect() override;
    void screenSize(int& width, int& height) override;
    void openUrl(const std::string& address) override;
    bool leftButtonDown() override;
    // SPI_GETHIGHCONTRAST's flag, and then the system's colours (systemPalette).
    bool highContrast(ContrastPalette& palette) override;
    // The colours GetSysColor gives now, high contrast or not.
    static ContrastPalette systemPalette();
    std::int64_t clockSeconds() override;
    std::string settingsBase() override;
    bool makeFolders(const std::string& folder, std::string& why) override;
    bool readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    bool replaceFileContent(const std::string& path, const std::string& bytes,
                            std::string& why) override;

  private:
    HWND window = nullptr;
    int scaleFactor = 1;
};
