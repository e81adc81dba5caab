// The Windows program must hold as many GDI objects after a thousand repaints as after the
// first. This check runs the program's own window class, window procedure and GDI drawing
// surface, and counts every GDI object the module makes and deletes: the module's import table
// is pointed at counting stand-ins before the window is made. (Where the system answers, as
// Windows does and Wine does not, its own count of the process's GDI objects is compared too.)

#include <windows.h>

#include <cstdio>
#include <map>

#include "shell/win32/Window.h"
#include "tests/support/BoardCells.h"

namespace {

// Every object made through the module and not yet deleted, with what made it.
std::map<HGDIOBJ, const char*> held;
long made = 0;
long deleted = 0;
long failedDeletes = 0;
long frames = 0;     // off-screen frame bitmaps: one per repaint
long windowDcs = 0;  // GetDC without its ReleaseDC

template <typename Handle>
Handle noteMade(Handle handle, const char* what) {
    if (handle) {
        held[reinterpret_cast<HGDIOBJ>(handle)] = what;
        ++made;
    }
    return handle;
}

void noteDeleted(HGDIOBJ handle, BOOL ok) {
    if (!ok) {
        ++failedDeletes;
        return;
    }
    if (held.erase(handle)) {
        ++deleted;
    }
}

// The real functions, and the stand-ins the import table is pointed at.
decltype(&CreateCompatibleDC) realCreateCompatibleDC;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
decltype(&CreateBitmap) realCreateBitmap;
decltype(&CreateDIBSection) realCreateDIBSection;
decltype(&CreatePen) realCreatePen;
decltype(&CreatePenIndirect) realCreatePenIndirect;
decltype(&CreateSolidBrush) realCreateSolidBrush;
decltype(&CreateBrushIndirect) realCreateBrushIndirect;
decltype(&CreateFontA) realCreateFontA;
decltype(&CreateFontIndirectA) realCreateFontIndirectA;
decltype(&CreateRectRgn) realCreateRectRgn;
decltype(&DeleteObject) realDeleteObject;
decltype(&DeleteDC) realDeleteDC;
decltype(&LoadBitmapA) realLoadBitmapA;
decltype(&LoadImageA) realLoadImageA;
decltype(&GetDC) realGetDC;
decltype(&ReleaseDC) realReleaseDC;

HDC WINAPI countedCreateCompatibleDC(HDC dc) {
    return noteMade(realCreateCompatibleDC(dc), "memory DC");
}
HBITMAP WINAPI countedCreateCompatibleBitmap(HDC dc, int w, int h) {
    ++frames;
    return noteMade(realCreateCompatibleBitmap(dc, w, h), "compatible bitmap");
}
HBITMAP WINAPI countedCreateBitmap(int w, int h, UINT planes, UINT bits, const void* data) {
    return noteMade(realCreateBitmap(w, h, planes, bits, data), "bitmap");
}
HBITMAP WINAPI countedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                       HANDLE section, DWORD offset) {
    return noteMade(realCreateDIBSection(dc, info, usage, bits, section, offset), "DIB section");
}
HPEN WINAPI countedCreatePen(int style, int width, COLORREF colour) {
    return noteMade(realCreatePen(style, width, colour), "pen");
}
HPEN WINAPI countedCreatePenIndirect(const LOGPEN* pen) {
    return noteMade(realCreatePenIndirect(pen), "pen");
}
HBRUSH WINAPI countedCreateSolidBrush(COLORREF colour) {
    return noteMade(realCreateSolidBrush(colour), "brush");
}
HBRUSH WINAPI countedCreateBrushIndirect(const LOGBRUSH* brush) {
    return noteMade(realCreateBrushIndirect(brush), "brush");
}
HFONT WINAPI countedCreateFontA(int h, int w, int esc, int orient, int weight, DWORD italic,
                                DWORD underline, DWORD strike, DWORD charset, DWORD precision,
                                DWORD clip, DWORD quality, DWORD pitch, LPCSTR face) {
    return noteMade(realCreateFontA(h, w, esc, orient, weight, italic, underline, strike, charset,
                                    precision, clip, quality, pitch, face),
                    "font");
}
HFONT WINAPI countedCreateFontIndirectA(const LOGFONTA* font) {
    return noteMade(realCreateFontIndirectA(font), "font");
}
HRGN WINAPI countedCreateRectRgn(int l, int t, int r, int b) {
    return noteMade(realCreateRectRgn(l, t, r, b), "region");
}
BOOL WINAPI countedDeleteObject(HGDIOBJ object) {
    const BOOL ok = realDeleteObject(object);
    noteDeleted(object, ok);
    return ok;
}
BOOL WINAPI countedDeleteDC(HDC dc) {
    const BOOL ok = realDeleteDC(dc);
    noteDeleted(reinterpret_cast<HGDIOBJ>(dc), ok);
    return ok;
}
HBITMAP WINAPI countedLoadBitmapA(HINSTANCE instance, LPCSTR name) {
    return noteMade(realLoadBitmapA(instance, name), "resource bitmap");
}
HANDLE WINAPI countedLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int w, int h,
                                UINT flags) {
    HANDLE image = realLoadImageA(instance, name, type, w, h, flags);
    return type == IMAGE_BITMAP ? noteMade(image, "loaded image") : image;
}
HDC WINAPI countedGetDC(HWND window) {
    HDC dc = realGetDC(window);
    windowDcs += dc != nullptr;
    return dc;
}
int WINAPI countedReleaseDC(HWND window, HDC dc) {
    const int released = realReleaseDC(window, dc);
    windowDcs -= released != 0;
    return released;
}

