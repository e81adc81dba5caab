// The AT-SPI interfaces a screen reader calls on the Linux program's objects: one handler for
// each, its methods in a table, the properties of all of them in one table that serves both Get
// and GetAll, and the dispatcher that hands each call to its interface.

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <dbus/dbus.h>

#include "services/AppInfo.h"
#include "shell/WindowLogic.h"
#include "shell/atspi/AtspiBridge.h"
#include "shell/atspi/AtspiWriter.h"

using atspi::Kind;
using atspi::Node;
using atspi::Tree;

namespace {

constexpr const char* cachePath = "/org/a11y/atspi/cache";
constexpr const char* accessibleInterface = "org.a11y.atspi.Accessible";
constexpr const char* componentInterface = "org.a11y.atspi.Component";
constexpr const char* actionInterface = "org.a11y.atspi.Action";
constexpr const char* applicationInterface = "org.a11y.atspi.Application";
constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";

// One call of a screen reader to one object, with what answering it needs.
struct Call {
    DBusMessage* message;
    std::string member;
    Node node;
    const Tree& tree;
    AtspiLink& link;
    Program& program;
    AtspiBridge::Desktop& desktop;

    bool reply(const std::function<void(AtspiWriter&)>& write) {
        link.reply(message, write);
        return true;
    }
    bool error(const char* name, const char* text) {
        link.error(message, name, text);
        return true;
    }
    // An object of ours, or the null object.
    void ref(AtspiWriter& w, Node n) const {
        if (n.kind == Kind::none) {
            w.ref("", atspi::nullPath);
        } else {
            w.ref(link.name(), tree.pathOf(n));
        }
    }
    // The call's arguments, of the types given (each followed by where it goes).
    template <typename... Arguments>
    bool arguments(Arguments... at) const {
        return dbus_message_get_args(message, nullptr, at..., DBUS_TYPE_INVALID);
    }
};

// Which interfaces an object has, in the order GetInterfaces lists them.
bool hasAccessible(const Tree&, Node) {
    return true;
}
bool hasApplication(const Tree&, Node node) {
    return node.kind == Kind::app;
}
bool hasComponent(const Tree&, Node node) {
    return node.kind == Kind::frame || node.kind == Kind::item;
}
bool hasAction(const Tree& tree, Node node) {
    return tree.action(node) != nullptr;
}

// The properties, whatever the interface: Get and GetAll both read this table.
struct Property {
    const char* interface;
    const char* name;
    const char* signature;
    bool (*has)(const Tree&, Node);
    void (*get)(const Call&, AtspiWriter&);
};
const Property properties[] = {
    {accessibleInterface, "Name", "s", hasAccessible,
     [](const Call& c, AtspiWriter& w) {
         const Kind kind = c.node.kind;
         w.str(kind == Kind::app     ? "vok-tictactoe"
               : kind == Kind::frame ? appTitle
               : kind == Kind::news  ? c.tree.news
                                     : c.tree.items[c.node.index].name);
     }},
    {accessibleInterface, "Description", "s", hasAccessible,
     [](const Call&, AtspiWriter& w) { w.str(""); }},
    {accessibleInterface, "Parent", "(so)", hasAccessible,
     [](const Call& c, AtspiWriter& w) {
         if (c.node.kind == Kind::app) {
             w.ref(c.desktop.bus, c.desktop.path.empty() ? atspi::nullPath : c.desktop.path);
         } else {
             c.ref(w, c.tree.parentOf(c.node));
         }
     }},
    {accessibleInterface, "ChildCount", "i", hasAccessible,
     [](const Call& c, AtspiWriter& w) {
         w.i32(static_cast<int>(c.tree.childrenOf(c.node).size()));
     }},
    {accessibleInterface, "Locale", "s", hasAccessible,
     [](const Call&, AtspiWriter& w) { w.str("en"); }},
    {accessibleInterface, "AccessibleId", "s", hasAccessible,
     [](const Call& c, AtspiWriter& w) {
         // The path's last part: the item's id, "frame", "news" or "root".
         const std::string path = c.tree.pathOf(c.node);
         w.str(path.substr(path.rfind('/') + 1));
     }},
    {applicationInterface, "ToolkitName", "s", hasApplication,
     [](const Call&, AtspiWriter& w) { w.str("vok-tictactoe"); }},
    {applicationInterface, "Version", "s", hasApplication,
     // The title ends with the version.
     [](const Call&, AtspiWriter& w) { w.str(std::strrchr(appTitle, ' ') + 1); }},
    {applicationInterface, "AtspiVersion", "s", hasApplication,
     [](const Call&, AtspiWriter& w) { w.str("2.1"); }},
    {applicationInterface, "Id", "i", hasApplication,
     [](const Call& c, AtspiWriter& w) { w.i32(c.desktop.appId); }},
    {actionInterface, "NActions", "i", hasAction, [](const Call&, AtspiWriter& w) { w.i32(1); }},
};

void writeProperty(const Call& c, const Property& p, AtspiWriter& w) {
    w.open(DBUS_TYPE_VARIANT, p.signature);
    p.get(c, w);
    w.close();
}

bool propertiesCall(Call& c) {
    const char *of = nullptr, *name = nullptr;
    if (c.member == "Get" && c.arguments(DBUS_TYPE_STRING, &of, DBUS_TYPE_STRING, &name)) {
        for (const Property& p : properties) {
            if (std::strcmp(p.interface, of) == 0 && std::strcmp(p.name, name) == 0 &&
                p.has(c.tree, c.node)) {
                return c.reply([&](AtspiWriter& w) { writeProperty(c, p, w); });
            }
        }
        return c.error(DBUS_ERROR_UNKNOWN_PROPERTY, "No such property");
    }
    if (c.member == "GetAll" && c.arguments(DBUS_TYPE_STRING, &of)) {
        return c.reply([&](AtspiWriter& w) {
            w.open(DBUS_TYPE_ARRAY, "{sv}");
            for (const Property& p : properties) {
                if (std::strcmp(p.interface, of) == 0 && p.has(c.tree, c.node)) {
                    w.open(DBUS_TYPE_DICT_ENTRY).str(p.name);
                    writeProperty(c, p, w);
                    w.close();
                }
            }
            w.close();
        });
    }
    // The registry numbers each application it embeds.
    if (c.member == "Set" && c.node.kind == Kind::app &&
        dbus_message_has_signature(c.message, "ssv")) {
        DBusMessageIter args, variant;
        dbus_message_iter_init(c.message, &args);
        dbus_message_iter_next(&args);
        dbus_message_iter_next(&args);
        dbus_message_iter_recurse(&args, &variant);
        if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_INT32) {
            dbus_int32_t id = 0;
            dbus_message_iter_get_basic(&variant, &id);
            c.desktop.appId = id;
        }
        return c.reply([](AtspiWriter&) {});
    }
    return false;
}

