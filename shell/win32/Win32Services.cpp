// The window-system services of the Windows program: window calls, the shell, the files.

#include "shell/win32/Win32Services.h"

#include <shlobj.h>

#include <ctime>

#include "services/Settings.h"
#include "shell/WindowLogic.h"

namespace {

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string errorText(DWORD code) {
    char text[32];
    wsprintfA(text, "system error %lu", code);
    return text;
}

// Temporary files that savers ended in the middle of a save left beside `path`. A saver that
// is still running keeps its own.
void removeOrphans(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + ".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const long pid = temporaryFileOwner(found.cFileName, name);
        if (pid == 0 || static_cast<DWORD>(pid) == GetCurrentProcessId()) {
            continue;
        }
        // No such process, or one that has ended: its file is an orphan.
        HANDLE saver = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
        const bool ended = saver ? WaitForSingleObject(saver, 0) == WAIT_OBJECT_0
                                 : GetLastError() == ERROR_INVALID_PARAMETER;
        if (saver) {
            CloseHandle(saver);
        }
        if (ended) {
            DeleteFileA((folder + found.cFileName).c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

void Win32Services::startTimer(int timerId, int periodMs) {
    // No callback: every tick arrives as WM_TIMER, in turn with the other messages.
    SetTimer(window, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMs), nullptr);
}

namespace {

// Functions of user32 newer than Windows XP, looked up when wanted (Windows 10 1607 and later).
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using DpiOfWindow = UINT(WINAPI*)(HWND);
template <typename Function>
Function user32Function(const char* name) {
    HMODULE module = GetModuleHandleA("user32.dll");
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

SIZE Win32Services::outerSize(int width, int height, int dpi) const {
    RECT outer = {0, 0, width, height};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    static const auto adjustForDpi = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    static const auto dpiOfWindow = user32Function<DpiOfWindow>("GetDpiForWindow");
    if (adjustForDpi && dpiOfWindow) {
        adjustForDpi(&outer, style, FALSE, exStyle, dpi > 0 ? dpi : dpiOfWindow(window));
    } else {
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void Win32Services::setDrawingSize(int width, int height) {
    // The outer size comes from the window's own style round the drawing area at the scale, so
    // that a caption of any height (a larger DPI, another theme) leaves it whole: 390 x 390 with
    // the classic caption at 96 dpi.
    const SIZE outer = outerSize(width * scaleFactor, height * scaleFactor);
    SetWindowPos(window, HWND_TOP, 0, 0, outer.cx, outer.cy, SWP_NOMOVE);
}

void Win32Services::moveWindow(int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Services::clientSize(int& width, int& height) {
    // In points of the drawing area.
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    width = (client.right - client.left) / scaleFactor;
    height = (client.bottom - client.top) / scaleFactor;
}

void Win32Services::setOpacity(int alpha) {
    BYTE level = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
    SetLayeredWindowAttributes(window, 0, level, LWA_ALPHA);
}

void Win32Services::setTopmost(bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

std::optional<ScreenRect> Win32Services::windowRect() {
    RECT outer = {0, 0, 0, 0};
    GetWindowRect(window, &outer);
    return ScreenRect{outer.left, outer.top, outer.right, outer.bottom};
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

bool Win32Services::highContrast(ContrastPalette& palette) {
    // Windows XP has both the query and every colour below.
    HIGHCONTRASTA state = {};
    state.cbSize = sizeof state;
    if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) ||
        (state.dwFlags & HCF_HIGHCONTRASTON) == 0) {
        return false;
    }
    palette = systemPalette();
    return true;
}

ContrastPalette Win32Services::systemPalette() {
    const auto sys = [](int index) { return static_cast<Colour>(GetSysColor(index) & 0xFFFFFF); };
    ContrastPalette palette;
    palette.window = sys(COLOR_WINDOW);
    palette.windowText = sys(COLOR_WINDOWTEXT);
    palette.buttonFace = sys(COLOR_BTNFACE);
    palette.buttonText = sys(COLOR_BTNTEXT);
    palette.highlight = sys(COLOR_HIGHLIGHT);
    palette.highlightText = sys(COLOR_HIGHLIGHTTEXT);
    palette.hotLight = sys(COLOR_HOTLIGHT);
    palette.grayText = sys(COLOR_GRAYTEXT);
    return palette;
}

std::int64_t Win32Services::clockSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string Win32Services::settingsBase() {
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) !=
            S_OK ||
        !path[0]) {
        return {};
    }
    std::string base = path;
    if (!isSeparator(base.back())) {
        base += '\\';
    }
    return base;
}

bool Win32Services::makeFolders(const std::string& folder, std::string& why) {
    if (folder.empty()) {
        why = "no folder";
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
    if (!isFolder(folder)) {
        why = errorText(GetLastError());
        return false;
    }
    return true;
}

bool Win32Services::readFile(const std::string& path, std::size_t limit, std::string& bytes) {
    // A folder cannot be opened this way, and anything but a disk file is refused unread.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = GetFileType(file) == FILE_TYPE_DISK;
    bytes.assign(limit, '\0');
    std::size_t done = 0;
    while (ok && done < limit) {
        DWORD got = 0;
        ok = ReadFile(file, &bytes[done], static_cast<DWORD>(limit - done), &got, nullptr) != 0;
        if (got == 0) {
            break;
        }
        done += got;
    }
    CloseHandle(file);
    bytes.resize(done);
    return ok;
}

bool Win32Services::replaceFileContent(const std::string& path, const std::string& bytes,
                                       std::string& why) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            why = "not a file";
            return false;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            why = "the file is read-only";
            return false;
        }
    }
    removeOrphans(path);

    // A file of this save's own: CREATE_NEW never opens what another saver made.
    static unsigned attempts = 0;
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < temporaryFileTries && file == INVALID_HANDLE_VALUE; ++tries) {
        temp = temporaryFileName(path, static_cast<long>(GetCurrentProcessId()), attempts++);
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        why = errorText(GetLastError());
        return false;
    }
    // The new content reaches the disk before it takes the old file's place, so a power loss
    // after the move cannot leave an empty file behind.
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) != 0 &&
             written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(file) != 0;
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp.c_str());
        why = errorText(error);
    }
    return ok;
}
