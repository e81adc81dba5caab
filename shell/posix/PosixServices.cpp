// The window-system services a POSIX desktop gives without the window system.

#include "shell/posix/PosixServices.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "shell/posix/PosixProcess.h"

void PosixServices::openUrl(const std::string& address) {
    // The desktop's opener is started and left to itself: the game never waits for the browser
    // (the program lets the system reap its children).
    const char opener[] = "xdg-open";
    if (const int error = startDetached(opener, address)) {
        std::fprintf(stderr, "vok-tictactoe: cannot open %s: %s could not be started (%s)\n",
                     address.c_str(), opener, std::strerror(error));
    }
}

std::int64_t PosixServices::clockSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string PosixServices::settingsBase() {
    return userSettingsBase();
}

bool PosixServices::makeFolders(const std::string& folder, std::string& why) {
    return makeFolderPath(folder, why);
}

bool PosixServices::readFile(const std::string& path, std::size_t limit, std::string& bytes) {
    return readRegularFile(path, limit, bytes);
}

bool PosixServices::replaceFileContent(const std::string& path, const std::string& bytes,
                                       std::string& why) {
    return replaceFileAtomically(path, bytes, temporaryNames, why);
}
