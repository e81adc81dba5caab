// The tree screen readers read on the Linux desktop: paths, children, places, roles and states.

#include "shell/atspi/AtspiTree.h"

#include <cstdlib>
#include <cstring>

#include "shell/WindowLogic.h"

using windowLogic::ItemRole;
using windowLogic::ScreenItem;

namespace atspi {

namespace {

constexpr const char* rootPath = "/org/a11y/atspi/accessible/root";
constexpr const char* itemPrefix = "/org/a11y/atspi/accessible/";

// Each role as AT-SPI has it: its role, whether it takes the focus itself, and its one action
// (every item a press does something for has "click"). A list has the focus while none of its
// rows is chosen; the board never, its cursor's cell has it. The board and the lists are panels
// holding their members, which Orca reads one by one: a cell as a push button named by its
// place and what lies there, a list's row as a radio button.
struct AtspiRole {
    ItemRole item;
    unsigned role;
    bool focusable;
    const char* action;
};
constexpr AtspiRole roles[] = {
    {ItemRole::Button, rolePushButton, true, "click"},
    {ItemRole::Toggle, roleToggleButton, true, "click"},
    {ItemRole::RadioGroup, rolePanel, true, nullptr},
    {ItemRole::Radio, roleRadioButton, true, "click"},
    {ItemRole::Board, rolePanel, false, nullptr},
    {ItemRole::Cell, rolePushButton, true, "click"},
    {ItemRole::Status, roleStatusBar, false, nullptr},
    {ItemRole::Label, roleLabel, false, nullptr},
    {ItemRole::Link, roleLink, true, "click"},
};
static_assert(coversEveryRole(roles));

constexpr bool actionsFollowFacts() {
    for (int i = 0; i < itemRoleCount; ++i) {
        if ((roles[i].action != nullptr) != roleFacts[i].pressable) {
            return false;
        }
    }
    return true;
}
static_assert(actionsFollowFacts(), "an item has an action when a press does something");

const AtspiRole& rowOf(ItemRole role) {
    return roles[static_cast<int>(role)];
}

struct RoleName {
    unsigned role;
    const char* name;
};
constexpr RoleName roleNames[] = {
    {roleFrame, "frame"},
    {rolePanel, "panel"},
    {rolePushButton, "push button"},
    {roleRadioButton, "radio button"},
    {roleStatusBar, "status bar"},
    {roleToggleButton, "toggle button"},
    {roleApplication, "application"},
    {roleLink, "link"},
    {roleNotification, "notification"},
};

}  // namespace

Node Tree::find(const char* path) const {
    if (std::strcmp(path, rootPath) == 0) {
        return {Kind::app, -1};
    }
    const std::size_t prefix = std::strlen(itemPrefix);
    if (std::strncmp(path, itemPrefix, prefix) != 0) {
        return {};
    }
    const std::string rest = path + prefix;
    if (rest == "frame") {
        return {Kind::frame, -1};
    }
    if (rest == "news") {
        return {Kind::news, -1};
    }
    if (rest.empty() || rest.size() > 9 ||
        rest.find_first_not_of("0123456789") != std::string::npos) {
        return {};
    }
    const int id = std::atoi(rest.c_str());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == id) {
            return {Kind::item, static_cast<int>(i)};
        }
    }
    return {};
}

std::string Tree::pathOf(Node node) const {
    switch (node.kind) {
        case Kind::app:
            return rootPath;
        case Kind::frame:
            return std::string(itemPrefix) + "frame";
        case Kind::news:
            return std::string(itemPrefix) + "news";
        case Kind::item:
            return pathOf(items[node.index]);
        case Kind::none:
            break;
    }
    return nullPath;
}

std::string Tree::pathOf(const ScreenItem& item) {
    return itemPrefix + std::to_string(item.id);
}

std::vector<Node> Tree::childrenOf(Node node) const {
    std::vector<Node> children;
    if (node.kind == Kind::app) {
        children.push_back({Kind::frame, -1});
    } else if (node.kind == Kind::frame || node.kind == Kind::item) {
        const int parent = node.kind == Kind::frame ? -1 : node.index;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].parent == parent) {
                children.push_back({Kind::item, static_cast<int>(i)});
            }
        }
        if (node.kind == Kind::frame) {
            children.push_back({Kind::news, -1});
        }
    }
    return children;
}

