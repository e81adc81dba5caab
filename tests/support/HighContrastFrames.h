// The high-contrast look on the real screens, as every drawing surface must draw it: for each
// palette a front end may hand over, both screens hold only the palette's colours (and text edges
// blended between two of them), the pieces, the cursor, the selected rows, a toggle that is on,
// the link and the focus ring where they belong, text 7:1 and lines 3:1 from what is behind them;
// and switched off again, the frame is the normal one to the byte. Run on the raster surface and
// on GDI.
#pragma once

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
    const auto luminance = [](Colour c) {
        double sum = 0;
        const int channels[3] = {redOf(c), greenOf(c), blueOf(c)};
        const double weights[3] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double s = channels[i] / 255.0;
            sum += weights[i] * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum + 0.05;
    };
    const double la = luminance(a), lb = luminance(b);
    return la > lb ? la / lb : lb / la;
}

struct Named {
    const char* name;
    const ContrastPalette* palette;
};
inline const std::vector<Named>& palettes() {
    static const std::vector<Named> all = {{"black", &contrastPalette::windowsBlack},
                                           {"white", &contrastPalette::windowsWhite},
                                           {"light-on-dark", &contrastPalette::lightOnDark},
                                           {"dark-on-light", &contrastPalette::darkOnLight}};
    return all;
}

// Whether `c` lies, within rounding, on the straight way from `a` to `b`.
inline bool blendOf(Colour c, Colour a, Colour b) {
    const int ca[3] = {redOf(a), greenOf(a), blueOf(a)};
    const int cb[3] = {redOf(b), greenOf(b), blueOf(b)};
    const int cc[3] = {redOf(c), greenOf(c), blueOf(c)};
    int widest = 0;
    for (int i = 1; i < 3; ++i) {
        widest = std::abs(cb[i] - ca[i]) > std::abs(cb[widest] - ca[widest]) ? i : widest;
    }
    if (cb[widest] == ca[widest]) {
        return false;
    }
    const double t = double(cc[widest] - ca[widest]) / (cb[widest] - ca[widest]);
    if (t < 0 || t > 1) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (std::abs(ca[i] + t * (cb[i] - ca[i]) - cc[i]) > 3) {
            return false;
        }
    }
    return true;
}

// `shown` is called with a name after each high-contrast frame, for screenshots.
inline std::vector<std::string> failures(
    ContractCanvas& canvas, const std::function<void(const std::string&)>& shown = {}) {
    using windowLogic::drawingHeight;
    using windowLogic::drawingWidth;
    std::vector<std::string> out;
    for (const Named& named : palettes()) {
        const ContrastPalette& c = *named.palette;
        const std::string name = named.name;
        const auto fail = [&](const std::string& what) { out.push_back(name + ": " + what); };
        // The pairs the look puts text and pieces on, and its lines and ring on.
        const Colour textPairs[4][2] = {{c.windowText, c.window},
                                        {c.buttonText, c.buttonFace},
                                        {c.highlightText, c.highlight},
                                        {c.hotLight, c.window}};
        for (const auto& pair : textPairs) {
            if (contrast(pair[0], pair[1]) < 7) {
                fail("text below 7:1");
            }
        }
        if (contrast(c.highlight, c.window) < 3 || contrast(c.buttonText, c.window) < 3) {
            fail("the cursor, the focus ring or an outline below 3:1");
        }

        FakeServices services;
        auto p = std::make_unique<Program>(services);
        windowLogic::created(*p);
        std::vector<Colour> normal;
        const auto frame = [&](std::vector<Colour>* keep) {
            windowLogic::timerTick(*p);
            windowLogic::render(*p, canvas.start(drawingWidth, drawingHeight, contract::ground));
            for (int i = 0; keep && i < drawingWidth * drawingHeight; ++i) {
                keep->push_back(canvas.at(i % drawingWidth, i / drawingWidth));
            }
        };
        const auto click = [&](int x, int y) {
            windowLogic::pointer(*p, PointerEvent::LeftDown, x, y);
            windowLogic::pointer(*p, PointerEvent::LeftUp, x, y);
        };
        const auto onlyPalette = [&](const std::string& screen) {
            const Colour all[8] = {c.window,    c.windowText,    c.buttonFace, c.buttonText,
                                   c.highlight, c.highlightText, c.hotLight,   c.grayText};
            int strays = 0;
            for (int i = 0; i < drawingWidth * drawingHeight; ++i) {
                const Colour at = canvas.at(i % drawingWidth, i / drawingWidth);
                bool ok = false;
                for (int a = 0; a < 8 && !ok; ++a) {
                    ok = at == all[a];
                    for (int b = a + 1; b < 8 && !ok; ++b) {
                        ok = blendOf(at, all[a], all[b]);
                    }
                }
                strays += ok ? 0 : 1;
            }
            if (strays > 0) {
                fail(screen + ": " + std::to_string(strays) + " pixels of no palette colour");
            }
        };
        const auto expectAt = [&](int x, int y, Colour want, const std::string& what) {
            if (canvas.at(x, y) != want) {
                fail(what);
            }
        };

        // The board screen: the player's ring in the centre, the computer's cross, T on, the
        // keyboard's cursor on the centre.
        p->gameBoard.setFirstMover(game::PlayerTurn);
        frame(&normal);
        setHighContrast(*p, true, c);
        click(138, 207);
        for (int i = 0; i < 100 && p->gameBoard.getState() == game::ComputerTurn; ++i) {
            windowLogic::timerTick(*p);
        }
        click(355, 11);
        for (int i = 0; i < 4; ++i) {
            windowLogic::keyDown(*p, key::tab);
        }
        frame(nullptr);
        onlyPalette("board");
        expectAt(138, 90 + 78 + 78 / 4, c.windowText, "the ring's top");
        expectAt(100, 170, c.highlight, "the cursor frame");
        expectAt(347, 3, c.highlight, "T on");
        for (int cell = 0; cell < 9; ++cell) {
            if (p->gameBoard.getCell(cell % 3, cell / 3) == game::ComputerMark) {
                expectAt(21 + cell % 3 * 78 + 39, 90 + cell / 3 * 78 + 39, c.windowText,
                         "the cross's middle");
            }
        }
        if (shown) {
            shown("high-contrast-" + name + "-board");
        }

        // The settings screen: the chosen rows, the link, the ring round "First Move".
        windowLogic::keyDown(*p, key::tab);
        windowLogic::keyDown(*p, key::tab);
        windowLogic::keyDown(*p, key::enter);
        click(0, 0);
        for (int i = 0; i < 5; ++i) {
            windowLogic::keyDown(*p, key::tab);
        }
        frame(nullptr);
        onlyPalette("settings");
        expectAt(100, 74, c.highlight, "the chosen first mover");
        expectAt(17, 60, c.highlight, "the focus ring");
        int link = 0;
        for (int i = 0; i < 190 * 15; ++i) {  // inside its outline
            link += canvas.at(100 + i % 190, 335 + i / 190) == c.hotLight ? 1 : 0;
        }
        if (link < 20) {
            fail("the link is not in the link colour");
        }
        if (shown) {
            shown("high-contrast-" + name + "-settings");
        }

        // Off again, on the board, as before.
        click(195, 225);
        click(355, 11);
        windowLogic::keyDown(*p, key::newGame);
        setHighContrast(*p, false, c);
        std::vector<Colour> after;
        frame(&after);
        if (after != normal) {
            fail("switched off, the frame is not the normal one");
        }
    }
    return out;
}

}  // namespace highContrastFrames
