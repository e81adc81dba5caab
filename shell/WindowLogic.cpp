// The window's behaviour on every platform: start-up, the timer's tick, input, rendering, saving.

#include "shell/WindowLogic.h"

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
}

void savedPosition(Program& p, int& left, int& top) {
    const Choices saved = savedChoices(p);
    left = saved.left;
    top = saved.top;
}

void created(Program& p) {
    p.services.startTimer(timerId, timerPeriodMs);
    p.services.setDrawingSize(drawingWidth, drawingHeight);
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
    return saveSettings(p.settings, p.services);
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

void keyDown(Program& p, int virtualKey, bool shift) {
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
