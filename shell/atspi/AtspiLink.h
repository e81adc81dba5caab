// The accessibility bus, as the Linux program's bridge for screen readers uses it: the
// connections made and said hello to, the application embedded in the desktop, messages
// written and sent without waiting, and the bus's descriptors watched in the event loop's sleep.
#pragma once

#include <poll.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct DBusConnection;
struct DBusMessage;
struct DBusPendingCall;
struct DBusWatch;
// Writes a message's arguments (shell/atspi/AtspiWriter.h).
struct AtspiWriter;

// The session bus's address: the one the session names, else the user's usual socket; "" where
// there is none to reach without starting one. The bridge and the desktop portal's reader use it.
std::string sessionBusAddress();

// What a libdbus watch waits for, as poll's events; and what poll saw, as the watch's flags. The
// bridge's link and the desktop portal's reader watch their buses in the event loop alike.
short pollEventsOf(DBusWatch* watch);
unsigned watchFlagsOf(short revents);

// What the link tells the bridge.
struct AtspiLinkEvents {
    // Our name on the accessibility bus is known: objects may be asked for from now on.
    std::function<void(const std::string& name)> named;
    // The registry embedded the application in the desktop (its bus name and path).
    std::function<void(const std::string& bus, const std::string& path)> embedded;
    // A method call to one of our objects: true when it was answered.
    std::function<bool(DBusMessage* call)> called;
    // The link closed itself (the bus went away or refused us); `why` is the line to say, or
    // empty to go quietly.
    std::function<void(const std::string& why)> closed;
};

class AtspiLink {
  public:
    AtspiLink() = default;
    AtspiLink(const AtspiLink&) = delete;
    AtspiLink& operator=(const AtspiLink&) = delete;
    ~AtspiLink() { close(); }

    // Asks the session bus where the accessibility bus is, and says hello there once told.
    // Returns at once; does nothing without a session bus.
    void start(AtspiLinkEvents events);
    // Both connections closed, saying nothing (and telling nothing of it).
    void close();

    // Our name on the accessibility bus, once it is known.
    const std::string& name() const { return ownName; }

    // Appends the buses' descriptors to those the event loop sleeps on; a sleep with messages
    // already read and waiting is cut to nothing.
    void watches(std::vector<pollfd>& fds, int& timeoutMs);
    // After the sleep: `fds` are those `watches` appended, their events filled in.
    void handle(const pollfd* fds, std::size_t count);

    // The answer to `call`, its arguments written by `write`; or an error.
    void reply(DBusMessage* call, const std::function<void(AtspiWriter&)>& write);
    void error(DBusMessage* call, const char* name, const char* text);
    // A signal of the object at `path`, as AT-SPI's events are: a detail, a number, and a
    // value of `signature` written by `value`.
    void signal(const std::string& path, const char* interface, const char* member,
                const std::string& detail, int detail1, const char* signature,
                const std::function<void(AtspiWriter&)>& value);

    // One connection and its descriptors.
    struct Connection {
        DBusConnection* bus = nullptr;
        std::vector<DBusWatch*> watches;
    };

  private:
    using Answered = void (*)(DBusMessage*, AtspiLink&);
    void open(Connection& link, const std::string& address);
    void close(Connection& link);
    void send(Connection& link, DBusMessage* message, Answered answered = nullptr);
    void lose(const std::string& why);
    static void addressTold(DBusMessage* reply, AtspiLink& link);
    static void helloAnswered(DBusMessage* reply, AtspiLink& link);
    static void embedAnswered(DBusMessage* reply, AtspiLink& link);
    static void pendingDone(DBusPendingCall* pending, void* data);
    static int filter(DBusConnection* connection, DBusMessage* message, void* data);

    AtspiLinkEvents events;
    Connection session, a11y;
    // The connection and watch of each descriptor `watches` appended last.
    std::vector<std::pair<Connection*, DBusWatch*>> polled;
    std::string ownName;
    bool sessionDone = false, failed = false;  // to be closed after dispatching
};
