// The screen builder: every control set up from the screens' table, and the saved choices.

#include "screens/Screens.h"

#include <variant>

#include "screens/BoardLayout.h"
#include "screens/ControlTable.h"
#include "screens/Program.h"

namespace {

template <typename... Kinds>
struct Overloaded : Kinds... {
    using Kinds::operator()...;
};
template <typename... Kinds>
Overloaded(Kinds...) -> Overloaded<Kinds...>;

void configureButton(Program& p, scobButton& button, const ControlRow& row, const Place& at) {
    const Look& look = row.look;
    button.init(at.x, at.y, at.height, at.width, &p.skin, look.textColour, look.fillColour,
                look.outlineColour, look.fontHeight, look.fontWidth, look.bold ? 1 : 0);
    for (std::size_t i = 0; i < row.texts.size(); ++i) {
        button.setText(row.texts[i], static_cast<int>(i) + 1);
    }
    button.setElement(look.element, 0);
    button.setAlign(look.align);
    button.setEnabled(look.takesInput);
}

// One control set up from its row and added to its Page.
void configure(Program& p, const ControlRow& row) {
    Place at = row.place;
    if (at.width < 0) {
        at.width = p.drawWidth;
        at.height = p.drawHeight;
    }
    const Look& look = row.look;
    std::visit(
        Overloaded{
            [&](scobImage Program::*member) {
                scobImage& image = p.*member;
                image.init(at.x, at.y, at.height, at.width, &p.skin, look.outlineColour, 1);
                image.setElement(look.element, 0);
            },
            [&](scobButton Program::*member) { configureButton(p, p.*member, row, at); },
            [&](scobStateButton Program::*member) { configureButton(p, p.*member, row, at); },
            [&](scobList Program::*member) {
                scobList& list = p.*member;
                list.init(at.x, at.y, at.height, at.width, listLook.indent, true, &p.skin);
                list.setFont(look.fontHeight, look.fontWidth, 0, 0, 0);
                const int* c = listLook.colours;
                list.setColours(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
                list.setMarks(-1, -1, -1, listLook.selectionMark);
                list.setTitle(row.texts.front());
                for (std::size_t i = 1; i < row.texts.size(); ++i) {
                    list.addItem(row.texts[i]);
                }
                list.setVisible(true);
            },
            [&](TicTacToe Program::*member) {
                TicTacToe& board = p.*member;
                board.setLayout(at.x, at.y, at.width, at.height, boardLayout::columns,
                                boardLayout::rows, &p.skin);
                const BoardLook& b = boardLook;
                board.setLook(b.lineColour, b.lineColour, b.cursorColour, b.lineWidth,
                              b.cursorWidth, look.element, -1, -1, -1, b.linesShown ? 1 : 0,
                              b.cursorShown ? 1 : 0);
            },
        },
        row.control);
    p.pageSet.pages[row.page].add(&controlOf(p, row), row.command, 0);
}

}  // namespace

void refreshLevelLabel(Program& p) {
    const int level = p.gameBoard.getLevel();
    std::string text = "Computer IQ:  ";
    // The game only ever holds levels 0 to 2; anything else shows no name rather than reading
    // past the names.
    if (level >= 0 && level < 3) {
        text += p.levelNames[level];
    }
    p.levelLabel.setText(text, 1);
}

void buildScreens(Program& p, const Choices& saved) {
    // Built once per window; starting from empty Pages keeps a second build from doubling them.
    for (Page& each : p.pageSet.pages) {
        each.clear();
    }
    p.skin.setTheme(saved.theme);
    for (int level = 0; level < 3; ++level) {
        p.levelNames[level] = computerLevelNames[level];
    }
    p.topmost = saved.topmost;
    p.transparent = saved.transparent;

    p.pageSet.pageCount = page::count;
    p.framePage().setVisible(true);
    p.boardPage().setVisible(true);
    p.settingsPage().setVisible(false);
    for (const ControlRow& row : controlTable()) {
        configure(p, row);
    }

    // The saved choices: the T and the pin show the window's modes, the lists the choices.
    p.transparencyButton.setState(p.transparent ? 2 : 1);
    p.topmostButton.setState(p.topmost ? 2 : 1);
    p.gameBoard.setLevel(saved.level);
    p.gameBoard.setFirstMover(saved.firstMover);
    refreshLevelLabel(p);
    p.gameBoard.newGame(saved.level);
    p.redrawPending = 1;
    p.firstMoveList.setSelected(p.gameBoard.getFirstMover() - 1);
    p.piecesList.setSelected(p.skin.getTheme());
    p.levelList.setSelected(p.gameBoard.getLevel());
}

Choices savedChoices(Program& p) {
    ChoiceLimits limits;
    limits.themeCount = p.skin.getThemeCount();
    p.services.screenSize(limits.screenWidth, limits.screenHeight);
    return restoreChoices(p.settings, limits);
}

void captureSettings(Program& p) {
    const std::optional<ScreenRect> rect = p.services.windowRect();
    Choices now;
    now.theme = p.skin.getTheme();
    now.topmost = p.topmost;
    now.transparent = p.transparent;
    // Where the window system does not tell the place, the window is where it was opened: at
    // the saved place, as it was read.
    const Choices saved = rect ? Choices() : savedChoices(p);
    now.top = rect ? rect->top : saved.top;
    now.left = rect ? rect->left : saved.left;
    now.level = p.gameBoard.getLevel();
    now.firstMover = p.gameBoard.getFirstMover();
    captureChoices(p.settings, now);
}
