// The high-contrast look on the real screens, as every drawing surface must draw it: for each
// palette a front end may hand over, both screens hold only the palette's colours (and text edges
// blended between two of them), the pieces, the cursor, the selected rows, a toggle that is on,
// the link and the focus ring where they belong, text 7:1 and lines 3:1 from what is behind them;
// and switched off again, the frame is the normal one to the byte. Run on the raster surface and
// on GDI.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "screens/HighContrast.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "tests/support/FakeServices.h"
#include "tests/support/SurfaceContract.h"

namespace highContrastFrames {

// Contrast as the accessibility guidelines reckon it.
inline double contrast(Colour a, Colour b) {
    const auto light = [](Colour c) {
        double sum = 0.05;
        for (const auto& [v, w] :
             {std::pair{redOf(c), 0.2126}, {greenOf(c), 0.7152}, {blueOf(c), 0.0722}}) {
            const double s = v / 255.0;
            sum += w * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    return std::max(light(a), light(b)) / std::min(light(a), light(b));
}

// Whether `c` is `a` or `b`, or lies (within rounding) on the straight way between them.
inline bool blendOf(Colour c, Colour a, Colour b) {
    const int ca[3] = {redOf(a), greenOf(a), blueOf(a)}, cb[3] = {redOf(b), greenOf(b), blueOf(b)};
    const int cc[3] = {redOf(c), greenOf(c), blueOf(c)};
    int k = 0;
    for (int i = 1; i < 3; ++i) {
        k = std::abs(cb[i] - ca[i]) > std::abs(cb[k] - ca[k]) ? i : k;
    }
    const double t = cb[k] == ca[k] ? 0 : double(cc[k] - ca[k]) / (cb[k] - ca[k]);
    bool on = t >= 0 && t <= 1;
    for (int i = 0; i < 3; ++i) {
        on = on && std::abs(ca[i] + t * (cb[i] - ca[i]) - cc[i]) <= 3;
    }
    return on;
}

// `shown` is told each high-contrast frame's name, for screenshots.
inline std::vector<std::string> failures(
    ContractCanvas& canvas, const std::function<void(const std::string&)>& shown = {}) {
    const int w = windowLogic::drawingWidth, h = windowLogic::drawingHeight;
    const std::pair<const char*, ContrastPalette> palettes[] = {
        {"black", contrastPalette::windowsBlack},
        {"white", contrastPalette::windowsWhite},
        {"light-on-dark", contrastPalette::lightOnDark},
        {"dark-on-light", contrastPalette::darkOnLight}};
    std::vector<std::string> out;
    for (const auto& [name, c] : palettes) {
        const auto expect = [&, name = std::string(name)](bool ok, const std::string& what) {
            if (!ok) {
                out.push_back(name + ": " + what);
            }
        };
        // Text and pieces on what they stand on; the ring, the cursor and outlines.
        expect(contrast(c.windowText, c.window) >= 7 && contrast(c.buttonText, c.buttonFace) >= 7 &&
                   contrast(c.highlightText, c.highlight) >= 7 &&
                   contrast(c.hotLight, c.window) >= 7,
               "text below 7:1");
        expect(contrast(c.highlight, c.window) >= 3, "the ring below 3:1");

        FakeServices services;
        auto p = std::make_unique<Program>(services);
        windowLogic::created(*p);
        const auto frame = [&] {
            windowLogic::timerTick(*p);
            windowLogic::render(*p, canvas.start(w, h, contract::ground));
            std::vector<Colour> pixels;
            for (int i = 0; i < w * h; ++i) {
                pixels.push_back(canvas.at(i % w, i / w));
            }
            return pixels;
        };
        const auto click = [&](int x, int y) {
            windowLogic::pointer(*p, PointerEvent::LeftDown, x, y);
            windowLogic::pointer(*p, PointerEvent::LeftUp, x, y);
        };
        const auto keys = [&](int key, int times) {
            for (int i = 0; i < times; ++i) {
                windowLogic::keyDown(*p, key);
            }
        };
        const auto check = [&](const std::string& screen, std::vector<std::pair<int, int>> where,
                               std::vector<Colour> want) {
            const Colour all[8] = {c.window,    c.windowText,    c.buttonFace, c.buttonText,
                                   c.highlight, c.highlightText, c.hotLight,   c.grayText};
            int strays = 0;
            for (const Colour at : frame()) {
                bool ok = false;
                for (int i = 0; i < 64 && !ok; ++i) {
                    ok = blendOf(at, all[i / 8], all[i % 8]);
                }
                strays += ok ? 0 : 1;
            }
            expect(strays == 0, screen + ": pixels of no palette colour");
            for (std::size_t i = 0; i < where.size(); ++i) {
                expect(canvas.at(where[i].first, where[i].second) == want[i],
                       screen + ": probe " + std::to_string(i));
            }
            if (shown) {
                shown("high-contrast-" + std::string(name) + "-" + screen);
            }
        };

        // The board: the ring in the centre, the computer's cross, T on, the cursor on the centre.
        const std::vector<Colour> normal = frame();
        setHighContrast(*p, true, c);
        click(138, 207);
        for (int i = 0; i < 100 && p->gameBoard.getState() == game::ComputerTurn; ++i) {
            windowLogic::timerTick(*p);
        }
        int cross = 0;
        while (p->gameBoard.getCell(cross % 3, cross / 3) != game::ComputerMark) {
            ++cross;
        }
        click(355, 11);
        keys(key::tab, 4);
        check("board",
              {{138, 187}, {21 + cross % 3 * 78 + 39, 129 + cross / 3 * 78}, {100, 170}, {347, 3}},
              {c.windowText, c.windowText, c.highlight, c.highlight});

        // The settings: the chosen first mover, the ring round its list, the link's text.
        keys(key::tab, 2);
        keys(key::enter, 1);
        click(0, 0);
        keys(key::tab, 5);
        check("settings", {{100, 74}, {17, 60}, {100, 342}}, {c.highlight, c.highlight, c.window});
        int link = 0;
        for (int i = 0; i < 190 * 15; ++i) {  // inside its outline
            link += canvas.at(100 + i % 190, 335 + i / 190) == c.hotLight ? 1 : 0;
        }
        expect(link > 20, "the link is not in the link colour");

        // Off again, on the board as it was.
        click(195, 225);
        click(355, 11);
        keys(key::newGame, 1);
        setHighContrast(*p, false, c);
        expect(frame() == normal, "switched off, the frame is not the normal one");
    }
    return out;
}

}  // namespace highContrastFrames
