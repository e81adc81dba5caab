// Checks of the Windows front end that need real GDI: the drawing surface draws into a memory
// bitmap and the pixels are read back. Also the bounded fatal-error text. Runs under Wine.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "shell/win32/GdiSurface.h"
#include "shell/win32/fatalText.h"

namespace {

int failures = 0;
const char* section = "";

void check(bool ok, const char* what, int line) {
    if (!ok) {
        ++failures;
        std::printf("FAILED [%s] line %d: %s\n", section, line, what);
    }
}
#define CHECK(condition) check((condition), #condition, __LINE__)

const COLORREF background = RGB(1, 2, 3);
const int canvasSize = 64;

// A 32-bit off-screen canvas, filled with `background`, that a GdiSurface draws on.
class Canvas {
  public:
    Canvas() {
        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = canvasSize;
        info.bmiHeader.biHeight = -canvasSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        HBRUSH fill = CreateSolidBrush(background);
        RECT all = {0, 0, canvasSize, canvasSize};
        FillRect(dc, &all, fill);
        DeleteObject(fill);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    // Pixels inside [left, right) x [top, bottom) that differ from the background.
    int changed(int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += at(x, y) != background;
            }
        }
        return count;
    }
    // Columns holding a changed pixel: the leftmost and the rightmost, or -1.
    void inkColumns(int& first, int& last) const {
        first = last = -1;
        for (int x = 0; x < canvasSize; ++x) {
            if (changed(x, 0, x + 1, canvasSize) > 0) {
                if (first < 0) {
                    first = x;
                }
                last = x;
            }
        }
    }
    void inkRows(int& first, int& last) const {
        first = last = -1;
        for (int y = 0; y < canvasSize; ++y) {
            if (changed(0, y, canvasSize, y + 1) > 0) {
                if (first < 0) {
                    first = y;
                }
                last = y;
            }
        }
    }

    HDC dc = nullptr;

  private:
    HDC screen = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

// The test picture (resource 1, 8 x 6): white where (x + y) is a multiple of 3.
COLORREF patternAt(int x, int y) {
    if ((x + y) % 3 == 0) {
        return RGB(255, 255, 255);
    }
    return RGB(20 * x + 10, 30 * y + 5, 100);
}

const int patternId = 1;
const Colour red = rgb(200, 0, 0);
const Colour blue = rgb(0, 0, 200);

void rectangles() {
    section = "rectangle";
    {
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.rectangle(10, 10, 20, 16, red, false, blue, 1);
        // Outline on left/top and on right-1/bottom-1, the fill inside, nothing beyond.
        CHECK(canvas.at(10, 10) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(19, 15) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(19, 12) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(12, 15) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(11, 11) == static_cast<COLORREF>(red));
        CHECK(canvas.at(18, 14) == static_cast<COLORREF>(red));
        CHECK(canvas.at(20, 12) == background);
        CHECK(canvas.at(12, 16) == background);
        CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 10 * 6);
    }
    {
        // Pen width 0 is one pixel, like 1.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.rectangle(10, 10, 20, 16, red, false, blue, 0);
        CHECK(canvas.at(11, 11) == static_cast<COLORREF>(red));
        CHECK(canvas.at(10, 11) == static_cast<COLORREF>(blue));
    }
    {
        // Hollow: the outline only; the inside keeps what was there.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.rectangle(10, 10, 30, 30, red, true, blue, 1);
        CHECK(canvas.at(10, 20) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(29, 20) == static_cast<COLORREF>(blue));
        CHECK(canvas.at(20, 20) == background);
        CHECK(canvas.changed(11, 11, 29, 29) == 0);
    }
    {
        // A wide pen thickens the outline (the board cursor is 3 pixels).
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.rectangle(10, 10, 40, 40, red, true, blue, 3);
        CHECK(canvas.changed(0, 25, canvasSize, 26) >= 6);
        CHECK(canvas.at(25, 25) == background);
    }
}

