// Arbitrary bytes as the settings file: the program reads them at start-up, builds its screens
// from them, runs, and saves its choices again. Whatever the file holds, nothing may crash or
// trip a sanitizer, the values in force must be the ones an independent reading of the same
// bytes finds, and what is saved must read back the same.

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
#include "services/Settings.h"
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
        made.base = (std::filesystem::current_path() / name).string() + "/";
        std::filesystem::create_directories(made.base + "vok/vudezazivaze");
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

// The choices the bytes stand for, read here without the program's own reader: at most the
// first 4 KiB; one entry per line (a line ends at LF, a CR before it is dropped), at most 19
// characters of it; each read as C's strtol would in base 10, clamped to 32 bits; then each
// value checked against its own range.
struct Expected {
    long theme = 0, topmost = 0, transparent = 0, top = 0, left = 0, level = 0, firstMover = 1;
};

Expected expectedFrom(const std::uint8_t* data, std::size_t size, int screenWidth,
                      int screenHeight) {
    std::string lines[7];
    std::size_t line = 0;
    for (std::size_t i = 0; i < size && i < 4096 && line < 7; ++i) {
        if (data[i] == '\n') {
            ++line;
        } else {
            lines[line].push_back(static_cast<char>(data[i]));
        }
    }
    long value[7] = {};
    for (int i = 0; i < 7; ++i) {
        std::string text = lines[i];
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        text = text.substr(0, 19);
        std::size_t at = 0;
        while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
            ++at;
        }
        bool negative = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negative = text[at++] == '-';
        }
        long long number = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
            number = number * 10 + (text[at] - '0');
            if (number > 2147483648LL) {
                number = 2147483648LL;
            }
        }
        number = negative ? -number : number;
        value[i] = number > 2147483647LL ? 2147483647L : static_cast<long>(number);
    }
    auto within = [](long v, long low, long high, long fallback) {
        return v < low || v > high ? fallback : v;
    };
    Expected e;
    e.theme = within(value[0], 0, 2, 0);
    e.topmost = value[1] != 0;
    e.transparent = value[2] != 0;
    e.top = within(value[3], 0, screenHeight, 2);
    e.left = within(value[4], 0, screenWidth, 2);
    e.level = within(value[5], 0, 2, 0);
    e.firstMover = within(value[6], 1, 2, 1);
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeServices& fake = services();
    fake.opacities.clear();
    fake.topmostCalls.clear();
    {
        std::ofstream file(settingsPath(fake), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    auto p = std::make_unique<Program>(fake);
    windowLogic::startUp(*p);
    int left = -1, top = -1;
    windowLogic::savedPosition(*p, left, top);
    windowLogic::created(*p);
    windowLogic::applyWindowFlags(*p);

    // The values in force are the ones the bytes stand for.
    const TicTacToe& g = p->gameBoard;
    const Expected e = expectedFrom(data, size, fake.screenWidth, fake.screenHeight);
    require(p->skin.getTheme() == e.theme, "piece set differs from the file", p->skin.getTheme());
    require(p->topmost == (e.topmost != 0), "always on top differs from the file", p->topmost);
    require(p->transparent == (e.transparent != 0), "transparency differs from the file",
            p->transparent);
    require(left == e.left, "left edge differs from the file", left);
    require(top == e.top, "top edge differs from the file", top);
    require(g.getLevel() == e.level, "level differs from the file", g.getLevel());
    require(g.getFirstMover() == e.firstMover, "first mover differs from the file",
            g.getFirstMover());
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
    require(loadSettings(reread, fake), "the saved file cannot be read", 0);
    for (int i = 0; i < Settings::storedCount; ++i) {
        require(reread[i] == p->settings[i], "entry read back differs", i);
    }
    return 0;
}
