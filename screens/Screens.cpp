// The screen builder: every control's place, look and command id, and the saved choices.

#include "screens/Screens.h"

#include "screens/BoardLayout.h"
#include "screens/Program.h"
#include "services/WebLinks.h"

namespace {

// The small picture buttons of the title strip share their look.
void initStripButton(Program& p, scobButton& button, int x, int elementId) {
    button.init(x, 1, 20, 20, &p.skin, colour::whiteText, colour::none8, colour::paleGreen, 15, 6,
                1);
    button.setText("", 1);
    button.setElement(elementId, 0);
}

void initList(Program& p, scobList& list, int x, const char* title) {
    list.init(x, 50, 20, 105, 25, true, &p.skin);
    list.setFont(15, 6, 0, 0, 0);
    list.setColours(colour::listText, colour::rowGreen, colour::listText, colour::softGreen,
                    colour::listText, colour::paleGreen, colour::listText, colour::rowGreen);
    list.setMarks(-1, -1, -1, element::selectionMark);
    list.setTitle(title);
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
    p.levelNames[0] = "Smart";
    p.levelNames[1] = "Average";
    p.levelNames[2] = "Moronic";

    p.topmost = saved.topmost;
    p.transparent = saved.transparent;

    p.pageSet.pageCount = page::count;
    p.framePage().setVisible(true);
    p.boardPage().setVisible(true);
    p.settingsPage().setVisible(false);

    // Frame page; the settings backdrop is made here too so that it is its Page's first control.
    p.backgroundImage.init(0, 0, p.drawHeight, p.drawWidth, &p.skin, colour::paleGreen, 1);
    p.backgroundImage.setElement(element::background, 0);
    p.framePage().add(&p.backgroundImage, command::background, 0);

    p.settingsBackdrop.init(0, 0, p.drawHeight, p.drawWidth, &p.skin, colour::paleGreen,
                            colour::white, colour::white, 0, 0, 0);
    p.settingsBackdrop.setElement(-1, 0);
    p.settingsPage().add(&p.settingsBackdrop, command::background, 0);

    p.titleStrip.init(0, 0, 20, 475, &p.skin, colour::whiteText, colour::none17, colour::none17, 15,
                      6, 1);
    p.titleStrip.setText("", 1);
    p.titleStrip.setElement(element::titleStrip, 0);
    p.titleStrip.setEnabled(false);
    p.framePage().add(&p.titleStrip, command::inert, 0);

    initStripButton(p, p.helpButton, 325, element::question);
    p.framePage().add(&p.helpButton, command::help, 0);

    initStripButton(p, p.transparencyButton, 345, element::letterT);
    p.transparencyButton.setState(p.transparent ? 2 : 1);
    p.transparencyButton.setEnabled(true);
    p.framePage().add(&p.transparencyButton, command::transparency, 0);

    initStripButton(p, p.topmostButton, 365, element::pin);
    p.topmostButton.setState(p.topmost ? 2 : 1);
    p.framePage().add(&p.topmostButton, command::topmost, 0);

    // The label lies over the title strip and, like it, takes no pointer input: a click on it
    // must not toggle a window mode behind the pin's back.
    p.levelLabel.init(3, 0, 20, 175, &p.skin, colour::black, colour::none8, colour::paleGreen, 15,
                      6, 1);
    p.levelLabel.setElement(element::titleStrip, 0);
    p.levelLabel.setAlign(0);
    p.levelLabel.setEnabled(false);
    p.framePage().add(&p.levelLabel, command::inert, 0);
    refreshLevelLabel(p);

    // Board: 3 x 3 cells of 78 pixels, black lines, no cursor frame.
    p.gameBoard.setLayout(boardLayout::left, boardLayout::top,
                          boardLayout::columns * boardLayout::cellSize,
                          boardLayout::rows * boardLayout::cellSize, boardLayout::columns,
                          boardLayout::rows, &p.skin);
    p.gameBoard.setLook(colour::black, colour::black, colour::red, 1, 3, element::pieces, -1, -1,
                        -1, 1, 0);
    p.boardPage().add(&p.gameBoard, command::board, 0);

    p.gameBoard.setLevel(saved.level);
    p.gameBoard.setFirstMover(saved.firstMover);
    refreshLevelLabel(p);
    p.gameBoard.newGame(saved.level);
    p.redrawPending = 1;

    // The rest of the board screen.
    p.statusDisplay.init(87, 40, 30, 100, &p.skin, colour::black, colour::none8, colour::paleGreen,
                         15, 6, 1);
    p.statusDisplay.setText("Your Move", 1);
    p.statusDisplay.setText("Thinking...", 2);
    p.statusDisplay.setText("You Win !!!", 3);
    p.statusDisplay.setText("Computer wins", 4);
    p.statusDisplay.setText("Tie", 5);
    p.statusDisplay.setElement(element::statusPlaque, 0);
    p.boardPage().add(&p.statusDisplay, command::status, 0);

    // -26: the wooden picture's id made negative, so the button draws its own rectangle.
    p.newGameButton.init(281, 95, 31, 80, &p.skin, colour::softGreen, colour::black, colour::black,
                         15, 6, 1);
    p.newGameButton.setText("New Game", 1);
    p.newGameButton.setElement(-element::woodButton, 0);
    p.boardPage().add(&p.newGameButton, command::newGame, 0);

    p.settingsButton.init(281, 145, 20, 80, &p.skin, colour::softGreen, colour::black,
                          colour::black, 14, 6, 1);
    p.settingsButton.setText("Settings", 1);
    p.settingsButton.setElement(-element::woodButton, 0);
    p.boardPage().add(&p.settingsButton, command::openSettings, 0);

    // The rest of the settings screen.
    p.playButton.init((p.windowWidth - 100) / 2, 185, 80, 100, &p.skin, colour::whiteText,
                      colour::red, colour::black, 27, 13, 1);
    p.playButton.setText("Play !", 1);
    p.playButton.setElement(-1, 0);
    p.settingsPage().add(&p.playButton, command::play, 0);

    p.linkLabel.init((p.windowWidth - 200) / 2, p.windowHeight - 60, 25, 200, &p.skin,
                     colour::black, colour::white, colour::black, 15, 6, 1);
    p.linkLabel.setText(publisherAddress(), 1);
    p.linkLabel.setElement(-1, 0);
    p.settingsPage().add(&p.linkLabel, command::link, 0);

    const int u = (p.windowWidth - 325) / 4;

    initList(p, p.firstMoveList, u, "First Move");
    p.firstMoveList.addItem("You");
    p.firstMoveList.addItem("Computer");
    p.firstMoveList.setVisible(true);
    p.firstMoveList.setSelected(p.gameBoard.getFirstMover() - 1);
    p.settingsPage().add(&p.firstMoveList, command::firstMove, 0);

    initList(p, p.piecesList, 2 * u + 105, "Pieces");
    p.piecesList.addItem("Traditional");
    p.piecesList.addItem("Colors");
    p.piecesList.addItem("Fish");
    p.piecesList.setVisible(true);
    p.piecesList.setSelected(p.skin.getTheme());
    p.settingsPage().add(&p.piecesList, command::pieces, 0);

    initList(p, p.levelList, 3 * u + 210, "Computer IQ");
    for (const std::string& name : p.levelNames) {
        p.levelList.addItem(name);
    }
    p.levelList.setVisible(true);
    p.levelList.setSelected(p.gameBoard.getLevel());
    p.settingsPage().add(&p.levelList, command::level, 0);
}

void captureSettings(Program& p) {
    const ScreenRect rect = p.services.windowRect();
    Choices now;
    now.theme = p.skin.getTheme();
    now.topmost = p.topmost;
    now.transparent = p.transparent;
    now.top = rect.top;
    now.left = rect.left;
    now.level = p.gameBoard.getLevel();
    now.firstMover = p.gameBoard.getFirstMover();
    captureChoices(p.settings, now);
}