// A method of an interface; false when the call is not one it answers.
struct Method {
    const char* name;
    bool (*run)(Call&);
};

const Method accessibleMethods[] = {
    {"GetRole",
     [](Call& c) { return c.reply([&](AtspiWriter& w) { w.u32(c.tree.role(c.node)); }); }},
    {"GetRoleName",
     [](Call& c) {
         return c.reply([&](AtspiWriter& w) { w.str(Tree::roleName(c.tree.role(c.node))); });
     }},
    {"GetLocalizedRoleName",
     [](Call& c) {
         return c.reply([&](AtspiWriter& w) { w.str(Tree::roleName(c.tree.role(c.node))); });
     }},
    {"GetState",
     [](Call& c) {
         return c.reply([&](AtspiWriter& w) {
             std::uint32_t words[2] = {0, 0};
             for (const unsigned state : c.tree.states(c.node)) {
                 words[state / 32] |= 1u << (state % 32);
             }
             w.open(DBUS_TYPE_ARRAY, "u").u32(words[0]).u32(words[1]).close();
         });
     }},
    {"GetChildren",
     [](Call& c) {
         return c.reply([&](AtspiWriter& w) {
             w.open(DBUS_TYPE_ARRAY, "(so)");
             for (const Node child : c.tree.childrenOf(c.node)) {
                 c.ref(w, child);
             }
             w.close();
         });
     }},
    {"GetChildAtIndex",
     [](Call& c) {
         dbus_int32_t index = 0;
         if (!c.arguments(DBUS_TYPE_INT32, &index)) {
             return false;
         }
         const std::vector<Node> children = c.tree.childrenOf(c.node);
         const bool inside = index >= 0 && index < static_cast<int>(children.size());
         return c.reply([&](AtspiWriter& w) { c.ref(w, inside ? children[index] : Node{}); });
     }},
    {"GetIndexInParent",
     [](Call& c) { return c.reply([&](AtspiWriter& w) { w.i32(c.tree.indexInParent(c.node)); }); }},
    {"GetApplication",
     [](Call& c) { return c.reply([&](AtspiWriter& w) {
                       c.ref(w, {Kind::app, -1});
                   }); }},
    {"GetAttributes",
     [](Call& c) {
         return c.reply([](AtspiWriter& w) { w.open(DBUS_TYPE_ARRAY, "{ss}").close(); });
     }},
    {"GetRelationSet",
     [](Call& c) {
         return c.reply([](AtspiWriter& w) { w.open(DBUS_TYPE_ARRAY, "(ua(so))").close(); });
     }},
    {"GetInterfaces", [](Call& c) {
         return c.reply([&](AtspiWriter& w) {
             w.open(DBUS_TYPE_ARRAY, "s");
             const std::pair<const char*, bool (*)(const Tree&, Node)> all[] = {
                 {accessibleInterface, hasAccessible},
                 {applicationInterface, hasApplication},
                 {componentInterface, hasComponent},
                 {actionInterface, hasAction}};
             for (const auto& [name, has] : all) {
                 if (has(c.tree, c.node)) {
                     w.str(name);
                 }
             }
             w.close();
         });
     }}};