struct Hook {
    const char* module;
    const char* name;
    void* standIn;
    void** real;
};

#define HOOK(module, name)                                      \
    {                                                           \
        module, #name, reinterpret_cast<void*>(&counted##name), \
            reinterpret_cast<void**>(&real##name)               \
    }

Hook hooks[] = {
    HOOK("gdi32.dll", CreateCompatibleDC), HOOK("gdi32.dll", CreateCompatibleBitmap),
    HOOK("gdi32.dll", CreateBitmap),       HOOK("gdi32.dll", CreateDIBSection),
    HOOK("gdi32.dll", CreatePen),          HOOK("gdi32.dll", CreatePenIndirect),
    HOOK("gdi32.dll", CreateSolidBrush),   HOOK("gdi32.dll", CreateBrushIndirect),
    HOOK("gdi32.dll", CreateFontA),        HOOK("gdi32.dll", CreateFontIndirectA),
    HOOK("gdi32.dll", CreateRectRgn),      HOOK("gdi32.dll", DeleteObject),
    HOOK("gdi32.dll", DeleteDC),           HOOK("user32.dll", LoadBitmapA),
    HOOK("user32.dll", LoadImageA),        HOOK("user32.dll", GetDC),
    HOOK("user32.dll", ReleaseDC),
};

// Points every import of a hooked function in this executable at its stand-in; the number of
// import slots changed.
int hookImports() {
    for (Hook& hook : hooks) {
        *hook.real =
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(hook.module), hook.name));
    }
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int patched = 0;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
             slot->u1.Function != 0; ++slot) {
            for (Hook& hook : hooks) {
                if (*hook.real && reinterpret_cast<void*>(slot->u1.Function) == *hook.real) {
                    DWORD old = 0;
                    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                                   &old);
                    slot->u1.Function = reinterpret_cast<DWORD_PTR>(hook.standIn);
                    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
                    ++patched;
                }
            }
        }
    }
    return patched;
}

// What the system says the process holds, or 0 where it does not say.
DWORD systemCount() {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void click(HWND window, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageA(window, WM_MOUSEMOVE, 0, at);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(window, WM_LBUTTONUP, 0, at);
    SendMessageA(window, WM_TIMER, 111, 0);
}

// One round of use: a few moves and the computer's answers, a full repaint, and now and then
// the settings screen with another piece set, first mover and level.
void useTheWindow(HWND window, int round) {
    const BoardCell& cell = boardCells[round % 9];
    click(window, cell.x, cell.y);
    for (int i = 0; i < 24; ++i) {
        SendMessageA(window, WM_TIMER, 111, 0);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (round % 10 == 9) {
        click(window, 321, 155);                         // "Settings"
        click(window, 190, 80 + 20 * (round / 10 % 3));  // a piece set
        click(window, 60, 80 + 20 * (round / 10 % 2));   // a first mover
        click(window, 300, 80 + 20 * (round / 10 % 3));  // a level
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        click(window, 195, 225);  // "Play !"
    }
    if (round % 7 == 6) {
        SendMessageA(window, WM_KEYDOWN, 'N', 0);
        SendMessageA(window, WM_TIMER, 111, 0);
    }
    pump();
}

}  // namespace

int main() {
    const int patched = hookImports();
    if (patched < 8) {
        std::printf("FAILED: only %d GDI imports could be counted\n", patched);
        return 1;
    }

    HWND window = openMainWindow(GetModuleHandleA(nullptr));
    pump();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    const long firstFrames = frames;
    const std::size_t afterFirst = held.size();
    const long dcsAfterFirst = windowDcs;
    const DWORD systemAfterFirst = systemCount();

    for (int round = 0; frames < firstFrames + 1000; ++round) {
        useTheWindow(window, round);
    }

    const std::size_t afterAll = held.size();
    const DWORD systemAfterAll = systemCount();
    std::printf(
        "%d import slots counted; %ld repaints; GDI objects held after the first: %u, "
        "after the last: %u (%ld made, %ld deleted, %ld deletions failed); window DCs "
        "held: %ld then %ld; the system's count: %lu then %lu\n",
        patched, frames - firstFrames + 1, static_cast<unsigned>(afterFirst),
        static_cast<unsigned>(afterAll), made, deleted, failedDeletes, dcsAfterFirst, windowDcs,
        systemAfterFirst, systemAfterAll);

    bool ok = afterAll == afterFirst && failedDeletes == 0 && windowDcs == dcsAfterFirst;
    if (systemAfterFirst != 0 && systemAfterAll != systemAfterFirst) {
        ok = false;  // the system sees objects that the count above did not
    }
    for (const auto& object : held) {
        std::printf("still held: %s %p\n", object.second, static_cast<void*>(object.first));
    }
    DestroyWindow(window);
    pump();
    std::printf(ok ? "PASSED\n" : "FAILED\n");
    return ok ? 0 : 1;
}
