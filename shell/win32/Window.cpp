// The Windows program: one window of class "winMain", one thread, one message loop.
//
// The front-end contract (shell/WindowLogic.h), row by row:
//   Pointer   WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_LBUTTONUP, client coordinates divided by the
//             scale; Windows sends them only while the pointer is over the client area;
//             WM_RBUTTONDOWN is swallowed
//   Keys      WM_KEYDOWN, repeats included, with Shift and Ctrl as GetKeyState has them; Alt
//             combinations arrive as WM_SYSKEYDOWN and are left to the system
//   Timer     a window timer, WM_TIMER; Windows itself holds the period to about 15 ms
//   Paint     WM_PAINT and a tick that asks: the whole frame into a memory bitmap at the
//             scale (GdiSurface), one BitBlt
//   Window    a caption, window menu, minimise and close, no sizing border, round a drawing
//             area of the scale times 384 x 365 (390 x 390 outside at 96 dpi with the classic
//             caption); DPI-aware, the scale the system's DPI over 96, or the window's own
//             where each monitor has its own (`windowLogic::scaleForDpi`), times the player's
//             zoom; its place from GetWindowRect, in screen pixels
//   Zoom      Ctrl with the zoom's keys; WM_DPICHANGED on a move to a monitor of another DPI
//             (per-monitor aware where the system has it: the manifest and
//             SetProcessDpiAwarenessContext), answered beforehand by WM_GETDPISCALEDSIZE; the
//             services' scale taken by the paint, the pointer and the MSAA locations
//   Save      WM_DESTROY captures, WinMain saves after the loop; WM_ENDSESSION saves at a
//             log-off or shutdown, which never destroys the window
//   Access    WM_GETOBJECT for the client area answered with MSAA objects (the Bridge in
//             Frontend), handed each frame's description, made once while a client has asked
//             (shell/win32/Accessibility.h)

#include "shell/win32/Window.h"

#include "screens/Program.h"
#include "services/AppInfo.h"
#include "shell/ScreenDescription.h"
#include "shell/WindowLogic.h"
#include "shell/win32/Accessibility.h"
#include "shell/win32/GdiSurface.h"
#include "shell/win32/Win32Services.h"
#include "shell/win32/fatalText.h"

namespace {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

const char* const className = "winMain";
const int iconId = 100;

// The Windows front end's own: the module the window class, the icon and every bitmap come
// from, the window-system services, the program working through them, and the objects screen
// readers read.
struct Frontend {
    HINSTANCE instance = nullptr;
    Win32Services services;
    Program program{services};
    accessibility::Bridge access;
};
Frontend frontend;

// Shows "<name> failed with error <code>: <system text>" in a box captioned "Error" and ends
// the process with the thread's last error code.
[[noreturn]] void fatalError(const char* name) {
    DWORD code = GetLastError();
    char* detail = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                   0x400, reinterpret_cast<char*>(&detail), 0, nullptr);
    // Room for any usual system message; a longer one is cut, never written past the end.
    char text[512];
    composeFatalText(text, sizeof text, name, static_cast<long>(code), detail);
    MessageBoxA(nullptr, text, "Error", MB_OK);
    if (detail) {
        LocalFree(detail);
    }
    ExitProcess(code);
}

