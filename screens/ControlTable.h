// The screens' controls in one table: each control's Page, place, look, command and what
// assistive technology calls it. The screen builder configures the controls from it, and the
// description of the screen for assistive technology reads it.
#pragma once

#include <string>
#include <variant>
#include <vector>

struct Program;
class scob;
class scobButton;
class scobImage;
class scobList;
class scobStateButton;
class TicTacToe;

// What an item on screen is to a person. Each front end maps them to its platform's roles: the
// page to HTML and ARIA, Windows to MSAA's, Linux to AT-SPI's.
enum class ItemRole {
    Button,      // does something when pressed
    Toggle,      // a button that stays pressed while its mode is on
    RadioGroup,  // a list of choices of which one is chosen; its radios follow it
    Radio,       // one choice of a radio group
    Board,       // the group of the board's cells, which follow it
    Cell,        // one square of the board, played by pressing it
    Status,      // the game's status
    Label,       // a text that takes no input
    Link,        // a web address that opens in the browser when pressed
};
constexpr int itemRoleCount = static_cast<int>(ItemRole::Link) + 1;

// What each role is, on every platform: whether Tab stops at it (a list's rows and the board's
// cells are reached with the arrows), whether a press does something (its one action), whether
// it is on or off (pressed or checked), and whether members follow it in the description. Each
// platform's own table of roles, states and action follows the same rows (`coversEveryRole`).
struct RoleFacts {
    ItemRole item;
    bool tabStop;
    bool pressable;
    bool checkable;
    bool holdsMembers;
};
constexpr RoleFacts roleFacts[] = {
    {ItemRole::Button, true, true, false, false},     {ItemRole::Toggle, true, true, true, false},
    {ItemRole::RadioGroup, true, false, false, true}, {ItemRole::Radio, false, true, true, false},
    {ItemRole::Board, true, false, false, true},      {ItemRole::Cell, false, true, false, false},
    {ItemRole::Status, false, false, false, false},   {ItemRole::Label, false, false, false, false},
    {ItemRole::Link, true, true, false, false},
};

// Whether a table of roles has one row for each role, in the enum's order, so that a role's row
// is found by its value: checked where each table is written, `static_assert(coversEveryRole(t))`.
template <typename Row, int count>
constexpr bool coversEveryRole(const Row (&rows)[count]) {
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(rows[i].item) != i) {
            return false;
        }
    }
    return count == itemRoleCount;
}
static_assert(coversEveryRole(roleFacts));

constexpr const RoleFacts& factsOf(ItemRole role) {
    return roleFacts[static_cast<int>(role)];
}

// Which of the program's controls a row configures, by its member of `Program`.
using ControlMember =
    std::variant<scobImage Program::*, scobButton Program::*, scobStateButton Program::*,
                 scobList Program::*, TicTacToe Program::*>;

// Where a control lies, in drawing-area pixels. A list's height follows from its rows: in its
// place stands the height of one row.
struct Place {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
// The whole drawing area, whatever its size: the backdrops.
constexpr Place wholeArea{0, 0, -1, -1};

// How a control looks: its picture in the current Theme (an element id of the skin, negative
// for none), its colours (colour elements of the skin) and its font; whether it takes the
// pointer. Written in named steps: Look().picture(4).colours(7, 8, 2).font(15, 6, true). The
// lists' colours and marks and the board's lines are the same for all of them (`listLook`,
// `boardLook`).
struct Look {
    int element = -1;
    int textColour = 0;
    int fillColour = 0;
    int outlineColour = 0;
    int fontHeight = 0;
    int fontWidth = 0;
    bool bold = false;
    int align = 1;           // a button's text: 0 left, 1 centred
    bool takesInput = true;  // offered pointer events

    Look picture(int elementId) const {
        Look l = *this;
        l.element = elementId;
        return l;
    }
    Look colours(int text, int fill, int outline) const {
        Look l = *this;
        l.textColour = text;
        l.fillColour = fill;
        l.outlineColour = outline;
        return l;
    }
    Look font(int height, int width, bool isBold) const {
        Look l = *this;
        l.fontHeight = height;
        l.fontWidth = width;
        l.bold = isBold;
        return l;
    }
    Look leftAligned() const {
        Look l = *this;
        l.align = 0;
        return l;
    }
    Look deaf() const {
        Look l = *this;
        l.takesInput = false;
        return l;
    }
};

// What assistive technology calls a control: an item of `role`, named `name`, or by the text it
// shows when that is null (a list: by its title; a label or status without text is left out).
// A backdrop is no item: it hides what was drawn before it.
struct Spoken {
    ItemRole role = ItemRole::Label;
    const char* name = nullptr;
    bool backdrop = false;
};

// One control of the screens.
struct ControlRow {
    int page = 0;  // page::frame, page::board or page::settings
    ControlMember control;
    Place place;
    Look look;
    // A button's texts for its states 1, 2, ...; a list's title, then its items.
    std::vector<std::string> texts;
    int command = 0;  // what the Page hands to `onCommand` when the control is activated
    Spoken spoken;
};

// The lists' shared look: text indent, colours (item text and fill, title text and
// fill, text and fill under the pointer, selected text and fill) and the selected row's mark.
struct ListLook {
    int indent;
    int colours[8];
    int selectionMark;
};
extern const ListLook listLook;

// The board's lines and cursor frame (colour elements and pen widths), whether each shows, and
// its cells: columns x rows of `boardLayout::cellSize` (screens/BoardLayout.h).
struct BoardLook {
    int lineColour;
    int cursorColour;
    int lineWidth;
    int cursorWidth;
    bool linesShown;
    bool cursorShown;
};
extern const BoardLook boardLook;

// The computer's levels by name, in level order.
extern const char* const computerLevelNames[3];

// Every control, each Page's in its paint and routing order.
const std::vector<ControlRow>& controlTable();

// The control a row configures.
scob& controlOf(Program& program, const ControlRow& row);
const scob& controlOf(const Program& program, const ControlRow& row);
// The text a button shows now; "" for other controls.
std::string shownTextOf(const Program& program, const ControlRow& row);