// The extents of the called object in the coordinates the call names (the first argument of
// `coordinates` type); false when it names none.
bool placed(Call& c, int& x, int& y, int& w, int& h) {
    dbus_uint32_t coordType = 0;
    if (!c.arguments(DBUS_TYPE_UINT32, &coordType)) {
        return false;
    }
    c.tree.extents(c.node, coordType, x, y, w, h);
    return true;
}

// A point of the call, (x, y) in coordinates of the type that follows them.
bool point(Call& c, int& x, int& y, unsigned& coordType) {
    dbus_int32_t px = 0, py = 0;
    dbus_uint32_t type = 0;
    if (!c.arguments(DBUS_TYPE_INT32, &px, DBUS_TYPE_INT32, &py, DBUS_TYPE_UINT32, &type)) {
        return false;
    }
    x = px;
    y = py;
    coordType = type;
    return true;
}

const Method componentMethods[] = {
    {"GetExtents",
     [](Call& c) {
         int x = 0, y = 0, w = 0, h = 0;
         return placed(c, x, y, w, h) && c.reply([&](AtspiWriter& out) {
             out.open(DBUS_TYPE_STRUCT).i32(x).i32(y).i32(w).i32(h).close();
         });
     }},
    {"GetPosition",
     [](Call& c) {
         int x = 0, y = 0, w = 0, h = 0;
         return placed(c, x, y, w, h) && c.reply([&](AtspiWriter& out) { out.i32(x).i32(y); });
     }},
    {"GetSize",
     [](Call& c) {
         int x = 0, y = 0, w = 0, h = 0;
         c.tree.extents(c.node, atspi::coordWindow, x, y, w, h);
         return c.reply([&](AtspiWriter& out) { out.i32(w).i32(h); });
     }},
    {"Contains",
     [](Call& c) {
         int px = 0, py = 0, x = 0, y = 0, w = 0, h = 0;
         unsigned type = 0;
         if (!point(c, px, py, type)) {
             return false;
         }
         c.tree.extents(c.node, type, x, y, w, h);
         const bool inside = px >= x && py >= y && px < x + w && py < y + h;
         return c.reply([&](AtspiWriter& out) { out.boolean(inside); });
     }},
    {"GetAccessibleAtPoint",
     [](Call& c) {
         int px = 0, py = 0;
         unsigned type = 0;
         return point(c, px, py, type) && c.reply([&](AtspiWriter& out) {
             c.ref(out, c.tree.childAt(c.node, px, py, type));
         });
     }},
    {"GetLayer",
     [](Call& c) {
         const unsigned layer =
             c.node.kind == Kind::frame ? atspi::layerWindow : atspi::layerWidget;
         return c.reply([&](AtspiWriter& w) { w.u32(layer); });
     }},
    {"GetMDIZOrder",
     [](Call& c) {
         const dbus_int16_t order = 0;
         return c.reply([&](AtspiWriter& w) { w.basic(DBUS_TYPE_INT16, &order); });
     }},
    {"GetAlpha",
     [](Call& c) {
         const double alpha = 1.0;
         return c.reply([&](AtspiWriter& w) { w.basic(DBUS_TYPE_DOUBLE, &alpha); });
     }},
    {"GrabFocus", [](Call& c) { return c.reply([](AtspiWriter& w) { w.boolean(false); }); }}};

