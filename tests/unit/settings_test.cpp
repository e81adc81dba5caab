// The settings file: parsing, the named entries and choices, reading and saving.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "services/Settings.h"
#include "tests/support/FakeServices.h"

namespace fs = std::filesystem;

namespace {

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// The file's lines, with either line end.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    EXPECT_TRUE(line.empty()) << "the last line has no line end";
    return lines;
}

// Each test gets an empty base folder of its own under the working directory, installed as the
// fake services' base; `dir` is the program's settings folder inside it.
struct SettingsFile : ::testing::Test {
    FakeServices services;
    fs::path base;
    fs::path dir;
    Settings settings;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base = fs::current_path() / "settings_test_tmp" / info->name();
        fs::remove_all(base);
        dir = base / "vok" / "vudezazivaze";
        fs::create_directories(dir);
        services.base = base.string() + static_cast<char>(fs::path::preferred_separator);
    }
    void TearDown() override {
        fs::remove_all(base);
        std::error_code ignored;
        fs::remove(base.parent_path(), ignored);  // only once the last test's folder is gone
    }

    fs::path file() const { return dir / settingsFileName; }
};

}  // namespace

TEST(SettingsParse, ReadsLikeStrtolAndSaturatesAtThe32BitLimits) {
    struct Case {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"42", 42},
        {"   42", 42},
        {"\t\n 42", 42},
        {"+7", 7},
        {"-5", -5},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"                                                                ", 0},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"4294967288", INT32_MAX},
        {"1234567890123456789", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseSettingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(SettingsParse, StoresTheUnsignedTextOfThe32Bits) {
    EXPECT_EQ(settingText(0), "0");
    EXPECT_EQ(settingText(120), "120");
    EXPECT_EQ(settingText(-8), "4294967288");
    EXPECT_EQ(settingText(INT32_MIN), "2147483648");
    EXPECT_EQ(settingText(-1), "4294967295");
    // A stored negative number does not come back: it reads as the largest value.
    EXPECT_EQ(parseSettingNumber(settingText(-8)), INT32_MAX);
}

TEST(SettingsList, StartsAsTenEntriesOfBlanksReadingZero) {
    Settings settings;
    for (int i = 0; i < Settings::entryCount; ++i) {
        EXPECT_EQ(settings[i], std::string(64, ' '));
        EXPECT_EQ(settings.number(i), 0);
    }
    settings.store(3, -8);
    EXPECT_EQ(settings[3], "4294967288");
}

TEST_F(SettingsFile, PathIsTheBaseThenTheProgramsFoldersWithTheBasesSeparator) {
    EXPECT_EQ(fs::path(settingsPath(services)), file());
    services.base = "C:\\ProgramData\\";
    EXPECT_EQ(settingsPath(services), "C:\\ProgramData\\vok\\vudezazivaze\\vudezazivaze.ini");
    services.base = "/home/ann/.config";
    EXPECT_EQ(settingsFolder(services), "/home/ann/.config/vok/vudezazivaze/");
    services.base = "";
    EXPECT_EQ(settingsPath(services), "");
}

TEST_F(SettingsFile, NoFolderOrNoFileReadsNothing) {
    settings[0] = "keep";
    EXPECT_FALSE(loadSettings(settings, services));
    EXPECT_EQ(settings[0], "keep");
    services.base = "";
    EXPECT_FALSE(loadSettings(settings, services));
    EXPECT_FALSE(saveSettings(settings, services));
    EXPECT_EQ(settings[0], "keep");
    EXPECT_EQ(settings[1], std::string(64, ' '));
}

TEST_F(SettingsFile, ReadsOneEntryPerLine) {
    writeWhole(file(), "2\n1\n0\n120\n300\n1\n2\n");
    ASSERT_TRUE(loadSettings(settings, services));
    const std::int32_t expected[] = {2, 1, 0, 120, 300, 1, 2};
    for (int i = 0; i < Settings::storedCount; ++i) {
        EXPECT_EQ(settings.number(i), expected[i]) << "entry " << i;
    }
    // Entries 7 to 9 are not file entries.
    EXPECT_EQ(settings[7], std::string(64, ' '));
}

TEST_F(SettingsFile, OverlongLineFeedsOnlyItsOwnEntry) {
    writeWhole(file(), "0\n1234567890123456789012345\n1\n100\n200\n2\n2\n");
    ASSERT_TRUE(loadSettings(settings, services));
    EXPECT_EQ(settings[1], "1234567890123456789");
    EXPECT_EQ(settings.number(1), INT32_MAX);
    EXPECT_EQ(settings.number(2), 1);
    EXPECT_EQ(settings.number(3), 100);
    EXPECT_EQ(settings.number(4), 200);
    EXPECT_EQ(settings.number(5), 2);
    EXPECT_EQ(settings.number(6), 2);
}

TEST_F(SettingsFile, CrLfAndLfFilesReadTheSame) {
    const std::string lf = "2\n1\n0\n120\n300\n1234567890123456789\n2\n";
    const std::string crlf = "2\r\n1\r\n0\r\n120\r\n300\r\n1234567890123456789\r\n2\r\n";
    writeWhole(file(), lf);
    Settings fromLf;
    ASSERT_TRUE(loadSettings(fromLf, services));
    writeWhole(file(), crlf);
    Settings fromCrLf;
    ASSERT_TRUE(loadSettings(fromCrLf, services));
    for (int i = 0; i < Settings::storedCount; ++i) {
        EXPECT_EQ(fromLf[i], fromCrLf[i]) << "entry " << i;
    }
    EXPECT_EQ(fromCrLf[5], "1234567890123456789");
}

TEST_F(SettingsFile, ShortFileLeavesTheLaterEntriesAlone) {
    settings[4] = "77";
    writeWhole(file(), "1\n1\n1\n5");  // the last line has no line feed
    ASSERT_TRUE(loadSettings(settings, services));
    EXPECT_EQ(settings[3], "5");
    EXPECT_EQ(settings[4], "77");
    EXPECT_EQ(settings[6], std::string(64, ' '));

    writeWhole(file(), "");
    Settings untouched;
    ASSERT_TRUE(loadSettings(untouched, services));
    EXPECT_EQ(untouched[0], std::string(64, ' '));
}

TEST_F(SettingsFile, SaveWritesExactlySevenLinesAndReadsBack) {
    writeWhole(file(), "old\nold\nold\nold\nold\nold\nold\nold\nold\nold\nold\n");
    for (int i = 0; i < Settings::storedCount; ++i) {
        settings.store(i, i * 10);
    }
    settings.store(3, -8);
    settings[7] = "not saved";
    ASSERT_TRUE(saveSettings(settings, services));
    const std::string written = readWhole(file());
    EXPECT_EQ(linesOf(written),
              (std::vector<std::string>{"0", "10", "20", "4294967288", "40", "50", "60"}));
#ifdef _WIN32
    // A text file of the platform: CR LF line ends.
    EXPECT_EQ(written.substr(0, 5), "0\r\n10");
#else
    EXPECT_EQ(written.substr(0, 4), "0\n10");
#endif

    Settings reread;
    ASSERT_TRUE(loadSettings(reread, services));
    EXPECT_EQ(reread.number(1), 10);
    EXPECT_EQ(reread.number(3), INT32_MAX);
    EXPECT_EQ(reread[7], std::string(64, ' '));
}

TEST_F(SettingsFile, EntryWithLineBreaksStillTakesOneLine) {
    settings[0] = "1\n";
    settings[2] = "3\r\nextra";
    ASSERT_TRUE(saveSettings(settings, services));
    const std::vector<std::string> lines = linesOf(readWhole(file()));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[2], "3");
}

