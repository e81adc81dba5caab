// The Linux program read by screen readers: the bridge's life on the bus, and what each frame
// changed told as AT-SPI's events.

#include "shell/atspi/AtspiBridge.h"

#include <utility>

#include "services/AppInfo.h"
#include "shell/atspi/AtspiWriter.h"

using atspi::Kind;
using atspi::Tree;
using windowLogic::ItemState;
using windowLogic::ScreenChange;
using windowLogic::ScreenItem;

namespace {

constexpr const char* objectEvents = "org.a11y.atspi.Event.Object";
constexpr const char* windowEvents = "org.a11y.atspi.Event.Window";

// The states AT-SPI tells for each state of an item: a pressed toggle is checked as well, and a
// disabled item is neither enabled nor sensitive.
struct StateNames {
    ItemState state;
    const char* names[2];
    bool inverted;
};
constexpr StateNames stateNames[] = {
    {ItemState::Pressed, {"pressed", "checked"}, false},
    {ItemState::Checked, {"checked", nullptr}, false},
    {ItemState::Disabled, {"enabled", "sensitive"}, true},
};
static_assert(stateNames[1].state == ItemState::Checked &&
                  stateNames[2].state == ItemState::Disabled,
              "a state's row is found by its value");

}  // namespace

AtspiBridge::~AtspiBridge() {
    stop();
}

void AtspiBridge::attach(Program& p, AtspiWindow w) {
    program = &p;
    window = std::move(w);
    tree.program = program;
    tree.window = &window;
}

void AtspiBridge::start(Program& p, AtspiWindow w) {
    attach(p, std::move(w));
    AtspiLinkEvents events;
    events.named = [this](const std::string&) { named(); };
    events.embedded = [this](const std::string& bus, const std::string& path) {
        embedded(bus, path);
    };
    events.called = [this](DBusMessage* call) { return called(call); };
    events.closed = [this](const std::string& why) { closed(why); };
    link.start(std::move(events));
}

void AtspiBridge::serveWithoutBus(Program& p, AtspiWindow w) {
    attach(p, std::move(w));
    named();
}

void AtspiBridge::stop() {
    link.close();
    serving = false;
    tree.items.clear();
}

void AtspiBridge::closed(const std::string& why) {
    if (!why.empty() && window.complain) {
        window.complain(why);
    }
    serving = false;
    tree.items.clear();
}

void AtspiBridge::watches(std::vector<pollfd>& fds, int& timeoutMs) {
    link.watches(fds, timeoutMs);
}

void AtspiBridge::handle(const pollfd* fds, std::size_t count) {
    link.handle(fds, count);
}

void AtspiBridge::named() {
    // The screen as it stands; the game as it stands is no news.
    tree.items = windowLogic::describeScreen(*program);
    windowLogic::newsSince(*program, told);
    serving = true;
}

void AtspiBridge::embedded(const std::string& bus, const std::string& path) {
    desktop.bus = bus;
    desktop.path = path;
    // A window that had the focus before the screen reader could know of it says so now.
    if (tree.active) {
        tree.active = false;
        windowActive(true);
    }
}

void AtspiBridge::windowActive(bool active) {
    if (active == tree.active) {
        return;
    }
    tree.active = active;
    if (!serving) {
        return;
    }
    const std::string frame = tree.pathOf({Kind::frame, -1});
    link.signal(frame, windowEvents, active ? "Activate" : "Deactivate", "", 0, "s",
                [](AtspiWriter& w) { w.str(appTitle); });
    stateChanged(frame, "active", active);
    for (const ScreenItem& it : tree.items) {
        if (it.focused) {
            stateChanged(Tree::pathOf(it), "focused", active);
        }
    }
}

void AtspiBridge::stateChanged(const std::string& path, const char* state, bool on) {
    link.signal(path, objectEvents, "StateChanged", state, on ? 1 : 0, "i",
                [](AtspiWriter& w) { w.i32(0); });
}

void AtspiBridge::frameShown(std::vector<ScreenItem> now) {
    if (!serving) {
        return;
    }
    const std::vector<ScreenItem> before = std::move(tree.items);
    tree.items = std::move(now);
    const std::string news = windowLogic::newsSince(*program, told);
    if (!news.empty()) {
        tree.news = news;
    }
    for (const ScreenChange& change : windowLogic::changesBetween(before, tree.items, news)) {
        tell(change, before);
    }
}

// Each change as AT-SPI's event.
void AtspiBridge::tell(const ScreenChange& c, const std::vector<ScreenItem>& before) {
    const std::vector<ScreenItem>& now = tree.items;
    switch (c.kind) {
        case ScreenChange::Added:
        case ScreenChange::Removed: {
            // Told by the frame or the group holding it, at its place among its siblings.
            const bool added = c.kind == ScreenChange::Added;
            const std::vector<ScreenItem>& list = added ? now : before;
            const int index = added ? c.now : c.before;
            const ScreenItem& it = list[index];
            const std::string parent =
                it.parent < 0 ? tree.pathOf({Kind::frame, -1}) : Tree::pathOf(list[it.parent]);
            const std::string child = Tree::pathOf(it);
            link.signal(parent, objectEvents, "ChildrenChanged", added ? "add" : "remove",
                        Tree::placeAmongSiblings(list, index), "(so)",
                        [&](AtspiWriter& w) { w.ref(link.name(), child); });
            break;
        }
        case ScreenChange::Renamed:
            link.signal(Tree::pathOf(now[c.now]), objectEvents, "PropertyChange", "accessible-name",
                        0, "s", [&](AtspiWriter& w) { w.str(now[c.now].name); });
            break;
        case ScreenChange::StateChanged:
            for (const char* state : stateNames[static_cast<int>(c.state)].names) {
                if (state) {
                    stateChanged(Tree::pathOf(now[c.now]), state,
                                 c.on != stateNames[static_cast<int>(c.state)].inverted);
                }
            }
            break;
        case ScreenChange::BoundsChanged:
            break;  // a screen reader asks where an item is when it needs to know
        case ScreenChange::FocusMoved:
            // Told while the window has the keyboard focus.
            if (tree.active && c.from >= 0) {
                stateChanged(Tree::pathOf(now[c.from]), "focused", false);
            }
            if (tree.active && c.to >= 0) {
                stateChanged(Tree::pathOf(now[c.to]), "focused", true);
            }
            break;
        case ScreenChange::News: {
            // A notification whose name is the sentence, shown anew each time.
            const std::string path = tree.pathOf({Kind::news, -1});
            link.signal(path, objectEvents, "PropertyChange", "accessible-name", 0, "s",
                        [&](AtspiWriter& w) { w.str(tree.news); });
            stateChanged(path, "showing", true);
            break;
        }
    }
}
