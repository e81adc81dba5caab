#pragma once

#include <cstdint>
#include <string>

// The choices that survive a restart, as text: one entry per line of the settings file.
//   0 piece set (Theme index)   1 always on top   2 transparent   3 window top   4 window left
//   5 computer level            6 first mover
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

// The file's name and the name of the file a save writes before it replaces the old one.
constexpr const char* settingsFileName = "vudezazivaze.ini";
constexpr const char* settingsTempName = "vudezazivaze.ini.new";

// A decimal number the way `strtol` reads one: leading white space skipped, an optional sign,
// digits up to the first other character. No digits gives 0; values beyond the 32-bit range
// give its nearest limit, on every platform.
std::int32_t parseSettingNumber(const std::string& text);

// "%u" of the value's 32 bits: -8 becomes "4294967288".
std::string settingText(std::int32_t value);

// The full path of the settings file, or "" when the system names no folder for it.
std::string settingsPath();

// Reads the file into entries 0 to 6, one line per entry (at most 19 characters of each line
// are kept, without its line end; CR LF and LF both end a line). A short file leaves the later
// entries as they were. False when the file cannot be opened; the entries are then unchanged.
bool loadSettings(Settings& settings);

// Writes entries 0 to 6, one per line, creating the folder when it is missing. The new text
// goes to a temporary file that then replaces the old one, so a failed save leaves the previous
// file whole. True when the file now holds the entries.
bool saveSettings(const Settings& settings);
