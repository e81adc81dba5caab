// A drawing surface that records its calls in order, for the unit tests to read.

#include "tests/support/RecordingSurface.h"

#include <sstream>

std::string DrawCall::describe() const {
    std::ostringstream out;
    switch (kind) {
        case Bitmap:
        case KeyedBitmap:
            out << (kind == Bitmap ? "bitmap " : "keyed ") << id << " at " << x << "," << y << " "
                << w << "x" << h;
            break;
        case Rectangle:
            out << "rect " << left << "," << top << "-" << right << "," << bottom;
            if (hollow) {
                out << " hollow";
            } else {
                out << " fill " << fill;
            }
            out << " outline " << colour << " pen " << penWidth;
            break;
        case Line:
            out << "line " << left << "," << top << "-" << right << "," << bottom << " colour "
                << colour << " pen " << penWidth;
            break;
        case Text:
            out << "text \"" << text << "\" in " << left << "," << top << "-" << right << ","
                << bottom << " font " << font.height << "/" << font.width << "/" << font.weight
                << " colour " << colour << " align " << static_cast<int>(align);
            break;
    }
    return out.str();
}

void RecordingSurface::copyBitmap(int bitmapId, int x, int y, int w, int h) {
    DrawCall call;
    call.kind = DrawCall::Bitmap;
    call.id = bitmapId;
    call.x = x;
    call.y = y;
    call.w = w;
    call.h = h;
    calls.push_back(call);
}

void RecordingSurface::copyBitmapKeyed(int bitmapId, int x, int y, int w, int h) {
    DrawCall call;
    call.kind = DrawCall::KeyedBitmap;
    call.id = bitmapId;
    call.x = x;
    call.y = y;
    call.w = w;
    call.h = h;
    calls.push_back(call);
}

void RecordingSurface::rectangle(int left, int top, int right, int bottom, Colour fill, bool hollow,
                                 Colour outline, int penWidth) {
    DrawCall call;
    call.kind = DrawCall::Rectangle;
    call.left = left;
    call.top = top;
    call.right = right;
    call.bottom = bottom;
    call.fill = fill;
    call.hollow = hollow;
    call.colour = outline;
    call.penWidth = penWidth;
    calls.push_back(call);
}

void RecordingSurface::line(int x0, int y0, int x1, int y1, Colour colour, int penWidth) {
    DrawCall call;
    call.kind = DrawCall::Line;
    call.left = x0;
    call.top = y0;
    call.right = x1;
    call.bottom = y1;
    call.colour = colour;
    call.penWidth = penWidth;
    calls.push_back(call);
}

void RecordingSurface::text(const std::string& text, int left, int top, int right, int bottom,
                            const Font& font, Colour colour, TextAlign align) {
    DrawCall call;
    call.kind = DrawCall::Text;
    call.text = text;
    call.left = left;
    call.top = top;
    call.right = right;
    call.bottom = bottom;
    call.font = font;
    call.colour = colour;
    call.align = align;
    calls.push_back(call);
}

std::vector<DrawCall> RecordingSurface::only(DrawCall::Kind kind) const {
    std::vector<DrawCall> result;
    for (const DrawCall& call : calls) {
        if (call.kind == kind) {
            result.push_back(call);
        }
    }
    return result;
}

std::string RecordingSurface::describe() const {
    std::string result;
    for (const DrawCall& call : calls) {
        result += call.describe();
        result += '\n';
    }
    return result;
}
