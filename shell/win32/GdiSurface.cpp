// The Windows drawing surface: each operation through GDI, nothing kept between calls.

#include "shell/win32/GdiSurface.h"

namespace {

// Resource ids are 16-bit; anything else is not one of ours (and MAKEINTRESOURCE would turn it
// into a pointer).
bool isResourceId(int id) {
    return id > 0 && id <= 0xFFFF;
}

// A bitmap resource selected into its own memory context for the length of one copy.
class LoadedBitmap {
  public:
    LoadedBitmap(HDC target, HINSTANCE module, int id) {
        if (!isResourceId(id)) {
            return;
        }
        bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
        if (!bitmap) {
            return;
        }
        memory = CreateCompatibleDC(target);
        previous = SelectObject(memory, bitmap);
    }
    ~LoadedBitmap() {
        if (memory) {
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        if (bitmap) {
            DeleteObject(bitmap);
        }
    }
    LoadedBitmap(const LoadedBitmap&) = delete;
    LoadedBitmap& operator=(const LoadedBitmap&) = delete;

    HDC dc() const { return memory; }

  private:
    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    HGDIOBJ previous = nullptr;
};

}  // namespace

void GdiSurface::copyBitmap(int bitmapId, int x, int y, int w, int h) {
    LoadedBitmap source(hdc, bitmaps, bitmapId);
    if (source.dc()) {
        BitBlt(hdc, x, y, w, h, source.dc(), 0, 0, SRCCOPY);
    }
}

void GdiSurface::copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) {
    LoadedBitmap source(hdc, bitmaps, bitmapId);
    if (source.dc()) {
        // gdi32's own keyed copy, of which msimg32's TransparentBlt is only a forwarder.
        GdiTransparentBlt(hdc, x, y, w, h, source.dc(), 0, 0, w, h, RGB(255, 255, 255));
    }
}

void GdiSurface::rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                           Colour outline, int penWidth) {
    HPEN pen = CreatePen(PS_SOLID, penWidth, static_cast<COLORREF>(outline));
    HBRUSH brush = hollow ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                          : CreateSolidBrush(static_cast<COLORREF>(fill));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    Rectangle(hdc, left, top, right, bottom);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    if (!hollow) {
        DeleteObject(brush);  // the stock hollow brush is the system's, not ours
    }
    DeleteObject(pen);
}

void GdiSurface::line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) {
    HPEN pen = CreatePen(PS_SOLID, penWidth, static_cast<COLORREF>(colour));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}

void GdiSurface::text(const std::string& text, int left, int top, int right, int bottom,
                      const Font& font, Colour colour, TextAlign align) {
    HFONT face =
        CreateFontA(font.height, font.width, 0, 0, font.weight, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ oldFont = SelectObject(hdc, face);
    COLORREF oldColour = SetTextColor(hdc, static_cast<COLORREF>(colour));
    int oldMode = SetBkMode(hdc, TRANSPARENT);

    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (align == TextAlign::Centre) {
        flags |= DT_CENTER;
    } else if (align == TextAlign::Right) {
        flags |= DT_RIGHT;
    }
    RECT box = {left, top, right, bottom};
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &box, flags);

    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, oldColour);
    SelectObject(hdc, oldFont);
    DeleteObject(face);
}
