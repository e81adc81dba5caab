// The program's skin: the three Themes' pictures and colours.

#include "scob/skinInstance.h"

#include "scob/bitmapIds.h"

namespace {

// Colour elements 0..7, state 1; identical in every Theme.
const std::int32_t themeColours[8] = {
    0,         // list row and title text
    10078619,  // #9BC999: "New Game" / "Settings" text, list title fill
    14417884,  // #DCFFDB: list row under the pointer
    12117689,  // #B9E6B8: list row and selected row fill
    16777215,  // white: settings backdrop, link label fill
    0,         // black: labels, status text, plain button outlines and fill, board lines
    255,       // red: "Play !" fill
    16777215,  // white: "Play !" text
};

struct BitmapEntry {
    int element;
    int state;
    int bitmap;
};

// Pictures shared by every Theme. Ids 603, 612, 630 and 631 name no picture of the program;
// no control carries their elements, so they are never looked up.
const BitmapEntry sharedBitmaps[] = {
    {element::background, 0, bitmap::parchmentPage},
    {element::background, 1, bitmap::parchmentPage},
    {element::background, 2, bitmap::parchmentPage},
    {7, 0, 603},
    {7, 1, 603},
    {7, 2, 603},
    {8, 0, bitmap::parchmentNarrow},
    {8, 1, bitmap::parchmentNarrow},
    {8, 2, bitmap::parchmentNarrow},
    {10, 1, 612},
    {element::pin, 1, bitmap::pinFlat},
    {element::pin, 2, bitmap::pinUpright},
    {element::titleStrip, 1, bitmap::titleStrip},
    {element::titleStrip, 2, bitmap::titleStrip},
    {element::question, 1, bitmap::question},
    {element::question, 2, bitmap::questionPressed},
    {element::woodButton, 1, bitmap::woodButton},
    {element::woodButton, 2, bitmap::woodButtonPressed},
    {27, 1, 630},
    {28, 1, 631},
    {element::letterT, 1, bitmap::letterT},
    {element::letterT, 2, bitmap::letterTTicked},
    {element::statusPlaque, 1, bitmap::plaquePink},    // "Your Move"
    {element::statusPlaque, 2, bitmap::plaqueWood},    // "Thinking..."
    {element::statusPlaque, 3, bitmap::plaqueRed},     // "You Win !!!"
    {element::statusPlaque, 4, bitmap::plaqueOrange},  // "Computer wins"
    {element::statusPlaque, 5, bitmap::plaqueBlue},    // "Tie"
    {element::selectionMark, 0, bitmap::selectionMark},
    {element::selectionMark, 1, bitmap::selectionMark},
};

// The board pieces per Theme: empty cell, the player's piece, the computer's piece.
const int pieceBitmaps[3][3] = {
    {bitmap::blankTraditional, bitmap::ring, bitmap::cross},           // Traditional
    {bitmap::blankColors, bitmap::greenSquare, bitmap::orangeSquare},  // Colors
    {bitmap::blankFish, bitmap::stripedFish, bitmap::spottedFish},     // Fish
};

}  // namespace

void skinInstance::defineThemes() {
    static const char* const names[3] = {"1", "2", "3"};
    for (int theme = 0; theme < 3; ++theme) {
        themeNames[theme] = names[theme];
        for (int colour = 0; colour < 8; ++colour) {
            // Theme 0 gets the table, each later Theme a copy of the one before.
            colours[theme][colour][1] =
                theme == 0 ? themeColours[colour] : colours[theme - 1][colour][1];
        }
        for (const BitmapEntry& entry : sharedBitmaps) {
            bitmaps[theme][entry.element][entry.state] = entry.bitmap;
        }
        for (int mark = 0; mark < 3; ++mark) {
            bitmaps[theme][element::pieces][mark] = pieceBitmaps[theme][mark];
        }
        themeCount = theme + 1;
    }
    currentTheme = 0;
}
