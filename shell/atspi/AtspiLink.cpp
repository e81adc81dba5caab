// The accessibility bus: connections, the start-up calls, messages sent without waiting, the
// buses' descriptors.

#include "shell/atspi/AtspiLink.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <dbus/dbus.h>
#include <sys/stat.h>

#include "shell/atspi/AtspiWriter.h"

AtspiWriter::AtspiWriter(DBusMessage* message) {
    dbus_message_iter_init_append(message, &at[0]);
}

AtspiWriter& AtspiWriter::open(int type, const char* signature) {
    dbus_message_iter_open_container(&at[depth], type, signature, &at[depth + 1]);
    ++depth;
    return *this;
}

AtspiWriter& AtspiWriter::close() {
    --depth;
    dbus_message_iter_close_container(&at[depth], &at[depth + 1]);
    return *this;
}

AtspiWriter& AtspiWriter::basic(int type, const void* value) {
    dbus_message_iter_append_basic(&at[depth], type, value);
    return *this;
}

AtspiWriter& AtspiWriter::str(std::string text, int type) {
    if (!dbus_validate_utf8(text.c_str(), nullptr)) {
        for (char& c : text) {
            c = static_cast<unsigned char>(c) < 0x80 ? c : '?';
        }
    }
    const char* chars = text.c_str();
    return basic(type, &chars);
}

AtspiWriter& AtspiWriter::i32(int value) {
    const dbus_int32_t v = value;
    return basic(DBUS_TYPE_INT32, &v);
}

AtspiWriter& AtspiWriter::u32(unsigned value) {
    const dbus_uint32_t v = value;
    return basic(DBUS_TYPE_UINT32, &v);
}

AtspiWriter& AtspiWriter::boolean(bool value) {
    const dbus_bool_t v = value;
    return basic(DBUS_TYPE_BOOLEAN, &v);
}

AtspiWriter& AtspiWriter::ref(const std::string& bus, const std::string& path) {
    return open(DBUS_TYPE_STRUCT).str(bus).str(path, DBUS_TYPE_OBJECT_PATH).close();
}

namespace {

constexpr const char* rootPath = "/org/a11y/atspi/accessible/root";
constexpr const char* nullPath = "/org/a11y/atspi/null";
// Past this much unsent, the bus has stopped reading: the bridge gives up rather than grow.
constexpr long outgoingLimit = 4 << 20;
// Past this much read and not yet answered, libdbus reads no more until the game has caught up:
// a client that calls faster than the game answers waits on the bus, not in the game's memory.
constexpr long incomingLimit = 4 << 20;

dbus_bool_t addWatch(DBusWatch* watch, void* data) {
    static_cast<AtspiLink::Connection*>(data)->watches.push_back(watch);
    return TRUE;
}

void removeWatch(DBusWatch* watch, void* data) {
    auto& watches = static_cast<AtspiLink::Connection*>(data)->watches;
    watches.erase(std::remove(watches.begin(), watches.end(), watch), watches.end());
}

void toggleWatch(DBusWatch*, void*) {
    // Whether a watch is on is read before each sleep.
}

// A call whose answer is awaited, with what to do with it.
struct Awaited {
    AtspiLink* link;
    AtspiLink::Connection* connection;
    void (*answered)(DBusMessage*, AtspiLink&);
};

bool isError(DBusMessage* reply) {
    return !reply || dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR;
}

DBusMessage* hello() {
    return dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                        "org.freedesktop.DBus", "Hello");
}

}  // namespace

