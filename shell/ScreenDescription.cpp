// What is on screen, for assistive technology: the items of the visible Pages and the news.

#include "shell/ScreenDescription.h"

#include <algorithm>
#include <variant>

#include "game/GameCodes.h"
#include "scob/scobGrid.h"
#include "screens/Program.h"
#include "shell/KeyboardFocus.h"

namespace windowLogic {

namespace {

// The board's squares in reading order, row by row.
const char* const places[9] = {"top left",    "top centre",    "top right",
                               "middle left", "centre",        "middle right",
                               "bottom left", "bottom centre", "bottom right"};

// What each piece set's pictures show: the player's piece, then the computer's.
const char* const pieceNames[3][2] = {
    {"ring", "cross"}, {"light square", "dark square"}, {"blue fish", "red fish"}};

// A text as it is read: without blanks at its ends, runs of blanks as one.
std::string spoken(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ') {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// A text ended as a sentence.
std::string sentence(const std::string& text) {
    return text.empty() || text.back() == '.' || text.back() == '!' ? text : text + ".";
}

ScreenItem item(ItemRole role, std::string name, int x, int y, int width, int height, int page,
                int id) {
    ScreenItem it;
    it.role = role;
    it.name = std::move(name);
    it.x = x;
    it.y = y;
    it.width = width;
    it.height = height;
    it.pressX = x + width / 2;
    it.pressY = y + height / 2;
    it.page = page;
    it.id = id;
    return it;
}

ScreenItem itemOf(const scob& control, ItemRole role, std::string name, int page, int id) {
    ScreenItem it = item(role, std::move(name), control.getX(), control.getY(), control.getWidth(),
                         control.getHeight(), page, id);
    it.disabled = !control.isEnabled();
    return it;
}

// One item on screen and the items it holds.
struct Entry {
    ScreenItem head;
    std::vector<ScreenItem> members;
};

Entry listEntry(const scobList& list, int page, int id) {
    Entry e{itemOf(list, ItemRole::RadioGroup, list.getTitle(), page, id), {}};
    const int rowH = list.getRowHeight();
    const int top = list.getY() + (list.isTitled() ? rowH : 0);
    for (int i = 0; i < list.getItemCount(); ++i) {
        ScreenItem radio = item(ItemRole::Radio, list.getItem(i), list.getX(), top + i * rowH,
                                list.getWidth(), rowH, page, id + 1 + i);
        radio.checked = i == list.getSelected();
        e.members.push_back(radio);
    }
    return e;
}

std::string cellName(const Program& p, int place, int mark) {
    const int theme = p.skin.getTheme();
    const char* const* pieces = pieceNames[theme >= 0 && theme < 3 ? theme : 0];
    const std::string where = place < 9 ? places[place] : "square";
    if (mark == game::PlayerMark) {
        return where + ", yours (" + pieces[0] + ")";
    }
    if (mark == game::ComputerMark) {
        return where + ", the computer's (" + pieces[1] + ")";
    }
    return where + ", empty";
}

Entry boardEntry(const Program& p, const scobGrid& grid, const std::string& name, int page,
                 int id) {
    Entry e{itemOf(grid, ItemRole::Board, name, page, id), {}};
    const bool playerTurn = grid.getState() == game::PlayerTurn;
    for (int r = 0; r < grid.getRows(); ++r) {
        for (int c = 0; c < grid.getColumns(); ++c) {
            const int place = r * grid.getColumns() + c;
            const int mark = grid.getCell(c, r);
            ScreenItem cell =
                item(ItemRole::Cell, cellName(p, place, mark),
                     grid.getX() + c * grid.getCellWidth(), grid.getY() + r * grid.getCellHeight(),
                     grid.getCellWidth(), grid.getCellHeight(), page, id + 1 + place);
            cell.disabled = !playerTurn || mark != game::Empty;
            e.members.push_back(cell);
        }
    }
    return e;
}

// Whether `cover` hides the item: all of it the drawing area shows lies under the cover.
bool covered(const Program& p, const ScreenItem& it, const scob& cover) {
    return it.x >= cover.getX() && it.y >= cover.getY() &&
           std::min(it.x + it.width, p.drawWidth) <= cover.getX() + cover.getWidth() &&
           std::min(it.y + it.height, p.drawHeight) <= cover.getY() + cover.getHeight();
}

}  // namespace

std::vector<ScreenItem> describeScreen(const Program& p) {
    std::vector<Entry> entries;
    for (int pg = 0; pg < p.pageSet.pageCount; ++pg) {
        if (!p.pageSet.pages[pg].isVisible()) {
            continue;
        }
        // The table holds each Page's controls in the Page's own order.
        int i = -1;
        for (const ControlRow& row : controlTable()) {
            if (row.page != pg) {
                continue;
            }
            ++i;
            const scob& c = controlOf(p, row);
            if (!c.isVisible()) {
                continue;
            }
            // Room for the members of a list or a board after each control's own id.
            const int id = (pg * Page::maxControls + i) * 1000;
            const Spoken& says = row.spoken;
            if (says.backdrop) {
                // A backdrop hides what was drawn before it.
                entries.erase(std::remove_if(entries.begin(), entries.end(),
                                             [&](const Entry& e) { return covered(p, e.head, c); }),
                              entries.end());
                continue;
            }
            const std::string name = says.name ? says.name : spoken(shownTextOf(p, row));
            if (const auto* list = std::get_if<scobList Program::*>(&row.control)) {
                entries.push_back(listEntry(p.**list, pg, id));
            } else if (const auto* grid = std::get_if<TicTacToe Program::*>(&row.control)) {
                entries.push_back(boardEntry(p, p.**grid, name, pg, id));
            } else if (says.role == ItemRole::Label || says.role == ItemRole::Status) {
                // A text that takes no input, shown only when there is one.
                if (!name.empty()) {
                    ScreenItem it = itemOf(c, says.role, name, pg, id);
                    it.disabled = false;
                    entries.push_back({it, {}});
                }
            } else {
                ScreenItem it = itemOf(c, says.role, name, pg, id);
                it.pressed = says.role == ItemRole::Toggle && c.getState() == 2;
                entries.push_back({it, {}});
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.head.y != b.head.y ? a.head.y < b.head.y : a.head.x < b.head.x;
    });
    std::vector<ScreenItem> items;
    for (Entry& e : entries) {
        const int head = static_cast<int>(items.size());
        items.push_back(e.head);
        for (ScreenItem& member : e.members) {
            member.parent = head;
            items.push_back(member);
        }
    }
    // Only what the drawing area shows of each (the pin reaches a pixel beyond it).
    for (ScreenItem& it : items) {
        it.width = std::min(it.width, p.drawWidth - it.x);
        it.height = std::min(it.height, p.drawHeight - it.y);
    }
    const int focused = focusTarget(p, items);
    if (focused >= 0) {
        items[focused].focused = true;
    }
    return items;
}

std::vector<ScreenChange> changesBetween(const std::vector<ScreenItem>& before,
                                         const std::vector<ScreenItem>& now) {
    std::vector<ScreenChange> changes;
    std::vector<bool> stayed(before.size(), false);
    for (std::size_t i = 0; i < now.size(); ++i) {
        const ScreenItem& it = now[i];
        ScreenChange c;
        c.now = static_cast<int>(i);
        for (std::size_t k = 0; k < before.size() && c.before < 0; ++k) {
            c.before = before[k].id == it.id ? static_cast<int>(k) : -1;
        }
        if (c.before >= 0) {
            const ScreenItem& was = before[c.before];
            stayed[c.before] = true;
            c.name = was.name != it.name;
            c.pressed = was.pressed != it.pressed;
            c.checked = was.checked != it.checked;
            c.disabled = was.disabled != it.disabled;
            c.place =
                was.x != it.x || was.y != it.y || was.width != it.width || was.height != it.height;
            c.focused = was.focused != it.focused;
        }
        if (c.before < 0 || c.name || c.pressed || c.checked || c.disabled || c.place ||
            c.focused) {
            changes.push_back(c);
        }
    }
    for (std::size_t k = 0; k < before.size(); ++k) {
        if (!stayed[k]) {
            ScreenChange c;
            c.before = static_cast<int>(k);
            changes.push_back(c);
        }
    }
    return changes;
}

std::string newsSince(const Program& p, ScreenNews& told) {
    if (!p.pageSet.pages[page::board].isVisible()) {
        return {};
    }
    const TicTacToe& board = p.gameBoard;
    std::vector<int> marks;
    for (int r = 0; r < board.getRows(); ++r) {
        for (int c = 0; c < board.getColumns(); ++c) {
            marks.push_back(board.getCell(c, r));
        }
    }
    const std::string status = spoken(p.statusDisplay.shownText());
    std::string news;
    const auto tell = [&news](const std::string& text) {
        news += (news.empty() ? "" : " ") + sentence(text);
    };
    if (told.known && told.marks.size() == marks.size()) {
        bool cleared = false;
        for (std::size_t i = 0; i < marks.size(); ++i) {
            cleared = cleared || (told.marks[i] != game::Empty && marks[i] == game::Empty);
        }
        if (cleared) {
            tell("A new game");
        }
        for (std::size_t i = 0; i < marks.size() && i < 9; ++i) {
            if (marks[i] == game::ComputerMark && told.marks[i] != game::ComputerMark) {
                tell(std::string("The computer took the ") + places[i]);
            }
        }
        if (status != told.status) {
            tell(status);
            if (game::isOver(p.statusDisplay.getState())) {
                tell("Press N for a new game");
            }
        }
    }
    told.known = true;
    told.status = status;
    told.marks = marks;
    return news;
}

}  // namespace windowLogic
