// The Linux program's life without a person at the window: the same life as the real program
// (its front end's state, text, frames, window logic), on SDL's display-less video driver, with
// many games played through clicks, keys and timer ticks, every repaint presented. Run
// under valgrind's memcheck, it must lose no memory.
//
//     headless_run [games]     (default 40; the leak check plays 200)

#include <cstdio>
#include <cstdlib>

#include <SDL.h>
#include <SDL_ttf.h>

#include "game/GameCodes.h"
#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "shell/sdl/SdlProgram.h"
#include "tests/support/BoardCells.h"

namespace {

Frontend frontend;
Program& program = frontend.program;

class Session {
  public:
    // As the program's event loop: the frame drawn off screen, then shown in one copy.
    void present() {
        paint(frontend);
        ++frames;
    }
    void tick() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        if (windowLogic::timerTick(program)) {
            present();
        }
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            tick();
        }
    }
    void click(int x, int y) {
        windowLogic::pointer(program, PointerEvent::Move, x, y);
        windowLogic::pointer(program, PointerEvent::LeftDown, x, y);
        windowLogic::pointer(program, PointerEvent::LeftUp, x, y);
        tick();
    }

    // The player takes the first free cell each turn; the computer answers.
    void playOneGame() {
        TicTacToe& game = program.gameBoard;
        for (int turn = 0; turn < 20 && !game::isOver(game.getState()); ++turn) {
            if (game.getState() == game::ComputerTurn) {
                ticks(25);
                continue;
            }
            for (const BoardCell& cell : boardCells) {
                if (game.getCell(cell.column, cell.row) == game::Empty) {
                    click(cell.x, cell.y);
                    break;
                }
            }
        }
        ++games;
    }

    // Settings: a first mover, a piece set and a level, then "Play !".
    void changeSettings(int n) {
        click(321, 155);
        click(60, 80 + 20 * (n % 2));
        click(190, 80 + 20 * (n % 3));
        click(300, 80 + 20 * ((n / 3) % 3));
        click(195, 225);
    }

    long frames = 1;  // the first frame, shown before the session starts
    long games = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
    // No display needed: SDL's dummy video driver still gives the window a surface.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "headless_run: cannot start SDL: %s\n", SDL_GetError());
        return 2;
    }
    // The program's own life, with this script in place of the person at the window.
    const auto script = [rounds](Frontend&) {
        Session session;
        for (int round = 0; round < rounds; ++round) {
            session.playOneGame();
            if (round % 4 == 3) {
                session.changeSettings(round / 4);
            }
            if (round % 5 == 4) {
                windowLogic::keyDown(program, key::newGame);
                windowLogic::keyDown(program, key::right);
            }
            if (round % 7 == 6) {
                session.click(355, 10);  // transparency
                session.click(375, 10);  // always on top
            }
            session.click(321, 110);  // "New Game"
        }
        std::printf("headless_run: %ld games, %ld frames\n", session.games, session.frames);
    };
    int status = 0;
    if (!frontend.text.available() || !runProgram(frontend, script)) {
        std::fprintf(stderr, "headless_run: no font or no window: %s\n", SDL_GetError());
        status = 2;
    }
    frontend.text.close();
    TTF_Quit();
    SDL_Quit();
    return status;
}
