// The Windows drawing surface: each operation through GDI, nothing kept between calls.

#include "shell/win32/GdiSurface.h"

#include <algorithm>
#include <cstdlib>

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
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        width = info.bmWidth;
        height = info.bmHeight;
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
    int width = 0;
    int height = 0;

  private:
    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    HGDIOBJ previous = nullptr;
};

// A pen `width` pixels wide. Up to one pixel, the ordinary pen (width 0 is one pixel too); a
// wider one is geometric with flat ends and mitred corners, so that a wide line or frame is a
// block of pixels, as on the raster surface. `style` is PS_SOLID or PS_INSIDEFRAME.
HPEN makePen(Colour colour, int width, int penWidth, DWORD style) {
    if (width <= 1) {
        return CreatePen(PS_SOLID, penWidth, static_cast<COLORREF>(colour));
    }
    LOGBRUSH brush = {BS_SOLID, static_cast<COLORREF>(colour), 0};
    return ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                        static_cast<DWORD>(width), &brush, 0, nullptr);
}

}  // namespace

void GdiSurface::copyBitmap(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, false);
}

void GdiSurface::copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) {
    copy(bitmapId, x, y, w, h, true);
}

void GdiSurface::copy(int bitmapId, int x, int y, int w, int h, bool keyed) {
    LoadedBitmap source(hdc, bitmaps, bitmapId);
    // No more than the picture has: a stretched copy would otherwise enlarge what lies
    // beyond it, and the keyed copy refuses such a request.
    w = std::min(w, source.width);
    h = std::min(h, source.height);
    if (!source.dc() || w <= 0 || h <= 0) {
        return;
    }
    // Whole factors without smoothing: each pixel of the picture becomes a block.
    const int s = factor;
    const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    if (keyed) {
        // gdi32's own keyed copy, of which msimg32's TransparentBlt is only a forwarder.
        GdiTransparentBlt(hdc, x * s, y * s, w * s, h * s, source.dc(), 0, 0, w, h,
                          RGB(255, 255, 255));
    } else {
        StretchBlt(hdc, x * s, y * s, w * s, h * s, source.dc(), 0, 0, w, h, SRCCOPY);
    }
    SetStretchBltMode(hdc, oldMode);
}

void GdiSurface::rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                           Colour outline, int penWidth) {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    // The pen runs along left..right-1 and top..bottom-1, a wide one half outward and half
    // inward: drawn inside the frame's outer edge, it lands on whole points at any scale.
    const int s = factor;
    const int pen = std::max(penWidth, 1);
    const int out = pen / 2;
    const int in = pen - 1 - out;
    HPEN outlinePen = makePen(outline, pen * s, penWidth, PS_INSIDEFRAME);
    HBRUSH brush = hollow ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                          : CreateSolidBrush(static_cast<COLORREF>(fill));
    HGDIOBJ oldPen = SelectObject(hdc, outlinePen);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    Rectangle(hdc, (left - out) * s, (top - out) * s, (right + in) * s, (bottom + in) * s);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    if (!hollow) {
        DeleteObject(brush);  // the stock hollow brush is the system's, not ours
    }
    DeleteObject(outlinePen);
}

void GdiSurface::line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) {
    const int s = factor;
    const int pen = std::max(penWidth, 1);
    if (s > 1 && x0 != x1 && y0 != y1) {
        slantedLine(x0, y0, x1, y1, colour, pen);
        return;
    }
    int dx = 0;
    int dy = 0;
    if (pen * s > 1) {
        // A flat-ended pen covers the path's length exactly: a line running back starts one
        // point later, so that its end point is the one left out. Across the line the pen lies
        // on the points it covers: pen/2 before the line's own, the rest after it.
        const int across = pen * s / 2 - (pen > 1 ? pen / 2 : 0) * s;
        dx = y0 == y1 ? (x1 < x0 ? s : 0) : across;
        dy = x0 == x1 ? (y1 < y0 ? s : 0) : across;
    }
    HPEN linePen = makePen(colour, pen * s, penWidth, PS_SOLID);
    HGDIOBJ oldPen = SelectObject(hdc, linePen);
    MoveToEx(hdc, x0 * s + dx, y0 * s + dy, nullptr);
    LineTo(hdc, x1 * s + dx, y1 * s + dy);
    SelectObject(hdc, oldPen);
    DeleteObject(linePen);
}

void GdiSurface::slantedLine(int x0, int y0, int x1, int y1, Colour colour, int pen) {
    // No pen puts a slanted line's points in whole blocks: each point of the walk is one,
    // pen points wide, as on the raster surface. The end point is left out.
    const int s = factor;
    const int from = pen > 1 ? pen / 2 : 0;
    const int dx = std::abs(x1 - x0), stepX = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), stepY = y0 < y1 ? 1 : -1;
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colour));
    int error = dx + dy;
    for (int x = x0, y = y0; x != x1 || y != y1;) {
        const RECT block = {(x - from) * s, (y - from) * s, (x - from + pen) * s,
                            (y - from + pen) * s};
        FillRect(hdc, &block, brush);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
    DeleteObject(brush);
}

void GdiSurface::text(const std::string& text, int left, int top, int right, int bottom,
                      const Font& font, Colour colour, TextAlign align) {
    // The font itself at the scale, not its letters enlarged.
    const int s = factor;
    HFONT face = CreateFontA(font.height * s, font.width * s, 0, 0, font.weight, 0, 0, 0, 0, 0, 0,
                             0, 0, nullptr);
    HGDIOBJ oldFont = SelectObject(hdc, face);
    COLORREF oldColour = SetTextColor(hdc, static_cast<COLORREF>(colour));
    int oldMode = SetBkMode(hdc, TRANSPARENT);

    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (align == TextAlign::Centre) {
        flags |= DT_CENTER;
    } else if (align == TextAlign::Right) {
        flags |= DT_RIGHT;
    }
    RECT box = {left * s, top * s, right * s, bottom * s};
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &box, flags);

    SetBkMode(hdc, oldMode);
    SetTextColor(hdc, oldColour);
    SelectObject(hdc, oldFont);
    DeleteObject(face);
}
