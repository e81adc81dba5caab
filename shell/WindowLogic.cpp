// The window's behaviour on every platform: start-up, the timer's tick, input, rendering, saving.

#include "shell/WindowLogic.h"

#include <algorithm>
#include <cmath>

#include "game/GameCodes.h"
#include "platform/Keys.h"
#include "platform/WindowServices.h"
#include "screens/Commands.h"
#include "screens/Program.h"
#include "screens/Screens.h"
#include "shell/KeyboardFocus.h"

namespace windowLogic {

namespace {

// A pointer event handed to every enabled control of the visible Pages, activations to the
// command handler.
void route(Program& p, PointerEvent event, int px, int py) {
    routePointer(p.pageSet, event, px, py,
                 [&p](int commandId, int commandParam) { onCommand(p, commandId, commandParam); });
}

// The window's frame round its drawing area, in pixels, as the window system has it now; none
// where it does not tell.
void frameExtent(Program& p, int& width, int& height) {
    width = height = 0;
    if (const std::optional<ScreenRect> outer = p.services.windowRect()) {
        width = std::max(0, outer->right - outer->left - drawingWidth * p.scale);
        height = std::max(0, outer->bottom - outer->top - drawingHeight * p.scale);
    }
}

// The window drawn at `scale` from now on, resized round its drawing area.
void rescale(Program& p, int scale) {
    p.scale = scale;
    p.services.setScale(scale);
    p.services.setDrawingSize(drawingWidth, drawingHeight);
    p.redrawPending = 1;
}

}  // namespace

int tickPeriodFor(int requestedMs) {
    return requestedMs < timerFloorMs ? timerFloorMs : requestedMs;
}

int scaleForDpi(double dpi) {
    const long whole = dpi > 0 && dpi < 96.0 * 100 ? std::lround(dpi / 96) : 1;
    return whole < 1 ? 1 : whole > maxScale ? maxScale : static_cast<int>(whole);
}

int scaleToCover(double devicePixels, int pixels) {
    // A thousandth of a pixel each way is the browser's rounding, not a larger screen.
    const double wanted = pixels > 0 && devicePixels > 0 ? devicePixels / pixels - 1e-3 : 1;
    return wanted <= 1 ? 1 : wanted >= maxScale ? maxScale : static_cast<int>(std::ceil(wanted));
}

bool openWindow(Program& p, WindowOpener& opener) {
    startUp(p);
    int left = 0, top = 0;
    savedPosition(p, left, top);
    // The window is made at the saved zoom where that fits the screen; `created` looks again
    // once the window's frame is known.
    p.scale = scaleForSteps(p, p.zoomSteps);
    p.services.setScale(p.scale);
    if (!opener.makeWindow(left, top)) {
        return false;
    }
    created(p);
    applyWindowFlags(p);
    opener.showWindow();
    return true;
}

void startUp(Program& p) {
    // No file, or none readable: the initial texts stay and give the defaults.
    loadSettings(p.settings, p.services);
    if (p.zoomable) {
        p.zoomSteps = p.savedZoomSteps = loadZoomSteps(p.services);
    }
}

void savedPosition(Program& p, int& left, int& top) {
    const Choices saved = savedChoices(p);
    left = saved.left;
    top = saved.top;
}

void created(Program& p) {
    p.services.startTimer(timerId, timerPeriodMs);
    p.services.setDrawingSize(drawingWidth, drawingHeight);
    // A saved zoom that no longer fits, with the window's own frame, falls back to one that does.
    if (const int fitting = scaleForSteps(p, p.zoomSteps); fitting != p.scale) {
        rescale(p, fitting);
    }
    p.services.clientSize(p.drawWidth, p.drawHeight);
    buildScreens(p, savedChoices(p));
    systemContrastChanged(p);
}

bool systemContrastChanged(Program& p) {
    ContrastPalette palette = p.contrastPalette;
    const bool on = p.services.highContrast(palette);
    setHighContrast(p, on, palette);
    return p.redrawPending == 1;
}

void applyWindowFlags(Program& p) {
    applyTopmost(p);
    applyOpacity(p);
}

void destroyed(Program& p) {
    captureSettings(p);
}

SaveOutcome shutDown(Program& p) {
    SaveOutcome outcome = saveSettings(p.settings, p.services);
    // The zoom file is written only once the player has changed the zoom, so that a player who
    // never zooms never has one.
    if (p.zoomSteps != p.savedZoomSteps) {
        SaveOutcome zoom = saveZoomSteps(p.zoomSteps, p.services);
        p.savedZoomSteps = zoom ? p.zoomSteps : p.savedZoomSteps;
        if (outcome && !zoom) {
            outcome = zoom;
        }
    }
    return outcome;
}

SaveOutcome sessionEnding(Program& p) {
    destroyed(p);
    return shutDown(p);
}

bool timerTick(Program& p) {
    // The game moves first, so a computer move is painted in the tick that makes it.
    p.gameBoard.tick();
    showGameState(p);
    if (anyVisibleDirty(p.pageSet)) {
        p.redrawPending = 1;
    }
    if (p.redrawPending != 1) {
        return false;
    }
    p.redrawPending = 0;
    return true;
}

bool wantsTicks(const Program& p) {
    // The status display takes the game's state only at a tick, also when nothing is redrawn.
    return p.gameBoard.getState() == game::ComputerTurn || p.redrawPending == 1 ||
           anyVisibleDirty(p.pageSet) || p.statusDisplay.getState() != p.gameBoard.getState();
}

void render(Program& p, DrawingSurface& offscreen) {
    if (p.highContrast) {
        drawHighContrast(p, offscreen);
    } else {
        drawPages(p.pageSet, offscreen);
    }
    drawFocusRing(p, offscreen);
}

void drawingSize(const Program& p, int& width, int& height) {
    width = p.drawWidth;
    height = p.drawHeight;
}

void setSystemScale(Program& p, int scale) {
    p.systemScale = p.scale = std::clamp(scale, 1, maxScale);
    p.zoomable = true;
    p.services.setScale(p.scale);
}

int currentScale(const Program& p) {
    return p.scale;
}

int largestFittingScale(const Program& p, int frameWidth, int frameHeight) {
    int screenWidth = 0, screenHeight = 0;
    p.services.screenSize(screenWidth, screenHeight);
    if (screenWidth <= 0 || screenHeight <= 0) {
        return maxScale;
    }
    int scale = maxScale;
    while (scale > p.systemScale && (drawingWidth * scale + frameWidth > screenWidth ||
                                     drawingHeight * scale + frameHeight > screenHeight)) {
        --scale;
    }
    return scale;
}

int scaleForSteps(Program& p, int steps) {
    int frameWidth = 0, frameHeight = 0;
    frameExtent(p, frameWidth, frameHeight);
    return std::clamp(p.systemScale + steps, p.systemScale,
                      largestFittingScale(p, frameWidth, frameHeight));
}

bool zoomTo(Program& p, int steps) {
    int frameWidth = 0, frameHeight = 0;
    frameExtent(p, frameWidth, frameHeight);
    const int scale = scaleForSteps(p, steps);
    // Steps beyond the largest that fits are not kept: Ctrl+Minus always makes it smaller.
    p.zoomSteps = scale - p.systemScale;
    if (scale == p.scale) {
        return false;
    }
    const std::optional<ScreenRect> before = p.services.windowRect();
    rescale(p, scale);
    if (before) {
        int screenWidth = 0, screenHeight = 0;
        p.services.screenSize(screenWidth, screenHeight);
        const int width = drawingWidth * scale + frameWidth;
        const int height = drawingHeight * scale + frameHeight;
        const int left = std::max(0, std::min(before->left, screenWidth - width));
        const int top = std::max(0, std::min(before->top, screenHeight - height));
        if (left != before->left || top != before->top) {
            p.services.moveWindow(left, top);
        }
    }
    return true;
}

int scaleAtSystemScale(Program& p, int systemScale) {
    const int kept = p.systemScale;
    p.systemScale = std::clamp(systemScale, 1, maxScale);
    const int scale = scaleForSteps(p, p.zoomSteps);
    p.systemScale = kept;
    return scale;
}

void drawingPixels(int scale, int& width, int& height) {
    width = drawingWidth * scale;
    height = drawingHeight * scale;
}

void systemScaleChanged(Program& p, int systemScale, int left, int top) {
    const int scale = scaleAtSystemScale(p, systemScale);
    // The player's steps stay as chosen, also where fewer fit on this monitor.
    p.systemScale = std::clamp(systemScale, 1, maxScale);
    rescale(p, scale);
    p.services.moveWindow(left, top);
}

void keyDown(Program& p, int virtualKey, bool shift, bool ctrl) {
    if (ctrl) {
        const int steps = p.scale - p.systemScale;
        if (virtualKey == key::plus || virtualKey == key::padPlus) {
            zoomTo(p, steps + 1);
            return;
        }
        if (virtualKey == key::minus || virtualKey == key::padMinus) {
            zoomTo(p, steps - 1);
            return;
        }
        if (virtualKey == key::digit0 || virtualKey == key::pad0) {
            zoomTo(p, 0);
            return;
        }
    }
    // The arrows move the board's cursor; other keys reach the game, which ignores them.
    const bool arrow = virtualKey == key::left || virtualKey == key::up ||
                       virtualKey == key::right || virtualKey == key::down;
    if (!(arrow && focusTakesArrows(p))) {
        p.gameBoard.keyPress(virtualKey);
    }
    if (virtualKey == key::newGame) {
        restartGame(p, p.gameBoard.getLevel());
    }
    int x = 0, y = 0;
    if (focusKey(p, virtualKey, shift, x, y)) {
        press(p, x, y);
    }
}

void pointer(Program& p, PointerEvent event, int px, int py) {
    // Playing with the pointer takes the keyboard's ring away, not its place.
    if (event == PointerEvent::LeftDown) {
        hideFocusRing(p);
    }
    route(p, event, px, py);
    if (event == PointerEvent::LeftUp) {
        settleFocus(p);
    }
}

void press(Program& p, int x, int y) {
    route(p, PointerEvent::LeftDown, x, y);
    route(p, PointerEvent::LeftUp, x, y);
    settleFocus(p);
}

}  // namespace windowLogic
