// Arbitrary bytes as the settings file: the program reads them at start-up, builds its screens
// from them, runs, and saves its choices again. Whatever the file holds, nothing may crash or
// trip a sanitizer, the values in force must lie in their accepted ranges, and what is saved
// must read back the same.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "game/GameCodes.h"
#include "screens/Program.h"
#include "shell/Settings.h"
#include "shell/WindowLogic.h"
#include "tests/support/FakeServices.h"
#include "tests/support/NullSurface.h"

namespace {

[[noreturn]] void violated(const char* what, long value) {
    std::fprintf(stderr, "settings fuzzer: %s (%ld)\n", what, value);
    std::abort();
}

void require(bool holds, const char* what, long value = 0) {
    if (!holds) {
        violated(what, value);
    }
}

bool inRange(long value, long low, long high) {
    return value >= low && value <= high;
}

FakeServices& services() {
    static FakeServices fake = [] {
        FakeServices made;
        // A folder of this process's own: fuzzers running side by side must not share a file.
        const std::string name = "settings-" + std::to_string(getpid());
        made.folder = (std::filesystem::current_path() / name).string() + "/";
        std::filesystem::create_directories(made.folder);
        return made;
    }();
    return fake;
}

// A stored entry is the unsigned decimal text of a 32-bit value.
bool storedForm(const std::string& text) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeServices& fake = services();
    setWindowServices(&fake);
    fake.opacities.clear();
    fake.topmostCalls.clear();
    {
        std::ofstream file(fake.folder + settingsFileName, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    auto p = std::make_unique<Program>();
    windowLogic::startUp(*p);
    int left = -1, top = -1;
    windowLogic::savedPosition(*p, left, top);
    game::thinkCounter = 0;
    windowLogic::created(*p);
    windowLogic::applyWindowFlags(*p);

    // The values in force.
    const TicTacToe& g = p->gameBoard;
    require(inRange(left, 0, fake.screenWidth), "window left edge", left);
    require(inRange(top, 0, fake.screenHeight), "window top edge", top);
    require(inRange(p->skin.getTheme(), 0, p->skin.getThemeCount() - 1), "piece set",
            p->skin.getTheme());
    require(inRange(g.getLevel(), game::Smart, game::Moronic), "level", g.getLevel());
    require(inRange(g.getFirstMover(), game::PlayerTurn, game::ComputerTurn), "first mover",
            g.getFirstMover());
    require(g.getState() == g.getFirstMover(), "first game's state", g.getState());
    require(p->transparencyButton.getState() == (p->transparent ? 2 : 1), "T picture",
            p->transparencyButton.getState());
    require(p->topmostButton.getState() == (p->topmost ? 2 : 1), "pin picture",
            p->topmostButton.getState());
    require(!fake.opacities.empty() && (fake.opacities.back() == Program::transparentAlpha ||
                                        fake.opacities.back() == Program::opaqueAlpha),
            "opacity", fake.opacities.empty() ? -1 : fake.opacities.back());
    require(p->firstMoveList.getSelected() == g.getFirstMover() - 1, "First Move row",
            p->firstMoveList.getSelected());
    require(p->piecesList.getSelected() == p->skin.getTheme(), "Pieces row",
            p->piecesList.getSelected());
    require(p->levelList.getSelected() == g.getLevel(), "Computer IQ row",
            p->levelList.getSelected());
    require(p->levelLabel.getText(1) == "Computer IQ:  " + p->levelNames[g.getLevel()],
            "level label", 0);

    // A little life: the thinking pause, frames, then the window closes and saves.
    NullSurface frame;
    for (int i = 0; i < 25; ++i) {
        if (windowLogic::timerTick(*p)) {
            windowLogic::render(*p, frame);
        }
    }
    windowLogic::destroyed(*p);
    for (int i = 0; i < Settings::storedCount; ++i) {
        require(storedForm(p->settings[i]), "stored entry", i);
    }
    windowLogic::shutDown(*p);

    // What was saved reads back the same.
    Settings reread;
    require(loadSettings(reread), "the saved file cannot be read", 0);
    for (int i = 0; i < Settings::storedCount; ++i) {
        require(reread[i] == p->settings[i], "entry read back differs", i);
    }
    setWindowServices(nullptr);
    return 0;
}
