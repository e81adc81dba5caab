// The window-system services of the Linux program: the window's on SDL, the rest POSIX's.
#pragma once

#include <SDL.h>

#include "shell/WindowLogic.h"
#include "shell/posix/PosixServices.h"

// The scale an X11 desktop asks of its programs: GDK_SCALE when it is a whole number (at most
// maxScale), else the Xft.dpi resource, else the display's DPI (windowLogic::scaleForDpi). A
// DPI of 0 is one not known.
int desktopScale(const char* gdkScale, double xftDpi, double displayDpi);

// The window is attached once it exists; until then the window operations do nothing and the
// sizes answer from what was asked. Every point of the drawing area is `scale` x `scale` units
// of the window: pixels on X11, the compositor's own units on Wayland (which it scales itself).
// Sizes are told in points, places on the screen in the window's units.
class SdlServices : public PosixServices {
  public:
    SdlServices();
    void attach(SDL_Window* window);

    // Set before the window is made, and by the zoom; the window's size follows at the next
    // setDrawingSize.
    void setScale(int scale) override;
    int scale() const { return unitsPerPoint; }

    // The period of the timer the event loop runs.
    int timerPeriodMs() const { return tickPeriod; }

    void startTimer(int timerId, int periodMs) override;
    void setDrawingSize(int width, int height) override;
    void clientSize(int& width, int& height) override;
    // The drawing area's corner put where the frame round it has its outer corner at (left,
    // top); nothing on Wayland.
    void moveWindow(int left, int top) override;
    void setOpacity(int alpha) override;
    void setTopmost(bool on) override;
    // The place last noted; none before the first, and none ever on Wayland.
    std::optional<ScreenRect> windowRect() override;
    void screenSize(int& width, int& height) override;
    bool leftButtonDown() override;

    // Notes where the window is now. The window's rectangle is always the last one noted, so
    // it can still be told once the display is gone.
    void noteWindowPlace();

  private:
    SDL_Window* sdlWindow = nullptr;
    bool placesTold = true;
    std::optional<ScreenRect> lastPlace;
    int tickPeriod = windowLogic::tickPeriodFor(windowLogic::timerPeriodMs);
    int drawWidth = windowLogic::drawingWidth;
    int drawHeight = windowLogic::drawingHeight;
    int unitsPerPoint = 1;
};
