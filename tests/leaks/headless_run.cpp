// The Linux program's life without a person at the window: the same services, fonts, drawing
// surface and window logic as the real program, a window on SDL's display-less video driver,
// and many games played through clicks, keys and timer ticks, every repaint presented. Run
// under valgrind's memcheck, it must lose no memory.
//
//     headless_run [games]     (default 40; the leak check plays 200)

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <SDL.h>
#include <SDL_ttf.h>

#include "game/GameCodes.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "shell/sdl/SdlFonts.h"
#include "shell/sdl/SdlPresenter.h"
#include "shell/sdl/SdlServices.h"
#include "shell/sdl/SdlSurface.h"

namespace {

class Session {
  public:
    Session(SDL_Window* w, SdlFonts& fonts) : presenter(w, fonts) {}

    // As the program's event loop: the frame drawn off screen, then shown in one copy.
    void present() {
        presenter.paint();
        ++frames;
    }
    void tick() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        if (windowLogic::timerTick()) {
            present();
        }
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            tick();
        }
    }
    void click(int x, int y) {
        windowLogic::pointer(PointerEvent::Move, x, y);
        windowLogic::pointer(PointerEvent::LeftDown, x, y);
        windowLogic::pointer(PointerEvent::LeftUp, x, y);
        tick();
    }

    // The player takes the first free cell each turn; the computer answers.
    void playOneGame() {
        Program& p = program();
        for (int turn = 0; turn < 20 && !game::isOver(p.gameBoard.getState()); ++turn) {
            if (p.gameBoard.getState() == game::ComputerTurn) {
                ticks(25);
                continue;
            }
            for (int cell = 0; cell < 9; ++cell) {
                const int c = cell / 3, r = cell % 3;
                if (p.gameBoard.getCell(c, r) == game::Empty) {
                    click(21 + 78 * c + 39, 90 + 78 * r + 39);
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

    SdlPresenter presenter;
    long frames = 0;
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
    int status = 0;
    {
        SdlFonts fonts;
        SdlServices services;
        setWindowServices(&services);
        windowLogic::startUp();
        int left = 0, top = 0, width = 0, height = 0;
        windowLogic::savedPosition(left, top);
        services.clientSize(width, height);
        SDL_Window* window = SDL_CreateWindow("headless", left, top, width, height, 0);
        if (!fonts.available() || !window) {
            std::fprintf(stderr, "headless_run: no font or no window: %s\n", SDL_GetError());
            status = 2;
        } else {
            services.attach(window);
            windowLogic::created();
            windowLogic::applyWindowFlags();
            {
                Session session(window, fonts);
                session.present();
                for (int round = 0; round < rounds; ++round) {
                    session.playOneGame();
                    if (round % 4 == 3) {
                        session.changeSettings(round / 4);
                    }
                    if (round % 5 == 4) {
                        windowLogic::keyDown(newGameKey);
                        windowLogic::keyDown(39);
                    }
                    if (round % 7 == 6) {
                        session.click(355, 10);  // transparency
                        session.click(375, 10);  // always on top
                    }
                    session.click(321, 110);  // "New Game"
                }
                std::printf("headless_run: %ld games, %ld frames\n", session.games, session.frames);
            }
            windowLogic::destroyed();
            services.attach(nullptr);
            SDL_DestroyWindow(window);
            windowLogic::shutDown();
        }
        setWindowServices(nullptr);
    }
    TTF_Quit();
    SDL_Quit();
    return status;
}
