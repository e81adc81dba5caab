#include "shell/AppInfo.h"
#include "shell/WindowLogic.h"
#include "shell/win32/Win32Services.h"
#include "shell/win32/fatalText.h"
#include "shell/win32/win32Program.h"

namespace {

const char* const className = "winMain";
const int iconId = 100;

}  // namespace

Win32Services& win32Services() {
    static Win32Services services;
    return services;
}

void registerWindowClass() {
    WNDCLASSA windowClass = {};
    // CS_OWNDC | CS_HREDRAW | CS_VREDRAW; no CS_DBLCLKS, so a quick second click is an
    // ordinary press.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(iconId));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;  // every frame covers the whole client area
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) {
        fatalError("Main1");
    }
}

void fatalError(const char* name) {
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

WPARAM runMainWindow() {
    int left = 0;
    int top = 0;
    windowLogic::savedPosition(left, top);

    // The window procedure builds the screens and sizes the window inside this call.
    HWND window = CreateWindowExA(WS_EX_LAYERED, className, appTitle, WS_SYSMENU | WS_MINIMIZEBOX,
                                  left, top, 0, 0, nullptr, nullptr, appInstance, nullptr);
    if (!window) {
        // Without a window the loop below would wait for ever for a quit message nobody sends.
        fatalError("Main2");
    }

    // Stacking order and opacity before the window is first seen.
    windowLogic::applyWindowFlags();
    ShowWindow(window, SW_SHOWNORMAL);  // whatever show command the program was started with
    UpdateWindow(window);

    MSG message = {};
    // GetMessageA gives -1 on an error; only a real quit message (0) ends the loop normally.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.wParam;
}