// Never one that would start a bus of its own (autolaunch: runs a program and waits for it).
std::string sessionBusAddress() {
    if (const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        return *named && !std::strstr(named, "autolaunch:") ? named : "";
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat socket {};
    if (runtime && *runtime && stat((std::string(runtime) + "/bus").c_str(), &socket) == 0 &&
        S_ISSOCK(socket.st_mode)) {
        return std::string("unix:path=") + runtime + "/bus";
    }
    return "";
}

void AtspiLink::start(AtspiLinkEvents told) {
    events = std::move(told);
    const std::string address = sessionBusAddress();
    if (address.empty()) {
        return;
    }
    open(session, address);
    if (!session.bus) {
        return;
    }
    // A bus connection's first call says hello; the next asks where the accessibility bus is,
    // which starts it if need be.
    send(session, hello());
    send(
        session,
        dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"),
        addressTold);
}

void AtspiLink::open(Connection& link, const std::string& address) {
    DBusError error;
    dbus_error_init(&error);
    link.bus = dbus_connection_open_private(address.c_str(), &error);
    dbus_error_free(&error);
    if (!link.bus) {
        return;
    }
    dbus_connection_set_exit_on_disconnect(link.bus, FALSE);
    dbus_connection_set_watch_functions(link.bus, addWatch, removeWatch, toggleWatch, &link,
                                        nullptr);
    if (&link == &a11y) {
        dbus_connection_set_max_received_size(link.bus, incomingLimit);
        dbus_connection_add_filter(
            link.bus,
            [](DBusConnection* bus, DBusMessage* message, void* data) {
                return static_cast<DBusHandlerResult>(filter(bus, message, data));
            },
            this, nullptr);
    }
}

void AtspiLink::close(Connection& link) {
    DBusConnection* bus = link.bus;
    if (!bus) {
        return;
    }
    // Answers still awaited are completed as failures while it closes: they see it closed.
    link.bus = nullptr;
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    link.watches.clear();
    polled.clear();
}

void AtspiLink::close() {
    close(session);
    close(a11y);
    ownName.clear();
}

void AtspiLink::lose(const std::string& why) {
    close();
    if (events.closed) {
        events.closed(why);
    }
}

void AtspiLink::send(Connection& link, DBusMessage* message, Answered answered) {
    if (!message) {
        return;
    }
    if (link.bus) {
        DBusPendingCall* pending = nullptr;
        if (!answered) {
            dbus_connection_send(link.bus, message, nullptr);
        } else if (dbus_connection_send_with_reply(link.bus, message, &pending,
                                                   DBUS_TIMEOUT_INFINITE) &&
                   pending) {
            dbus_pending_call_set_notify(pending, pendingDone, new Awaited{this, &link, answered},
                                         [](void* data) { delete static_cast<Awaited*>(data); });
            dbus_pending_call_unref(pending);
        }
    }
    dbus_message_unref(message);
}

void AtspiLink::pendingDone(DBusPendingCall* pending, void* data) {
    const Awaited& awaited = *static_cast<Awaited*>(data);
    DBusMessage* reply = dbus_pending_call_steal_reply(pending);
    if (awaited.connection->bus) {
        awaited.answered(reply, *awaited.link);
    }
    if (reply) {
        dbus_message_unref(reply);
    }
}

void AtspiLink::addressTold(DBusMessage* reply, AtspiLink& l) {
    const char* address = nullptr;
    // The session bus has done its part either way.
    l.sessionDone = true;
    if (isError(reply) ||
        !dbus_message_get_args(reply, nullptr, DBUS_TYPE_STRING, &address, DBUS_TYPE_INVALID) ||
        !*address) {
        return;
    }
    l.open(l.a11y, address);
    l.send(l.a11y, hello(), helloAnswered);
}

void AtspiLink::helloAnswered(DBusMessage* reply, AtspiLink& l) {
    const char* unique = nullptr;
    if (isError(reply) ||
        !dbus_message_get_args(reply, nullptr, DBUS_TYPE_STRING, &unique, DBUS_TYPE_INVALID)) {
        l.failed = true;
        return;
    }
    l.ownName = unique;
    if (l.events.named) {
        l.events.named(l.ownName);
    }
    // The registry hangs the application from the desktop, where screen readers find it.
    DBusMessage* embed = dbus_message_new_method_call("org.a11y.atspi.Registry", rootPath,
                                                      "org.a11y.atspi.Socket", "Embed");
    if (embed) {
        AtspiWriter(embed).ref(l.ownName, rootPath);
    }
    l.send(l.a11y, embed, embedAnswered);
}

void AtspiLink::embedAnswered(DBusMessage* reply, AtspiLink& l) {
    DBusMessageIter args, desktop;
    const char *bus = nullptr, *path = nullptr;
    if (isError(reply) || !dbus_message_has_signature(reply, "(so)") ||
        !dbus_message_iter_init(reply, &args)) {
        l.failed = true;
        return;
    }
    dbus_message_iter_recurse(&args, &desktop);
    dbus_message_iter_get_basic(&desktop, &bus);
    dbus_message_iter_next(&desktop);
    dbus_message_iter_get_basic(&desktop, &path);
    if (l.events.embedded) {
        l.events.embedded(bus ? bus : "", path ? path : nullPath);
    }
}

int AtspiLink::filter(DBusConnection*, DBusMessage* message, void* data) {
    auto& l = *static_cast<AtspiLink*>(data);
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL || l.ownName.empty() ||
        !l.events.called || !l.events.called(message)) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    return DBUS_HANDLER_RESULT_HANDLED;
}

