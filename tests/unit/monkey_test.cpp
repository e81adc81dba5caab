// A UI monkey: long seeded streams of random input through the real screens and routing, with
// the program's invariants checked after every single event. A failure names its seed and event
// number; VOK_MONKEY_SEED and VOK_MONKEY_EVENTS replay one stream.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/Keys.h"
#include "game/GameCodes.h"
#include "screens/Program.h"
#include "tests/unit/program_harness.h"

namespace {

// The same numbers on every platform and standard library (the distributions of <random> are
// not), so a seed reported by the Windows run replays natively.
class MonkeyRandom {
  public:
    explicit MonkeyRandom(std::uint64_t seed) : state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // low..high, both included.
    int between(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool chance(int percent) { return between(0, 99) < percent; }

  private:
    std::uint64_t state;
};

// Where the stream is, for the crash handler: a crash has no test failure to carry the seed.
std::uint64_t currentSeed = 0;
long currentEvent = -1;

extern "C" void reportCrash(int signalNumber) {
    std::fprintf(stderr, "\nmonkey crashed (signal %d) at seed %llu, event %ld\n", signalNumber,
                 static_cast<unsigned long long>(currentSeed), currentEvent);
    std::fflush(stderr);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

const char* const statusTexts[6] = {
    "", "Your Move", "Thinking...", "You Win !!!", "Computer wins", "Tie"};

bool hasLine(const ProgramHarness& h, int mark) {
    const TicTacToe& g = h.p.gameBoard;
    auto at = [&g, mark](int c, int r) { return g.getCell(c, r) == mark; };
    for (int k = 0; k < 3; ++k) {
        if ((at(k, 0) && at(k, 1) && at(k, 2)) || (at(0, k) && at(1, k) && at(2, k))) {
            return true;
        }
    }
    return (at(0, 0) && at(1, 1) && at(2, 2)) || (at(0, 2) && at(1, 1) && at(2, 0));
}

struct Monkey : ProgramHarness {
    MonkeyRandom random;
    std::uint64_t seed;
    long event = 0;
    // Who began the game on the board: seen at the start and whenever the board is empty.
    int starter = 0;
    // The last few events, so a failure says how it got there.
    std::string recent[8];

    explicit Monkey(std::uint64_t s) : random(s), seed(s) {}

    // A fresh program from a settings list of random numbers, in and out of range.
    void start() {
        const int values[] = {-1, 0, 1, 2, 3, 7, 42, -8};
        for (int i = 0; i < Settings::storedCount; ++i) {
            p.settings.store(i, values[random.between(0, 7)]);
        }
        fake().clock = 1000000000 + random.between(0, 100000);
        create();
        // The first game has just begun on an empty board; the first event may already be a
        // burst of ticks in which the computer opens it.
        starter = p.gameBoard.getState();
    }

    void note(const std::string& what) { recent[event % 8] = std::to_string(event) + " " + what; }
    std::string history() const {
        std::string text;
        for (long e = event - 7; e <= event; ++e) {
            if (e >= 0) {
                text += "    " + recent[e % 8] + "\n";
            }
        }
        return text;
    }

    // Anywhere in and around the window, or inside a control of a shown Page (most of the
    // window's life is spent on its controls, and that is where the commands are).
    void somewhere(int& x, int& y) {
        if (random.chance(40)) {
            x = random.between(-40, p.drawWidth + 40);
            y = random.between(-40, p.drawHeight + 40);
            return;
        }
        const Page& shown = p.pageSet.pages[random.between(0, page::count - 1)];
        if (!shown.isVisible() || shown.controlCount() == 0) {
            x = random.between(0, p.drawWidth);
            y = random.between(0, p.drawHeight);
            return;
        }
        const scob* control = shown.controlAt(random.between(0, shown.controlCount() - 1));
        x = control->getX() + random.between(-2, control->getWidth() + 2);
        y = control->getY() + random.between(-2, control->getHeight() + 2);
    }

    void pointerEvent(PointerEvent kind, int x, int y) {
        if (kind == PointerEvent::LeftDown) {
            fake().leftDown = true;
        } else if (kind == PointerEvent::LeftUp) {
            fake().leftDown = false;
        }
        windowLogic::pointer(p, kind, x, y);
    }

    // One random event; false when an invariant broke.
    bool step() {
        const int pick = random.between(0, 99);
        int x = 0, y = 0;
        somewhere(x, y);
        if (pick < 30) {
            note("move " + std::to_string(x) + "," + std::to_string(y));
            pointerEvent(PointerEvent::Move, x, y);
        } else if (pick < 45) {
            note("press " + std::to_string(x) + "," + std::to_string(y));
            pointerEvent(PointerEvent::LeftDown, x, y);
        } else if (pick < 60) {
            note("release " + std::to_string(x) + "," + std::to_string(y));
            pointerEvent(PointerEvent::LeftUp, x, y);
        } else if (pick < 72) {
            note("click " + std::to_string(x) + "," + std::to_string(y));
            pointerEvent(PointerEvent::LeftDown, x, y);
            pointerEvent(PointerEvent::LeftUp, x, y);
        } else if (pick < 82) {
            // N, the arrows, and now and then any other key.
            static const int keys[] = {key::newGame, key::left, key::up, key::right, key::down,
                                       'n',          13,        27,      32};
            const int key = random.chance(85) ? keys[random.between(0, 4)]
                                              : (random.chance(50) ? keys[random.between(5, 8)]
                                                                   : random.between(0, 255));
            note("key " + std::to_string(key));
            windowLogic::keyDown(p, key);
        } else if (pick < 85) {
            note("paint");
            paint();
        } else {
            // A burst of ticks: sometimes a few, sometimes the whole thinking pause and more.
            const int count = random.chance(70) ? random.between(1, 5) : random.between(15, 60);
            note("ticks " + std::to_string(count));
            fake().clock += random.between(0, 3);
            for (int i = 0; i < count; ++i) {
                if (!tickChecked()) {
                    return false;
                }
            }
        }
        return invariantsHold();
    }

    // One tick as the front end runs it, with the repaint it asks for.
    bool tickChecked() {
        // A front end may sleep through the ticks the logic does not want: such a tick must
        // change nothing that can be seen.
        const bool wanted = windowLogic::wantsTicks(p);
        const std::vector<int> board = cells();
        const int state = p.gameBoard.getState(), shown = p.statusDisplay.getState();
        const bool repaint = windowLogic::timerTick(p);
        if (!wanted && (repaint || cells() != board || p.gameBoard.getState() != state ||
                        (p.boardPage().isVisible() && p.statusDisplay.getState() != shown))) {
            return fail("a tick the window logic did not want changed what is shown");
        }
        if (p.statusDisplay.getState() != p.gameBoard.getState()) {
            return fail("the status display shows state " +
                        std::to_string(p.statusDisplay.getState()) + " after a tick in state " +
                        std::to_string(p.gameBoard.getState()));
        }
        if (!repaint) {
            if (anyVisibleDirty(p.pageSet)) {
                return fail("a tick left a dirty control of a shown Page unpainted");
            }
            return true;
        }
        RecordingSurface frame = paint();
        if (anyVisibleDirty(p.pageSet)) {
            return fail("a repaint left a control of a shown Page dirty");
        }
        if (p.boardPage().isVisible()) {
            const int state = p.gameBoard.getState();
            bool shown = false;
            for (const DrawCall& call : frame.only(DrawCall::Text)) {
                shown = shown ||
                        (call.left >= p.statusDisplay.getX() &&
                         call.left < p.statusDisplay.getX() + p.statusDisplay.getWidth() &&
                         call.top >= p.statusDisplay.getY() &&
                         call.top < p.statusDisplay.getY() + 5 && call.text == statusTexts[state]);
            }
            if (!shown) {
                return fail(std::string("the status plaque does not read \"") + statusTexts[state] +
                            "\"");
            }
        }
        return true;
    }

    bool invariantsHold() {
        const TicTacToe& g = p.gameBoard;
        // The drawn board is the board.
        int players = 0, computers = 0;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                const int mark = p.gameBoard.cellValue(c, r);
                if (mark != g.getCell(c, r)) {
                    return fail("grid cell " + std::to_string(c) + "," + std::to_string(r) +
                                " differs from the board");
                }
                if (mark < game::Empty || mark > game::ComputerMark) {
                    return fail("a cell holds " + std::to_string(mark));
                }
                players += mark == game::PlayerMark;
                computers += mark == game::ComputerMark;
            }
        }

        // The state agrees with the board.
        const int state = g.getState();
        if (state < game::PlayerTurn || state > game::Tied) {
            return fail("game state " + std::to_string(state));
        }
        if (players + computers == 0) {
            if (state != game::PlayerTurn && state != game::ComputerTurn) {
                return fail("an empty board in state " + std::to_string(state));
            }
            starter = state;
        }
        const bool playerLine = hasLine(*this, game::PlayerMark);
        const bool computerLine = hasLine(*this, game::ComputerMark);
        const bool full = players + computers == 9;
        switch (state) {
            case game::PlayerTurn:
            case game::ComputerTurn:
                if (playerLine || computerLine || full) {
                    return fail("a running game with a line or a full board");
                }
                break;
            case game::PlayerWon:
                if (!playerLine || computerLine) {
                    return fail("\"You Win !!!\" without the player's line alone");
                }
                break;
            case game::ComputerWon:
                if (!computerLine || playerLine) {
                    return fail("\"Computer wins\" without the computer's line alone");
                }
                break;
            case game::Tied:
                if (!full || playerLine || computerLine) {
                    return fail("a tie that is not a full board without a line");
                }
                break;
        }

        // The marks fit the turn order of the game's first mover.
        const int ahead = starter == game::PlayerTurn ? players - computers : computers - players;
        if (ahead < 0 || ahead > 1) {
            return fail(std::to_string(players) + " player and " + std::to_string(computers) +
                        " computer marks in a game begun by " +
                        (starter == game::PlayerTurn ? "the player" : "the computer"));
        }
        const bool starterToMove = ahead == 0;
        if ((state == game::PlayerTurn && starterToMove != (starter == game::PlayerTurn)) ||
            (state == game::ComputerTurn && starterToMove != (starter == game::ComputerTurn))) {
            return fail("the wrong side is to move");
        }

        // One screen at a time over the frame.
        if (p.pageSet.pageCount != page::count || !p.framePage().isVisible() ||
            p.boardPage().isVisible() == p.settingsPage().isVisible()) {
            return fail("not exactly one of the board and settings screens is shown");
        }

        // Lists select real rows; the values in force are in range.
        if (p.firstMoveList.getSelected() < 0 || p.firstMoveList.getSelected() > 1 ||
            p.piecesList.getSelected() < 0 || p.piecesList.getSelected() > 2 ||
            p.levelList.getSelected() < 0 || p.levelList.getSelected() > 2) {
            return fail("a list selects no row");
        }
        if (g.getLevel() < game::Smart || g.getLevel() > game::Moronic ||
            g.getFirstMover() < game::PlayerTurn || g.getFirstMover() > game::ComputerTurn ||
            p.skin.getTheme() < 0 || p.skin.getTheme() >= p.skin.getThemeCount()) {
            return fail("a level, first mover or piece set out of range");
        }
        if (p.levelLabel.getText(1) != "Computer IQ:  " + p.levelNames[g.getLevel()]) {
            return fail("the level label reads \"" + p.levelLabel.getText(1) + "\"");
        }
        if (p.redrawPending != 0 && p.redrawPending != 1) {
            return fail("redrawPending is " + std::to_string(p.redrawPending));
        }
        return true;
    }