void lines() {
    section = "line";
    Canvas canvas;
    GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
    surface.line(5, 30, 15, 30, red, 1);
    CHECK(canvas.at(5, 30) == static_cast<COLORREF>(red));
    CHECK(canvas.at(14, 30) == static_cast<COLORREF>(red));
    CHECK(canvas.at(15, 30) == background);  // the end point is not drawn
    CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 10);

    surface.line(40, 5, 40, 25, blue, 0);
    CHECK(canvas.at(40, 5) == static_cast<COLORREF>(blue));
    CHECK(canvas.at(40, 24) == static_cast<COLORREF>(blue));
    CHECK(canvas.at(40, 25) == background);
}

void bitmaps() {
    section = "copyBitmap";
    {
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.copyBitmap(patternId, 10, 20, 8, 6);
        bool same = true;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                same = same && canvas.at(10 + x, 20 + y) == patternAt(x, y);
            }
        }
        CHECK(same);
        CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 48);
    }
    {
        // Only the top-left w x h of the picture.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.copyBitmap(patternId, 0, 0, 3, 2);
        CHECK(canvas.at(1, 0) == patternAt(1, 0));
        CHECK(canvas.at(2, 1) == patternAt(2, 1));
        CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 6);
    }
    {
        // Ids the program does not have draw nothing, and do not fail.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.copyBitmap(999, 0, 0, 10, 10);
        surface.copyBitmap(0, 0, 0, 10, 10);
        surface.copyBitmap(-1, 0, 0, 10, 10);
        surface.copyBitmap(0x10001, 0, 0, 10, 10);  // would alias id 1 as a 16-bit id
        surface.copyBitmapKeyed(-5, 0, 0, 10, 10);
        surface.copyBitmapKeyed(999, 0, 0, 10, 10);
        CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 0);
    }

    section = "copyBitmapKeyed";
    {
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.copyBitmapKeyed(patternId, 10, 20, 8, 6);
        bool keyed = true;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                COLORREF expected = (x + y) % 3 == 0 ? background : patternAt(x, y);
                keyed = keyed && canvas.at(10 + x, 20 + y) == expected;
            }
        }
        CHECK(keyed);
        CHECK(canvas.changed(0, 0, canvasSize, canvasSize) == 48 - 16);
    }
}

void texts() {
    section = "text";
    const Font font{15, 6, 700};
    {
        // Clipped to its rectangle, and drawn in the colour asked for.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.text("WWWWWWWWWWWWWWWW", 20, 20, 40, 40, font, red, TextAlign::Left);
        int first = 0, last = 0;
        canvas.inkColumns(first, last);
        CHECK(first >= 20 && last <= 39);
        canvas.inkRows(first, last);
        CHECK(first >= 20 && last <= 39);
        CHECK(canvas.changed(20, 20, 40, 40) > 0);
        int redPixels = 0;
        for (int y = 20; y < 40; ++y) {
            for (int x = 20; x < 40; ++x) {
                redPixels += canvas.at(x, y) == static_cast<COLORREF>(red);
            }
        }
        CHECK(redPixels > 0);
    }
    // Left, centred and right placement of the same short text.
    int lefts[3] = {};
    int rights[3] = {};
    const TextAlign aligns[3] = {TextAlign::Left, TextAlign::Centre, TextAlign::Right};
    for (int i = 0; i < 3; ++i) {
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.text("Tie", 2, 10, 62, 40, font, blue, aligns[i]);
        canvas.inkColumns(lefts[i], rights[i]);
    }
    CHECK(lefts[0] >= 2 && lefts[0] <= 4);
    CHECK(rights[2] >= 59 && rights[2] <= 61);
    int centre = (lefts[1] + rights[1]) / 2;
    CHECK(centre >= 29 && centre <= 35);
    {
        // Vertically centred, on one line: a line end does not start a second line.
        Canvas canvas;
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.text("Tie\nTie", 2, 4, 62, 60, font, blue, TextAlign::Left);
        int top = 0, bottom = 0;
        canvas.inkRows(top, bottom);
        int middle = (top + bottom) / 2;
        CHECK(middle >= 28 && middle <= 36);
        CHECK(bottom - top < 15);
    }
    {
        // The background stays: transparent mode, whatever the context had before.
        Canvas canvas;
        SetBkMode(canvas.dc, OPAQUE);
        SetBkColor(canvas.dc, RGB(0, 255, 0));
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        surface.text("Tie", 2, 10, 62, 40, font, blue, TextAlign::Left);
        int green = 0;
        for (int y = 0; y < canvasSize; ++y) {
            for (int x = 0; x < canvasSize; ++x) {
                green += canvas.at(x, y) == RGB(0, 255, 0);
            }
        }
        CHECK(green == 0);
        CHECK(GetBkMode(canvas.dc) == OPAQUE);  // and the context is given back as it was
    }
}

