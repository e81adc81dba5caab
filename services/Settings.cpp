// The settings file: its seven named entries, reading, writing and the choices they hold.

#include "services/Settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

std::string temporaryFileName(const std::string& target, long pid, unsigned attempt) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%ld.%06x", pid, attempt & 0xFFFFFFu);
    return target + suffix;
}

long temporaryFileOwner(const std::string& entryName, const std::string& targetName) {
    const std::size_t length = targetName.size();
    if (entryName.size() <= length + 1 || entryName.compare(0, length, targetName) != 0 ||
        entryName[length] != '.') {
        return 0;
    }
    const char* digits = entryName.c_str() + length + 1;
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '.' || std::strlen(end + 1) != 6 || pid <= 0 ||
        std::strspn(end + 1, "0123456789abcdef") != 6) {
        return 0;
    }
    return pid;
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

Choices restoreChoices(const Settings& settings, const ChoiceLimits& limits) {
    // A number, or `fallback` when it lies outside `low`..`high`.
    auto inRange = [&settings](int index, int low, int high, int fallback) {
        const std::int32_t value = settings.number(index);
        return value < low || value > high ? fallback : static_cast<int>(value);
    };
    Choices choices;
    choices.theme = inRange(entry::theme, 0, limits.themeCount - 1, 0);
    choices.topmost = settings.number(entry::topmost) != 0;
    choices.transparent = settings.number(entry::transparent) != 0;
    // A window edge off the usable screen puts that edge at 2.
    choices.top = inRange(entry::top, 0, limits.screenHeight, 2);
    choices.left = inRange(entry::left, 0, limits.screenWidth, 2);
    choices.level = inRange(entry::level, 0, 2, 0);
    choices.firstMover = inRange(entry::firstMover, 1, 2, 1);
    return choices;
}

void captureChoices(Settings& settings, const Choices& choices) {
    settings.store(entry::theme, choices.theme);
    settings.store(entry::topmost, choices.topmost ? 1 : 0);
    settings.store(entry::transparent, choices.transparent ? 1 : 0);
    settings.store(entry::top, choices.top);
    settings.store(entry::left, choices.left);
    settings.store(entry::level, choices.level);
    settings.store(entry::firstMover, choices.firstMover);
}

std::string settingsFolder(WindowServices& system) {
    std::string folder = system.settingsBase();
    if (folder.empty()) {
        return {};
    }
    // The base names the platform's separator by the one it ends with.
    const char last = folder.back();
    const char separator = last == '\\' || last == '/' ? last : '/';
    if (last != separator) {
        folder += separator;
    }
    for (const char* name : settingsFolders) {
        folder += name;
        folder += separator;
    }
    return folder;
}

std::string settingsPath(WindowServices& system) {
    const std::string folder = settingsFolder(system);
    return folder.empty() ? std::string() : folder + settingsFileName;
}

void parseSettingsText(Settings& settings, const std::string& bytes) {
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
    for (std::size_t at = 0; at < bytes.size() && index < Settings::storedCount; ++at) {
        const char c = bytes[at];
        if (c == '\n') {
            finishLine();
            continue;
        }
        // One character beyond the limit is kept so that a CR before the line feed can still
        // be told from a character of the entry.
        if (line.size() <= maxEntryLength) {
            line.push_back(c);
        }
    }
    // A last line without its line feed still counts.
    if (!line.empty() && index < Settings::storedCount) {
        finishLine();
    }
}

std::string settingsText(const Settings& settings) {
#ifdef _WIN32
    constexpr const char* lineEnd = "\r\n";
#else
    constexpr const char* lineEnd = "\n";
#endif
    std::string text;
    for (int i = 0; i < Settings::storedCount; ++i) {
        text += oneLine(settings[i]) + lineEnd;
    }
    return text;
}

bool loadSettings(Settings& settings, WindowServices& system) {
    const std::string path = settingsPath(system);
    std::string bytes;
    if (path.empty() || !system.readFile(path, settingsReadLimit, bytes)) {
        return false;
    }
    parseSettingsText(settings, bytes);
    return true;
}

namespace {

// `bytes` made the whole content of `fileName` in the settings folder, the folder made first.
SaveOutcome saveBeside(const char* fileName, const std::string& bytes, WindowServices& system) {
    SaveOutcome outcome;
    const std::string folder = settingsFolder(system);
    if (folder.empty()) {
        outcome.reason = "the system names no folder for it";
        return outcome;
    }
    outcome.path = folder + fileName;
    // A first run finds no folder yet.
    if (!system.makeFolders(folder, outcome.reason)) {
        return outcome;
    }
    outcome.saved = system.replaceFileContent(outcome.path, bytes, outcome.reason);
    return outcome;
}

}  // namespace

SaveOutcome saveSettings(const Settings& settings, WindowServices& system) {
    return saveBeside(settingsFileName, settingsText(settings), system);
}

int loadZoomSteps(WindowServices& system) {
    const std::string folder = settingsFolder(system);
    std::string bytes;
    // One short line is all the file holds.
    if (folder.empty() || !system.readFile(folder + zoomFileName, 64, bytes)) {
        return 0;
    }
    const std::int32_t steps = parseSettingNumber(bytes);
    return steps < 0 ? 0 : steps > maxZoomSteps ? maxZoomSteps : static_cast<int>(steps);
}

SaveOutcome saveZoomSteps(int steps, WindowServices& system) {
    return saveBeside(zoomFileName, std::to_string(steps) + "\n", system);
}
