// Saving the settings must never cost the player their choices: a process killed in the middle
// of a save leaves the old file or the new one, whole; a save that cannot be written leaves the
// old file as it was and the program running. Each case runs the Linux program's own services
// in a child process, so a crash or a kill shows as the child's end, not the test's.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "screens/Commands.h"
#include "screens/Program.h"
#include "services/Settings.h"
#include "shell/WindowLogic.h"
#include "shell/sdl/SdlServices.h"

namespace fs = std::filesystem;

namespace {

Settings settingsOf(std::initializer_list<std::int32_t> values) {
    Settings settings;
    int i = 0;
    for (std::int32_t value : values) {
        settings.store(i++, value);
    }
    return settings;
}

// The file a save of `settings` writes.
std::string fileText(const Settings& settings) {
    std::string text;
    for (int i = 0; i < Settings::storedCount; ++i) {
        text += settings[i] + "\n";
    }
    return text;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<no file>";
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Short and long lines, so that a cut or a mix of the two could not pass for either.
const Settings shortOnes = settingsOf({0, 0, 0, 2, 2, 0, 1});
const Settings longOnes = settingsOf({2, 1, 1, -8, 1234567890, 1, 2});

// Runs `body` in a child process with the Linux program's services; its exit status, as waitpid
// gives it. The child never returns into the test framework.
int inChild(const std::function<int(SdlServices&)>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        SdlServices services;
        _exit(body(services));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// One run of the program without a window: settings read, screens built, a few choices made,
// the window closed and the settings written, then the timer keeps going. 0 when all of it ran.
int runProgramOnce(SdlServices& services) {
    auto p = std::make_unique<Program>(services);
    windowLogic::startUp(*p);
    windowLogic::created(*p);
    onCommand(*p, command::topmost, 0);
    onCommand(*p, command::transparency, 0);
    p->gameBoard.setFirstMover(2);
    windowLogic::destroyed(*p);
    windowLogic::shutDown(*p);
    for (int i = 0; i < 100; ++i) {
        windowLogic::timerTick(*p);
    }
    // The failure is reported as one, not as success.
    return saveSettings(p->settings, services) ? 4 : 0;
}

class CrashSafeSaving : public ::testing::Test {
  protected:
    fs::path root;
    fs::path folder;
    std::string oldConfigHome;
    bool hadConfigHome = false;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::current_path() / "crashsafe_tmp" / info->name();
        fs::remove_all(root);
        fs::create_directories(root);
        folder = root / "vok" / "vudezazivaze";
        if (const char* home = std::getenv("XDG_CONFIG_HOME")) {
            hadConfigHome = true;
            oldConfigHome = home;
        }
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    }
    void TearDown() override {
        if (hadConfigHome) {
            setenv("XDG_CONFIG_HOME", oldConfigHome.c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        fs::remove_all(root);
        std::error_code ignored;
        fs::remove(root.parent_path(), ignored);
    }

    fs::path file() const { return folder / settingsFileName; }
    // Whatever a save left in the folder beside the settings file.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& each : fs::directory_iterator(folder, ignored)) {
            if (each.path().filename() != settingsFileName) {
                names.push_back(each.path().filename().string());
            }
        }
        return names;
    }

    void saveNow(const Settings& settings) {
        EXPECT_EQ(inChild([&settings](SdlServices& services) {
                      return saveSettings(settings, services) ? 0 : 1;
                  }),
                  0);
        ASSERT_EQ(readAll(file()), fileText(settings));
    }
};

TEST_F(CrashSafeSaving, AKillAtAnyMomentLeavesTheOldFileOrTheNewOneWhole) {
    saveNow(shortOnes);
    const std::string shortText = fileText(shortOnes);
    const std::string longText = fileText(longOnes);

    // How long one save takes here, so that the kills spread over several saves.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(inChild([](SdlServices& services) {
                  for (int i = 0; i < 20; ++i) {
                      saveSettings(i % 2 ? shortOnes : longOnes, services);
                  }
                  return 0;
              }),
              0);
    const auto perSave = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - started) /
                         20;
    const long spread = 4 * static_cast<long>(perSave.count()) + 500;

    const unsigned seed = 20240601;
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, spread);
    int sawShort = 0, sawLong = 0;
    const int trials = 250;
    for (int trial = 0; trial < trials; ++trial) {
        const pid_t pid = fork();
        if (pid == 0) {
            SdlServices services;
            for (;;) {
                saveSettings(longOnes, services);
                saveSettings(shortOnes, services);
            }
        }
        const long wait = delay(random);
        usleep(static_cast<useconds_t>(wait));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself in trial " << trial;

        const std::string text = readAll(file());
        ASSERT_TRUE(text == shortText || text == longText)
            << "trial " << trial << " (seed " << seed << ", killed after " << wait << " us) left:\n"
            << text;
        (text == shortText ? sawShort : sawLong)++;
    }
    // Both outcomes happen, or the kills all landed in the same place.
    EXPECT_GT(sawShort, 0);
    EXPECT_GT(sawLong, 0);

    // The temporary files the kills left behind go with the next save.
    saveNow(longOnes);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(CrashSafeSaving, AFileSizeLimitLeavesTheOldFileAndTheProgramRunning) {
    saveNow(shortOnes);
    const int status = inChild([](SdlServices& services) {
        // As a shell's `ulimit -f` would: every write beyond a few bytes fails.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        return runProgramOnce(services);
    });
    ASSERT_TRUE(WIFEXITED(status)) << "the program died";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAll(file()), fileText(shortOnes));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(CrashSafeSaving, SomethingStandingInTheWayLeavesWhatWasThere) {
    // The tests run as root, so only things in the way, not permissions, can stop a save.
    {
        SCOPED_TRACE("a file where the program's folder belongs");
        std::ofstream(root / "vok") << "not a folder";
        const int status = inChild(runProgramOnce);
        ASSERT_TRUE(WIFEXITED(status)) << "the program died";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(readAll(root / "vok"), "not a folder");
        fs::remove(root / "vok");
    }
    {
        SCOPED_TRACE("a folder where the settings file belongs");
        fs::remove(file());
        fs::create_directories(file());
        std::ofstream(file() / "keep") << "kept";
        const int status = inChild(runProgramOnce);
        ASSERT_TRUE(WIFEXITED(status)) << "the program died";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(readAll(file() / "keep"), "kept");
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }
}

}  // namespace

