// Saving the settings must never cost the player their choices: a process killed in the middle
// of a save leaves the old file or the new one, whole; a save that cannot be written leaves the
// old file as it was and the program running. Each case runs the Linux program's own services
// in a child process, so a crash or a kill shows as the child's end, not the test's.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

#include "screens/Commands.h"
#include "screens/Program.h"
#include "shell/Settings.h"
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
int inChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        SdlServices services;
        setWindowServices(&services);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// One run of the program without a window: settings read, screens built, a few choices made,
// the window closed and the settings written, then the timer keeps going. 0 when all of it ran.
int runProgramOnce() {
    auto p = std::make_unique<Program>();
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
    return saveSettings(p->settings) ? 4 : 0;
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
    fs::path temp() const { return folder / settingsTempName; }

    void saveNow(const Settings& settings) {
        EXPECT_EQ(inChild([&settings] { return saveSettings(settings) ? 0 : 1; }), 0);
        ASSERT_EQ(readAll(file()), fileText(settings));
    }
};

TEST_F(CrashSafeSaving, AKillAtAnyMomentLeavesTheOldFileOrTheNewOneWhole) {
    saveNow(shortOnes);
    const std::string shortText = fileText(shortOnes);
    const std::string longText = fileText(longOnes);

    // How long one save takes here, so that the kills spread over several saves.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(inChild([] {
                  for (int i = 0; i < 20; ++i) {
                      saveSettings(i % 2 ? shortOnes : longOnes);
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
            setWindowServices(&services);
            for (;;) {
                saveSettings(longOnes);
                saveSettings(shortOnes);
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

    // A temporary file a kill left behind does not stand in the way of the next save.
    saveNow(longOnes);
    EXPECT_FALSE(fs::exists(temp()));
}

TEST_F(CrashSafeSaving, AFileSizeLimitLeavesTheOldFileAndTheProgramRunning) {
    saveNow(shortOnes);
    const int status = inChild([] {
        // As a shell's `ulimit -f` would: every write beyond a few bytes fails.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        return runProgramOnce();
    });
    ASSERT_TRUE(WIFEXITED(status)) << "the program died";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAll(file()), fileText(shortOnes));
    EXPECT_FALSE(fs::exists(temp()));
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
        SCOPED_TRACE("a folder where the temporary file belongs");
        saveNow(shortOnes);
        fs::create_directories(temp() / "inside");
        const int status = inChild(runProgramOnce);
        ASSERT_TRUE(WIFEXITED(status)) << "the program died";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(readAll(file()), fileText(shortOnes));
        EXPECT_TRUE(fs::is_directory(temp() / "inside"));
        fs::remove_all(temp());
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
        EXPECT_FALSE(fs::exists(temp()));
    }
}

}  // namespace
