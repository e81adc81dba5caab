// The settings file: its seven named entries, reading, writing and the choices they hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/WindowServices.h"

// The choices that survive a restart, as text: one entry per line of the settings file.
// Entries 7 to 9 exist but are never read or written.
class Settings {
  public:
    static constexpr int entryCount = 10;
    static constexpr int storedCount = 7;

    // Every entry starts as 64 blanks, which parse as 0.
    Settings();

    std::string& operator[](int index) { return entries[index]; }
    const std::string& operator[](int index) const { return entries[index]; }

    // The entry read as a number (see `parseSettingNumber`).
    std::int32_t number(int index) const;
    // Stores a value the way the file keeps it: the unsigned decimal text of its 32 bits.
    void store(int index, std::int32_t value);

  private:
    std::string entries[entryCount];
};

// The seven stored entries, by what they hold. The vertical edge comes before the horizontal.
namespace entry {
constexpr int theme = 0;        // the piece set, as the skin's Theme index
constexpr int topmost = 1;      // always on top: any number but 0 means on
constexpr int transparent = 2;  // whole-window opacity 190: any number but 0 means on
constexpr int top = 3;          // the window's outer top edge, in screen pixels
constexpr int left = 4;         // the window's outer left edge
constexpr int level = 5;        // the computer's level: 0 Smart, 1 Average, 2 Moronic
constexpr int firstMover = 6;   // who opens a game: 1 the player, 2 the computer
}  // namespace entry

// The stored choices as values.
struct Choices {
    int theme = 0;
    bool topmost = false;
    bool transparent = false;
    int top = 0;
    int left = 0;
    int level = 0;
    int firstMover = 1;
};

// The bounds a saved value must lie in: the number of piece sets, and the usable screen size
// that the window's edges must lie in (both bounds included).
struct ChoiceLimits {
    int themeCount = 0;
    int screenWidth = 0;
    int screenHeight = 0;
};

// The choices in force after a start from `settings`: every entry parsed, and a value outside
// its accepted range replaced by its own fallback (piece set 0, level 0, first mover 1, and 2
// for a window edge).
Choices restoreChoices(const Settings& settings, const ChoiceLimits& limits);
// The other way: the choices written into the seven stored entries.
void captureChoices(Settings& settings, const Choices& choices);

// The file's name, and the folders the program keeps it in under the system's base folder.
constexpr const char* settingsFileName = "vudezazivaze.ini";
constexpr const char* settingsFolders[] = {"vok", "vudezazivaze"};
// At most this much of the file is read, whatever it holds: seven entries need far less.
constexpr std::size_t settingsReadLimit = 4096;

// A save's temporary file sits beside the file it replaces, named "<name>.<pid>.<six hex
// digits>" after the file, the saving process and the number of names that process has tried
// before (`attempt`). A save gives up after `temporaryFileTries` names that are taken.
std::string temporaryFileName(const std::string& target, long pid, unsigned attempt);
constexpr int temporaryFileTries = 100;
// The saving process a folder entry named like that belongs to, or 0 when it is no save's
// temporary file for `targetName`.
long temporaryFileOwner(const std::string& entryName, const std::string& targetName);

// A decimal number the way `strtol` reads one: leading white space skipped, an optional sign,
// digits up to the first other character. No digits gives 0; values beyond the 32-bit range
// give its nearest limit, on every platform.
std::int32_t parseSettingNumber(const std::string& text);

// "%u" of the value's 32 bits: -8 becomes "4294967288".
std::string settingText(std::int32_t value);

// The folder that holds the settings file (ending in a separator), and the file's full path;
// "" when the system names no base folder.
std::string settingsFolder(WindowServices& system);
std::string settingsPath(WindowServices& system);

// The entries 0 to 6 of `bytes`, the way the file holds them: one line per entry (at most 19
// characters of each line are kept, without its line end; CR LF and LF both end a line). A short
// text leaves the later entries as they were.
void parseSettingsText(Settings& settings, const std::string& bytes);
// The file's text: entries 0 to 6, one per line, each line ended as the platform's text files
// are (CR LF on Windows, LF elsewhere).
std::string settingsText(const Settings& settings);

// Reads the file into entries 0 to 6 (at most `settingsReadLimit` bytes of it). False when it
// cannot be read; the entries are then unchanged.
bool loadSettings(Settings& settings, WindowServices& system);

// What a save did: the file it wrote or meant to write, and why it failed when it did.
struct SaveOutcome {
    bool saved = false;
    std::string path;
    std::string reason;
    explicit operator bool() const { return saved; }
};

// The player's zoom lives in a file of its own beside the settings file, which other versions
// of the program read and whose seven lines never change: one line, the whole steps above the
// system's scale. A missing or unreadable file, or one that names no steps (a negative number,
// text), reads as 0; more than `maxZoomSteps` reads as that many.
constexpr const char* zoomFileName = "vudezazivaze.zoom";
constexpr int maxZoomSteps = 8;
// Writes entries 0 to 6, creating the folder when it is missing. The file is replaced in one
// step, so a failed save leaves the previous file whole.
SaveOutcome saveSettings(const Settings& settings, WindowServices& system);

int loadZoomSteps(WindowServices& system);
// Writes the steps with the settings file's care (a temporary file of its own, flushed, moved
// over the old one), creating the folder when it is missing.
SaveOutcome saveZoomSteps(int steps, WindowServices& system);