short pollEventsOf(DBusWatch* watch) {
    const unsigned flags = dbus_watch_get_flags(watch);
    return static_cast<short>((flags & DBUS_WATCH_READABLE ? POLLIN : 0) |
                              (flags & DBUS_WATCH_WRITABLE ? POLLOUT : 0));
}

unsigned watchFlagsOf(short revents) {
    return (revents & POLLIN ? DBUS_WATCH_READABLE : 0) |
           (revents & POLLOUT ? DBUS_WATCH_WRITABLE : 0) |
           (revents & POLLERR ? DBUS_WATCH_ERROR : 0) | (revents & POLLHUP ? DBUS_WATCH_HANGUP : 0);
}

void AtspiLink::watches(std::vector<pollfd>& fds, int& timeoutMs) {
    polled.clear();
    for (Connection* link : {&session, &a11y}) {
        if (!link->bus) {
            continue;
        }
        if (dbus_connection_get_dispatch_status(link->bus) != DBUS_DISPATCH_COMPLETE) {
            timeoutMs = 0;
        }
        for (DBusWatch* watch : link->watches) {
            if (!dbus_watch_get_enabled(watch)) {
                continue;
            }
            fds.push_back({dbus_watch_get_unix_fd(watch), pollEventsOf(watch), 0});
            polled.emplace_back(link, watch);
        }
    }
}

void AtspiLink::handle(const pollfd* fds, std::size_t count) {
    const auto seen = polled;
    for (std::size_t i = 0; i < count && i < seen.size(); ++i) {
        Connection& link = *seen[i].first;
        DBusWatch* watch = seen[i].second;
        // A watch handled before may have ended this one.
        if (!fds[i].revents || !link.bus ||
            std::find(link.watches.begin(), link.watches.end(), watch) == link.watches.end()) {
            continue;
        }
        dbus_watch_handle(watch, watchFlagsOf(fds[i].revents));
    }
    for (Connection* link : {&session, &a11y}) {
        while (link->bus && dbus_connection_dispatch(link->bus) == DBUS_DISPATCH_DATA_REMAINS) {
        }
    }
    if (sessionDone) {
        sessionDone = false;
        close(session);
    }
    if (a11y.bus && !dbus_connection_get_is_connected(a11y.bus)) {
        lose("lost the accessibility bus; screen readers no longer see the game");
    } else if (a11y.bus && dbus_connection_get_outgoing_size(a11y.bus) > outgoingLimit) {
        lose("the accessibility bus stopped reading; screen readers no longer see the game");
    } else if (failed) {
        lose("");
    } else if (session.bus && !dbus_connection_get_is_connected(session.bus)) {
        close(session);
    }
    failed = false;
}

void AtspiLink::reply(DBusMessage* call, const std::function<void(AtspiWriter&)>& write) {
    DBusMessage* answer = dbus_message_new_method_return(call);
    if (answer) {
        AtspiWriter w(answer);
        write(w);
    }
    send(a11y, answer);
}

void AtspiLink::error(DBusMessage* call, const char* name, const char* text) {
    send(a11y, dbus_message_new_error(call, name, text));
}

void AtspiLink::signal(const std::string& path, const char* interface, const char* member,
                       const std::string& detail, int detail1, const char* signature,
                       const std::function<void(AtspiWriter&)>& value) {
    DBusMessage* message = dbus_message_new_signal(path.c_str(), interface, member);
    if (!message) {
        return;
    }
    AtspiWriter w(message);
    w.str(detail).i32(detail1).i32(0).open(DBUS_TYPE_VARIANT, signature);
    value(w);
    w.close().open(DBUS_TYPE_ARRAY, "{sv}").close();
    send(a11y, message);
}
