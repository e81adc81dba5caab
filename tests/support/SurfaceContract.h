// One table of drawing-surface cases that both real surfaces must pass.
#pragma once
// What every drawing surface must put on the pixels, whatever draws them: one table of
// drawings and the pixels each must leave, run on the SDL surface and on GDI alike. Glyph
// shapes differ between the two font renderers, so the text cases look only at where the ink
// lies, never at its shape.

#include <cstdio>
#include <string>
#include <vector>

#include "scob/bitmapIds.h"
#include "platform/DrawingSurface.h"

// The canvas a front end's surface draws on for one case.
class ContractCanvas {
  public:
    virtual ~ContractCanvas() = default;
    // A fresh canvas of width x height pixels of `background`, and the surface drawing on it.
    virtual DrawingSurface& start(int width, int height, Colour background) = 0;
    // A pixel of the latest canvas.
    virtual Colour at(int x, int y) = 0;
};

namespace contract {

const int size = 64;                 // every canvas is size x size
const Colour ground = rgb(1, 2, 3);  // and starts in this colour
const Colour red = rgb(200, 0, 0);
const Colour blue = rgb(0, 0, 200);
const Colour white = rgb(255, 255, 255);
const Colour grey = rgb(128, 128, 128);

// The 20 x 20 selection mark (740) is a picture both front ends can draw: the Linux program
// has it built in, and the Win32 checks build the program's own file in under the same id
// (checks.rc). A pure white ground round a dark square with a near-white cross, and its rows
// differ top to bottom, so an upside-down copy shows.
const int mark = bitmap::selectionMark;
const Colour markDark = rgb(16, 16, 16);
const Colour markLight = rgb(246, 246, 246);  // near white: a keyed copy keeps it

const Font textFont{15, 6, 700};

// A check of the box [left, right) x [top, bottom).
struct Probe {
    enum Kind {
        All,        // every pixel in the box is `colour`
        Some,       // at least one is
        OnlyInside  // every pixel outside the box keeps the ground
    } kind;
    int left, top, right, bottom;
    Colour colour;
};

inline Probe at(int x, int y, Colour colour) {
    return {Probe::All, x, y, x + 1, y + 1, colour};
}
inline Probe all(int left, int top, int right, int bottom, Colour colour) {
    return {Probe::All, left, top, right, bottom, colour};
}
inline Probe some(int left, int top, int right, int bottom, Colour colour) {
    return {Probe::Some, left, top, right, bottom, colour};
}
inline Probe onlyInside(int left, int top, int right, int bottom) {
    return {Probe::OnlyInside, left, top, right, bottom, ground};
}
inline Probe blank() {
    return onlyInside(0, 0, 0, 0);
}

struct Case {
    const char* name;
    void (*draw)(DrawingSurface&);
    std::vector<Probe> probes;
};

inline const std::vector<Case>& cases() {
    using S = DrawingSurface&;
    static const std::vector<Case> table = {
        {"rectangle: outline on left/top and right-1/bottom-1, fill inside",
         [](S s) { s.rectangle(10, 10, 20, 16, red, false, blue, 1); },
         {all(10, 10, 20, 11, blue), all(10, 15, 20, 16, blue), all(10, 10, 11, 16, blue),
          all(19, 10, 20, 16, blue), all(11, 11, 19, 15, red), onlyInside(10, 10, 20, 16)}},
        {"rectangle: pen width 0 is one pixel",
         [](S s) { s.rectangle(10, 10, 20, 16, red, false, blue, 0); },
         {all(10, 10, 20, 11, blue), all(19, 10, 20, 16, blue), all(11, 11, 19, 15, red),
          onlyInside(10, 10, 20, 16)}},
        {"rectangle: hollow leaves the inside untouched",
         [](S s) { s.rectangle(10, 10, 30, 30, red, true, blue, 1); },
         {at(10, 20, blue), at(29, 20, blue), at(20, 29, blue), all(11, 11, 29, 29, ground),
          onlyInside(10, 10, 30, 30)}},
        {"rectangle: a 3-pixel pen spreads one pixel to each side",
         [](S s) { s.rectangle(10, 10, 30, 30, red, false, blue, 3); },
         {all(9, 20, 12, 21, blue), at(12, 20, red), at(28, 20, blue), at(30, 20, blue),
          at(27, 20, red), onlyInside(9, 9, 31, 31)}},
        {"rectangle: clipped to the canvas",
         [](S s) { s.rectangle(-5, -5, 100, 100, red, false, blue, 1); },
         {all(0, 0, size, size, red)}},

        {"line: level, the end point left out",
         [](S s) { s.line(5, 30, 15, 30, red, 1); },
         {all(5, 30, 15, 31, red), onlyInside(5, 30, 15, 31)}},
        {"line: upright towards the top, pen width 0",
         [](S s) { s.line(40, 25, 40, 5, blue, 0); },
         {all(40, 6, 41, 26, blue), onlyInside(40, 6, 41, 26)}},
        {"line: diagonal",
         [](S s) { s.line(0, 3, 3, 6, red, 1); },
         {at(0, 3, red), at(1, 4, red), at(2, 5, red), at(3, 6, ground), onlyInside(0, 3, 3, 6)}},
        {"line: no length draws nothing", [](S s) { s.line(4, 4, 4, 4, red, 1); }, {blank()}},
        {"line: a 3-pixel pen covers one pixel either side",
         [](S s) { s.line(30, 10, 30, 40, red, 3); },
         // Only across the line: GDI's wide pens put round caps on its ends.
         {all(29, 12, 32, 38, red), onlyInside(29, 0, 32, size)}},

        {"copyBitmap: the picture as it is",
         [](S s) { s.copyBitmap(mark, 10, 20, 20, 20); },
         {at(10, 20, white), at(13, 23, white), at(14, 23, markDark), at(16, 26, markLight),
          at(17, 26, markLight), at(16, 33, markLight), at(17, 33, markDark), at(29, 39, white),
          onlyInside(10, 20, 30, 40)}},
        {"copyBitmap: w x h from the picture's origin",
         [](S s) { s.copyBitmap(mark, 10, 10, 5, 4); },
         {at(10, 10, white), at(13, 13, white), at(14, 13, markDark), onlyInside(10, 10, 15, 14)}},
        {"copyBitmap: no more than the picture has",
         [](S s) { s.copyBitmap(mark, 5, 5, 40, 40); },
         {at(24, 24, white), onlyInside(5, 5, 25, 25)}},
        {"copyBitmap: clipped at the canvas edge",
         [](S s) { s.copyBitmap(mark, -5, -6, 20, 20); },
         {at(0, 0, markDark), at(1, 0, markLight), at(14, 13, white), onlyInside(0, 0, 15, 14)}},
        {"copyBitmap: ids the program does not have draw nothing",
         [](S s) {
             // The last would be the mark if ids were cut to 16 bits.
             for (int id : {12345, 0, -1, 0x10000 + mark}) {
                 s.copyBitmap(id, 0, 0, 20, 20);
                 s.copyBitmapKeyed(id, 0, 0, 20, 20);
             }
         },
         {blank()}},
        {"copyBitmapKeyed: pure white left out",
         [](S s) { s.copyBitmapKeyed(mark, 10, 20, 20, 20); },
         {at(14, 23, markDark), at(16, 26, markLight), at(17, 33, markDark),
          onlyInside(13, 23, 27, 37)}},
        {"copyBitmapKeyed: w x h from the picture's origin",
         [](S s) { s.copyBitmapKeyed(mark, 10, 10, 5, 4); },
         {at(14, 13, markDark), onlyInside(14, 13, 15, 14)}},

        // The cell of textFont, centred in rows 0-63, spans rows 24-38. "Tie" stands on the
        // baseline with nothing below it: its ink keeps to rows 24-36, and rows 37-38 of the
        // cell show only what was there before.
        {"text: left-aligned, on one vertically centred line",
         [](S s) { s.text("Tie", 0, 0, size, size, textFont, red, TextAlign::Left); },
         {some(0, 24, 8, 37, red), onlyInside(0, 24, 28, 37)}},
        {"text: centred",
         [](S s) { s.text("Tie", 0, 0, size, size, textFont, red, TextAlign::Centre); },
         {some(22, 24, 42, 37, red), onlyInside(18, 24, 46, 37)}},
        {"text: right-aligned",
         [](S s) { s.text("Tie", 0, 0, size, size, textFont, red, TextAlign::Right); },
         {some(56, 24, size, 37, red), onlyInside(36, 24, size, 37)}},
        {"text: a line end does not start a second line",
         [](S s) { s.text("Tie\nTie", 0, 0, size, size, textFont, red, TextAlign::Left); },
         {onlyInside(0, 22, size, 42)}},
        {"text: clipped to its rectangle",
         [](S s) { s.text("WWWWWWWWWWWWWWWW", 20, 20, 40, 40, textFont, red, TextAlign::Left); },
         {some(20, 20, 40, 40, red), onlyInside(20, 20, 40, 40)}},
        {"text: a rectangle lower than the text shows the part inside",
         [](S s) {
             s.text("Computer wins", 10, 28, 54, 35, Font{27, 13, 700}, red, TextAlign::Centre);
         },
         {some(10, 28, 54, 35, red), onlyInside(10, 28, 54, 35)}},
        {"text: over what was there, with no background of its own",
         [](S s) {
             s.rectangle(0, 0, size, size, grey, false, grey, 1);
             s.text("Tie", 0, 0, size, size, textFont, red, TextAlign::Centre);
         },
         {some(22, 24, 42, 37, red), all(0, 37, size, 39, grey), all(0, 24, 18, 37, grey)}},
        {"text: empty text draws nothing",
         [](S s) { s.text("", 0, 0, size, size, textFont, red, TextAlign::Centre); },
         {blank()}},
    };
    return table;
}

inline std::string named(Colour c) {
    char text[24];
    std::snprintf(text, sizeof text, "rgb(%d,%d,%d)", redOf(c), greenOf(c), blueOf(c));
    return text;
}

// What is wrong with the canvas by the probe, or "" when nothing is. At a scale the probe's box
// is that many times larger, and so is the canvas.
inline std::string fault(ContractCanvas& canvas, Probe p, int scale = 1) {
    p.left *= scale, p.top *= scale, p.right *= scale, p.bottom *= scale;
    const int size = contract::size * scale;
    const bool outside = p.kind == Probe::OnlyInside;
    char box[48];
    std::snprintf(box, sizeof box, "[%d,%d)x[%d,%d)", p.left, p.right, p.top, p.bottom);
    for (int y = outside ? 0 : p.top; y < (outside ? size : p.bottom); ++y) {
        for (int x = outside ? 0 : p.left; x < (outside ? size : p.right); ++x) {
            const bool inBox = x >= p.left && x < p.right && y >= p.top && y < p.bottom;
            if (outside && inBox) {
                continue;
            }
            const Colour c = canvas.at(x, y);
            if (p.kind == Probe::Some && c == p.colour) {
                return "";
            }
            if (p.kind != Probe::Some && c != p.colour) {
                char point[32];
                std::snprintf(point, sizeof point, "(%d,%d) ", x, y);
                return point + std::string(outside ? "outside " : "of ") + box + " is " + named(c) +
                       ", not " + named(p.colour);
            }
        }
    }
    return p.kind == Probe::Some ? "no " + named(p.colour) + " in " + box : "";
}

}  // namespace contract

