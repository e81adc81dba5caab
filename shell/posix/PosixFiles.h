// The settings file's steps on a POSIX file system: its folder, a bounded read, an atomic replace.
#pragma once

#include <cstddef>
#include <string>

// The settings file's steps on a POSIX file system. Each failure gives the system's reason.

// The folder the settings live under: "$XDG_CONFIG_HOME/", or "$HOME/.config/" when that is
// unset, empty or not an absolute path. "" when no folder can be named.
std::string settingsBaseFor(const char* xdgConfigHome, const char* home);
// The same for this user, from the environment; HOME comes from the password database when it
// is unset.
std::string userSettingsBase();

// Creates a folder and its missing parents; true when it exists afterwards.
bool makeFolderPath(const std::string& folder, std::string& why);

// At most `limit` bytes of the regular file at `path`. Anything else (a FIFO, a device, a
// folder) is refused without being read, so nothing blocks.
bool readRegularFile(const std::string& path, std::size_t limit, std::string& bytes);

// How a save names its temporary files, as the caller's file format has it: the name of this
// process's attempt `attempt` beside `target`, the saving process a folder entry's name belongs
// to (0 when it is no save's file for `targetName`), and how many taken names to try.
struct TemporaryNames {
    std::string (*name)(const std::string& target, long pid, unsigned attempt);
    long (*owner)(const std::string& entryName, const std::string& targetName);
    int tries;
};

// Makes `bytes` the content of the file at `path` in one step. The bytes go to a temporary file
// that only this save could have created (`O_EXCL`, never through a link) in the folder of the
// file that `path` finally names, reach the disk, and then take that file's name; the folder is
// synced after. A symbolic link at `path` therefore stays a link. A file the user may not write,
// or that is not a regular file, is left as it is. Temporary files left by savers that were
// killed are removed; this save never leaves its own behind.
bool replaceFileAtomically(const std::string& path, const std::string& bytes,
                           const TemporaryNames& names, std::string& why);