// A function of a system DLL that older Windows lack, looked up when it is wanted, so that the
// program still starts there (and imports nothing Windows XP does not have).
template <typename Function>
Function systemFunction(const char* dll, const char* name) {
    HMODULE module = GetModuleHandleA(dll);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// DLLs loaded later (the shell's, the system's helpers) never come from the current folder.
// Windows XP before SP1 lacks SetDllDirectoryA.
void narrowDllSearch() {
    if (auto setDllDirectory =
            systemFunction<BOOL(WINAPI*)(LPCSTR)>("kernel32.dll", "SetDllDirectoryA")) {
        setDllDirectory("");
    }
}

// The window is drawn at the system's DPI by the program itself, not enlarged by the system
// (the manifest says so too; Windows XP has neither and draws at 96 dpi): at each monitor's own
// from Windows 10 1703, else at the system's. The scale is the whole multiple of 96 nearest the
// DPI.
int dpiAwareScale() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    auto setContext = systemFunction<SetContext>("user32.dll", "SetProcessDpiAwarenessContext");
    if (!setContext || !setContext(perMonitorV2)) {
        if (auto setDpiAware =
                systemFunction<BOOL(WINAPI*)()>("user32.dll", "SetProcessDPIAware")) {
            setDpiAware();
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return windowLogic::scaleForDpi(dpi);
}

// The whole frame drawn off screen and copied to `target` in one block copy, so the window
// never shows a half-drawn state. The bitmap is not cleared: the first control covers it all.
void paintWindow(HDC target) {
    const int scale = frontend.services.scale();
    int width = 0;
    int height = 0;
    windowLogic::drawingSize(frontend.program, width, height);
    width *= scale;
    height *= scale;
    HDC memory = CreateCompatibleDC(target);
    HBITMAP frame = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previous = SelectObject(memory, frame);
    {
        GdiSurface surface(memory, frontend.instance, scale);
        windowLogic::render(frontend.program, surface);
    }
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(frame);
    DeleteDC(memory);
    // Screen readers are told what this frame changed: the frame described once, while any
    // client has asked for the objects.
    if (frontend.access.listening()) {
        frontend.access.frameShown(windowLogic::describeScreen(frontend.program));
    }
}

// The window's scale after something that may change it: MSAA's places follow it.
void afterRescale(int before) {
    const int scale = windowLogic::currentScale(frontend.program);
    if (scale != before) {
        frontend.access.scaleChanged(scale);
    }
}

// WM_GETDPISCALEDSIZE: the outer size the window takes at `dpi`, a whole scale with the
// player's zoom round which the frame is drawn at that DPI, not the linear size the system
// proposes.
void dpiScaledSize(int dpi, SIZE& size) {
    const int scale =
        windowLogic::scaleAtSystemScale(frontend.program, windowLogic::scaleForDpi(dpi));
    int width = 0, height = 0;
    windowLogic::drawingPixels(scale, width, height);
    size = frontend.services.outerSize(width, height, dpi);
}

void onTimer(HWND window) {
    if (windowLogic::timerTick(frontend.program)) {
        HDC target = GetDC(window);
        paintWindow(target);
        ReleaseDC(window, target);
    }
}

// Client coordinates of a mouse message: the low and high words, both unsigned, in pixels, so
// divided by the scale.
void onPointer(PointerEvent event, LPARAM lParam) {
    const int scale = frontend.services.scale();
    windowLogic::pointer(frontend.program, event, LOWORD(lParam) / scale, HIWORD(lParam) / scale);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // The start-up builds the screens and sizes the window once this returns.
            frontend.services.setWindow(window);
            return 1;
        case WM_DESTROY:
            // The window still exists here, so its position can be read.
            windowLogic::destroyed(frontend.program);
            frontend.access.windowDestroyed();
            PostQuitMessage(0);
            return 1;
        case WM_QUERYENDSESSION:
            return TRUE;  // the program never stands in the way of a log-off
        case WM_ENDSESSION:
            // Logging off or shutting down ends the process without destroying the window:
            // the choices are saved now, as the destruction would.
            if (wParam) {
                windowLogic::sessionEnding(frontend.program);
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC target = BeginPaint(window, &paint);
            paintWindow(target);  // the whole frame, whatever the update region
            EndPaint(window, &paint);
            return 1;
        }
        case WM_KEYDOWN: {
            const int before = windowLogic::currentScale(frontend.program);
            windowLogic::keyDown(frontend.program, static_cast<int>(wParam),
                                 GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
            afterRescale(before);
            return 1;
        }
        case WM_GETDPISCALEDSIZE:
            dpiScaledSize(LOWORD(wParam), *reinterpret_cast<SIZE*>(lParam));
            return TRUE;
        case WM_DPICHANGED: {
            // The system's suggested rectangle gives the place; the size is the whole scale's,
            // as WM_GETDPISCALEDSIZE answered.
            const int before = windowLogic::currentScale(frontend.program);
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            windowLogic::systemScaleChanged(frontend.program,
                                            windowLogic::scaleForDpi(LOWORD(wParam)),
                                            suggested->left, suggested->top);
            afterRescale(before);
            return 0;
        }
        case WM_COMMAND:
            return 1;
        case WM_TIMER:
            onTimer(window);  // any timer id counts as a tick
            return 1;
        case WM_MOUSEMOVE:
            onPointer(PointerEvent::Move, lParam);
            return 1;
        case WM_LBUTTONDOWN:
            onPointer(PointerEvent::LeftDown, lParam);
            return 1;
        case WM_LBUTTONUP:
            onPointer(PointerEvent::LeftUp, lParam);
            return 1;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // High contrast switched, or its colours changed: the same game, screen and focus,
            // drawn at once in the new look.
            if (windowLogic::systemContrastChanged(frontend.program)) {
                InvalidateRect(window, nullptr, FALSE);
            }
            break;
        case WM_RBUTTONDOWN:
            return 1;  // swallowed: no context menu of any kind
        case WM_GETOBJECT: {
            LRESULT answer = 0;
            if (frontend.access.getObject(window, frontend.program, frontend.services.scale(),
                                          wParam, lParam, answer)) {
                return answer;
            }
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerWindowClass() {
    WNDCLASSA windowClass = {};
    // CS_OWNDC | CS_HREDRAW | CS_VREDRAW; no CS_DBLCLKS, so a quick second click is an
    // ordinary press.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = frontend.instance;
    windowClass.hIcon = LoadIconA(frontend.instance, MAKEINTRESOURCEA(iconId));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;  // every frame covers the whole client area
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) {
        fatalError("Main1");
    }
}

// The Windows program's part of the start-up: its one window, sized by `created` round the
// drawing area, with its stacking order and opacity before it is first seen.
class WindowsOpener : public windowLogic::WindowOpener {
  public:
    bool makeWindow(int left, int top) override {
        window = CreateWindowExA(WS_EX_LAYERED, className, appTitle, WS_SYSMENU | WS_MINIMIZEBOX,
                                 left, top, 0, 0, nullptr, nullptr, frontend.instance, nullptr);
        if (!window) {
            // Without a window the loop would wait for ever for a quit message nobody sends.
            fatalError("Main2");
        }
        // Where each monitor has its own DPI, the window's is the one it opened on.
        using DpiOfWindow = UINT(WINAPI*)(HWND);
        if (auto dpiOfWindow = systemFunction<DpiOfWindow>("user32.dll", "GetDpiForWindow")) {
            windowLogic::setSystemScale(frontend.program,
                                        windowLogic::scaleForDpi(dpiOfWindow(window)));
        }
        return true;
    }
    void showWindow() override {
        ShowWindow(window, SW_SHOWNORMAL);  // whatever show command the program was started with
        UpdateWindow(window);
    }
    HWND window = nullptr;
};

}  // namespace

HWND openMainWindow(HINSTANCE instance) {
    frontend.instance = instance;
    windowLogic::setSystemScale(frontend.program, dpiAwareScale());
    registerWindowClass();
    WindowsOpener opener;
    windowLogic::openWindow(frontend.program, opener);
    return opener.window;
}

void runMessageLoop() {
    MSG message = {};
    // GetMessageA gives -1 on an error; only a real quit message (0) ends the loop normally.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The command line and the show command are not used: the window always opens normally.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    narrowDllSearch();
    openMainWindow(instance);
    runMessageLoop();
    windowLogic::shutDown(frontend.program);
    // A normal close ends with 1, not with the quit message's 0.
    return 1;
}