namespace {

// A saver of `settings` in a process of its own, not waited for.
pid_t startSaver(const Settings& settings) {
    const pid_t pid = fork();
    if (pid == 0) {
        SdlServices services;
        _exit(saveSettings(settings, services) ? 0 : 1);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST_F(CrashSafeSaving, TwoSaversAtOnceLeaveOneWholeFileAndNoTemporaryFile) {
    const Settings a = longOnes;
    const Settings b = settingsOf({1, 1, 0, 300, 400, 2, 1});
    const std::string oldText = fileText(shortOnes), aText = fileText(a), bText = fileText(b);
    saveNow(shortOnes);
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 1500);
    for (const bool killOne : {false, true}) {
        SCOPED_TRACE(killOne ? "one saver killed at a random moment" : "both savers finish");
        int sawA = 0, sawB = 0;
        for (int round = 0; round < 1000; ++round) {
            std::ofstream(file(), std::ios::binary | std::ios::trunc) << oldText;
            const pid_t first = startSaver(round % 2 ? a : b);
            const pid_t second = startSaver(round % 2 ? b : a);
            int wait = 0;
            if (killOne) {
                wait = delay(random);
                usleep(static_cast<useconds_t>(wait));
                kill(round % 3 ? second : first, SIGKILL);
            }
            const int firstStatus = waitFor(first), secondStatus = waitFor(second);
            const std::string text = readAll(file());
            ASSERT_TRUE(text == oldText || text == aText || text == bText)
                << "round " << round << " (seed " << seed << ", " << wait << " us) left:\n"
                << text;
            sawA += text == aText;
            sawB += text == bText;
            if (!killOne) {
                ASSERT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0 &&
                            WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0)
                    << "a save failed in round " << round;
                ASSERT_NE(text, oldText) << "round " << round;
                ASSERT_EQ(leftovers(), std::vector<std::string>{}) << "round " << round;
            }
        }
        EXPECT_GT(sawA, 0);
        EXPECT_GT(sawB, 0);
    }
    // What the killed savers left goes with the next save.
    saveNow(shortOnes);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(CrashSafeSaving, LinksAtTheNamesASaverMayTryAreNeverWrittenThrough) {
    saveNow(shortOnes);
    const fs::path victims = root / "victims";
    fs::create_directories(victims);
    for (const int planted : {temporaryFileTries, temporaryFileTries / 2}) {
        SCOPED_TRACE(std::to_string(planted) + " names taken");
        // The saver waits until every name it will try first holds a link: to a file of
        // someone else's, or to a file that does not exist yet.
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        const pid_t saver = fork();
        if (saver == 0) {
            char byte = 0;
            close(go[1]);
            if (read(go[0], &byte, 1) != 1) {
                _exit(3);
            }
            SdlServices services;
            _exit(saveSettings(longOnes, services) ? 0 : 1);
        }
        close(go[0]);
        std::vector<fs::path> links;
        for (int n = 0; n < planted; ++n) {
            const fs::path victim = victims / ("victim-" + std::to_string(n));
            if (n % 2 == 0) {
                std::ofstream(victim) << "someone else's";
            }
            links.push_back(temporaryFileName(file().string(), saver, static_cast<unsigned>(n)));
            fs::create_symlink(victim, links.back());
        }
        ASSERT_EQ(write(go[1], "!", 1), 1);
        close(go[1]);
        const int status = waitFor(saver);
        ASSERT_TRUE(WIFEXITED(status));
        // With every name taken the save fails; with some free it uses one of those.
        EXPECT_EQ(WEXITSTATUS(status), planted == temporaryFileTries ? 1 : 0);
        EXPECT_EQ(readAll(file()), fileText(planted == temporaryFileTries ? shortOnes : longOnes));
        for (int n = 0; n < planted; ++n) {
            const fs::path victim = victims / ("victim-" + std::to_string(n));
            EXPECT_EQ(readAll(victim), n % 2 == 0 ? "someone else's" : "<no file>") << victim;
            EXPECT_TRUE(fs::is_symlink(links[n]));
            fs::remove(links[n]);
        }
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }
}

TEST_F(CrashSafeSaving, ALinkedSettingsFileStaysALinkToTheNewContent) {
    const fs::path dotfiles = root / "dotfiles";
    fs::create_directories(dotfiles);
    fs::create_directories(folder);
    std::ofstream(dotfiles / "game.ini") << fileText(shortOnes);
    // Relative, as a dotfiles set-up links, and through a second link.
    fs::create_symlink("dotfiles/game.ini", root / "link.ini");
    fs::create_symlink("../../link.ini", file());
    EXPECT_EQ(
        inChild([](SdlServices& services) { return saveSettings(longOnes, services) ? 0 : 1; }), 0);
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_TRUE(fs::is_symlink(root / "link.ini"));
    EXPECT_EQ(readAll(dotfiles / "game.ini"), fileText(longOnes));
    EXPECT_EQ(fs::directory_iterator(dotfiles)->path().filename(), "game.ini");
    EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), fs::directory_iterator()), 1);
}

