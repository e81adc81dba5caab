// End-to-end run of the real TicTacToe.exe under Wine: starts it, finds its window by class,
// clicks and types with real input, reads the window back from the screen and compares what it
// shows with the program's own pictures, closes it through the system and checks the settings
// file it leaves behind. Then starts it again from crafted settings files, and beside a planted
// DLL. At 192 dpi it plays the scenario of the doubled window instead. At both, it reads and
// plays the program as a screen reader does, through its MSAA objects.
//
// usage: e2e_driver.exe <TicTacToe.exe> <folder for screenshots> <planted TicTacToe.exe>
// With VOK_E2E_SMOKE set in the environment, only the first start and the settings screen.
#include <windows.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// The driver is built on its own, without the program's include path.
#include "scob/bitmapIds.h"
#include "tests/support/BoardCells.h"

namespace {

// The interface's id from its declaration: the 64-bit oleacc import library exports
// IID_IAccessible as a function, whose address is a jump, not the id.
const IID iidAccessible = __uuidof(IAccessible);

// ---- reporting ------------------------------------------------------------------------------

int failures = 0;
std::string scenario;

bool expect(bool ok, const std::string& what) {
    std::printf("%s [%s] %s\n", ok ? "ok    " : "FAILED", scenario.c_str(), what.c_str());
    std::fflush(stdout);
    if (!ok) {
        ++failures;
    }
    return ok;
}

std::string str(long value) {
    return std::to_string(value);
}

// ---- the program's layout, in points (pixels at 96 dpi) ----------------------------------------

int scale = 1;  // screen pixels a point each way: the system's DPI over 96

struct Box {
    int left, top, width, height;
    int centreX() const { return left + width / 2; }
    int centreY() const { return top + height / 2; }
};

const Box statusBox{87, 40, 100, 30};
const Box levelLabelBox{3, 0, 175, 20};
const Box helpBox{325, 1, 20, 20};
const Box transparencyBox{345, 1, 20, 20};
const Box topmostBox{365, 1, 20, 20};
const Box newGameBox{281, 95, 80, 31};
const Box settingsBox{281, 145, 80, 20};
const Box playBox{145, 185, 100, 80};
const int firstMoveListX = 16, piecesListX = 137, levelListX = 258, listTop = 50, rowHeight = 20;

Box cellBox(int column, int row) {
    const BoardCell& cell = boardCell(column, row);
    return {cell.left, cell.top, cell.size, cell.size};
}
// Row 0 is a list's title; items follow.
Box listRow(int listX, int item) {
    return {listX, listTop + (item + 1) * rowHeight, 105, rowHeight};
}

enum Plaque {
    YourMove = bitmap::plaquePink,
    Thinking = bitmap::plaqueWood,
    YouWin = bitmap::plaqueRed,
    ComputerWins = bitmap::plaqueOrange,
    Tie = bitmap::plaqueBlue,
};
const char* statusText(int plaque) {
    switch (plaque) {
        case YourMove:
            return "Your Move";
        case Thinking:
            return "Thinking...";
        case YouWin:
            return "You Win !!!";
        case ComputerWins:
            return "Computer wins";
        case Tie:
            return "Tie";
    }
    return "";
}
const char* const levelNames[3] = {"Smart", "Average", "Moronic"};
// Piece pictures per piece set: empty, the player's, the computer's.
const int pieces[3][3] = {
    {bitmap::blankTraditional, bitmap::ring, bitmap::cross},
    {bitmap::blankColors, bitmap::greenSquare, bitmap::orangeSquare},
    {bitmap::blankFish, bitmap::stripedFish, bitmap::spottedFish},
};

// ---- pixels -----------------------------------------------------------------------------------

struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        return inside ? pixels[static_cast<std::size_t>(y) * width + x] : CLR_INVALID;
    }
};

// Reads an image out of a bitmap, as 0x00BBGGRR per pixel.
Image readBitmap(HDC reference, HBITMAP bitmap, int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    std::vector<DWORD> raw(static_cast<std::size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(reference, bitmap, 0, height, raw.data(), &info, DIB_RGB_COLORS);
    image.pixels.resize(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        DWORD p = raw[i];
        image.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    return image;
}

// Writes an image as a 24-bit BMP (the test script turns it into a PNG).
void saveImage(const Image& image, const std::string& path) {
    int rowBytes = (image.width * 3 + 3) & ~3;
    std::vector<unsigned char> data(static_cast<std::size_t>(rowBytes) * image.height);
    for (int y = 0; y < image.height; ++y) {
        unsigned char* row = &data[static_cast<std::size_t>(image.height - 1 - y) * rowBytes];
        for (int x = 0; x < image.width; ++x) {
            COLORREF c = image.at(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(data.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        expect(false, "can write " + path);
        return;
    }
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(data.data(), 1, data.size(), out);
    std::fclose(out);
}

// The program's pictures, read from its own resources.
class Pictures {
  public:
    HMODULE handle() const { return module; }

    explicit Pictures(const std::string& exe) {
        module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    const Image& get(int id) {
        for (auto& entry : cache) {
            if (entry.first == id) {
                return entry.second;
            }
        }
        Image image;
        HBITMAP bitmap = module ? LoadBitmapA(module, MAKEINTRESOURCEA(id)) : nullptr;
        if (bitmap) {
            BITMAP info = {};
            GetObjectA(bitmap, sizeof info, &info);
            HDC screen = GetDC(nullptr);
            image = readBitmap(screen, bitmap, info.bmWidth, info.bmHeight);
            ReleaseDC(nullptr, screen);
            DeleteObject(bitmap);
        }
        cache.push_back({id, image});
        return cache.back().second;
    }

  private:
    HMODULE module = nullptr;
    std::vector<std::pair<int, Image>> cache;
};

// Share of the pixels of `box`, shrunk by `margin`, that equal picture `id` drawn at the box's
// top-left corner.
double matchPicture(const Image& shot, const Image& picture, const Box& box, int margin) {
    int same = 0, total = 0;
    for (int y = margin; y < box.height - margin; ++y) {
        for (int x = margin; x < box.width - margin; ++x) {
            // A picture may run past the window's edge (the pin, by one point): what the
            // window clips is not counted.
            if (x >= picture.width || y >= picture.height || box.left + x >= shot.width ||
                box.top + y >= shot.height) {
                continue;
            }
            ++total;
            same += shot.at(box.left + x, box.top + y) == picture.at(x, y);
        }
    }
    return total ? static_cast<double>(same) / total : 0.0;
}

// A line of text as the program draws it: the same font and DrawTextA flags, over the same
// background (one of the program's pictures, or a solid fill).
struct TextLook {
    const char* text;
    int fontHeight, fontWidth;
    UINT align;        // DT_LEFT, DT_CENTER
    COLORREF colour;   // of the text
    int backgroundId;  // picture under the text, drawn from the area's corner; 0: fill
    COLORREF fill;     // when there is no picture
    RECT textBox;      // where the text is drawn, relative to the area
};

// Share of the area's pixels (less a one-pixel frame, where outlines lie) that equal the text
// drawn the program's way. The driver's GDI and the program's are the same, so a right text
// matches almost exactly and a wrong one does not.
double textMatch(const Image& shot, const Box& area, const TextLook& look, HMODULE art) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, area.width, area.height);
    HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    RECT all = {0, 0, area.width, area.height};
    HBRUSH brush = CreateSolidBrush(look.fill);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    if (look.backgroundId > 0) {
        HBITMAP picture = LoadBitmapA(art, MAKEINTRESOURCEA(look.backgroundId));
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ oldPicture = SelectObject(source, picture);
        BitBlt(memory, 0, 0, area.width, area.height, source, 0, 0, SRCCOPY);
        SelectObject(source, oldPicture);
        DeleteDC(source);
        DeleteObject(picture);
    }
    HFONT font =
        CreateFontA(look.fontHeight, look.fontWidth, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetTextColor(memory, look.colour);
    SetBkMode(memory, TRANSPARENT);
    RECT box = look.textBox;
    DrawTextA(memory, look.text, -1, &box, DT_SINGLELINE | DT_VCENTER | look.align);
    SelectObject(memory, oldFont);
    DeleteObject(font);
    SelectObject(memory, oldCanvas);
    Image expected = readBitmap(screen, canvas, area.width, area.height);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    int same = 0, total = 0;
    for (int y = 1; y < area.height - 1; ++y) {
        for (int x = 1; x < area.width - 1; ++x) {
            ++total;
            same += shot.at(area.left + x, area.top + y) == expected.at(x, y);
        }
    }
    return total ? static_cast<double>(same) / total : 0.0;
}

bool showsText(const Image& shot, const Box& area, const TextLook& look, HMODULE art) {
    double match = textMatch(shot, area, look, art);
    if (match < 0.98 && std::getenv("E2E_VERBOSE")) {
        std::printf("       text \"%s\" matches %.1f%% of its area\n", look.text, match * 100);
    }
    return match >= 0.98;
}

// ---- files ------------------------------------------------------------------------------------

std::string programData() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::string settingsFolder() {
    return programData() + "\\vok\\vudezazivaze";
}
std::string settingsFile() {
    return settingsFolder() + "\\vudezazivaze.ini";
}

bool readFile(const std::string& path, std::string& content) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        return false;
    }
    content.clear();
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        content.append(buffer, n);
    }
    std::fclose(in);
    return true;
}

void writeFile(const std::string& path, const std::string& content) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
    }
}

