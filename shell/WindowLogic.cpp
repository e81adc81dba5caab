#include "shell/WindowLogic.h"

#include "platform/WindowServices.h"
#include "screens/Commands.h"
#include "screens/Program.h"
#include "screens/Screens.h"
#include "shell/Settings.h"

namespace windowLogic {

namespace {

// The saved choices in force, checked against this program's piece sets and this screen.
Choices savedChoices(Program& p) {
    ChoiceLimits limits;
    limits.themeCount = p.skin.getThemeCount();
    windowServices().screenSize(limits.screenWidth, limits.screenHeight);
    return restoreChoices(p.settings, limits);
}

}  // namespace

void startUp(Program& p) {
    // No file, or none readable: the initial texts stay and give the defaults.
    loadSettings(p.settings);
}

void savedPosition(Program& p, int& left, int& top) {
    const Choices saved = savedChoices(p);
    left = saved.left;
    top = saved.top;
}

void created(Program& p) {
    buildScreens(p, savedChoices(p));
}

void applyWindowFlags(Program& p) {
    applyTopmost(p);
    applyOpacity(p);
}

void destroyed(Program& p) {
    captureSettings(p);
}

SaveOutcome shutDown(Program& p) {
    return saveSettings(p.settings);
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

void render(Program& p, DrawingSurface& offscreen) {
    drawPages(p.pageSet, offscreen);
}

void drawingSize(Program& p, int& width, int& height) {
    width = p.drawWidth;
    height = p.drawHeight;
}

void keyDown(Program& p, int virtualKey) {
    // The arrows move the board's cursor; other keys reach the game, which ignores them.
    p.gameBoard.keyPress(virtualKey);
    if (virtualKey == newGameKey) {
        restartGame(p, p.gameBoard.getLevel());
    }
}

void pointer(Program& p, PointerEvent event, int px, int py) {
    routePointer(p.pageSet, event, px, py,
                 [&p](int commandId, int commandParam) { onCommand(p, commandId, commandParam); });
}

// The program's own objects.
void startUp() {
    startUp(program());
}
void savedPosition(int& left, int& top) {
    savedPosition(program(), left, top);
}
void created() {
    created(program());
}
void applyWindowFlags() {
    applyWindowFlags(program());
}
void destroyed() {
    destroyed(program());
}
SaveOutcome shutDown() {
    return shutDown(program());
}
SaveOutcome sessionEnding() {
    return sessionEnding(program());
}
bool timerTick() {
    return timerTick(program());
}
void render(DrawingSurface& offscreen) {
    render(program(), offscreen);
}
void drawingSize(int& width, int& height) {
    drawingSize(program(), width, height);
}
void keyDown(int virtualKey) {
    keyDown(program(), virtualKey);
}
void pointer(PointerEvent event, int px, int py) {
    pointer(program(), event, px, py);
}

}  // namespace windowLogic
