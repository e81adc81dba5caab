// The Linux services that need no window: where the settings live, the folder and file steps
// a save relies on, the timer period, and how key presses are named.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "shell/sdl/SdlKeys.h"
#include "shell/sdl/SdlServices.h"

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

std::string contentOf(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SettingsFolder, FollowsXdgConfigHomeThenHome) {
    EXPECT_EQ(settingsFolderFor("/tmp/cfg", "/home/ann"), "/tmp/cfg/vok/vudezazivaze/");
    EXPECT_EQ(settingsFolderFor("/tmp/cfg/", "/home/ann"), "/tmp/cfg/vok/vudezazivaze/");
    EXPECT_EQ(settingsFolderFor(nullptr, "/home/ann"), "/home/ann/.config/vok/vudezazivaze/");
    EXPECT_EQ(settingsFolderFor("", "/home/ann/"), "/home/ann/.config/vok/vudezazivaze/");
    // A relative setting would move with the working folder: it does not count.
    EXPECT_EQ(settingsFolderFor("cfg", "/home/ann"), "/home/ann/.config/vok/vudezazivaze/");
    EXPECT_EQ(settingsFolderFor("/", "/home/ann"), "/vok/vudezazivaze/");
    EXPECT_EQ(settingsFolderFor(nullptr, nullptr), "");
    EXPECT_EQ(settingsFolderFor("", "relative"), "");
}

TEST(SettingsFolder, MakeFoldersCreatesEveryMissingLevelAndKeepsWhatIsThere) {
    TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    const std::string folder = temp.path + "/a/b/c/";
    EXPECT_TRUE(makeFolderPath(folder));
    EXPECT_TRUE(fs::is_directory(folder));
    std::ofstream(folder + "keep.txt") << "kept";
    EXPECT_TRUE(makeFolderPath(folder));
    EXPECT_TRUE(makeFolderPath(temp.path + "/a/b"));
    EXPECT_EQ(contentOf(folder + "keep.txt"), "kept");
    EXPECT_FALSE(makeFolderPath(""));
}

TEST(SettingsFolder, APlainFileInTheWayFailsAndIsLeftAlone) {
    TempFolder temp;
    std::ofstream(temp.path + "/vok") << "not a folder";
    EXPECT_FALSE(makeFolderPath(temp.path + "/vok/vudezazivaze/"));
    EXPECT_FALSE(makeFolderPath(temp.path + "/vok/"));
    EXPECT_EQ(contentOf(temp.path + "/vok"), "not a folder");
}

TEST(SettingsFolder, ReplaceFilePutsTheNewFileInPlaceOrChangesNothing) {
    TempFolder temp;
    const std::string target = temp.path + "/settings.ini";
    const std::string fresh = temp.path + "/settings.ini.new";
    std::ofstream(target) << "old\n";
    std::ofstream(fresh) << "new\n";
    EXPECT_TRUE(replaceFileSafely(fresh, target));
    EXPECT_EQ(contentOf(target), "new\n");
    EXPECT_FALSE(fs::exists(fresh));

    EXPECT_FALSE(replaceFileSafely(temp.path + "/missing", target));
    EXPECT_EQ(contentOf(target), "new\n");
}

TEST(Timer, ShortPeriodsRunAtTheUsualMinimumSoTheThinkingPauseIsHuman) {
    EXPECT_EQ(tickPeriodFor(1), 15);
    EXPECT_EQ(tickPeriodFor(0), 15);
    EXPECT_EQ(tickPeriodFor(40), 40);
    // 22 ticks of thinking: about a third of a second.
    EXPECT_GE(22 * tickPeriodFor(1), 200);
    EXPECT_LE(22 * tickPeriodFor(1), 350);
}

TEST(Keys, LettersDigitsAndArrowsCarryTheirWindowsCodes) {
    EXPECT_EQ(virtualKeyFor(SDLK_n, KMOD_NONE), 78);
    EXPECT_EQ(virtualKeyFor(SDLK_n, KMOD_LSHIFT), 78);
    EXPECT_EQ(virtualKeyFor(SDLK_n, KMOD_CAPS), 78);
    EXPECT_EQ(virtualKeyFor(SDLK_n, KMOD_LCTRL), 78);
    EXPECT_EQ(virtualKeyFor(SDLK_a, KMOD_NONE), 65);
    EXPECT_EQ(virtualKeyFor(SDLK_z, KMOD_NONE), 90);
    EXPECT_EQ(virtualKeyFor(SDLK_7, KMOD_NONE), 55);
    EXPECT_EQ(virtualKeyFor(SDLK_LEFT, KMOD_NONE), 37);
    EXPECT_EQ(virtualKeyFor(SDLK_UP, KMOD_NONE), 38);
    EXPECT_EQ(virtualKeyFor(SDLK_RIGHT, KMOD_NONE), 39);
    EXPECT_EQ(virtualKeyFor(SDLK_DOWN, KMOD_NONE), 40);
}

TEST(Keys, AltCombinationsAndUnnamedKeysAreNotGiven) {
    EXPECT_EQ(virtualKeyFor(SDLK_n, KMOD_LALT), 0);
    EXPECT_EQ(virtualKeyFor(SDLK_F4, KMOD_RALT), 0);
    EXPECT_EQ(virtualKeyFor(SDLK_VOLUMEUP, KMOD_NONE), 0);
}

}  // namespace