    bool fail(const std::string& what) {
        ADD_FAILURE() << "seed " << seed << ", event " << event << ": " << what
                      << "\n  last events:\n"
                      << history() << "  replay with VOK_MONKEY_SEED=" << seed
                      << " VOK_MONKEY_EVENTS=" << event + 1;
        return false;
    }

    // Runs `events` events; false at the first broken invariant.
    bool run(long events) {
        currentSeed = seed;
        start();
        for (event = 0; event < events; ++event) {
            currentEvent = event;
            if (!step()) {
                return false;
            }
        }
        currentEvent = -1;
        return true;
    }
};

long fromEnvironment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(Monkey, RandomInputKeepsEveryInvariant) {
    std::signal(SIGSEGV, reportCrash);
    std::signal(SIGABRT, reportCrash);
    std::signal(SIGFPE, reportCrash);

    // Four streams of 60,000 events, each from its own fresh program and settings.
    const long seedOverride = fromEnvironment("VOK_MONKEY_SEED", -1);
    const long events = fromEnvironment("VOK_MONKEY_EVENTS", 60000);
    std::uint64_t seeds[] = {1, 2, 3, 20240601};
    const int streams = seedOverride >= 0 ? 1 : 4;
    if (seedOverride >= 0) {
        seeds[0] = static_cast<std::uint64_t>(seedOverride);
    }
    long total = 0;
    for (int s = 0; s < streams; ++s) {
        Monkey monkey(seeds[s]);
        if (!monkey.run(events)) {
            break;
        }
        total += events;
    }
    if (seedOverride < 0) {
        EXPECT_GE(total, 200000);
        // Many short streams: the first events after a start are where a fresh program differs.
        for (std::uint64_t seed = 0; seed < 500; ++seed) {
            Monkey monkey(seed);
            if (!monkey.run(20)) {
                break;
            }
        }
    }

    std::signal(SIGSEGV, SIG_DFL);
    std::signal(SIGABRT, SIG_DFL);
    std::signal(SIGFPE, SIG_DFL);
}

}  // namespace