TEST_F(CrashSafeSaving, AFileTheUserMayNotWriteIsLeftAsItIs) {
    saveNow(shortOnes);
    // The folder lets anyone in: only the file's own permissions may stop the save.
    fs::permissions(folder, fs::perms::all);
    // The superuser may write anything, so the saver is an ordinary user.
    const auto saveAsSomeoneElse = [] {
        return inChild([](SdlServices& services) {
            if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                return 3;
            }
            const SaveOutcome outcome = saveSettings(longOnes, services);
            return outcome ? 0 : outcome.reason == "Permission denied" ? 1 : 2;
        });
    };
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(file(), readOnly);
    int status = saveAsSomeoneElse();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readAll(file()), fileText(shortOnes));
    EXPECT_EQ(fs::status(file()).permissions(), readOnly);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    // Once the file may be written, the same user's save goes through and keeps its mode.
    fs::permissions(file(), fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                ~fs::perms::others_exec);
    status = saveAsSomeoneElse();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAll(file()), fileText(longOnes));
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::others_write, fs::perms::others_write);
}

TEST_F(CrashSafeSaving, WhatIsNoPlainFileAtTheSettingsPathStartsAtOnceWithTheDefaults) {
    // The time a start-up takes, in a child that must not hang the test if it waits.
    const auto startUpMs = [](int pieceSet) {
        const auto started = std::chrono::steady_clock::now();
        const int status = inChild([pieceSet](SdlServices& services) {
            alarm(5);
            auto p = std::make_unique<Program>(services);
            windowLogic::startUp(*p);
            windowLogic::created(*p);
            return p->skin.getTheme() == pieceSet ? 0 : 1;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - started)
            .count();
    };
    const long none = startUpMs(0);
    fs::create_directories(folder);
    {
        SCOPED_TRACE("a FIFO nobody writes to");
        ASSERT_EQ(mkfifo(file().c_str(), 0644), 0);
        EXPECT_LT(startUpMs(0), 1000);
        fs::remove(file());
    }
    {
        SCOPED_TRACE("a link to an endless device");
        fs::create_symlink("/dev/zero", file());
        EXPECT_LT(startUpMs(0), 1000);
        fs::remove(file());
    }
    {
        SCOPED_TRACE("one line of a gibibyte");
        std::ofstream(file()) << "1";  // then zero bytes, without a line end
        fs::resize_file(file(), std::uintmax_t{1} << 30);
        EXPECT_LT(startUpMs(1), none + 100);
        fs::remove(file());
    }
}

}  // namespace
