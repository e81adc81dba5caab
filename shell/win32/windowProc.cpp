#include "shell/WindowLogic.h"
#include "shell/win32/GdiSurface.h"
#include "shell/win32/Win32Services.h"
#include "shell/win32/win32Program.h"

namespace {

// Client coordinates of a mouse message: the low and high words, both unsigned.
void routePointerMessage(PointerEvent event, LPARAM lParam) {
    int px = LOWORD(lParam);
    int py = HIWORD(lParam);
    windowLogic::pointer(event, px, py);
}

}  // namespace

void paintWindow(HDC target) {
    int width = 0;
    int height = 0;
    windowLogic::drawingSize(width, height);

    // One fresh off-screen bitmap per frame, copied in a single block so the window never
    // shows a half-drawn state. It is not cleared: the first control covers it all.
    HDC memory = CreateCompatibleDC(target);
    HBITMAP frame = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previous = SelectObject(memory, frame);
    {
        GdiSurface surface(memory);
        windowLogic::render(surface);
    }
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(frame);
    DeleteDC(memory);
}

void onTimer(HWND window) {
    if (windowLogic::timerTick()) {
        HDC target = GetDC(window);
        paintWindow(target);
        ReleaseDC(window, target);
    }
}

void onKeyDown(WPARAM virtualKey) {
    windowLogic::keyDown(static_cast<int>(virtualKey));
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            mainWindow = window;
            win32Services().setWindow(window);
            windowLogic::created();
            return 1;
        case WM_DESTROY:
            // The window still exists here, so its position can be read.
            windowLogic::destroyed();
            PostQuitMessage(0);
            return 1;
        case WM_QUERYENDSESSION:
            return TRUE;  // the program never stands in the way of a log-off
        case WM_ENDSESSION:
            // Logging off or shutting down ends the process without destroying the window:
            // the choices are saved now, as the destruction would.
            if (wParam) {
                windowLogic::sessionEnding();
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC target = BeginPaint(window, &paint);
            paintWindow(target);  // the whole frame, whatever the update region
            EndPaint(window, &paint);
            return 1;
        }
        case WM_KEYDOWN:
            onKeyDown(wParam);
            return 1;
        case WM_COMMAND:
            return 1;
        case WM_TIMER:
            onTimer(window);  // any timer id counts as a tick
            return 1;
        case WM_MOUSEMOVE:
            routePointerMessage(PointerEvent::Move, lParam);
            return 1;
        case WM_LBUTTONDOWN:
            routePointerMessage(PointerEvent::LeftDown, lParam);
            return 1;
        case WM_LBUTTONUP:
            routePointerMessage(PointerEvent::LeftUp, lParam);
            return 1;
        case WM_RBUTTONDOWN:
            return 1;  // swallowed: no context menu of any kind
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