TEST_F(SettingsFile, SaveCreatesMissingFolders) {
    fs::remove_all(base / "vok");
    settings.store(0, 2);
    ASSERT_TRUE(saveSettings(settings, services));
    EXPECT_EQ(linesOf(readWhole(file())).front(), "2");
}

TEST_F(SettingsFile, FailedSaveKeepsThePreviousFileAndSaysWhy) {
    const std::string previous = "2\n1\n0\n120\n300\n1\n2\n";
    writeWhole(file(), previous);
    settings.store(0, 1);

    services.failReplace = true;
    SaveOutcome outcome = saveSettings(settings, services);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(fs::path(outcome.path), file());
    EXPECT_EQ(outcome.reason, "refused");
    EXPECT_EQ(readWhole(file()), previous);
    services.failReplace = false;

    services.failMakeFolders = true;
    EXPECT_FALSE(saveSettings(settings, services));
    EXPECT_EQ(readWhole(file()), previous);
    services.failMakeFolders = false;

    ASSERT_TRUE(saveSettings(settings, services));
    EXPECT_EQ(linesOf(readWhole(file())).front(), "1");
}

TEST_F(SettingsFile, ReadsNoFurtherThanTheLimit) {
    // A huge first line: only the first few KiB are read, and they feed the first entry alone.
    writeWhole(file(), "7" + std::string(settingsReadLimit, ' ') + "\n1\n");
    settings[1] = "kept";
    ASSERT_TRUE(loadSettings(settings, services));
    EXPECT_EQ(settings.number(0), 7);
    EXPECT_EQ(settings[1], "kept");
}

