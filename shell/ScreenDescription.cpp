// What is on screen, for assistive technology: the items of the visible Pages and the news.

#include "shell/ScreenDescription.h"

#include <algorithm>
#include <variant>

#include "game/GameCodes.h"
#include "scob/scobGrid.h"
#include "screens/Program.h"

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

Entry listEntry(const Program& p, const scobList& list, int row, int page, int id) {
    Entry e{itemOf(list, ItemRole::RadioGroup, list.getTitle(), page, id), {}};
    for (int i = 0; i < list.getItemCount(); ++i) {
        const Place at = placeOf(p, row, i);
        ScreenItem radio = item(ItemRole::Radio, list.getItem(i), at.x, at.y, at.width, at.height,
                                page, id + 1 + i);
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

Entry boardEntry(const Program& p, const scobGrid& grid, int row, const std::string& name, int page,
                 int id) {
    Entry e{itemOf(grid, ItemRole::Board, name, page, id), {}};
    const bool playerTurn = grid.getState() == game::PlayerTurn;
    for (int place = 0; place < grid.getRows() * grid.getColumns(); ++place) {
        const int mark = grid.getCell(place % grid.getColumns(), place / grid.getColumns());
        const Place at = placeOf(p, row, place);
        ScreenItem cell = item(ItemRole::Cell, cellName(p, place, mark), at.x, at.y, at.width,
                               at.height, page, id + 1 + place);
        cell.disabled = !playerTurn || mark != game::Empty;
        e.members.push_back(cell);
    }
    return e;
}

// The entry of a row shown, with its members; none for a label or status without text.
bool entryOf(const Program& p, int row, Entry& e) {
    const ControlRow& r = controlTable()[row];
    const scob& c = controlOf(p, r);
    const int id = itemIdOf(row);
    const Spoken& says = r.spoken;
    const std::string name = says.name ? says.name : spoken(shownTextOf(p, r));
    if (const auto* list = std::get_if<scobList Program::*>(&r.control)) {
        e = listEntry(p, p.**list, row, r.page, id);
    } else if (const auto* grid = std::get_if<TicTacToe Program::*>(&r.control)) {
        e = boardEntry(p, p.**grid, row, name, r.page, id);
    } else if (says.role == ItemRole::Label || says.role == ItemRole::Status) {
        // A text that takes no input, shown only when there is one.
        e = {itemOf(c, says.role, name, r.page, id), {}};
        e.head.disabled = false;
        return !name.empty();
    } else {
        e = {itemOf(c, says.role, name, r.page, id), {}};
        e.head.pressed = says.role == ItemRole::Toggle && c.getState() == 2;
    }
    return true;
}

// The focus marked on the row's entry: the control itself, or within the board the cursor's
// cell, within a list its chosen row (the list itself while none is chosen).
void markFocus(const Program& p, Entry& e) {
    ScreenItem* focused = &e.head;
    if (factsOf(e.head.role).holdsMembers) {
        const scobGrid& grid = p.gameBoard;
        const int cell = grid.getCursorRow() * grid.getColumns() + grid.getCursorColumn();
        for (int i = 0; i < static_cast<int>(e.members.size()); ++i) {
            const bool board = e.head.role == ItemRole::Board;
            focused = (board ? i == cell : e.members[i].checked) ? &e.members[i] : focused;
        }
    }
    focused->focused = true;
}

// Whether `cover` hides the control: all of it the drawing area shows lies under the cover.
bool covered(const Program& p, const scob& c, const scob& cover) {
    return c.getX() >= cover.getX() && c.getY() >= cover.getY() &&
           std::min(c.getX() + c.getWidth(), p.drawWidth) <= cover.getX() + cover.getWidth() &&
           std::min(c.getY() + c.getHeight(), p.drawHeight) <= cover.getY() + cover.getHeight();
}

}  // namespace

int itemIdOf(int row) {
    // Room for the members of a list or a board after each control's own id; the table holds
    // each Page's controls in the Page's own order.
    const std::vector<ControlRow>& table = controlTable();
    int onPage = 0;
    for (int r = 0; r < row; ++r) {
        onPage += table[r].page == table[row].page ? 1 : 0;
    }
    return (table[row].page * Page::maxControls + onPage) * 1000;
}

std::vector<int> shownRows(const Program& p) {
    const std::vector<ControlRow>& table = controlTable();
    std::vector<int> rows;
    for (int pg = 0; pg < p.pageSet.pageCount; ++pg) {
        if (!p.pageSet.pages[pg].isVisible()) {
            continue;
        }
        for (int r = 0; r < static_cast<int>(table.size()); ++r) {
            const scob& c = controlOf(p, table[r]);
            if (table[r].page != pg || !c.isVisible()) {
                continue;
            }
            if (table[r].spoken.backdrop) {
                // A backdrop hides what was drawn before it.
                rows.erase(std::remove_if(rows.begin(), rows.end(),
                                          [&](int shown) {
                                              return covered(p, controlOf(p, table[shown]), c);
                                          }),
                           rows.end());
            } else {
                rows.push_back(r);
            }
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const scob &ca = controlOf(p, table[a]), &cb = controlOf(p, table[b]);
        return ca.getY() != cb.getY() ? ca.getY() < cb.getY() : ca.getX() < cb.getX();
    });
    return rows;
}

Place placeOf(const Program& p, int row, int member) {
    const ControlRow& r = controlTable()[row];
    const scob& c = controlOf(p, r);
    if (member >= 0) {
        if (const auto* list = std::get_if<scobList Program::*>(&r.control)) {
            const scobList& l = p.**list;
            const int rowH = l.getRowHeight();
            return {l.getX(), l.getY() + (l.isTitled() ? rowH : 0) + member * rowH, l.getWidth(),
                    rowH};
        }
        if (const auto* grid = std::get_if<TicTacToe Program::*>(&r.control)) {
            const scobGrid& g = p.**grid;
            return {g.getX() + member % g.getColumns() * g.getCellWidth(),
                    g.getY() + member / g.getColumns() * g.getCellHeight(), g.getCellWidth(),
                    g.getCellHeight()};
        }
    }
    return {c.getX(), c.getY(), c.getWidth(), c.getHeight()};
}

bool pressPointOf(const Program& p, int id, int& x, int& y) {
    const int member = id % 1000 - 1;
    for (const int row : shownRows(p)) {
        const ControlRow& r = controlTable()[row];
        int members = 0;
        if (const auto* list = std::get_if<scobList Program::*>(&r.control)) {
            members = (p.**list).getItemCount();
        } else if (const auto* grid = std::get_if<TicTacToe Program::*>(&r.control)) {
            members = (p.**grid).getRows() * (p.**grid).getColumns();
        }
        if (itemIdOf(row) == id - id % 1000 && member < members) {
            const Place at = placeOf(p, row, member);
            x = at.x + at.width / 2;
            y = at.y + at.height / 2;
            return true;
        }
    }
    return false;
}

std::vector<ScreenItem> describeScreen(const Program& p) {
    std::vector<ScreenItem> items;
    for (const int row : shownRows(p)) {
        Entry e;
        if (!entryOf(p, row, e)) {
            continue;
        }
        if (row == p.focusRow) {
            markFocus(p, e);
        }
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
    return items;
}

namespace {

// The index of the item `id` in `items`, or -1.
int indexOf(const std::vector<ScreenItem>& items, int id) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Whether the item at `index` of `list` hangs from a parent that `other` has too: the frame,
// or a group shown in both.
bool parentStays(const std::vector<ScreenItem>& list, int index,
                 const std::vector<ScreenItem>& other) {
    const int parent = list[index].parent;
    return parent < 0 || indexOf(other, list[parent].id) >= 0;
}

int focusedIn(const std::vector<ScreenItem>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].focused) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

std::vector<ScreenChange> changesBetween(const std::vector<ScreenItem>& before,
                                         const std::vector<ScreenItem>& now,
                                         const std::string& news) {
    std::vector<ScreenChange> changes;
    const auto add = [&changes](ScreenChange::Kind kind, int was, int is) {
        ScreenChange c;
        c.kind = kind;
        c.before = was;
        c.now = is;
        changes.push_back(c);
        return &changes.back();
    };
    std::vector<int> was(now.size());
    for (std::size_t k = 0; k < before.size(); ++k) {
        if (indexOf(now, before[k].id) < 0 && parentStays(before, static_cast<int>(k), now)) {
            add(ScreenChange::Removed, static_cast<int>(k), -1);
        }
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        was[i] = indexOf(before, now[i].id);
        if (was[i] < 0 && parentStays(now, static_cast<int>(i), before)) {
            add(ScreenChange::Added, -1, static_cast<int>(i));
        }
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (was[i] < 0) {
            continue;
        }
        const ScreenItem &a = before[was[i]], &b = now[i];
        const int at = static_cast<int>(i);
        if (a.name != b.name) {
            add(ScreenChange::Renamed, was[i], at);
        }
        const struct {
            ItemState state;
            bool was, is;
        } states[] = {{ItemState::Pressed, a.pressed, b.pressed},
                      {ItemState::Checked, a.checked, b.checked},
                      {ItemState::Disabled, a.disabled, b.disabled}};
        for (const auto& s : states) {
            if (s.was != s.is) {
                ScreenChange* c = add(ScreenChange::StateChanged, was[i], at);
                c->state = s.state;
                c->on = s.is;
            }
        }
        if (a.x != b.x || a.y != b.y || a.width != b.width || a.height != b.height) {
            add(ScreenChange::BoundsChanged, was[i], at);
        }
    }
    const int left = focusedIn(before), reached = focusedIn(now);
    const int leftNow = left < 0 ? -1 : indexOf(now, before[left].id);
    if (leftNow != reached && (leftNow >= 0 || reached >= 0)) {
        ScreenChange* c = add(ScreenChange::FocusMoved, left, reached);
        c->from = leftNow;
        c->to = reached;
    }
    if (!news.empty()) {
        add(ScreenChange::News, -1, -1);
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
