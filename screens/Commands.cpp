// What each control does when it is activated, by its command id.

#include "screens/Commands.h"

#include "screens/Program.h"
#include "screens/Screens.h"
#include "services/WebLinks.h"

void restartGame(Program& p, int level) {
    p.gameBoard.setLevel(level);
    refreshLevelLabel(p);
    p.gameBoard.newGame(level);
    p.redrawPending = 1;
}

void showGameState(Program& p) {
    // Not marked dirty: the board itself is dirty whenever the game changes.
    p.statusDisplay.setState(p.gameBoard.getState());
}

void applyTopmost(Program& p) {
    p.services.setTopmost(p.topmost);
}

void applyOpacity(Program& p) {
    p.services.setOpacity(p.transparent ? Program::transparentAlpha : Program::opaqueAlpha);
}

void onCommand(Program& p, int commandId, int /*commandParam*/) {
    switch (commandId) {
        case command::newGame:
            restartGame(p, p.gameBoard.getLevel());
            break;
        case command::openSettings:
            // Both screens repaint at the next tick: their controls are still marked dirty
            // from the click and from their last use.
            p.boardPage().setVisible(false);
            p.settingsPage().setVisible(true);
            break;
        case command::play:
            p.boardPage().setVisible(true);
            p.settingsPage().setVisible(false);
            // An untouched game restarts so that a new first mover applies at once; a finished
            // one makes way for the next; a game in progress goes on where it was left.
            if (p.gameBoard.isFresh() || game::isOver(p.gameBoard.getState())) {
                p.gameBoard.newGame(p.gameBoard.getLevel());
            }
            break;
        case command::firstMove: {
            const int row = p.firstMoveList.getSelected();
            if (row == 0 || row == 1) {
                p.gameBoard.setFirstMover(row == 0 ? game::PlayerTurn : game::ComputerTurn);
            }
            break;
        }
        case command::pieces: {
            const int row = p.piecesList.getSelected();
            if (row >= 0 && row < p.skin.getThemeCount()) {
                p.skin.setTheme(row);
            }
            break;
        }
        case command::level: {
            // Takes effect at the computer's next move; the running game goes on.
            const int row = p.levelList.getSelected();
            if (row >= game::Smart && row <= game::Moronic) {
                p.gameBoard.setLevel(row);
                refreshLevelLabel(p);
            }
            break;
        }
        case command::help:
            openWebLink(p.services, 1);
            break;
        case command::link:
            openWebLink(p.services, 2);
            break;
        case command::transparency:
            // The T picture steps itself on the same click.
            p.transparent = !p.transparent;
            applyOpacity(p);
            p.redrawPending = 1;
            break;
        case command::topmost:
            p.topmost = !p.topmost;
            applyTopmost(p);
            p.redrawPending = 1;
            break;
        default:
            // The backdrops, the board, the status display, the inert labels and unknown ids.
            break;
    }
}