TEST(SettingsChoices, EachValueComesBackOrFallsBackOnItsOwn) {
    const ChoiceLimits limits{3, 1024, 738};
    Settings settings;
    // With no file every entry reads 0: 0 is no first mover, so the player opens.
    Choices none = restoreChoices(settings, limits);
    EXPECT_EQ(none.theme, 0);
    EXPECT_EQ(none.top, 0);
    EXPECT_EQ(none.left, 0);
    EXPECT_EQ(none.firstMover, 1);
    EXPECT_FALSE(none.topmost || none.transparent);

    const Choices chosen{2, true, true, 738, 1024, 2, 2};
    captureChoices(settings, chosen);
    const Choices back = restoreChoices(settings, limits);
    EXPECT_EQ(back.theme, 2);
    EXPECT_TRUE(back.topmost && back.transparent);
    EXPECT_EQ(back.top, 738);  // both bounds of the screen are accepted
    EXPECT_EQ(back.left, 1024);
    EXPECT_EQ(back.level, 2);
    EXPECT_EQ(back.firstMover, 2);
    EXPECT_EQ(settings[entry::top], "738");

    const char* const outOfRange[] = {"3", "2", "0", "739", "-5", "7", "3"};
    for (int i = 0; i < Settings::storedCount; ++i) {
        settings[i] = outOfRange[i];
    }
    const Choices fallen = restoreChoices(settings, limits);
    EXPECT_EQ(fallen.theme, 0);
    EXPECT_TRUE(fallen.topmost);  // any number but 0 is on
    EXPECT_FALSE(fallen.transparent);
    EXPECT_EQ(fallen.top, 2);
    EXPECT_EQ(fallen.left, 2);
    EXPECT_EQ(fallen.level, 0);
    EXPECT_EQ(fallen.firstMover, 1);
}

TEST(SettingsTemporaryFiles, NameTheirSaverAndNothingElseIsMistakenForOne) {
    const std::string temp = temporaryFileName("/cfg/vudezazivaze.ini", 4321, 0xabcdef);
    EXPECT_EQ(temp, "/cfg/vudezazivaze.ini.4321.abcdef");
    EXPECT_EQ(temporaryFileName("vudezazivaze.ini", 7, 3), "vudezazivaze.ini.7.000003");
    EXPECT_EQ(temporaryFileOwner("vudezazivaze.ini.4321.abcdef", "vudezazivaze.ini"), 4321);
    for (const char* other : {"vudezazivaze.ini", "vudezazivaze.ini.new", "vudezazivaze.ini.12.abc",
                              "vudezazivaze.ini.x.abcdef", "vudezazivaze.ini.12.abcdeg",
                              "other.ini.12.abcdef", "vudezazivaze.ini.0.abcdef"}) {
        EXPECT_EQ(temporaryFileOwner(other, "vudezazivaze.ini"), 0) << other;
    }
}

TEST_F(SettingsFile, FolderBlockedByAFileWritesNothing) {
    fs::remove_all(base / "vok");
    writeWhole(base / "vok", "a plain file");
    EXPECT_FALSE(saveSettings(settings, services));
    EXPECT_EQ(readWhole(base / "vok"), "a plain file");
}
