// Arbitrary bytes as a screen reader's calls to the Linux program's bridge: each call a real
// D-Bus message made with libdbus (valid on the wire, hostile in content: any object path, any
// interface and member the bridge answers and others, arguments of any signature, arrays of any
// length), handed to the bridge as the bus would hand it, with the real program behind it and
// no bus (what the bridge answers is written and dropped). Calls may press items: between them
// the game runs on and the screen is described again, and whatever was pressed, nothing may
// crash or trip a sanitizer and the game must stay a game.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <dbus/dbus.h>

#include "game/GameCodes.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "shell/atspi/AtspiBridge.h"
#include "tests/support/FakeServices.h"

namespace {

const char* const paths[] = {"/org/a11y/atspi/accessible/root",
                             "/org/a11y/atspi/accessible/frame",
                             "/org/a11y/atspi/accessible/news",
                             "/org/a11y/atspi/cache",
                             "/org/a11y/atspi/null",
                             "/org/a11y/atspi/accessible/x1",
                             "/org/a11y/atspi/accessible/0",
                             "/org/a11y/atspi/accessible/99999999999",
                             "/"};
const char* const interfaces[] = {"org.a11y.atspi.Accessible",
                                  "org.a11y.atspi.Component",
                                  "org.a11y.atspi.Action",
                                  "org.a11y.atspi.Application",
                                  "org.freedesktop.DBus.Properties",
                                  "org.freedesktop.DBus.Introspectable",
                                  "org.a11y.atspi.Text"};
const char* const names[] = {"Name",         "Description",  "Parent",      "ChildCount",
                             "Locale",       "AccessibleId", "ToolkitName", "Version",
                             "AtspiVersion", "Id",           "NActions",    ""};

// Each method the bridge answers (and some it does not), by interface, with the arguments it
// takes: a call is one of them, well formed but for its values, or with any arguments at all.
struct Method {
    int interface;  // in `interfaces`
    const char* member;
    const char* signature;
};
const Method methods[] = {{0, "GetRole", ""},
                          {0, "GetRoleName", ""},
                          {0, "GetLocalizedRoleName", ""},
                          {0, "GetState", ""},
                          {0, "GetChildren", ""},
                          {0, "GetChildAtIndex", "i"},
                          {0, "GetIndexInParent", ""},
                          {0, "GetApplication", ""},
                          {0, "GetAttributes", ""},
                          {0, "GetRelationSet", ""},
                          {0, "GetInterfaces", ""},
                          {0, "GetItems", ""},
                          {1, "GetExtents", "u"},
                          {1, "GetPosition", "u"},
                          {1, "GetSize", ""},
                          {1, "Contains", "iiu"},
                          {1, "GetAccessibleAtPoint", "iiu"},
                          {1, "GetLayer", ""},
                          {1, "GetMDIZOrder", ""},
                          {1, "GetAlpha", ""},
                          {1, "GrabFocus", ""},
                          {2, "GetActions", ""},
                          {2, "GetName", "i"},
                          {2, "GetLocalizedName", "i"},
                          {2, "GetDescription", "i"},
                          {2, "GetKeyBinding", "i"},
                          {2, "DoAction", "i"},
                          {2, "DoAction", "i"},
                          {2, "DoAction", "i"},
                          {3, "GetLocale", "u"},
                          {3, "GetApplicationBusAddress", ""},
                          {4, "Get", "ss"},
                          {4, "GetAll", "s"},
                          {4, "Set", "ssv"},
                          {5, "Introspect", ""},
                          {6, "GetText", "ii"}};

[[noreturn]] void violated(const char* what, long value) {
    std::fprintf(stderr, "bridge fuzzer: %s (%ld)\n", what, value);
    std::abort();
}

template <typename T, std::size_t n>
const T& pick(FuzzedDataProvider& in, const T (&from)[n]) {
    return from[in.ConsumeIntegralInRange<std::size_t>(0, n - 1)];
}

// A string of the input's, where D-Bus takes it (valid UTF-8), else one of the names above.
std::string text(FuzzedDataProvider& in) {
    std::string s = in.ConsumeRandomLengthString(64);
    return dbus_validate_utf8(s.c_str(), nullptr) ? s : pick(in, names);
}

// One argument of a type the input chooses; containers nest once.
void append(FuzzedDataProvider& in, DBusMessageIter& to, int depth) {
    switch (in.ConsumeIntegralInRange(0, depth ? 6 : 9)) {
        case 0: {
            const dbus_int32_t v = in.ConsumeIntegral<dbus_int32_t>();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_INT32, &v);
            break;
        }
        case 1: {
            const dbus_uint32_t v = in.ConsumeIntegral<dbus_uint32_t>();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_UINT32, &v);
            break;
        }
        case 2: {
            const std::string s = text(in);
            const char* v = s.c_str();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_STRING, &v);
            break;
        }
        case 3: {
            const char* v = pick(in, paths);
            dbus_message_iter_append_basic(&to, DBUS_TYPE_OBJECT_PATH, &v);
            break;
        }
        case 4: {
            const dbus_bool_t v = in.ConsumeBool();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_BOOLEAN, &v);
            break;
        }
        case 5: {
            const double v = in.ConsumeFloatingPoint<double>();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_DOUBLE, &v);
            break;
        }
        case 6: {
            const unsigned char v = in.ConsumeIntegral<unsigned char>();
            dbus_message_iter_append_basic(&to, DBUS_TYPE_BYTE, &v);
            break;
        }
        case 7: {  // a huge array of numbers
            DBusMessageIter array;
            dbus_message_iter_open_container(&to, DBUS_TYPE_ARRAY, "i", &array);
            for (int n = in.ConsumeIntegralInRange(0, 20000); n > 0; --n) {
                const dbus_int32_t v = n;
                dbus_message_iter_append_basic(&array, DBUS_TYPE_INT32, &v);
            }
            dbus_message_iter_close_container(&to, &array);
            break;
        }
        case 8: {  // a variant holding a string
            DBusMessageIter variant;
            dbus_message_iter_open_container(&to, DBUS_TYPE_VARIANT, "s", &variant);
            const std::string s = text(in);
            const char* v = s.c_str();
            dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &v);
            dbus_message_iter_close_container(&to, &variant);
            break;
        }
        default: {  // a struct of whatever follows
            DBusMessageIter fields;
            dbus_message_iter_open_container(&to, DBUS_TYPE_STRUCT, nullptr, &fields);
            for (int n = in.ConsumeIntegralInRange(1, 3); n > 0; --n) {
                append(in, fields, depth + 1);
            }
            dbus_message_iter_close_container(&to, &fields);
        }
    }
}

