// The Linux services that need no window: where the settings live, the folder and file steps
// of a load and a save, the timer period, the scale, and how key presses are named.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/Keys.h"
#include "services/Settings.h"
#include "shell/posix/PosixCommandLine.h"
#include "shell/posix/PosixFiles.h"
#include "shell/sdl/SdlKeys.h"
#include "shell/sdl/SdlServices.h"
#include "shell/sdl/SdlDesktop.h"

namespace fs = std::filesystem;

namespace {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "vok-sdl-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    std::string path;
};

// The settings file's own naming of a save's temporary files.
const TemporaryNames names = {temporaryFileName, temporaryFileOwner, temporaryFileTries};

std::string contentOf(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SettingsFolder, FollowsXdgConfigHomeThenHome) {
    EXPECT_EQ(settingsBaseFor("/tmp/cfg", "/home/ann"), "/tmp/cfg/");
    EXPECT_EQ(settingsBaseFor("/tmp/cfg//", "/home/ann"), "/tmp/cfg/");
    EXPECT_EQ(settingsBaseFor(nullptr, "/home/ann"), "/home/ann/.config/");
    EXPECT_EQ(settingsBaseFor("", "/home/ann/"), "/home/ann/.config/");
    // A relative setting would move with the working folder: it does not count.
    EXPECT_EQ(settingsBaseFor("cfg", "/home/ann"), "/home/ann/.config/");
    EXPECT_EQ(settingsBaseFor("/", "/home/ann"), "/");
    EXPECT_EQ(settingsBaseFor(nullptr, nullptr), "");
    EXPECT_EQ(settingsBaseFor("", "relative"), "");
}

TEST(SettingsFolder, MakeFoldersCreatesEveryMissingLevelAndKeepsWhatIsThere) {
    TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    std::string why;
    const std::string folder = temp.path + "/a/b/c/";
    EXPECT_TRUE(makeFolderPath(folder, why));
    EXPECT_TRUE(fs::is_directory(folder));
    std::ofstream(folder + "keep.txt") << "kept";
    EXPECT_TRUE(makeFolderPath(folder, why));
    EXPECT_TRUE(makeFolderPath(temp.path + "/a/b", why));
    EXPECT_EQ(contentOf(folder + "keep.txt"), "kept");
    EXPECT_FALSE(makeFolderPath("", why));
}

TEST(SettingsFolder, APlainFileInTheWayFailsAndIsLeftAlone) {
    TempFolder temp;
    std::ofstream(temp.path + "/vok") << "not a folder";
    std::string why;
    EXPECT_FALSE(makeFolderPath(temp.path + "/vok/vudezazivaze/", why));
    EXPECT_EQ(why, temp.path + "/vok is not a folder");
    EXPECT_FALSE(makeFolderPath(temp.path + "/vok/", why));
    EXPECT_EQ(contentOf(temp.path + "/vok"), "not a folder");
}

TEST(SettingsFile, ReadsOnlyRegularFilesAndNoMoreThanTheLimit) {
    TempFolder temp;
    const std::string file = temp.path + "/settings.ini";
    std::ofstream(file) << "0123456789";
    std::string bytes;
    EXPECT_TRUE(readRegularFile(file, 4, bytes));
    EXPECT_EQ(bytes, "0123");
    EXPECT_TRUE(readRegularFile(file, 100, bytes));
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_FALSE(readRegularFile(temp.path, 100, bytes));
    EXPECT_FALSE(readRegularFile("/dev/null", 100, bytes));
    EXPECT_FALSE(readRegularFile(temp.path + "/missing", 100, bytes));
}

TEST(SettingsFile, ReplacePutsTheNewContentInPlaceWithTheOldPermissions) {
    TempFolder temp;
    const std::string target = temp.path + "/settings.ini";
    std::ofstream(target) << "old\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string why;
    EXPECT_TRUE(replaceFileAtomically(target, "new\n", names, why));
    EXPECT_EQ(contentOf(target), "new\n");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path), fs::directory_iterator()), 1);

    // A folder where the file belongs is left alone, and so is everything beside it.
    fs::create_directory(temp.path + "/folder.ini");
    EXPECT_FALSE(replaceFileAtomically(temp.path + "/folder.ini", "new\n", names, why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_FALSE(replaceFileAtomically(temp.path + "/missing/settings.ini", "new\n", names, why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path), fs::directory_iterator()), 2);
}

