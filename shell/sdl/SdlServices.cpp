#include "shell/sdl/SdlServices.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

int tickPeriodFor(int requestedMs) {
    constexpr int minimumMs = 15;
    return requestedMs < minimumMs ? minimumMs : requestedMs;
}

void SdlServices::attach(SDL_Window* window) {
    sdlWindow = window;
}

void SdlServices::startTimer(int /*timerId*/, int periodMs) {
    tickPeriod = tickPeriodFor(periodMs);
}

void SdlServices::setWindowSize(int width, int height) {
    // The outer size is the Windows program's; this window has the drawing area that one has.
    drawWidth = width - windowsFrameWidth > 1 ? width - windowsFrameWidth : 1;
    drawHeight = height - windowsFrameHeight > 1 ? height - windowsFrameHeight : 1;
    if (sdlWindow) {
        SDL_SetWindowSize(sdlWindow, drawWidth, drawHeight);
    }
}

void SdlServices::clientSize(int& width, int& height) {
    width = drawWidth;
    height = drawHeight;
    if (sdlWindow) {
        SDL_GetWindowSize(sdlWindow, &width, &height);
    }
}

void SdlServices::setOpacity(int alpha) {
    if (sdlWindow) {
        SDL_SetWindowOpacity(sdlWindow, alpha / 255.0f);
    }
}

void SdlServices::setTopmost(bool on) {
    if (sdlWindow) {
        SDL_SetWindowAlwaysOnTop(sdlWindow, on ? SDL_TRUE : SDL_FALSE);
    }
}

ScreenRect SdlServices::windowRect() {
    ScreenRect rect;
    if (!sdlWindow) {
        return rect;
    }
    // SDL reports where the drawing area is; the window's rectangle includes the frame the
    // window manager put around it, as the saved position always has.
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(sdlWindow, &x, &y);
    SDL_GetWindowSize(sdlWindow, &w, &h);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(sdlWindow, &top, &left, &bottom, &right) != 0) {
        top = left = bottom = right = 0;
    }
    rect.left = x - left;
    rect.top = y - top;
    rect.right = x + w + right;
    rect.bottom = y + h + bottom;
    return rect;
}

void SdlServices::screenSize(int& width, int& height) {
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &bounds) != 0 && SDL_GetDisplayBounds(0, &bounds) != 0) {
        bounds = SDL_Rect{0, 0, 0, 0};
    }
    width = bounds.w;
    height = bounds.h;
}

void SdlServices::openUrl(const std::string& address) {
    // SDL hands the address to the desktop's opener in a detached process and returns.
    SDL_OpenURL(address.c_str());
}

bool SdlServices::leftButtonDown() {
    return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
}

std::int64_t SdlServices::clockSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string SdlServices::settingsFolder() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return settingsFolderFor(std::getenv("XDG_CONFIG_HOME"), home);
}

bool SdlServices::makeFolders(const std::string& folder) {
    return makeFolderPath(folder);
}

bool SdlServices::replaceFile(const std::string& from, const std::string& to) {
    return replaceFileSafely(from, to);
}

std::string settingsFolderFor(const char* xdgConfigHome, const char* home) {
    std::string base;
    // Only an absolute path counts; a relative one would depend on where the game was started.
    if (xdgConfigHome && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else if (home && home[0] == '/') {
        base = home;
        if (base.back() != '/') {
            base += '/';
        }
        base += ".config";
    } else {
        return {};
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    if (base == "/") {
        base.clear();
    }
    return base + "/vok/vudezazivaze/";
}

namespace {

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool makeFolderPath(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    // Each level in turn, from the root down; levels that exist are left as they are.
    for (std::size_t end = folder.find('/', 1); end != std::string::npos;
         end = folder.find('/', end + 1)) {
        const std::string level = folder.substr(0, end);
        if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (folder.back() != '/' && mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        return false;
    }
    return isFolder(folder);
}

bool replaceFileSafely(const std::string& from, const std::string& to) {
    // The new content reaches the disk before it takes the old file's name, so a crash
    // leaves one whole file or the other.
    const int file = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    const bool synced = fsync(file) == 0;
    close(file);
    if (!synced || std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    const std::size_t slash = to.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
