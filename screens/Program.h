// The program's long-lived objects: the skin, the Pages and controls, the game, the settings.
#pragma once

#include <string>

#include "game/TicTacToe.h"
#include "platform/WindowServices.h"
#include "scob/Page.h"
#include "scob/scobButton.h"
#include "scob/scobImage.h"
#include "scob/scobList.h"
#include "scob/scobStateButton.h"
#include "scob/skinInstance.h"
#include "screens/HighContrast.h"
#include "services/Settings.h"

// The three Pages the window uses.
namespace page {
constexpr int frame = 0;     // parchment, title strip, level label, help / T / pin
constexpr int board = 1;     // the board, the status, "New Game", "Settings"
constexpr int settings = 2;  // backdrop, the three lists, "Play !", the web address
constexpr int count = 3;
}  // namespace page

// What each control hands to `onCommand` when it reports activation.
namespace command {
constexpr int background = 1;  // the parchment and the settings backdrop: nothing
constexpr int board = 2;       // moves reach the game through the board itself
constexpr int newGame = 3;
constexpr int openSettings = 4;
constexpr int play = 5;
constexpr int firstMove = 6;
constexpr int pieces = 7;
constexpr int status = 8;  // nothing: the timer sets the status
constexpr int inert = 9;   // the title strip and the level label, which take no input
constexpr int help = 10;
constexpr int transparency = 11;
constexpr int topmost = 12;
constexpr int level = 15;
constexpr int link = 50;
}  // namespace command

// Every long-lived object of the program: the skin, the Pages and their controls, the game,
// the settings list and the window-wide values, and the window system they work through. Each
// front end owns one, of static storage duration, configured once when the window is created;
// tests build their own on the heap (the skin alone is about a megabyte).
struct Program {
    static constexpr int transparentAlpha = 190;  // opacity while `transparent`, of 255
    static constexpr int opaqueAlpha = 255;

    explicit Program(WindowServices& windowSystem) : services(windowSystem) {
        gameBoard.setServices(&services);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    WindowServices& services;

    skinInstance skin;
    PageSet pageSet;
    Settings settings;

    // Frame page.
    scobImage backgroundImage;
    scobButton titleStrip;
    scobButton helpButton;
    scobStateButton transparencyButton;
    scobStateButton topmostButton;
    scobButton levelLabel;

    // Board screen.
    TicTacToe gameBoard;
    scobStateButton statusDisplay;
    scobButton newGameButton;
    scobButton settingsButton;

    // Settings screen.
    scobButton settingsBackdrop;
    scobButton playButton;
    scobButton linkLabel;
    scobList firstMoveList;
    scobList piecesList;
    scobList levelList;

    bool topmost = false;
    bool transparent = false;
    // 1: the next timer tick repaints the window.
    int redrawPending = 0;
    // The keyboard focus of the desktop programs, kept by the window logic (shell/KeyboardFocus.h):
    // the row of the screens' table whose control it is on (-1 until the first Tab), and whether
    // its ring is shown (from a Tab until the next pointer press). Within a list it is on the
    // chosen row, within the board on the cursor's cell: their own state, not a copy.
    int focusRow = -1;
    bool focusRingShown = false;
    // The window's whole scale: the system's own and the player's zoom, kept as whole steps above
    // it (the zoom file's steps as read, so that an unchanged zoom is not written again).
    int systemScale = 1;
    bool zoomable = false;  // a desktop's window; the page's zoom is the browser's
    int zoomSteps = 0;
    int savedZoomSteps = 0;
    int scale = 1;
    // The drawing area, as measured in the window.
    int drawWidth = 0;
    int drawHeight = 0;
    // The high-contrast look the system asks for (screens/HighContrast.h), and its palette.
    bool highContrast = false;
    ContrastPalette contrastPalette = contrastPalette::windowsBlack;
    std::string levelNames[3];

    Page& framePage() { return pageSet.pages[page::frame]; }
    Page& boardPage() { return pageSet.pages[page::board]; }
    Page& settingsPage() { return pageSet.pages[page::settings]; }
};