// Runs every case on the canvas; one line per failed probe: the case's name and what was wrong.
inline std::vector<std::string> surfaceContractFailures(ContractCanvas& canvas) {
    std::vector<std::string> failures;
    for (const contract::Case& c : contract::cases()) {
        c.draw(canvas.start(contract::size, contract::size, contract::ground));
        for (const contract::Probe& p : c.probes) {
            const std::string fault = contract::fault(canvas, p);
            if (!fault.empty()) {
                failures.push_back(std::string(c.name) + ": " + fault);
            }
        }
    }
    return failures;
}

// The same cases at a whole scale beside the first: outside text, each point of the scaled
// canvas is a block of the first canvas's pixel. Text keeps its probes, scaled, and is drawn
// anew at its size, not enlarged: its ink (anything but the grounds) covers about as many
// pixels as the first text's points enlarged would, and some of its edges lie inside a block.
inline std::vector<std::string> scaledSurfaceContractFailures(ContractCanvas& first,
                                                              ContractCanvas& scaled, int scale) {
    using namespace contract;
    std::vector<std::string> failures;
    auto isInk = [](Colour c) { return c != ground && c != grey; };
    for (const Case& c : cases()) {
        const std::string name = c.name + std::string(" (at ") + std::to_string(scale) + "x): ";
        c.draw(first.start(size, size, ground));
        c.draw(scaled.start(size, size, ground));
        std::string notBlocks;
        bool anew = false;
        long ink = 0, enlargedInk = 0;
        for (int y = 0; y < size * scale; ++y) {
            for (int x = 0; x < size * scale; ++x) {
                const Colour point = first.at(x / scale, y / scale), pixel = scaled.at(x, y);
                anew = anew || pixel != scaled.at(x - x % scale, y - y % scale);
                ink += isInk(pixel);
                enlargedInk += isInk(point);
                if (pixel != point && notBlocks.empty()) {
                    notBlocks = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                                named(pixel) + ", its point " + named(point);
                }
            }
        }
        if (std::string(c.name).rfind("text:", 0) != 0) {
            if (!notBlocks.empty()) {
                failures.push_back(name + notBlocks);
            }
            continue;
        }
        for (const Probe& p : c.probes) {
            if (!fault(scaled, p, scale).empty()) {
                failures.push_back(name + fault(scaled, p, scale));
            }
        }
        if (enlargedInk > 0 && (!anew || ink * 2 < enlargedInk)) {
            failures.push_back(name + "the text is its first size, or that enlarged");
        }
    }
    return failures;
}