// A method call as the input makes it: to an object of the tree's or another, one of the
// methods above or one of the input's own, with arguments of their types or of any.
DBusMessage* call(FuzzedDataProvider& in, const std::vector<std::string>& items) {
    std::string path = in.ConsumeBool() && !items.empty()
                           ? items[in.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)]
                           : pick(in, paths);
    const Method& method = pick(in, methods);
    std::string interface = interfaces[method.interface], member = method.member;
    const bool wellFormed = in.ConsumeBool();
    if (in.ConsumeIntegralInRange(0, 15) == 0) {
        const std::string own = in.ConsumeRandomLengthString(32);
        if (dbus_validate_member(own.c_str(), nullptr)) {
            member = own;
        } else if (dbus_validate_interface(own.c_str(), nullptr)) {
            interface = own;
        } else if (dbus_validate_path(own.c_str(), nullptr)) {
            path = own;
        }
    }
    // The bus carries only well-formed names: libdbus refuses to make others.
    if (!dbus_validate_path(path.c_str(), nullptr)) {
        path = "/";
    }
    DBusMessage* message =
        dbus_message_new_method_call(":1.1", path.c_str(), interface.c_str(), member.c_str());
    if (!message) {
        return nullptr;
    }
    dbus_message_set_serial(message, 1);
    DBusMessageIter args;
    dbus_message_iter_init_append(message, &args);
    if (!wellFormed) {
        for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) {
            append(in, args, 0);
        }
        return message;
    }
    // Values near those that mean something: small numbers, known interfaces and properties.
    for (const char* type = method.signature; *type; ++type) {
        // An index (a child's, an action's) or a place in the window, in points.
        const dbus_int32_t number = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 9)
                                                     : in.ConsumeIntegralInRange(-2, 800);
        const dbus_uint32_t coords = in.ConsumeIntegralInRange(0, 3);
        const char* name = type == method.signature ? pick(in, interfaces) : pick(in, names);
        if (*type == 'i') {
            dbus_message_iter_append_basic(&args, DBUS_TYPE_INT32, &number);
        } else if (*type == 'u') {
            dbus_message_iter_append_basic(&args, DBUS_TYPE_UINT32, &coords);
        } else if (*type == 's') {
            dbus_message_iter_append_basic(&args, DBUS_TYPE_STRING, &name);
        } else {
            append(in, args, 0);
        }
    }
    return message;
}

// The game as the grid shows it: marks of two kinds, taken in turns, and a state in range.
void checkGame(const Program& p) {
    const TicTacToe& g = p.gameBoard;
    int players = 0, computers = 0;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            const int mark = g.getCell(c, r);
            if (mark < game::Empty || mark > game::ComputerMark) {
                violated("a cell holds", mark);
            }
            players += mark == game::PlayerMark;
            computers += mark == game::ComputerMark;
        }
    }
    if (players - computers > 1 || computers - players > 1) {
        violated("moves not taken in turns", players - computers);
    }
    if (g.getState() < game::PlayerTurn || g.getState() > game::Tied) {
        violated("game state", g.getState());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FakeServices fake;
    auto p = std::make_unique<Program>(fake);
    windowLogic::startUp(*p);
    windowLogic::created(*p);
    AtspiBridge bridge;
    AtspiWindow window;
    window.scale = [] { return 1; };
    window.origin = [](int&, int&) { return false; };
    bridge.serveWithoutBus(*p, window);

    FuzzedDataProvider in(data, size);
    for (int calls = 0; calls < 32 && in.remaining_bytes() > 0; ++calls) {
        std::vector<std::string> items;
        for (const windowLogic::ScreenItem& it : windowLogic::describeScreen(*p)) {
            items.push_back("/org/a11y/atspi/accessible/" + std::to_string(it.id));
        }
        if (DBusMessage* message = call(in, items)) {
            bridge.called(message);
            dbus_message_unref(message);
        }
        // The game runs on between calls, and the bridge is told what each frame shows.
        for (int ticks = in.ConsumeIntegralInRange(0, 40); ticks > 0; --ticks) {
            windowLogic::timerTick(*p);
        }
        bridge.frameShown(windowLogic::describeScreen(*p));
        checkGame(*p);
    }
    return 0;
}
