// The high-contrast look: every control flat, in the system's palette, drawn instead of the skin.

#include "screens/HighContrast.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include "screens/ControlTable.h"
#include "screens/Program.h"

namespace contrastPalette {
const ContrastPalette windowsBlack = {rgb(0, 0, 0),       rgb(255, 255, 255), rgb(0, 0, 0),
                                      rgb(255, 255, 255), rgb(26, 235, 255),  rgb(0, 0, 0),
                                      rgb(255, 255, 0),   rgb(63, 242, 63)};
const ContrastPalette windowsWhite = {rgb(255, 255, 255), rgb(0, 0, 0),    rgb(255, 255, 255),
                                      rgb(0, 0, 0),       rgb(55, 0, 110), rgb(255, 255, 255),
                                      rgb(0, 0, 159),     rgb(96, 0, 0)};
const ContrastPalette lightOnDark = {rgb(0, 0, 0),       rgb(255, 255, 255), rgb(0, 0, 0),
                                     rgb(255, 255, 255), rgb(255, 255, 0),   rgb(0, 0, 0),
                                     rgb(0, 255, 255),   rgb(170, 170, 170)};
const ContrastPalette darkOnLight = {rgb(255, 255, 255), rgb(0, 0, 0),   rgb(255, 255, 255),
                                     rgb(0, 0, 0),       rgb(0, 0, 128), rgb(255, 255, 255),
                                     rgb(0, 0, 192),     rgb(80, 80, 80)};
}  // namespace contrastPalette

namespace {

// Strokes thick enough to read at a glance: the pieces, the board's lines, the cursor.
constexpr int pieceStroke = 6;
constexpr int boardLineWidth = 2;
constexpr int cursorWidth = 3;
constexpr int markSize = 20;  // the list's mark, as wide as the picture it replaces

struct Painter {
    Program& p;
    DrawingSurface& hdc;
    const ContrastPalette& c;

    void fill(int left, int top, int right, int bottom, Colour colour) {
        hdc.rectangle(left, top, right, bottom, colour, false, colour, 1);
    }
    void frame(int left, int top, int right, int bottom, Colour colour, int width = 1) {
        hdc.rectangle(left, top, right, bottom, 0, true, colour, width);
    }
    void label(const std::string& text, const scob& at, const Look& look, Colour ink,
               TextAlign align, int shift = 0) {
        if (!text.empty()) {
            hdc.text(text, at.getX() + shift, at.getY() + shift, at.getX() + at.getWidth(),
                     at.getY() + at.getHeight(), Font{look.fontHeight, look.fontWidth, 700}, ink,
                     align);
        }
    }

    // A ring of straight strokes: the surfaces draw lines, not arcs, and 48 of them read as round.
    void ring(int cx, int cy, int radius, Colour ink) {
        constexpr int steps = 48;
        const double turn = 6.283185307179586 / steps;
        int lastX = cx + radius, lastY = cy;
        for (int i = 1; i <= steps; ++i) {
            const int nx = cx + static_cast<int>(std::lround(radius * std::cos(turn * i)));
            const int ny = cy + static_cast<int>(std::lround(radius * std::sin(turn * i)));
            hdc.line(lastX, lastY, nx, ny, ink, pieceStroke);
            lastX = nx;
            lastY = ny;
        }
    }
    void cross(int left, int top, int size, Colour ink) {
        hdc.line(left, top, left + size, top + size, ink, pieceStroke);
        hdc.line(left + size, top, left, top + size, ink, pieceStroke);
    }

    // Every piece set draws the player's piece as a ring and the computer's as a cross:
    // Traditional's own two shapes, and in place of the Colors squares and the two fish, which
    // tell their pieces apart by colour.
    void board(const TicTacToe& board) {
        const int size = board.getCellWidth();
        fill(board.getX(), board.getY(), board.getX() + board.getWidth(),
             board.getY() + board.getHeight(), c.window);
        for (int col = 0; col < board.getColumns(); ++col) {
            for (int row = 0; row < board.getRows(); ++row) {
                const int left = board.getX() + col * size;
                const int top = board.getY() + row * board.getCellHeight();
                const int inset = size / 4;
                if (board.getCell(col, row) == game::PlayerMark) {
                    ring(left + size / 2, top + size / 2, size / 2 - inset, c.windowText);
                } else if (board.getCell(col, row) == game::ComputerMark) {
                    cross(left + inset, top + inset, size - 2 * inset, c.windowText);
                }
            }
        }
        for (int k = 0; k <= board.getColumns(); ++k) {
            const int lineX = board.getX() + k * size;
            hdc.line(lineX, board.getY(), lineX, board.getY() + board.getHeight(), c.windowText,
                     boardLineWidth);
        }
        for (int k = 0; k <= board.getRows(); ++k) {
            const int lineY = board.getY() + k * board.getCellHeight();
            hdc.line(board.getX(), lineY, board.getX() + board.getWidth(), lineY, c.windowText,
                     boardLineWidth);
        }
        if (board.isCursorShown()) {
            const int left = board.getX() + board.getCursorColumn() * size;
            const int top = board.getY() + board.getCursorRow() * board.getCellHeight();
            frame(left, top, left + size, top + board.getCellHeight(), c.highlight, cursorWidth);
        }
    }

