// The program's skin: the three Themes' pictures and colours.
#pragma once

#include "scob/scobSkin.h"

// The program's skin: three Themes, one per piece set ("Traditional", "Colors", "Fish"), that
// differ only in the pictures of the board pieces.
class skinInstance : public scobSkin {
  public:
    skinInstance() { skinInstance::defineThemes(); }
    void defineThemes() override;
};

// Element ids the screens use.
namespace element {
constexpr int background = 4;
constexpr int pieces = 12;
constexpr int pin = 23;
constexpr int titleStrip = 24;
constexpr int question = 25;
constexpr int woodButton = 26;
constexpr int letterT = 29;
constexpr int statusPlaque = 30;
constexpr int selectionMark = 31;
}  // namespace element

// Colour elements the screens use; 8 and 17 are set in no Theme and read as black.
namespace colour {
constexpr int listText = 0;
constexpr int softGreen = 1;
constexpr int paleGreen = 2;
constexpr int rowGreen = 3;
constexpr int white = 4;
constexpr int black = 5;
constexpr int red = 6;
constexpr int whiteText = 7;
constexpr int none8 = 8;    // unset in every Theme: black
constexpr int none17 = 17;  // unset in every Theme: black
}  // namespace colour
