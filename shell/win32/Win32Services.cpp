#include "shell/win32/Win32Services.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <ctime>

namespace {

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

void Win32Services::startTimer(int timerId, int periodMs) {
    // No callback: every tick arrives as WM_TIMER, in turn with the other messages.
    SetTimer(window, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMs), nullptr);
}

void Win32Services::setWindowSize(int width, int height) {
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
}

void Win32Services::clientSize(int& width, int& height) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

void Win32Services::setOpacity(int alpha) {
    BYTE level = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
    SetLayeredWindowAttributes(window, 0, level, LWA_ALPHA);
}

void Win32Services::setTopmost(bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

ScreenRect Win32Services::windowRect() {
    RECT outer = {0, 0, 0, 0};
    GetWindowRect(window, &outer);
    return {outer.left, outer.top, outer.right, outer.bottom};
}

void Win32Services::screenSize(int& width, int& height) {
    // The client area of a full-screen window on the primary display: a saved position
    // outside it is not trusted.
    width = GetSystemMetrics(SM_CXFULLSCREEN);
    height = GetSystemMetrics(SM_CYFULLSCREEN);
}

void Win32Services::openUrl(const std::string& address) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32Services::leftButtonDown() {
    // Down now, or pressed since the last query.
    return GetAsyncKeyState(VK_LBUTTON) != 0;
}

std::int64_t Win32Services::clockSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string Win32Services::settingsFolder() {
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) !=
        S_OK) {
        return {};
    }
    // PathAppendA refuses (and leaves nothing usable) when the result would not fit MAX_PATH.
    if (!PathAppendA(path, "\\vok\\vudezazivaze\\")) {
        return {};
    }
    std::string folder = path;
    if (folder.empty() || !isSeparator(folder.back())) {
        folder += '\\';
    }
    return folder;
}

bool Win32Services::makeFolders(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    // Create each missing level from the top down. A level that exists as a file cannot be
    // made, and then neither can anything below it: the final check says so.
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && !isSeparator(folder[i])) {
            continue;
        }
        std::string level = folder.substr(0, i);
        if (level.empty() || isSeparator(level.back()) || level.back() == ':') {
            continue;  // a drive ("C:") or a doubled separator: nothing to create
        }
        if (!isFolder(level)) {
            CreateDirectoryA(level.c_str(), nullptr);
        }
    }
    return isFolder(folder);
}

bool Win32Services::replaceFile(const std::string& from, const std::string& to) {
    // The new content reaches the disk before it takes the old file's place, so a power loss
    // after the move cannot leave an empty file behind.
    HANDLE file = CreateFileA(from.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed && MoveFileExA(from.c_str(), to.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