    void list(const scobList& list) {
        const int x = list.getX(), y = list.getY(), w = list.getWidth();
        const int rowH = list.getRowHeight();
        const Font font{15, 6, 700};
        fill(x, y, x + w, y + list.getHeight(), c.window);
        hdc.text(list.getTitle(), x + 5, y, x + w, y + rowH, font, c.windowText, TextAlign::Left);
        hdc.line(x, y + rowH - 1, x + w, y + rowH - 1, c.windowText, 1);
        for (int i = 0; i < list.getItemCount(); ++i) {
            const int top = y + (i + 1) * rowH;
            Colour ink = c.windowText;
            if (i == list.getSelected()) {
                ink = c.highlightText;
                fill(x, top, x + w, top + rowH, c.highlight);
                // The mark, a cross in a box, says "chosen" without the colour.
                frame(x + 4, top + 4, x + markSize - 3, top + markSize - 3, ink);
                hdc.line(x + 6, top + 6, x + markSize - 5, top + markSize - 5, ink, 1);
                hdc.line(x + markSize - 6, top + 6, x + 5, top + markSize - 5, ink, 1);
            } else if (i == list.getHoverRow()) {
                frame(x + 1, top, x + w - 1, top + rowH, c.windowText);
            }
            hdc.text(list.getItem(i), x + listLook.indent, top, x + w, top + rowH, font, ink,
                     TextAlign::Left);
        }
        frame(x, y, x + w, y + list.getHeight(), c.windowText);
    }

    // "?", the T and the pin, as their symbols; a toggle that is on (or a pressed "?") in the
    // highlight colours.
    void stripButton(const scobButton& button, int element) {
        const int x = button.getX(), y = button.getY();
        const int w = button.getWidth(), h = button.getHeight();
        Colour ink = c.windowText;
        if (button.getState() == 2) {
            fill(x, y, x + w, y + h, c.highlight);
            ink = c.highlightText;
        }
        if (element == element::pin) {
            // A round-headed pin, drawn from boxes and strokes.
            hdc.rectangle(x + 7, y + 3, x + 14, y + 10, ink, false, ink, 1);
            hdc.line(x + 5, y + 10, x + 16, y + 10, ink, 2);
            hdc.line(x + 10, y + 10, x + 10, y + 18, ink, 2);
            return;
        }
        hdc.text(element == element::question ? "?" : "T", x, y, x + w, y + h, Font{16, 8, 700},
                 ink, TextAlign::Centre);
    }

    void button(const ControlRow& row, const scobButton& button) {
        const int x = button.getX(), y = button.getY();
        const int right = x + button.getWidth(), bottom = y + button.getHeight();
        const Look& look = row.look;
        const std::string& text = button.shownText();
        if (row.spoken.backdrop) {
            fill(x, y, right, bottom, c.window);
            return;
        }
        switch (look.element) {
            case element::question:
            case element::letterT:
            case element::pin:
                stripButton(button, look.element);
                return;
            case element::titleStrip:
                if (&button == &p.titleStrip) {
                    fill(x, y, right, bottom, c.window);
                    hdc.line(x, bottom, right, bottom, c.windowText, 1);
                } else {
                    label(text, button, look, c.windowText, TextAlign::Left);
                }
                return;
            default:
                break;
        }
        switch (row.spoken.role) {
            case ItemRole::Status:
                fill(x, y, right, bottom, c.window);
                frame(x, y, right, bottom, c.windowText, 2);
                label(text, button, look, c.windowText, TextAlign::Centre);
                return;
            case ItemRole::Link:
                fill(x, y, right, bottom, c.window);
                frame(x, y, right, bottom, c.hotLight);
                label(text, button, look, c.hotLight, TextAlign::Centre);
                return;
            default: {
                const bool pressed = button.getState() == 2;
                fill(x, y, right, bottom, pressed ? c.highlight : c.buttonFace);
                frame(x, y, right, bottom, pressed ? c.highlightText : c.buttonText, 2);
                label(text, button, look, pressed ? c.highlightText : c.buttonText,
                      TextAlign::Centre, pressed ? 1 : 0);
                return;
            }
        }
    }

    void control(const ControlRow& row) {
        std::visit(
            [&](auto member) {
                const auto& it = p.*member;
                using Kind = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<Kind, TicTacToe>) {
                    board(it);
                } else if constexpr (std::is_same_v<Kind, scobList>) {
                    list(it);
                } else if constexpr (std::is_same_v<Kind, scobImage>) {
                    fill(it.getX(), it.getY(), it.getX() + it.getWidth(),
                         it.getY() + it.getHeight(), c.window);
                } else {
                    button(row, it);
                }
            },
            row.control);
    }
};

}  // namespace

void setHighContrast(Program& p, bool on, const ContrastPalette& palette) {
    if (p.highContrast == on && p.contrastPalette == palette) {
        return;
    }
    p.highContrast = on;
    p.contrastPalette = palette;
    p.redrawPending = 1;
}

void drawHighContrast(Program& p, DrawingSurface& hdc) {
    Painter painter{p, hdc, p.contrastPalette};
    for (int index = 0; index < p.pageSet.pageCount; ++index) {
        Page& page = p.pageSet.pages[index];
        if (!page.isVisible()) {
            continue;
        }
        for (const ControlRow& row : controlTable()) {
            if (row.page == index && controlOf(p, row).isVisible()) {
                painter.control(row);
            }
        }
        for (int i = 0; i < page.controlCount(); ++i) {
            page.controlAt(i)->setDirty(false);
        }
    }
}
