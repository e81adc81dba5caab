// The Linux desktop's contrast setting, as the desktop portal tells it on the session bus.

#include "shell/sdl/PortalContrast.h"

#include <dbus/dbus.h>

#include <algorithm>
#include <cstring>

#include "shell/atspi/AtspiLink.h"

namespace {

const char* const portalName = "org.freedesktop.portal.Desktop";
const char* const portalPath = "/org/freedesktop/portal/desktop";
const char* const settings = "org.freedesktop.portal.Settings";
const char* const appearance = "org.freedesktop.appearance";

// A call whose answer is awaited: which key, and whether it went by the older Read.
struct Asked {
    PortalContrast* portal;
    const char* key;
    bool older;
};

}  // namespace

void PortalContrast::start(const std::string& address, Changed told) {
    changed = std::move(told);
    if (address.empty()) {
        return;
    }
    DBusError error;
    dbus_error_init(&error);
    bus = dbus_connection_open_private(address.c_str(), &error);
    dbus_error_free(&error);
    if (!bus) {
        return;
    }
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    dbus_connection_set_watch_functions(
        bus,
        [](DBusWatch* w, void* data) -> dbus_bool_t {
            static_cast<PortalContrast*>(data)->all.push_back(w);
            return TRUE;
        },
        [](DBusWatch* w, void* data) {
            auto& all = static_cast<PortalContrast*>(data)->all;
            all.erase(std::remove(all.begin(), all.end(), w), all.end());
        },
        [](DBusWatch*, void*) {}, this, nullptr);
    dbus_connection_add_filter(
        bus,
        [](DBusConnection*, DBusMessage* message, void* data) {
            if (dbus_message_is_signal(message, settings, "SettingChanged")) {
                static_cast<PortalContrast*>(data)->take(nullptr, message, true);
            }
            return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
        },
        this, nullptr);
    for (DBusMessage* m :
         {dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "Hello"),
          dbus_message_new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "AddMatch")}) {
        if (!m) {
            continue;
        }
        if (std::strcmp(dbus_message_get_member(m), "AddMatch") == 0) {
            const char* rule =
                "type='signal',interface='org.freedesktop.portal.Settings',member='SettingChanged',"
                "path='/org/freedesktop/portal/desktop',arg0='org.freedesktop.appearance'";
            dbus_message_append_args(m, DBUS_TYPE_STRING, &rule, DBUS_TYPE_INVALID);
        }
        dbus_connection_send(bus, m, nullptr);
        dbus_message_unref(m);
    }
    read("contrast", false);
    read("color-scheme", false);
}

void PortalContrast::read(const char* key, bool older) {
    DBusMessage* m =
        dbus_message_new_method_call(portalName, portalPath, settings, older ? "Read" : "ReadOne");
    if (!m) {
        return;
    }
    dbus_message_append_args(m, DBUS_TYPE_STRING, &appearance, DBUS_TYPE_STRING, &key,
                             DBUS_TYPE_INVALID);
    DBusPendingCall* pending = nullptr;
    if (dbus_connection_send_with_reply(bus, m, &pending, DBUS_TIMEOUT_INFINITE) && pending) {
        dbus_pending_call_set_notify(
            pending,
            [](DBusPendingCall* call, void* data) {
                const Asked& asked = *static_cast<Asked*>(data);
                DBusMessage* reply = dbus_pending_call_steal_reply(call);
                if (!reply || !asked.portal->bus) {
                    // closing: nothing more to ask
                } else if (dbus_message_get_type(reply) != DBUS_MESSAGE_TYPE_ERROR) {
                    asked.portal->take(asked.key, reply, false);
                } else if (!asked.older && dbus_message_is_error(
                                               reply, "org.freedesktop.DBus.Error.UnknownMethod")) {
                    asked.portal->read(asked.key, true);  // a portal from before ReadOne
                }
                if (reply) {
                    dbus_message_unref(reply);
                }
            },
            new Asked{this, key, older}, [](void* data) { delete static_cast<Asked*>(data); });
        dbus_pending_call_unref(pending);
    }
    dbus_message_unref(m);
}

void PortalContrast::take(const char* key, DBusMessage* message, bool signal) {
    DBusMessageIter it;
    if (!dbus_message_iter_init(message, &it)) {
        return;
    }
    const char* space = nullptr;
    if (signal) {
        // (namespace, key, value)
        if (dbus_message_iter_get_arg_type(&it) != DBUS_TYPE_STRING) {
            return;
        }
        dbus_message_iter_get_basic(&it, &space);
        dbus_message_iter_next(&it);
        if (dbus_message_iter_get_arg_type(&it) != DBUS_TYPE_STRING ||
            std::strcmp(space, appearance) != 0) {
            return;
        }
        dbus_message_iter_get_basic(&it, &key);
        dbus_message_iter_next(&it);
    }
    while (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
        DBusMessageIter inner;
        dbus_message_iter_recurse(&it, &inner);
        it = inner;
    }
    const int type = dbus_message_iter_get_arg_type(&it);
    if (type != DBUS_TYPE_UINT32 && type != DBUS_TYPE_INT32) {
        return;
    }
    dbus_uint32_t value = 0;
    dbus_message_iter_get_basic(&it, &value);
    if (std::strcmp(key, "contrast") == 0) {
        contrast = value;
    } else if (std::strcmp(key, "color-scheme") == 0) {
        scheme = value;
    } else {
        return;
    }
    if (changed) {
        changed(contrast == 1, scheme == 1);
    }
}

void PortalContrast::stop() {
    if (!bus) {
        return;
    }
    DBusConnection* closing = bus;
    bus = nullptr;
    dbus_connection_close(closing);
    dbus_connection_unref(closing);
    all.clear();
    polled.clear();
}

void PortalContrast::watches(std::vector<pollfd>& fds, int& timeoutMs) {
    polled.clear();
    if (!bus) {
        return;
    }
    if (dbus_connection_get_dispatch_status(bus) != DBUS_DISPATCH_COMPLETE) {
        timeoutMs = 0;
    }
    for (DBusWatch* watch : all) {
        if (dbus_watch_get_enabled(watch)) {
            fds.push_back({dbus_watch_get_unix_fd(watch), pollEventsOf(watch), 0});
            polled.push_back(watch);
        }
    }
}

void PortalContrast::handle(const pollfd* fds, std::size_t count) {
    const auto seen = polled;
    for (std::size_t i = 0; i < count && i < seen.size() && bus; ++i) {
        if (fds[i].revents == 0 || std::find(all.begin(), all.end(), seen[i]) == all.end()) {
            continue;
        }
        dbus_watch_handle(seen[i], watchFlagsOf(fds[i].revents));
    }
    while (bus && dbus_connection_dispatch(bus) == DBUS_DISPATCH_DATA_REMAINS) {
    }
    // A bus that went away leaves the look as it was last told.
    if (bus && !dbus_connection_get_is_connected(bus)) {
        stop();
    }
}
