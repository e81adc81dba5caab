// Idle timer ticks: the program waits for the player and nothing on the shown screen is dirty.
// Run under callgrind, which counts the instructions of `idleTicks` alone:
//
//     valgrind --tool=callgrind --toggle-collect=idleTicks idle_tick board|settings 10000

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "screens/Commands.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "tests/support/FakeServices.h"
#include "tests/support/NullSurface.h"

// Out of line and unmangled, so callgrind can count exactly these ticks.
extern "C" __attribute__((noinline)) int idleTicks(Program& program, int count) {
    int repaints = 0;
    for (int i = 0; i < count; ++i) {
        repaints += windowLogic::timerTick(program) ? 1 : 0;
    }
    return repaints;
}

int main(int argc, char** argv) {
    const bool settings = argc > 1 && std::strcmp(argv[1], "settings") == 0;
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;

    FakeServices services;
    auto program = std::make_unique<Program>(services);
    windowLogic::created(*program);
    if (settings) {
        onCommand(*program, command::openSettings, 0);
    }
    // Until the screen has been drawn and nothing more changes.
    NullSurface frame;
    for (int i = 0; i < 100; ++i) {
        if (windowLogic::timerTick(*program)) {
            windowLogic::render(*program, frame);
        }
    }

    const int repaints = idleTicks(*program, count);
    std::printf("%d idle ticks on the %s screen, %d of them repainted\n", count,
                settings ? "settings" : "board", repaints);
    return repaints == 0 ? 0 : 1;
}