void removeSettings() {
    std::string folder = settingsFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
    std::string vok = programData() + "\\vok";
    RemoveDirectoryA(vok.c_str());
    DeleteFileA(vok.c_str());
}

// Writes a settings file as a person would (line ends as given).
void craftSettings(const std::string& content) {
    removeSettings();
    CreateDirectoryA((programData() + "\\vok").c_str(), nullptr);
    CreateDirectoryA(settingsFolder().c_str(), nullptr);
    writeFile(settingsFile(), content);
}

std::string visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

// ---- time -------------------------------------------------------------------------------------

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        // The events a screen reader hooks arrive as messages to this thread.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
}

struct WindowSearch {
    DWORD pid;
    HWND main;
    int count;
};

BOOL CALLBACK countOtherWindows(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->pid && window != search->main && IsWindowVisible(window)) {
        ++search->count;
    }
    return TRUE;
}

// ---- the program under test -------------------------------------------------------------------

class Game {
  public:
    Game(const std::string& exePath, Pictures& pictures) : exe(exePath), art(pictures) {}
    ~Game() {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 99);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }

    // Starts the program and waits for its window (and, when it is on the screen, for its
    // first frame).
    bool start(bool onScreen = true) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        // Ask for a minimised start: the program must open its window normally anyway.
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
        std::string commandLine = "\"" + exe + "\"";
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            return expect(false, "the program starts");
        }
        bool found = waitFor(
            [this] {
                window = FindWindowA("winMain", nullptr);
                DWORD owner = 0;
                if (window) {
                    GetWindowThreadProcessId(window, &owner);
                }
                return window && owner == process.dwProcessId && IsWindowVisible(window);
            },
            20000);
        if (!expect(found, "a visible window of class winMain appears")) {
            return false;
        }
        if (!onScreen) {
            return true;
        }
        // The first frame: the parchment covers the client area.
        return expect(waitFor([this] { return !isBlank(capture()); }, 5000),
                      "the window draws its first frame");
    }

    HWND hwnd() const { return window; }

    RECT windowRect() const {
        RECT r = {};
        GetWindowRect(window, &r);
        return r;
    }

    bool topmost() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    bool layered() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
    int alpha() const {
        BYTE value = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        if (!GetLayeredWindowAttributes(window, &key, &value, &flags) || !(flags & LWA_ALPHA)) {
            return -1;
        }
        return value;
    }

    // The client area as it is on the screen now.
    // At a scale, the pixel at (corner, corner) of each point's block, or every pixel.
    Image capture(int corner = 0, bool points = true) const {
        RECT client = {};
        GetClientRect(window, &client);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(memory, old);
        Image image = readBitmap(screen, bitmap, client.right, client.bottom);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        Image sampled{image.width / scale, image.height / scale, {}};
        for (int y = 0; y < sampled.height; ++y) {
            for (int x = 0; x < sampled.width; ++x) {
                sampled.pixels.push_back(image.at(x * scale + corner, y * scale + corner));
            }
        }
        return points ? sampled : image;
    }

    // Real input: the pointer moves to the point, the left button goes down and up.
    void click(int x, int y) {
        POINT at = {x * scale, y * scale};
        ClientToScreen(window, &at);
        SetCursorPos(at.x, at.y);
        Sleep(30);
        INPUT input[2] = {};
        input[0].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].type = INPUT_MOUSE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &input[0], sizeof(INPUT));
        Sleep(30);
        SendInput(1, &input[1], sizeof(INPUT));
        Sleep(60);
    }
    void click(const Box& box) { click(box.centreX(), box.centreY()); }

    // A key pressed and released, with Ctrl held round it when asked.
    void key(WORD virtualKey, bool ctrl = false) {
        SetForegroundWindow(window);
        Sleep(30);
        INPUT input[4] = {};
        const WORD keys[4] = {VK_CONTROL, virtualKey, virtualKey, VK_CONTROL};
        for (int i = 0; i < 4; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki = {keys[i], 0, i < 2 ? 0u : KEYEVENTF_KEYUP, 0, 0};
        }
        SendInput(ctrl ? 4 : 2, ctrl ? input : input + 1, sizeof(INPUT));
        Sleep(60);
    }

    // Sends `message` as Windows sends it inside the program: `data` (a RECT or a SIZE) in the
    // program's memory for lParam, and read back after.
    template <typename Data>
    void sendWithData(UINT message, WPARAM wParam, Data& data) {
        void* remote =
            VirtualAllocEx(process.hProcess, nullptr, sizeof data, MEM_COMMIT, PAGE_READWRITE);
        WriteProcessMemory(process.hProcess, remote, &data, sizeof data, nullptr);
        SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process.hProcess, remote, &data, sizeof data, nullptr);
        VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
    }

    // What the window shows.
    int plaque(const Image& shot) {
        // The top and bottom rows of the plaque are clear of the centred text.
        for (int id : {YourMove, Thinking, YouWin, ComputerWins, Tie}) {
            const Image& picture = art.get(id);
            if (matchRows(shot, picture, 0, 7) > 0.95 &&
                matchRows(shot, picture, statusBox.height - 7, statusBox.height) > 0.95) {
                return id;
            }
        }
        return 0;
    }
    bool status(const Image& shot, int expected) {
        // The plaque is the status display's own picture, the text centred on it in black.
        TextLook look{statusText(expected), 15,       6, DT_CENTER,
                      RGB(0, 0, 0),         expected, 0, {0, 0, statusBox.width, statusBox.height}};
        return plaque(shot) == expected && showsText(shot, statusBox, look, art.handle());
    }
    // Waits (a frame may still be on its way to the screen) for the status to read `expected`.
    bool showsStatus(int expected) {
        return waitFor([&] { return status(capture(), expected); }, 3000);
    }
    // 0 empty, 1 the player's piece, 2 the computer's, -1 none of the set's pictures.
    int cell(const Image& shot, int pieceSet, int column, int row) {
        for (int mark = 0; mark < 3; ++mark) {
            // Inside the grid lines.
            if (matchPicture(shot, art.get(pieces[pieceSet][mark]), cellBox(column, row), 3) >
                0.97) {
                return mark;
            }
        }
        return -1;
    }
    std::string board(const Image& shot, int pieceSet) {
        std::string marks;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                int mark = cell(shot, pieceSet, column, row);
                marks += mark < 0 ? '?' : static_cast<char>('0' + mark);
            }
        }
        return marks;
    }
    bool levelLabel(const Image& shot, int level) {
        std::string text = std::string("Computer IQ:  ") + levelNames[level];
        // Black on its own piece of the title strip.
        const RECT textBox{0, 0, levelLabelBox.width, levelLabelBox.height};
        TextLook look{text.c_str(), 15, 6, DT_LEFT, RGB(0, 0, 0), bitmap::titleStrip, 0, textBox};
        return showsText(shot, levelLabelBox, look, art.handle());
    }
    bool picture(const Image& shot, const Box& box, int id) {
        return matchPicture(shot, art.get(id), box, 0) > 0.95;
    }

    // Closes the window as its close box does, and waits for the process to end.
    bool close(DWORD& exitCode) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
            return expect(false, "the program ends after WM_CLOSE");
        }
        GetExitCodeProcess(process.hProcess, &exitCode);
        return true;
    }

    // Ends the process at once, as the system may after the session has ended.
    void terminate() {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 15000);
    }

    // Other visible top-level windows of the program (a message box, say).
    int otherWindows() const {
        WindowSearch search{process.dwProcessId, window, 0};
        EnumWindows(countOtherWindows, reinterpret_cast<LPARAM>(&search));
        return search.count;
    }

  private:
    // Rows [from, to) of the status plaque against the same rows of a picture.
    static double matchRows(const Image& shot, const Image& picture, int from, int to) {
        int same = 0, total = 0;
        for (int y = from; y < to && y < picture.height; ++y) {
            for (int x = 0; x < statusBox.width && x < picture.width; ++x) {
                ++total;
                same += shot.at(statusBox.left + x, statusBox.top + y) == picture.at(x, y);
            }
        }
        return total ? static_cast<double>(same) / total : 0.0;
    }

    static bool isBlank(const Image& image) {
        if (image.pixels.empty()) {
            return true;
        }
        // The middle of the parchment, right of the board, is never black.
        COLORREF c = image.at(image.width - 10, image.height - 10);
        return c == RGB(0, 0, 0);
    }

    std::string exe;
    Pictures& art;
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// ---- scenarios --------------------------------------------------------------------------------

