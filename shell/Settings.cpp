#include "shell/Settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/WindowServices.h"

namespace {

// The longest line text an entry keeps; the numbers the program writes need at most 10.
constexpr std::size_t maxEntryLength = 19;

// An entry's text up to its first line break: whatever an entry holds, it fills one line.
std::string oneLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

Settings::Settings() {
    for (std::string& entry : entries) {
        entry.assign(64, ' ');
    }
}

std::int32_t Settings::number(int index) const {
    return parseSettingNumber(entries[index]);
}

void Settings::store(int index, std::int32_t value) {
    entries[index] = settingText(value);
}

std::int32_t parseSettingNumber(const std::string& text) {
    // `long` is 32 bits on Windows and 64 on Linux: clamp so both give the same limits.
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

std::string settingText(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u",
                  static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return text;
}

std::string settingsPath() {
    const std::string folder = windowServices().settingsFolder();
    if (folder.empty()) {
        return {};
    }
    return folder + settingsFileName;
}

bool loadSettings(Settings& settings) {
    const std::string path = settingsPath();
    if (path.empty()) {
        return false;
    }
    // Binary mode: a file with CR LF line ends reads the same on every platform.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    std::string line;
    int index = 0;
    // Each line of the file feeds exactly one entry, however long it is.
    auto finishLine = [&] {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        settings[index++] = line.substr(0, maxEntryLength);
        line.clear();
    };
    while (index < Settings::storedCount) {
        const int c = std::fgetc(file);
        if (c == EOF) {
            // A last line without its line feed still counts.
            if (!line.empty()) {
                finishLine();
            }
            break;
        }
        if (c == '\n') {
            finishLine();
            continue;
        }
        // One character beyond the limit is kept so that a CR before the line feed can still
        // be told from a character of the entry.
        if (line.size() <= maxEntryLength) {
            line.push_back(static_cast<char>(c));
        }
    }
    std::fclose(file);
    return true;
}

bool saveSettings(const Settings& settings) {
    const std::string folder = windowServices().settingsFolder();
    if (folder.empty()) {
        return false;
    }
    // A first run finds no folder yet.
    if (!windowServices().makeFolders(folder)) {
        return false;
    }
    const std::string path = folder + settingsFileName;
    const std::string temp = folder + settingsTempName;

    // Text mode: the lines end in CR LF on Windows.
    std::FILE* file = std::fopen(temp.c_str(), "w");
    if (!file) {
        return false;
    }
    bool written = true;
    for (int i = 0; i < Settings::storedCount && written; ++i) {
        const std::string line = oneLine(settings[i]) + "\n";
        written = std::fputs(line.c_str(), file) != EOF;
    }
    written = std::fflush(file) == 0 && written;
    written = !std::ferror(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written || !windowServices().replaceFile(temp, path)) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}