// The surface must give back every object it makes: a frame makes hundreds of them.
void objectsReleased() {
    section = "resources";
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HGDIOBJ penBefore = nullptr;
    HGDIOBJ brushBefore = nullptr;
    HGDIOBJ fontBefore = nullptr;
    {
        Canvas canvas;
        penBefore = GetCurrentObject(canvas.dc, OBJ_PEN);
        brushBefore = GetCurrentObject(canvas.dc, OBJ_BRUSH);
        fontBefore = GetCurrentObject(canvas.dc, OBJ_FONT);
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        for (int i = 0; i < 300; ++i) {
            surface.copyBitmap(patternId, 0, 0, 8, 6);
            surface.copyBitmapKeyed(patternId, 0, 0, 8, 6);
            surface.rectangle(0, 0, 10, 10, red, i % 2 == 0, blue, 1);
            surface.line(0, 0, 10, 10, red, 3);
            surface.text("New Game", 0, 0, 60, 20, Font{15, 6, 700}, red, TextAlign::Centre);
        }
        CHECK(GetCurrentObject(canvas.dc, OBJ_PEN) == penBefore);
        CHECK(GetCurrentObject(canvas.dc, OBJ_BRUSH) == brushBefore);
        CHECK(GetCurrentObject(canvas.dc, OBJ_FONT) == fontBefore);
    }
    DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    CHECK(after <= before + 2);
}

void fatalTexts() {
    section = "fatal text";
    char text[512];
    composeFatalText(text, sizeof text, "Main1", 5, "Access denied.\r\n");
    CHECK(std::strcmp(text, "Main1 failed with error 5: Access denied.\r\n") == 0);

    composeFatalText(text, sizeof text, "Main1", -2147483647L - 1, nullptr);
    CHECK(std::strcmp(text, "Main1 failed with error -2147483648: ") == 0);

    // A system message far longer than the buffer is cut; nothing past the buffer changes.
    struct {
        char buffer[80];
        char guard[16];
    } box;
    std::memset(box.guard, 0x5A, sizeof box.guard);
    std::string longText(2000, 'x');
    std::size_t length =
        composeFatalText(box.buffer, sizeof box.buffer, "Main1", 1400, longText.c_str());
    CHECK(length == sizeof box.buffer - 1);
    CHECK(box.buffer[sizeof box.buffer - 1] == '\0');
    CHECK(std::strncmp(box.buffer, "Main1 failed with error 1400: xxx", 33) == 0);
    bool guardKept = true;
    for (char c : box.guard) {
        guardKept = guardKept && c == 0x5A;
    }
    CHECK(guardKept);

    // Even a buffer too small for the name.
    char tiny[4];
    CHECK(composeFatalText(tiny, sizeof tiny, "Main1", 5, "x") == 3);
    CHECK(std::strcmp(tiny, "Mai") == 0);
}

}  // namespace

int main() {
    rectangles();
    lines();
    bitmaps();
    texts();
    objectsReleased();
    fatalTexts();
    if (failures > 0) {
        std::printf("%d check(s) failed\n", failures);
        return 1;
    }
    std::printf("all Win32 checks passed\n");
    return 0;
}
