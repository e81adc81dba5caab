// The keyboard's focus ring on the real screens, as every drawing surface must draw it: on a
// button and on a list a band of the ring's colour between white lines, on the board the grid's
// own cursor frame; nothing else of the frame changes. Run on the raster surface and on GDI.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/KeyboardFocus.h"
#include "shell/WindowLogic.h"
#include "tests/support/FakeServices.h"
#include "tests/support/SurfaceContract.h"

namespace focusRings {

struct Case {
    const char* name;
    bool settings;  // first to the settings screen by the keyboard, the ring then hidden
    int tabs;       // Tab presses before the frame with the ring
    int left, top, right, bottom;  // the focused item's rectangle
};

inline std::vector<std::string> failures(ContractCanvas& canvas) {
    using windowLogic::drawingHeight;
    using windowLogic::drawingWidth;
    const Case cases[] = {
        {"a button: New Game", false, 5, 281, 95, 361, 126},
        {"the board: its cursor frame round the centre", false, 4, 99, 168, 177, 246},
        {"a list: First Move", true, 5, 16, 50, 121, 110},  // round the settings screen's 5
    };
    std::vector<std::string> out;
    for (const Case& c : cases) {
        FakeServices services;
        auto p = std::make_unique<Program>(services);
        windowLogic::created(*p);
        const bool board = c.right - c.left == 78;
        const auto frame = [&] {
            windowLogic::timerTick(*p);
            windowLogic::render(*p, canvas.start(drawingWidth, drawingHeight, contract::ground));
            std::vector<Colour> pixels;
            for (int y = 0; y < drawingHeight * drawingWidth; ++y) {
                pixels.push_back(canvas.at(y % drawingWidth, y / drawingWidth));
            }
            return pixels;
        };
        const auto keys = [&](int key, int times) {
            for (int i = 0; i < times; ++i) {
                windowLogic::keyDown(*p, key);
            }
        };
        if (c.settings) {
            keys(key::tab, 6);
            keys(key::enter, 1);
            windowLogic::pointer(*p, PointerEvent::LeftDown, 0, 0);
        }
        const std::vector<Colour> before = frame();
        keys(key::tab, c.tabs);
        const std::vector<Colour> after = frame();
        const auto expect = [&](int x, int y, Colour colour) {
            if (after[y * drawingWidth + x] != colour) {
                out.push_back(std::string(c.name) + ": (" + std::to_string(x) + "," +
                              std::to_string(y) + ") is " +
                              contract::named(after[y * drawingWidth + x]) + ", not " +
                              contract::named(colour));
            }
        };
        // The cursor frame's 3-pixel pen on the cell's outline; else the ring's lines.
        for (int band = -1; band <= (board ? 1 : windowLogic::focusRingWidth); ++band) {
            const Colour colour = board ? p->skin.getColour(colour::red, 1)
                                  : band >= 0 && band < windowLogic::focusRingWidth
                                      ? windowLogic::focusRingColour
                                      : windowLogic::focusRingInside;
            expect((c.left + c.right) / 2, c.top + band, colour);
            expect(c.left + band, (c.top + c.bottom) / 2, colour);
        }
        // Only the ring's band changes; the rest of the frame is as it was.
        for (std::size_t i = 0; i < after.size(); ++i) {
            const int x = static_cast<int>(i) % drawingWidth,
                      y = static_cast<int>(i) / drawingWidth;
            const bool onBand =
                x >= c.left - 1 && x <= c.right && y >= c.top - 1 && y <= c.bottom &&
                !(x > c.left + 2 && x < c.right - 3 && y > c.top + 2 && y < c.bottom - 3);
            if (!onBand && before[i] != after[i]) {
                out.push_back(std::string(c.name) + ": (" + std::to_string(x) + "," +
                              std::to_string(y) + ") changed outside the ring");
                break;
            }
        }
    }
    return out;
}

}  // namespace focusRings
