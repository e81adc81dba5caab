// The Linux desktop's contrast setting, as the desktop portal tells it on the session bus.
#pragma once

#include <poll.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct DBusConnection;
struct DBusMessage;
struct DBusWatch;

// Reads org.freedesktop.appearance's `contrast` (1: more) and `color-scheme` (1: dark) from the
// portal's Settings and follows their SettingChanged. Like the accessibility bridge, it never
// waits for the bus: every call is sent without waiting, and the bus's descriptors join the
// event loop's sleep. Without a session bus or a portal it says nothing and tells nothing.
class PortalContrast {
  public:
    // Told after every answer or change: whether the desktop asks for more contrast, and whether
    // it prefers dark.
    using Changed = std::function<void(bool highContrast, bool dark)>;

    PortalContrast() = default;
    PortalContrast(const PortalContrast&) = delete;
    PortalContrast& operator=(const PortalContrast&) = delete;
    ~PortalContrast() { stop(); }

    // Connects and asks; returns at once.
    void start(const std::string& address, Changed changed);
    void stop();
    // As AtspiBridge's: the descriptors for the sleep, and what they said after it.
    void watches(std::vector<pollfd>& fds, int& timeoutMs);
    void handle(const pollfd* fds, std::size_t count);

  private:
    // Asks for a key: by ReadOne, or by the older Read where the portal has no ReadOne.
    void read(const char* key, bool older);
    // A value the portal gave (in variants: Read wraps it twice), or a SettingChanged signal.
    void take(const char* key, DBusMessage* message, bool signal);

    DBusConnection* bus = nullptr;
    std::vector<DBusWatch*> all;
    std::vector<DBusWatch*> polled;
    Changed changed;
    unsigned contrast = 0;
    unsigned scheme = 0;
};