// Every action method but GetActions names its action by number: there is only number 0.
bool onlyAction(Call& c) {
    dbus_int32_t index = -1;
    if (!c.arguments(DBUS_TYPE_INT32, &index) || index != 0) {
        c.error(DBUS_ERROR_INVALID_ARGS, "The only action is number 0");
        return false;
    }
    return true;
}

const Method actionMethods[] = {
    {"GetActions",
     [](Call& c) {
         const char* name = c.tree.action(c.node);
         return c.reply([&](AtspiWriter& w) {
             w.open(DBUS_TYPE_ARRAY, "(sss)").open(DBUS_TYPE_STRUCT);
             w.str(name).str("").str("").close().close();
         });
     }},
    {"GetName",
     [](Call& c) {
         return !onlyAction(c) || c.reply([&](AtspiWriter& w) { w.str(c.tree.action(c.node)); });
     }},
    {"GetLocalizedName",
     [](Call& c) {
         return !onlyAction(c) || c.reply([&](AtspiWriter& w) { w.str(c.tree.action(c.node)); });
     }},
    {"GetDescription",
     [](Call& c) { return !onlyAction(c) || c.reply([](AtspiWriter& w) { w.str(""); }); }},
    {"GetKeyBinding",
     [](Call& c) { return !onlyAction(c) || c.reply([](AtspiWriter& w) { w.str(""); }); }},
    {"DoAction", [](Call& c) {
         if (!onlyAction(c)) {
             return true;
         }
         // Pressed where it is now, which a frame may not have shown yet.
         int x = 0, y = 0;
         const bool shown =
             windowLogic::pressPointOf(c.program, c.tree.items[c.node.index].id, x, y);
         if (shown) {
             windowLogic::press(c.program, x, y);
         }
         return c.reply([&](AtspiWriter& w) { w.boolean(shown); });
     }}};

const Method applicationMethods[] = {
    {"GetLocale", [](Call& c) { return c.reply([](AtspiWriter& w) { w.str("en"); }); }},
    // No connection of its own to each screen reader: everything goes through the bus.
    {"GetApplicationBusAddress",
     [](Call& c) { return c.reply([](AtspiWriter& w) { w.str(""); }); }}};

// Each interface, the objects that have it, and its methods.
struct Interface {
    const char* name;
    bool (*has)(const Tree&, Node);
    const Method* methods;
    std::size_t count;
};
template <std::size_t count>
constexpr Interface interfaceOf(const char* name, bool (*has)(const Tree&, Node),
                                const Method (&methods)[count]) {
    return {name, has, methods, count};
}
const Interface interfaces[] = {
    interfaceOf(accessibleInterface, hasAccessible, accessibleMethods),
    interfaceOf(componentInterface, hasComponent, componentMethods),
    interfaceOf(actionInterface, hasAction, actionMethods),
    interfaceOf(applicationInterface, hasApplication, applicationMethods),
};

}  // namespace

// One call of a screen reader: true when answered.
bool AtspiBridge::answer(DBusMessage* message) {
    const char* path = dbus_message_get_path(message);
    const char* interface = dbus_message_get_interface(message);
    const char* member = dbus_message_get_member(message);
    if (!path || !interface || !member) {
        return false;
    }
    const Node node = tree.find(path);
    Call call{message, member, node, tree, link, *program, desktop};
    // Screen readers ask each application for its objects in bulk: there is no such store here,
    // every object is asked for as it is needed.
    if (std::strcmp(path, cachePath) == 0 && call.member == "GetItems") {
        return call.reply(
            [](AtspiWriter& w) { w.open(DBUS_TYPE_ARRAY, "((so)(so)(so)iiassusau)").close(); });
    }
    if (node.kind == Kind::none) {
        return call.error(DBUS_ERROR_UNKNOWN_OBJECT, "No such object");
    }
    if (std::strcmp(interface, propertiesInterface) == 0) {
        return propertiesCall(call);
    }
    for (const Interface& in : interfaces) {
        if (std::strcmp(interface, in.name) != 0 || !in.has(tree, node)) {
            continue;
        }
        for (std::size_t i = 0; i < in.count; ++i) {
            if (call.member == in.methods[i].name) {
                return in.methods[i].run(call);
            }
        }
    }
    return false;
}
