#include "scob/skinInstance.h"

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
    {4, 0, 101},  {4, 1, 101},  {4, 2, 101},                               // parchment
    {7, 0, 603},  {7, 1, 603},  {7, 2, 603},                               //
    {8, 0, 607},  {8, 1, 607},  {8, 2, 607},                               // narrow parchment
    {10, 1, 612},                                                          //
    {23, 1, 614}, {23, 2, 615},                                            // pin flat / upright
    {24, 1, 616}, {24, 2, 616},                                            // title strip
    {25, 1, 617}, {25, 2, 618},                                            // question mark
    {26, 1, 619}, {26, 2, 620},                                            // wooden push button
    {27, 1, 630}, {28, 1, 631},                                            //
    {29, 1, 632}, {29, 2, 633},                                            // T, T with tick
    {30, 1, 732}, {30, 2, 733}, {30, 3, 734}, {30, 4, 735}, {30, 5, 736},  // status plaques
    {31, 0, 740}, {31, 1, 740},                                            // list selection mark
};

// The board pieces per Theme: empty cell, the player's piece, the computer's piece.
const int pieceBitmaps[3][3] = {
    {715, 700, 701},  // Traditional
    {731, 716, 717},  // Colors
    {739, 737, 738},  // Fish
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