TEST(Timer, ShortPeriodsRunAtTheUsualMinimumSoTheThinkingPauseIsHuman) {
    EXPECT_EQ(windowLogic::tickPeriodFor(1), 15);
    EXPECT_EQ(windowLogic::tickPeriodFor(0), 15);
    EXPECT_EQ(windowLogic::tickPeriodFor(40), 40);
    // 22 ticks of thinking: about a third of a second.
    EXPECT_GE(22 * windowLogic::tickPeriodFor(1), 200);
    EXPECT_LE(22 * windowLogic::tickPeriodFor(1), 350);
}

TEST(Scale, NamedAsAWholeNumberOrTakenFromGdkScaleThenXftDpiThenTheDisplay) {
    EXPECT_EQ(scaleNamed("1"), 1);
    EXPECT_EQ(scaleNamed("4"), 4);
    for (const char* bad : {"0", "5", "2.0", "02", " 2", "2x", "", "-1", "two"}) {
        EXPECT_EQ(scaleNamed(bad), 0) << bad;
    }
    EXPECT_EQ(scaleNamed(nullptr), 0);

    struct Case {
        const char* gdkScale;
        double xftDpi, displayDpi;
        int expected;
    } cases[] = {
        {nullptr, 0, 0, 1},   {nullptr, 96, 0, 1},   {nullptr, 192, 0, 2},  {nullptr, 143, 0, 1},
        {nullptr, 144, 0, 2}, {nullptr, 288, 0, 3},  {nullptr, 1000, 0, 4}, {nullptr, 40, 0, 1},
        {nullptr, 0, 192, 2}, {nullptr, 96, 192, 1}, {"2", 96, 96, 2},      {"1", 192, 192, 1},
        {"9", 0, 0, 4},       {"0", 192, 0, 2},      {"x", 0, 192, 2},      {"", 192, 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(desktopScale(c.gdkScale, c.xftDpi, c.displayDpi), c.expected)
            << (c.gdkScale ? c.gdkScale : "(none)") << " " << c.xftDpi << " " << c.displayDpi;
    }

    EXPECT_EQ(xftDpiIn("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192);
    EXPECT_EQ(xftDpiIn("Xft.dpi: 120.5"), 120.5);
    EXPECT_EQ(xftDpiIn("Xcursor.size:\t24\n"), 0);
    EXPECT_EQ(xftDpiIn("Xft.dpi:\tlarge\n"), 0);
    EXPECT_EQ(xftDpiIn("Xft.dpi:\t192x\n"), 0);
    EXPECT_EQ(xftDpiIn("MyXft.dpi:\t192\n"), 0);
    EXPECT_EQ(xftDpiIn(""), 0);
    EXPECT_EQ(xftDpiIn(nullptr), 0);
}

TEST(Keys, NAndTheArrowsAreKnownByTheirSymbolOrOtherwiseByTheirPlace) {
    struct Case {
        SDL_Keycode symbol;
        SDL_Scancode place;
        Uint16 modifiers;
        int expected;
    } cases[] = {
        {SDLK_n, SDL_SCANCODE_N, KMOD_NONE, key::newGame},
        {SDLK_n, SDL_SCANCODE_N, KMOD_LSHIFT | KMOD_CAPS | KMOD_LCTRL, key::newGame},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, key::left},
        {SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, key::up},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE, key::right},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE, key::down},
        // A Latin layout with N elsewhere: the symbol counts, not the place.
        {SDLK_n, SDL_SCANCODE_L, KMOD_NONE, key::newGame},
        {SDLK_b, SDL_SCANCODE_N, KMOD_NONE, 0},
        // A Cyrillic layout: the key in N's place says "т" (U+0442), and still starts a game.
        {0x0442, SDL_SCANCODE_N, KMOD_NONE, key::newGame},
        {0x0438, SDL_SCANCODE_B, KMOD_NONE, 0},
        // Alt combinations are the window system's; other keys mean nothing to the game.
        {SDLK_n, SDL_SCANCODE_N, KMOD_LALT, 0},
        {0x0442, SDL_SCANCODE_N, KMOD_RALT, 0},
        {SDLK_F4, SDL_SCANCODE_F4, KMOD_NONE, 0},
        {SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFor(c.symbol, c.place, c.modifiers), c.expected)
            << "symbol " << c.symbol << " at " << c.place;
    }
}

}  // namespace