struct Context {
    std::string exe;
    std::string shots;
    Pictures* art;
    std::string plantedExe;  // a copy of the program beside a planted msimg32.dll
};

void saveShot(const Context& context, const Image& shot, const char* name) {
    saveImage(shot, context.shots + "\\" + name + ".bmp");
}

bool closeAndCheckExit(Game& game) {
    DWORD code = 0;
    if (!game.close(code)) {
        return false;
    }
    return expect(code == 1, "exit code after a normal close is 1 (got " + str(code) + ")");
}

// Waits until the computer has answered: the status is back at "Your Move" or the game is over.
int waitForAnswer(Game& game, Image& shot, bool& sawThinking) {
    int seen = 0;
    waitFor(
        [&] {
            shot = game.capture();
            seen = game.plaque(shot);
            sawThinking = sawThinking || seen == Thinking;
            return seen == YourMove || seen == YouWin || seen == ComputerWins || seen == Tie;
        },
        5000);
    return seen;
}

// Plays to the end by clicking the first empty cell each turn.
void playWholeGame(Game& game, int pieceSet, const Context& context) {
    bool sawThinking = false;
    int outcome = 0;
    Image shot = game.capture();
    for (int turn = 0; turn < 5 && outcome == 0; ++turn) {
        std::string before = game.board(shot, pieceSet);
        std::size_t empty = before.find('0');
        if (empty == std::string::npos) {
            break;
        }
        game.click(cellBox(static_cast<int>(empty % 3), static_cast<int>(empty / 3)));
        int now = waitForAnswer(game, shot, sawThinking);
        std::string after = game.board(shot, pieceSet);
        int players = 0, computers = 0, unknown = 0;
        for (char c : after) {
            players += c == '1';
            computers += c == '2';
            unknown += c == '?';
        }
        expect(unknown == 0 && after[empty] == '1',
               "turn " + str(turn + 1) + ": the clicked cell shows the player's piece (board " +
                   after + ")");
        if (now == YourMove) {
            expect(computers == players, "turn " + str(turn + 1) +
                                             ": the computer answered with one piece (board " +
                                             after + ")");
        } else {
            outcome = now;
        }
    }
    expect(sawThinking, "the status showed \"Thinking...\" while the computer paused");
    expect(outcome == YouWin || outcome == ComputerWins || outcome == Tie,
           "the game ended with a result plaque");
    if (outcome != 0) {
        expect(game.showsStatus(outcome),
               std::string("the status reads \"") + statusText(outcome) + "\"");
    }
    saveShot(context, shot, "board-game-over");
}

