// The screens' controls in one table.

#include "screens/ControlTable.h"

#include "screens/BoardLayout.h"
#include "screens/Program.h"
#include "services/WebLinks.h"

const ListLook listLook = {
    25,
    {colour::listText, colour::rowGreen, colour::listText, colour::softGreen, colour::listText,
     colour::paleGreen, colour::listText, colour::rowGreen},
    element::selectionMark};

const BoardLook boardLook = {colour::black, colour::red, 1, 3, true, false};

const char* const computerLevelNames[3] = {"Smart", "Average", "Moronic"};

namespace {

// The small picture buttons of the title strip share their look.
Look stripButton(int elementId) {
    return Look()
        .picture(elementId)
        .colours(colour::whiteText, colour::none8, colour::paleGreen)
        .font(15, 6, true);
}

// "New Game" and "Settings": the wooden picture's id made negative, so the button draws its own
// black rectangle.
Look woodenButton(int fontHeight) {
    return Look()
        .picture(-element::woodButton)
        .colours(colour::softGreen, colour::black, colour::black)
        .font(fontHeight, 6, true);
}

Spoken as(ItemRole role, const char* name = nullptr) {
    return {role, name, false};
}
const Spoken backdrop{ItemRole::Label, nullptr, true};

std::vector<ControlRow> makeTable() {
    using P = Program;
    // Each row: the Page; the control; its place (x, y, width, height); its look; its texts; its
    // command; what assistive technology calls it. The settings screen's items are centred on
    // the Windows window's classic outer width of 390.
    return {
        // The frame page: parchment, the title strip with the level label, "?", T and the pin.
        {page::frame,
         &P::backgroundImage,
         wholeArea,
         Look().picture(element::background).colours(0, 0, colour::paleGreen).deaf(),
         {},
         command::background,
         backdrop},
        {page::frame,
         &P::titleStrip,
         {0, 0, 475, 20},
         Look()
             .picture(element::titleStrip)
             .colours(colour::whiteText, colour::none17, colour::none17)
             .font(15, 6, true)
             .deaf(),
         {""},
         command::inert,
         as(ItemRole::Label)},
        {page::frame,
         &P::helpButton,
         {325, 1, 20, 20},
         stripButton(element::question),
         {""},
         command::help,
         as(ItemRole::Button, "Help")},
        {page::frame,
         &P::transparencyButton,
         {345, 1, 20, 20},
         stripButton(element::letterT),
         {""},
         command::transparency,
         as(ItemRole::Toggle, "Translucent")},
        {page::frame,
         &P::topmostButton,
         {365, 1, 20, 20},
         stripButton(element::pin),
         {""},
         command::topmost,
         as(ItemRole::Toggle, "Keep on top")},
        // Over the strip, and like it deaf to the pointer: a click on it must not toggle a
        // window mode behind the pin's back. Its text follows the level (`refreshLevelLabel`).
        {page::frame,
         &P::levelLabel,
         {3, 0, 175, 20},
         Look()
             .picture(element::titleStrip)
             .colours(colour::black, colour::none8, colour::paleGreen)
             .font(15, 6, true)
             .leftAligned()
             .deaf(),
         {},
         command::inert,
         as(ItemRole::Label)},

        // The board screen.
        {page::board,
         &P::gameBoard,
         {boardLayout::left, boardLayout::top, boardLayout::columns * boardLayout::cellSize,
          boardLayout::rows * boardLayout::cellSize},
         Look().picture(element::pieces),
         {},
         command::board,
         as(ItemRole::Board, "Board")},
        {page::board,
         &P::statusDisplay,
         {87, 40, 100, 30},
         Look()
             .picture(element::statusPlaque)
             .colours(colour::black, colour::none8, colour::paleGreen)
             .font(15, 6, true),
         {"Your Move", "Thinking...", "You Win !!!", "Computer wins", "Tie"},
         command::status,
         as(ItemRole::Status)},
        {page::board,
         &P::newGameButton,
         {281, 95, 80, 31},
         woodenButton(15),
         {"New Game"},
         command::newGame,
         as(ItemRole::Button)},
        {page::board,
         &P::settingsButton,
         {281, 145, 80, 20},
         woodenButton(14),
         {"Settings"},
         command::openSettings,
         as(ItemRole::Button)},

        // The settings screen, on white.
        {page::settings,
         &P::settingsBackdrop,
         wholeArea,
         Look().colours(colour::paleGreen, colour::white, colour::white),
         {},
         command::background,
         backdrop},
        {page::settings,
         &P::playButton,
         {145, 185, 100, 80},
         Look().colours(colour::whiteText, colour::red, colour::black).font(27, 13, true),
         {"Play !"},
         command::play,
         as(ItemRole::Button)},
        {page::settings,
         &P::linkLabel,
         {95, 330, 200, 25},
         Look().colours(colour::black, colour::white, colour::black).font(15, 6, true),
         {publisherAddress()},
         command::link,
         as(ItemRole::Link)},
        {page::settings,
         &P::firstMoveList,
         {16, 50, 105, 20},
         Look().font(15, 6, false),
         {"First Move", "You", "Computer"},
         command::firstMove,
         as(ItemRole::RadioGroup)},
        {page::settings,
         &P::piecesList,
         {137, 50, 105, 20},
         Look().font(15, 6, false),
         {"Pieces", "Traditional", "Colors", "Fish"},
         command::pieces,
         as(ItemRole::RadioGroup)},
        {page::settings,
         &P::levelList,
         {258, 50, 105, 20},
         Look().font(15, 6, false),
         {"Computer IQ", computerLevelNames[0], computerLevelNames[1], computerLevelNames[2]},
         command::level,
         as(ItemRole::RadioGroup)},
    };
}

}  // namespace

const std::vector<ControlRow>& controlTable() {
    static const std::vector<ControlRow> table = makeTable();
    return table;
}

scob& controlOf(Program& p, const ControlRow& row) {
    return std::visit([&p](auto member) -> scob& { return p.*member; }, row.control);
}

const scob& controlOf(const Program& p, const ControlRow& row) {
    return std::visit([&p](auto member) -> const scob& { return p.*member; }, row.control);
}

std::string shownTextOf(const Program& p, const ControlRow& row) {
    if (const auto* button = std::get_if<scobButton Program::*>(&row.control)) {
        return (p.**button).shownText();
    }
    if (const auto* stateButton = std::get_if<scobStateButton Program::*>(&row.control)) {
        return (p.**stateButton).shownText();
    }
    return {};
}
