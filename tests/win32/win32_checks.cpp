// Checks of the Windows front end that need real GDI: the drawing surface draws into a memory
// bitmap and the pixels are read back. Also the bounded fatal-error text. Runs under Wine.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "shell/win32/GdiSurface.h"
#include "shell/win32/Win32Services.h"
#include "shell/win32/fatalText.h"
#include "tests/support/FocusRings.h"
#include "tests/support/HighContrastFrames.h"
#include "tests/support/SurfaceContract.h"

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

// A 32-bit off-screen canvas, filled with one colour, that a GdiSurface draws on.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF background) {
        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        HBRUSH fill = CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, fill);
        DeleteObject(fill);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc = nullptr;

  private:
    HDC screen = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

// The pictures are the module's bitmap resources (checks.rc). At a scale the canvas has that
// many pixels a point each way.
class GdiCanvas : public ContractCanvas {
  public:
    explicit GdiCanvas(int pixelsPerPoint = 1) : scale(pixelsPerPoint) {}
    DrawingSurface& start(int width, int height, Colour background) override {
        surface.reset();
        canvas = std::make_unique<Canvas>(width * scale, height * scale,
                                          static_cast<COLORREF>(background));
        surface = std::make_unique<GdiSurface>(canvas->dc, GetModuleHandleA(nullptr), scale);
        return *surface;
    }
    Colour at(int x, int y) override { return static_cast<Colour>(GetPixel(canvas->dc, x, y)); }

  private:
    int scale;
    std::unique_ptr<Canvas> canvas;
    std::unique_ptr<GdiSurface> surface;
};

void surfaceContract() {
    section = "surface contract";
    GdiCanvas canvas;
    for (const std::string& failure : surfaceContractFailures(canvas)) {
        check(false, failure.c_str(), __LINE__);
    }
    GdiCanvas twice(2);
    for (const std::string& failure : scaledSurfaceContractFailures(canvas, twice, 2)) {
        check(false, failure.c_str(), __LINE__);
    }
}

void focusRing() {
    section = "focus ring";
    GdiCanvas canvas;
    for (const std::string& failure : focusRings::failures(canvas)) {
        check(false, failure.c_str(), __LINE__);
    }
}

// The high-contrast look on GDI, and its palette read from the system's colours. Wine reports
// high contrast off whatever it is told, so only the colours can be set here (SetSysColors).
void highContrast() {
    section = "high contrast";
    GdiCanvas canvas;
    for (const std::string& failure : highContrastFrames::failures(canvas)) {
        check(false, failure.c_str(), __LINE__);
    }
    const ContrastPalette& c = contrastPalette::windowsWhite;
    const int elements[8] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE,  COLOR_BTNTEXT,
                             COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT, COLOR_GRAYTEXT};
    using P = ContrastPalette;
    Colour P::*const members[8] = {&P::window,    &P::windowText,    &P::buttonFace, &P::buttonText,
                                   &P::highlight, &P::highlightText, &P::hotLight,   &P::grayText};
    COLORREF before[8], set[8];
    for (int i = 0; i < 8; ++i) {
        before[i] = GetSysColor(elements[i]);
        set[i] = static_cast<COLORREF>(c.*members[i]);
    }
    CHECK(SetSysColors(8, elements, set) && Win32Services::systemPalette() == c);
    SetSysColors(8, elements, before);
}

// Text leaves the context's background mode as it found it.
void textModeRestored() {
    section = "text";
    Canvas canvas(64, 64, contract::ground);
    SetBkMode(canvas.dc, OPAQUE);
    GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
    surface.text("Tie", 2, 10, 62, 40, contract::textFont, contract::blue, TextAlign::Left);
    CHECK(GetBkMode(canvas.dc) == OPAQUE);
}

// The surface must give back every object it makes: a frame makes hundreds of them.
void objectsReleased() {
    section = "resources";
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HGDIOBJ penBefore = nullptr;
    HGDIOBJ brushBefore = nullptr;
    HGDIOBJ fontBefore = nullptr;
    {
        Canvas canvas(64, 64, contract::ground);
        penBefore = GetCurrentObject(canvas.dc, OBJ_PEN);
        brushBefore = GetCurrentObject(canvas.dc, OBJ_BRUSH);
        fontBefore = GetCurrentObject(canvas.dc, OBJ_FONT);
        GdiSurface surface(canvas.dc, GetModuleHandleA(nullptr));
        for (int i = 0; i < 300; ++i) {
            surface.copyBitmap(contract::mark, 0, 0, 20, 20);
            surface.copyBitmapKeyed(contract::mark, 0, 0, 20, 20);
            surface.rectangle(0, 0, 10, 10, contract::red, i % 2 == 0, contract::blue, 1);
            surface.line(0, 0, 10, 10, contract::red, 3);
            surface.text("New Game", 0, 0, 60, 20, contract::textFont, contract::red,
                         TextAlign::Centre);
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
    surfaceContract();
    focusRing();
    highContrast();
    textModeRestored();
    objectsReleased();
    fatalTexts();
    if (failures > 0) {
        std::printf("%d check(s) failed\n", failures);
        return 1;
    }
    std::printf("all Win32 checks passed\n");
    return 0;
}
