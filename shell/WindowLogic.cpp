#include "shell/WindowLogic.h"

#include "platform/WindowServices.h"
#include "screens/Commands.h"
#include "screens/Program.h"
#include "screens/Screens.h"
#include "shell/Settings.h"

namespace windowLogic {

namespace {

// A saved coordinate outside 0..limit (both included) puts that edge at 2.
int validCoordinate(int value, int limit) {
    return value < 0 || value > limit ? 2 : value;
}

}  // namespace

void startUp(Program& p) {
    // No file, or none readable: the initial texts stay and give the defaults.
    loadSettings(p.settings);
}

void savedPosition(Program& p, int& left, int& top) {
    int screenWidth = 0;
    int screenHeight = 0;
    windowServices().screenSize(screenWidth, screenHeight);
    // Entry 3 is the top edge, entry 4 the left.
    left = validCoordinate(p.settings.number(4), screenWidth);
    top = validCoordinate(p.settings.number(3), screenHeight);
}

void created(Program& p) {
    buildScreens(p);
}

void applyWindowFlags(Program& p) {
    applyTopmost(p);
    applyOpacity(p);
}

void destroyed(Program& p) {
    captureSettings(p);
}

void shutDown(Program& p) {
    saveSettings(p.settings);
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
void shutDown() {
    shutDown(program());
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