void firstStart(const Context& context) {
    scenario = "first start";
    removeSettings();
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    RECT r = game.windowRect();
    expect(r.left == 0 && r.top == 0,
           "the window opens at (0, 0) (got " + str(r.left) + ", " + str(r.top) + ")");
    expect(r.right - r.left == 390 && r.bottom - r.top == 390, "the window is 390 x 390");
    RECT client = {};
    GetClientRect(game.hwnd(), &client);
    std::printf("       client area %ld x %ld\n", client.right, client.bottom);
    expect(!IsIconic(game.hwnd()), "the window opens normally despite a minimised start");
    expect(game.layered(), "the window is layered");
    expect(!game.topmost(), "the window is not topmost");
    expect(game.alpha() == 255, "the window is opaque (alpha " + str(game.alpha()) + ")");
    char title[64] = {};
    GetWindowTextA(game.hwnd(), title, sizeof title);
    expect(std::strcmp(title, "Vok TicTacToe 1.2") == 0, std::string("title \"") + title + "\"");

    Image shot = game.capture();
    saveShot(context, shot, "board");
    expect(game.showsStatus(YourMove), "the status reads \"Your Move\" on the pink plaque");
    expect(game.levelLabel(shot, 0), "the level label reads \"Computer IQ:  Smart\"");
    expect(!game.levelLabel(shot, 2), "(and the label check tells Moronic from Smart)");
    expect(game.board(shot, 0) == "000000000", "the board is empty, Traditional set");
    expect(game.picture(shot, transparencyBox, bitmap::letterT),
           "the T picture is in its first state");
    expect(game.picture(shot, topmostBox, bitmap::pinFlat), "the pin lies flat");

    playWholeGame(game, 0, context);

    game.key('N');
    Image cleared;
    bool clearedOk = waitFor(
        [&] {
            cleared = game.capture();
            return game.board(cleared, 0) == "000000000";
        },
        3000);
    expect(clearedOk, "N clears the board");
    expect(game.showsStatus(YourMove), "after N the status reads \"Your Move\"");
    closeAndCheckExit(game);

    std::string saved;
    expect(readFile(settingsFile(), saved), "the settings file exists after the first close");
    expect(saved == "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n",
           "it holds the defaults and the position (\"" + visible(saved) + "\")");
}