Node Tree::parentOf(Node node) const {
    switch (node.kind) {
        case Kind::frame:
            return {Kind::app, -1};
        case Kind::news:
            return {Kind::frame, -1};
        case Kind::item:
            return items[node.index].parent < 0 ? Node{Kind::frame, -1}
                                                : Node{Kind::item, items[node.index].parent};
        default:
            return {};
    }
}

int Tree::indexInParent(Node node) const {
    int index = -1;
    const std::vector<Node> siblings = childrenOf(parentOf(node));
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].kind == node.kind && siblings[i].index == node.index) {
            index = static_cast<int>(i);
        }
    }
    return index;
}

Node Tree::childAt(Node node, int x, int y, unsigned coordType) const {
    for (const Node child : childrenOf(node)) {
        int cx = 0, cy = 0, cw = 0, ch = 0;
        extents(child, coordType, cx, cy, cw, ch);
        if (child.kind == Kind::item && x >= cx && y >= cy && x < cx + cw && y < cy + ch) {
            return child;
        }
    }
    return {};
}

int Tree::placeAmongSiblings(const std::vector<ScreenItem>& list, int index) {
    int place = 0;
    for (int i = 0; i < index; ++i) {
        place += list[i].parent == list[index].parent ? 1 : 0;
    }
    return place;
}

unsigned Tree::role(Node node) const {
    switch (node.kind) {
        case Kind::app:
            return roleApplication;
        case Kind::frame:
            return roleFrame;
        case Kind::news:
            return roleNotification;
        case Kind::item:
            return rowOf(items[node.index].role).role;
        case Kind::none:
            break;
    }
    return roleLabel;
}

const char* Tree::roleName(unsigned role) {
    for (const RoleName& named : roleNames) {
        if (named.role == role) {
            return named.name;
        }
    }
    return "label";
}

const char* Tree::action(Node node) const {
    return node.kind == Kind::item ? rowOf(items[node.index].role).action : nullptr;
}

void Tree::extents(Node node, unsigned coordType, int& x, int& y, int& w, int& h) const {
    const int scale = window->scale ? window->scale() : 1;
    x = y = w = h = 0;
    if (node.kind == Kind::frame) {
        windowLogic::drawingSize(*program, w, h);
    } else if (node.kind == Kind::item) {
        const ScreenItem& it = items[node.index];
        x = it.x;
        y = it.y;
        w = it.width;
        h = it.height;
        if (coordType == coordParent && it.parent >= 0) {
            x -= items[it.parent].x;
            y -= items[it.parent].y;
        }
    }
    x *= scale;
    y *= scale;
    w *= scale;
    h *= scale;
    int left = 0, top = 0;
    if (coordType == coordScreen && window->origin && window->origin(left, top)) {
        x += left;
        y += top;
    }
}

std::vector<unsigned> Tree::states(Node node) const {
    std::vector<unsigned> on;
    if (node.kind == Kind::frame) {
        on = {stateEnabled, stateSensitive, stateShowing, stateVisible};
        if (active) {
            on.push_back(stateActive);
        }
    } else if (node.kind == Kind::news) {
        on = {stateEnabled, stateSensitive};
        if (!news.empty()) {
            on.insert(on.end(), {stateShowing, stateVisible});
        }
    } else if (node.kind == Kind::item) {
        const ScreenItem& it = items[node.index];
        on = {stateShowing, stateVisible};
        if (!it.disabled) {
            on.insert(on.end(), {stateEnabled, stateSensitive});
        }
        if (rowOf(it.role).focusable) {
            on.push_back(stateFocusable);
        }
        if (it.focused && active) {
            on.push_back(stateFocused);
        }
        if (factsOf(it.role).checkable) {
            on.push_back(stateCheckable);
        }
        if (it.pressed) {
            on.insert(on.end(), {statePressed, stateChecked});
        }
        if (it.checked) {
            on.push_back(stateChecked);
        }
    }
    return on;
}

}  // namespace atspi