void settingsScreen(const Context& context) {
    scenario = "settings screen";
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    game.click(settingsBox);
    Image shot;
    bool shown = waitFor(
        [&] {
            shot = game.capture();
            return shot.at(200, 300) == RGB(255, 255, 255) &&
                   shot.at(300, 20) == RGB(255, 255, 255);
        },
        3000);
    expect(shown, "\"Settings\" shows the white settings screen");
    // The title row: soft green, the title 5 pixels in.
    TextLook title{"First Move",          15, 6, DT_LEFT, RGB(0, 0, 0), 0, RGB(0x9B, 0xC9, 0x99),
                   {5, 0, 110, rowHeight}};
    expect(showsText(shot, {firstMoveListX, listTop, 105, rowHeight}, title, context.art->handle()),
           "the first list is titled \"First Move\"");
    TextLook play{"Play !",
                  27,
                  13,
                  DT_CENTER,
                  RGB(255, 255, 255),
                  0,
                  RGB(255, 0, 0),
                  {0, 0, playBox.width, playBox.height}};
    expect(showsText(shot, playBox, play, context.art->handle()), "the button reads \"Play !\"");
    saveShot(context, shot, "settings");

    game.click(listRow(firstMoveListX, 1));  // Computer
    game.click(listRow(piecesListX, 2));     // Fish
    game.click(listRow(levelListX, 2));      // Moronic
    Sleep(150);
    saveShot(context, game.capture(), "settings-chosen");

    game.click(playBox);
    bool sawThinking = false;
    waitFor(
        [&] {
            shot = game.capture();
            sawThinking = sawThinking || game.plaque(shot) == Thinking;
            return game.plaque(shot) == YourMove;
        },
        5000);
    std::string marks = game.board(shot, 2);
    int computers = 0;
    for (char c : marks) {
        computers += c == '2';
    }
    expect(sawThinking, "\"Play !\" starts a new game with the computer thinking first");
    expect(computers == 1 && marks.find('1') == std::string::npos &&
               marks.find('?') == std::string::npos,
           "the computer opened with one fish (board " + marks + ")");
    expect(game.showsStatus(YourMove), "then the status reads \"Your Move\"");
    expect(game.levelLabel(shot, 2), "the level label reads \"Computer IQ:  Moronic\"");
    std::size_t empty = marks.find('0');
    game.click(cellBox(static_cast<int>(empty % 3), static_cast<int>(empty / 3)));
    waitForAnswer(game, shot, sawThinking);
    expect(game.cell(shot, 2, static_cast<int>(empty % 3), static_cast<int>(empty / 3)) == 1,
           "the player's move shows the player's fish");
    saveShot(context, shot, "board-fish");

    // T and pin, twice each: the window and the pictures follow.
    game.click(transparencyBox);
    expect(waitFor([&] { return game.alpha() == 190; }, 2000),
           "T makes the window translucent (190)");
    expect(waitFor(
               [&] { return game.picture(game.capture(), transparencyBox, bitmap::letterTTicked); },
               2000),
           "T shows its ticked picture");
    game.click(transparencyBox);
    expect(waitFor([&] { return game.alpha() == 255; }, 2000), "T again makes it opaque");
    expect(waitFor([&] { return game.picture(game.capture(), transparencyBox, bitmap::letterT); },
                   2000),
           "T shows its first picture again");
    game.click(topmostBox);
    expect(waitFor([&] { return game.topmost(); }, 2000), "the pin keeps the window on top");
    expect(
        waitFor([&] { return game.picture(game.capture(), topmostBox, bitmap::pinUpright); }, 2000),
        "the pin stands upright");
    game.click(topmostBox);
    expect(waitFor([&] { return !game.topmost(); }, 2000), "the pin again releases it");
    expect(waitFor([&] { return game.picture(game.capture(), topmostBox, bitmap::pinFlat); }, 2000),
           "the pin lies flat again");

    // Leave both on, and the window elsewhere, for the file.
    game.click(transparencyBox);
    game.click(topmostBox);
    waitFor([&] { return game.alpha() == 190 && game.topmost(); }, 2000);
    SetWindowPos(game.hwnd(), nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    waitFor([&] { return game.windowRect().left == 120; }, 2000);
    expect(game.otherWindows() == 0, "no other window opened");
    closeAndCheckExit(game);

    std::string saved;
    readFile(settingsFile(), saved);
    expect(
        saved == "2\r\n1\r\n1\r\n80\r\n120\r\n2\r\n2\r\n",
        "the file holds exactly seven CR LF lines with the choices (\"" + visible(saved) + "\")");
}

void savedChoicesReturn(const Context& context) {
    scenario = "saved choices";
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    RECT r = game.windowRect();
    expect(r.left == 120 && r.top == 80,
           "the window opens where it was closed (got " + str(r.left) + ", " + str(r.top) + ")");
    expect(game.topmost(), "always on top from the start");
    expect(game.alpha() == 190, "translucent from the start (alpha " + str(game.alpha()) + ")");
    Image shot;
    // The first frame shows "Your Move" before the first tick: wait for the computer's piece.
    bool answered = waitFor(
        [&] {
            shot = game.capture();
            return game.plaque(shot) == YourMove &&
                   game.board(shot, 2).find('2') != std::string::npos;
        },
        5000);
    expect(answered && game.board(shot, 2).find('2') != std::string::npos,
           "the computer opens, with a fish (board " + game.board(shot, 2) + ")");
    expect(game.levelLabel(shot, 2), "the label reads Moronic");
    expect(game.picture(shot, transparencyBox, bitmap::letterTTicked) &&
               game.picture(shot, topmostBox, bitmap::pinUpright),
           "the T and pin pictures match the saved flags");
    closeAndCheckExit(game);
}

struct Crafted {
    const char* name;
    const char* content;  // written with bare LF line ends, as any editor might
    int left, top, pieceSet, level;
    bool topmost, transparent, computerFirst;
};

void craftedFiles(const Context& context) {
    int width = GetSystemMetrics(SM_CXFULLSCREEN);
    std::string onEdge = "0\n0\n0\n0\n" + str(width) + "\n1\n1\n";
    const Crafted cases[] = {
        {"position off the screen", "1\n0\n0\n5000\n-5\n1\n1\n", 2, 2, 1, 1, false, false, false},
        {"left edge at the screen width", onEdge.c_str(), width, 0, 0, 1, false, false, false},
        {"garbage", "garbage\n\xff\xfe junk\n!!\n\n12abc\nx\n-\n", 12, 0, 0, 0, false, false,
         false},
        // Each line is one entry, however long: the first 19 digits count (saturating), the
        // rest of that line is dropped, and the lines after it keep their own places.
        {"25-digit line", "2\n1234567890123456789012345\n40\n50\n2\n2\n1\n", 2, 50, 2, 2, true,
         true, false},
        {"computer first", "0\n0\n0\n30\n20\n1\n2\n", 20, 30, 0, 1, false, false, true},
        {"out-of-range values", "3\n0\n0\n7\n9\n7\n3\n", 9, 7, 0, 0, false, false, false},
    };
    for (const Crafted& c : cases) {
        scenario = std::string("crafted file: ") + c.name;
        craftSettings(c.content);
        Game game(context.exe, *context.art);
        bool onScreen = c.left < GetSystemMetrics(SM_CXSCREEN);
        if (!game.start(onScreen)) {
            continue;
        }
        RECT r = game.windowRect();
        expect(r.left == c.left && r.top == c.top, "window at (" + str(c.left) + ", " + str(c.top) +
                                                       ") (got " + str(r.left) + ", " + str(r.top) +
                                                       ")");
        expect(game.topmost() == c.topmost, std::string("topmost ") + (c.topmost ? "on" : "off"));
        expect(game.alpha() == (c.transparent ? 190 : 255), "alpha " + str(game.alpha()));
        if (!onScreen) {
            closeAndCheckExit(game);
            continue;
        }
        Image shot;
        bool settled = waitFor(
            [&] {
                shot = game.capture();
                bool opened = game.board(shot, c.pieceSet).find('2') != std::string::npos;
                return game.plaque(shot) == YourMove && opened == c.computerFirst;
            },
            5000);
        std::string marks = game.board(shot, c.pieceSet);
        bool computerMoved = marks.find('2') != std::string::npos;
        expect(settled && marks.find('?') == std::string::npos && computerMoved == c.computerFirst,
               std::string("piece set ") + str(c.pieceSet) + ", " +
                   (c.computerFirst ? "computer" : "player") + " first (board " + marks + ")");
        expect(game.levelLabel(shot, c.level), std::string("level ") + levelNames[c.level]);
        closeAndCheckExit(game);
        std::string saved;
        readFile(settingsFile(), saved);
        int lines = 0;
        for (std::size_t at = 0; (at = saved.find("\r\n", at)) != std::string::npos; at += 2) {
            ++lines;
        }
        expect(lines == 7 && saved.size() >= 14 && saved.substr(saved.size() - 2) == "\r\n",
               "the file is rewritten as seven clean lines (\"" + visible(saved) + "\")");
    }
}

// The files in the settings folder.
std::string folderEntries() {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((settingsFolder() + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names += std::string(names.empty() ? "" : " ") + found.cFileName;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names;
}

void sessionEnd(const Context& context) {
    scenario = "session end";
    craftSettings("0\n0\n0\n10\n10\n0\n1\n");
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    game.click(transparencyBox);
    waitFor([&] { return game.alpha() == 190; }, 2000);
    SetWindowPos(game.hwnd(), nullptr, 150, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    waitFor([&] { return game.windowRect().left == 150; }, 2000);
    // As the system asks at a log-off, and then tells; after that it may end the process
    // without destroying the window.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(game.hwnd(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    expect(answer != 0, "the program lets the session end");
    SendMessageTimeoutA(game.hwnd(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    game.terminate();
    std::string saved;
    readFile(settingsFile(), saved);
    expect(saved == "0\r\n0\r\n1\r\n60\r\n150\r\n0\r\n1\r\n",
           "the choices were saved at the session's end (\"" + visible(saved) + "\")");
    expect(folderEntries() == "vudezazivaze.ini",
           "nothing but the settings file in its folder (" + folderEntries() + ")");
}

void readOnlyFile(const Context& context) {
    scenario = "read-only settings file";
    const std::string content = "1\n0\n0\n10\n10\n0\n1\n";
    craftSettings(content);
    SetFileAttributesA(settingsFile().c_str(), FILE_ATTRIBUTE_READONLY);
    {
        Game game(context.exe, *context.art);
        if (game.start()) {
            game.click(transparencyBox);
            Sleep(200);
            closeAndCheckExit(game);
        }
    }
    std::string after;
    readFile(settingsFile(), after);
    expect(after == content, "the read-only file is left as it was (\"" + visible(after) + "\")");
    expect(folderEntries() == "vudezazivaze.ini",
           "nothing but the settings file in its folder (" + folderEntries() + ")");
    SetFileAttributesA(settingsFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

void unwritableFolder(const Context& context) {
    scenario = "folder blocked by a file";
    removeSettings();
    std::string blocker = programData() + "\\vok";
    const std::string blockerText = "not a folder\r\n";
    writeFile(blocker, blockerText);
    {
        Game game(context.exe, *context.art);
        if (game.start()) {
            RECT r = game.windowRect();
            expect(r.left == 0 && r.top == 0, "the window opens at (0, 0) with the defaults");
            Sleep(300);
            expect(game.otherWindows() == 0, "nothing is reported at the start");
            game.click(cellBox(0, 0));
            Sleep(300);
            closeAndCheckExit(game);
        }
    }
    std::string after;
    expect(readFile(blocker, after) && after == blockerText,
           "the file standing in the folder's place is untouched");
    DWORD attributes = GetFileAttributesA(settingsFolder().c_str());
    expect(attributes == INVALID_FILE_ATTRIBUTES, "no settings folder appeared");
    DeleteFileA(blocker.c_str());
}

// ---- a screen reader's view: the program's MSAA objects, read from this process --------------

// What the program's client area told since the last look: each event and its child id.
std::vector<std::pair<DWORD, LONG>> heard;
HWND heardFrom = nullptr;
void CALLBACK hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == heardFrom && object == OBJID_CLIENT) {
        heard.push_back({event, child});
    }
}

const std::size_t npos = std::string::npos;
const char* const places[9] = {"top left",    "top centre",    "top right",
                               "middle left", "centre",        "middle right",
                               "bottom left", "bottom centre", "bottom right"};

// As the program decides whether to tell its news to a live region or as an alert.
bool liveRegions() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwMajorVersion > 6 ||
           (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
}

VARIANT childId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string nameOf(IAccessible* object, LONG child) {
    BSTR name = nullptr;
    std::string out;
    if (object->get_accName(childId(child), &name) == S_OK) {
        for (const wchar_t* c = name; *c; ++c) {
            out += static_cast<char>(*c);
        }
        SysFreeString(name);
    }
    return out;
}

// The IAccessible of a child given as VT_DISPATCH, whose reference it takes over; or null.
IAccessible* accessibleOf(VARIANT& child) {
    IAccessible* object = nullptr;
    if (child.vt == VT_DISPATCH) {
        child.pdispVal->QueryInterface(iidAccessible, (void**)&object);
        child.pdispVal->Release();
    }
    return object;
}

// One object as a client reads it: an object of its own (child 0), or a child id of one.
struct Element {
    IAccessible* object = nullptr;  // held
    LONG child = 0;
    std::string name;
    LONG role = 0, state = 0;
    RECT where = {};
};

// Every object under `parent`, depth first, as AccessibleChildren gives them.
void readTree(IAccessible* parent, std::vector<Element>& out) {
    LONG count = 0, got = 0;
    if (!parent) {
        return;  // the client area gave no object (a failure told where it was asked)
    }
    parent->get_accChildCount(&count);
    std::vector<VARIANT> children(count > 0 ? count : 0);
    if (count <= 0 || FAILED(AccessibleChildren(parent, 0, count, children.data(), &got))) {
        return;
    }
    for (LONG i = 0; i < got; ++i) {
        Element e;
        e.child = children[i].vt == VT_I4 ? children[i].lVal : 0;
        if (!(e.object = accessibleOf(children[i]))) {
            (e.object = parent)->AddRef();
        }
        e.name = nameOf(e.object, e.child);
        VARIANT role, state;
        e.object->get_accRole(childId(e.child), &role);
        e.object->get_accState(childId(e.child), &state);
        e.role = role.lVal;
        e.state = state.lVal;
        LONG w = 0, h = 0;
        e.object->accLocation(&e.where.left, &e.where.top, &w, &h, childId(e.child));
        e.where.right = e.where.left + w;
        e.where.bottom = e.where.top + h;
        out.push_back(e);
        if (e.child == 0) {
            readTree(e.object, out);
        }
    }
}

class Reader {
  public:
    explicit Reader(HWND game) : window(game) {
        heardFrom = window;
        heard.clear();
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, hear, pid, 0, WINEVENT_OUTOFCONTEXT);
        AccessibleObjectFromWindow(window, OBJID_CLIENT, iidAccessible, (void**)&root);
    }
    ~Reader() {
        forget();
        if (root) {
            root->Release();
        }
        UnhookWinEvent(hook);
    }
    const std::vector<Element>& read() {
        forget();
        readTree(root, tree);
        return tree;
    }
    // The object of that name, read anew, or null.
    const Element* find(const std::string& name) {
        for (const Element& e : read()) {
            if (e.name == name) {
                return &e;
            }
        }
        return nullptr;
    }
    bool press(const std::string& name) {
        const Element* e = find(name);
        return e && e->object->accDoDefaultAction(childId(e->child)) == S_OK;
    }
    // The names, now, of what each event of that kind heard so far names.
    std::string namesHeard(DWORD kind) {
        std::string names;
        for (const auto& event : heard) {
            IAccessible* object = nullptr;
            VARIANT child;
            if (event.first == kind && SUCCEEDED(AccessibleObjectFromEvent(
                                           window, OBJID_CLIENT, event.second, &object, &child))) {
                names += nameOf(object, child.lVal) + "|";
                object->Release();
            }
        }
        return names;
    }

    IAccessible* root = nullptr;

  private:
    void forget() {
        for (const Element& e : tree) {
            e.object->Release();
        }
        tree.clear();
    }
    HWND window;
    HWINEVENTHOOK hook;
    std::vector<Element> tree;
};

void screenReader(const Context& context) {
    scenario = "screen reader at " + str(96 * scale) + " dpi";
    removeSettings();
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    Reader reader(game.hwnd());
    if (!expect(reader.root, "the client area answers WM_GETOBJECT with an IAccessible")) {
        return;
    }
    // The board screen: names, roles and states in reading order, each inside the window.
    std::string board =
        "Computer IQ: Smart 41 64|Help 43 1048576|Translucent 44 1048576|"
        "Keep on top 44 1048576|Your Move 41 64|Board 24 0|";
    for (const char* place : places) {
        board += std::string(place) + ", empty 29 1048576|";
    }
    board += "New Game 43 1048576|Settings 43 1048576| " + str(liveRegions() ? 41 : 8) + " 64|";
    POINT origin = {0, 0};
    ClientToScreen(game.hwnd(), &origin);
    RECT client = {}, both = {};
    GetClientRect(game.hwnd(), &client);
    OffsetRect(&client, origin.x, origin.y);
    std::string seen, outside;
    for (const Element& e : reader.read()) {
        seen += e.name + " " + str(e.role) + " " + str(e.state) + "|";
        IntersectRect(&both, &e.where, &client);
        outside += EqualRect(&both, &e.where) ? "" : e.name + " ";
    }
    expect(seen == board, "the items, their roles and states (" + seen + ")");
    expect(outside.empty(), "every item lies inside the client area (" + outside + ")");
    const Box centre = cellBox(1, 1);
    const Element* middle = reader.find("centre, empty");
    const RECT expected = {origin.x + centre.left * scale, origin.y + centre.top * scale,
                           origin.x + (centre.left + centre.width) * scale,
                           origin.y + (centre.top + centre.height) * scale};
    expect(middle && EqualRect(&middle->where, &expected),
           "the centre cell lies where the window draws it, in screen pixels");
    IAccessible *found = nullptr, *third = nullptr;
    VARIANT child;  // a hit test at the cell's bottom left pixel, from the window down
    AccessibleObjectFromPoint({expected.left, expected.bottom - 1}, &found, &child);
    expect(found && nameOf(found, child.lVal) == "centre, empty", "a hit test finds it there");
    // The children enumerated from a copy of the client area's enumeration.
    IEnumVARIANT *children = nullptr, *copy = nullptr;
    ULONG got = 0;
    reader.root->QueryInterface(IID_IEnumVARIANT, (void**)&children);
    expect(children && children->Reset() == S_OK && children->Skip(2) == S_OK &&
               children->Clone(&copy) == S_OK && copy->Next(1, &child, &got) == S_OK &&
               (third = accessibleOf(child)) && nameOf(third, 0) == "Translucent",
           "a copy of the enumeration goes on from where it was");
    for (IUnknown* done :
         {(IUnknown*)found, (IUnknown*)third, (IUnknown*)children, (IUnknown*)copy}) {
        if (done) {
            done->Release();
        }
    }

    // The centre played as a screen reader plays it; the computer's answer is told once.
    expect(reader.press("centre, empty"), "the centre cell's default action is taken");
    const DWORD newsEvent = liveRegions() ? 0x8019 : EVENT_SYSTEM_ALERT;  // the live region's
    std::string news;
    waitFor([&] { return (news = reader.namesHeard(newsEvent)).find("Your Move") != npos; }, 5000);
    const std::size_t took = news.find("The computer took the ");
    const std::string place =
        took == npos ? "?" : news.substr(took + 22, news.find('.') - took - 22);
    expect(took != npos && reader.find(place + ", the computer's (cross)") &&
               reader.find("centre, yours (ring)"),
           "the news names the computer's answer, and so does its cell (" + news + ")");

    // A new game, and Tab until the focus names a cell, which Space then plays.
    game.key('N');
    waitFor([&] { return reader.find("centre, empty"); }, 3000);
    heard.clear();
    std::string focus;
    std::size_t cell = npos;
    for (int tab = 0; tab < 12 && cell == npos; ++tab) {
        const std::size_t before = heard.size();
        game.key(VK_TAB);
        waitFor([&] { return heard.size() > before; }, 2000);
        cell = (focus = reader.namesHeard(EVENT_OBJECT_FOCUS)).find(", empty|");
    }
    const std::size_t from = cell == npos ? 0 : focus.rfind('|', cell) + 1;  // npos + 1 is 0
    const std::string mine = focus.substr(from, cell - from) + ", yours (";
    const Element* focused = reader.find(focus.substr(from, cell - from) + ", empty");
    expect(focused && (focused->state & STATE_SYSTEM_FOCUSED),
           "Tab brings the focus to a cell, named by the focus events (" + focus + ")");
    saveShot(context, game.capture(0, false), ("board-focus-" + str(96 * scale)).c_str());
    game.key(VK_SPACE);
    expect(waitFor([&] { return reader.find(mine + "ring)"); }, 3000), "Space plays that cell");

    // The settings: Fish chosen through its radio button. A cell held meanwhile is gone.
    IAccessible* held = reader.find(mine + "ring)")->object;
    held->AddRef();
    reader.press("Settings");
    expect(waitFor([&] { return reader.find("Fish"); }, 3000), "the settings' items are read");
    BSTR name = nullptr;
    expect(held->get_accName(childId(CHILDID_SELF), &name) == CO_E_OBJNOTCONNECTED,
           "a cell held while the settings show answers that it is gone");
    const auto chosen = [&] { return reader.find("Fish")->state & STATE_SYSTEM_CHECKED; };
    expect(reader.find("Fish")->role == ROLE_SYSTEM_RADIOBUTTON && reader.press("Fish") &&
               waitFor(chosen, 3000),
           "Fish is checked through its radio button");
    reader.press("Play !");
    expect(waitFor([&] { return reader.find(mine + "blue fish)"); }, 3000) &&
               nameOf(held, 0) == mine + "blue fish)",
           "the board comes back with the same objects, its pieces named as fish");

    // A client that asks for what is not there, and holds on after the window is gone.
    expect(reader.root->get_accName(childId(4242), &name) == E_INVALIDARG,
           "a child id that names nothing is refused");
    closeAndCheckExit(game);
    expect(FAILED(reader.root->get_accName(childId(CHILDID_SELF), &name)) &&
               FAILED(held->get_accName(childId(CHILDID_SELF), &name)),
           "the objects held after the window is gone answer with an error");
    held->Release();
}

// The run loads msimg32 and oleacc native first (e2e.sh), as Windows takes those names from the
// program's folder first. The planted ones leave msimg32.ran or oleacc.ran beside themselves when
// they run: never here, not even once a screen reader asks for the program's objects.
void plantedDll(const Context& context) {
    scenario = "planted DLL";
    const std::string folder = context.plantedExe.substr(0, context.plantedExe.rfind('\\'));
    const std::string dll = folder + "\\msimg32.";
    Game game(context.plantedExe, *context.art);
    if (game.start()) {
        game.click(settingsBox);  // the lists' marks are keyed copies
        Sleep(300);
        expect(Reader(game.hwnd()).find("Play !"), "a screen reader reads the program's objects");
        closeAndCheckExit(game);
    }
    expect(GetFileAttributesA((dll + "ran").c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesA((folder + "\\oleacc.ran").c_str()) == INVALID_FILE_ATTRIBUTES,
           "the DLLs beside the program never ran");
    expect(LoadLibraryA((dll + "dll").c_str()) &&
               GetFileAttributesA((dll + "ran").c_str()) != INVALID_FILE_ATTRIBUTES,
           "(and it runs when it is loaded)");
}

void twiceTheScale(const Context& context) {
    scenario = "twice the scale";
    removeSettings();
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    const Image shot = game.capture(0, false);
    saveShot(context, shot, "board-192dpi");
    expect(shot.width == 768 && shot.height == 730,
           "the drawing area is 768 x 730 (" + str(shot.width) + " x " + str(shot.height) + ")");
    for (int corner : {0, 1}) {
        const Image points = game.capture(corner);
        expect(game.plaque(points) == YourMove && game.board(points, 0) == "000000000" &&
                   game.picture(points, topmostBox, bitmap::pinFlat),
               "the plaque, the cells and the pin in 2 x 2 blocks (corner " + str(corner) + ")");
    }
    game.click(cellBox(2, 1));
    Image played;
    bool sawThinking = false;
    waitForAnswer(game, played, sawThinking);
    const std::string marks = game.board(played, 0);
    expect(marks[5] == '1' && marks.find('2') != std::string::npos,
           "a click at a doubled cell centre plays it (board " + marks + ")");
    SetWindowPos(game.hwnd(), nullptr, 240, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    waitFor([&] { return game.windowRect().left == 240; }, 2000);
    closeAndCheckExit(game);
    std::string saved;
    readFile(settingsFile(), saved);
    expect(saved == "0\r\n0\r\n0\r\n30\r\n240\r\n0\r\n1\r\n",
           "the place is saved in screen pixels (\"" + visible(saved) + "\")");
}

// The zoom (Ctrl with +, - and 0) at 96 dpi on a 1280 x 1024 screen, where twice the scale is
// the largest that fits, kept for the next start; then the moves to monitors of another DPI,
// which Wine never tells, sent as Windows would, 96 -> 192 and back.
void zoomAndMonitorDpi(const Context& context) {
    scenario = "zoom and another monitor's DPI";
    removeSettings();
    // The drawing area and the frame at `zoomed`, each point a block of that many pixels.
    auto shows = [&](Game& game, int zoomed, const std::string& what) {
        expect(waitFor([&] { return game.capture(0, false).width == 384 * zoomed; }, 3000),
               what + ": the drawing area at " + str(zoomed) + " times 384 x 365");
        scale = zoomed;
        expect(waitFor([&] { return game.plaque(game.capture(zoomed - 1)) == YourMove; }, 3000) &&
                   game.board(game.capture(), 0) == "000000000",
               what + ": the plaque and the cells in blocks of " + str(zoomed));
        saveShot(context, game.capture(0, false), ("zoom-" + str(zoomed)).c_str());
        scale = 1;
    };
    long left = 0;
    {
        Game game(context.exe, *context.art);
        if (!game.start()) {
            return;
        }
        SetWindowPos(game.hwnd(), nullptr, 700, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const std::pair<WORD, int> steps[] = {{VK_OEM_PLUS, 2}, {VK_ADD, 2}, {VK_OEM_MINUS, 1},
                                              {VK_OEM_PLUS, 2}, {'0', 1},    {VK_OEM_PLUS, 2}};
        for (const auto& step : steps) {
            game.key(step.first, true);
            shows(game, step.second, "Ctrl with key " + str(step.first));
        }
        left = game.windowRect().left;
        expect(left < 700 && game.windowRect().right == GetSystemMetrics(SM_CXFULLSCREEN),
               "the window moved left just enough to stay on the screen");
        closeAndCheckExit(game);
    }
    std::string zoom, saved;
    readFile(settingsFolder() + "\\vudezazivaze.zoom", zoom);
    readFile(settingsFile(), saved);
    expect(zoom == "1\n" && saved == "0\r\n0\r\n0\r\n20\r\n" + str(left) + "\r\n0\r\n1\r\n",
           "the zoom kept apart (\"" + visible(zoom) + "\"), the seven lines as ever");
    Game game(context.exe, *context.art);
    if (!game.start()) {
        return;
    }
    shows(game, 2, "the next start");
    game.key('0', true);
    Reader reader(game.hwnd());
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
    for (int dpi : {192, 96}) {
        // The answer: the whole scale's drawing area in the frame at that DPI.
        SIZE answer = {1, 1};
        game.sendWithData(0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, answer);
        RECT outer = {0, 0, 384 * dpi / 96, 365 * dpi / 96};
        adjustForDpi(&outer, static_cast<DWORD>(GetWindowLongA(game.hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(game.hwnd(), GWL_EXSTYLE)), dpi);
        expect(
            answer.cx == outer.right - outer.left && answer.cy == outer.bottom - outer.top,
            "WM_GETDPISCALEDSIZE at " + str(dpi) + ": " + str(answer.cx) + " x " + str(answer.cy));
        heard.clear();
        RECT suggested = {100, 60, 100 + answer.cx, 60 + answer.cy};
        game.sendWithData(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), suggested);
        shows(game, dpi / 96, "WM_DPICHANGED to " + str(dpi));
        const RECT r = game.windowRect();
        POINT origin = {0, 0};
        ClientToScreen(game.hwnd(), &origin);
        const Element* middle = reader.find("centre, empty");
        const Box centre = cellBox(1, 1);
        expect(r.left == 100 && r.top == 60 && middle &&
                   middle->where.left == origin.x + centre.left * dpi / 96 &&
                   middle->where.right == origin.x + (centre.left + centre.width) * dpi / 96,
               "at the suggested corner, MSAA's places at the new scale");
        const auto moved = [](const std::pair<DWORD, LONG>& event) {
            return event.first == EVENT_OBJECT_LOCATIONCHANGE;
        };
        expect(waitFor([&] { return std::any_of(heard.begin(), heard.end(), moved); }, 2000),
               "EVENT_OBJECT_LOCATIONCHANGE told");
    }
    closeAndCheckExit(game);
    removeSettings();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: e2e_driver <TicTacToe.exe> <screenshots> <planted copy>\n");
        return 2;
    }
    // The screen in pixels, as the program sees it.
    if (auto aware = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")) {
        // Through void (*)(), the one function type GCC lets any other be cast from.
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void (*)()>(aware))();
    }
    HDC screen = GetDC(nullptr);
    scale = (GetDeviceCaps(screen, LOGPIXELSX) + 48) / 96;
    ReleaseDC(nullptr, screen);
    Pictures pictures(argv[1]);
    Context context{argv[1], argv[2], &pictures, argv[3]};
    CreateDirectoryA(context.shots.c_str(), nullptr);
    if (pictures.get(YourMove).pixels.empty()) {
        std::printf("FAILED cannot read the pictures of %s\n", argv[1]);
        return 1;
    }

    CoInitialize(nullptr);
    if (std::getenv("VOK_E2E_SMOKE")) {  // the shipped 32-bit program under 32-bit Wine
        firstStart(context);
        settingsScreen(context);
    } else if (scale == 2) {
        screenReader(context);
        twiceTheScale(context);
    } else {
        screenReader(context);
        firstStart(context);
        settingsScreen(context);
        savedChoicesReturn(context);
        craftedFiles(context);
        sessionEnd(context);
        readOnlyFile(context);
        unwritableFolder(context);
        plantedDll(context);
        zoomAndMonitorDpi(context);
    }

    if (failures > 0) {
        std::printf("%d check(s) failed\n", failures);
        return 1;
    }
    std::printf("all end-to-end checks passed\n");
    return 0;
}
