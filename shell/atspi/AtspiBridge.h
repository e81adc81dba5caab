// The Linux program read by screen readers: the description of what is on screen published as
// an AT-SPI2 tree on the desktop's accessibility bus (D-Bus), what changed told after each frame,
// and each item pressed through its action.
//
// Nothing here waits for the bus: every call is sent without waiting for its answer, and the
// bus's descriptors are watched in the event loop's own sleep, so the bridge has no thread of
// its own and wakes the program only when a message comes. A bus that is missing, or goes away
// in the middle of a game, ends the bridge and nothing else.
#pragma once

#include <poll.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "shell/ScreenDescription.h"

struct Program;
struct DBusConnection;
struct DBusMessage;
struct DBusWatch;
struct DBusPendingCall;
// Writes a message's arguments (AtspiBridge.cpp).
struct AtspiWriter;

// The session bus's address, or "" where there is none to reach without starting one.
std::string sessionBusAddress();

// What the bridge asks of the window it describes.
struct AtspiWindow {
    // Window pixels to a drawing-area pixel.
    std::function<int()> scale;
    // Where the drawing area's top-left corner is on the screen; false where the window system
    // does not say (Wayland): screen coordinates are then the window's.
    std::function<bool(int& x, int& y)> origin;
    // Says one line on standard error.
    std::function<void(const std::string&)> complain;
};

class AtspiBridge {
  public:
    AtspiBridge() = default;
    AtspiBridge(const AtspiBridge&) = delete;
    AtspiBridge& operator=(const AtspiBridge&) = delete;
    ~AtspiBridge();

    // Joins the session's accessibility bus: asks the session bus for its address, and
    // registers there once it is told. Returns at once; does nothing without a session bus.
    void start(Program& program, AtspiWindow window);
    // Leaves the bus, saying nothing.
    void stop();

    // Appends the bus's descriptors to those the event loop sleeps on; a sleep with messages
    // already read and waiting is cut to nothing.
    void watches(std::vector<pollfd>& fds, int& timeoutMs);
    // After the sleep: `fds` are those `watches` appended, their events filled in.
    void handle(const pollfd* fds, std::size_t count);

    // After each frame: what changed since the last description is told (the focus, names,
    // states, items come and gone, the news of the game).
    void frameShown();
    // The window gained or lost the keyboard focus.
    void windowActive(bool active);

    // One connection and its descriptors.
    struct Link {
        DBusConnection* bus = nullptr;
        std::vector<DBusWatch*> watches;
    };
    // What a path names: the application, its frame, the news, or an item of the description.
    enum class Kind { none, app, frame, news, item };
    struct Node {
        Kind kind = Kind::none;
        int index = -1;  // the item's, in `items`
    };

  private:
    void open(Link& link, const std::string& address);
    void close(Link& link);
    void send(Link& link, DBusMessage* message,
              void (*answered)(DBusMessage*, AtspiBridge&) = nullptr);
    static void addressTold(DBusMessage* reply, AtspiBridge& bridge);
    static void helloAnswered(DBusMessage* reply, AtspiBridge& bridge);
    static void embedAnswered(DBusMessage* reply, AtspiBridge& bridge);
    static void pendingDone(DBusPendingCall* pending, void* data);
    static int filter(DBusConnection* connection, DBusMessage* message, void* data);
    bool answer(DBusMessage* call);
    void lose(const std::string& why);

    // The tree, from the last description.
    Node find(const char* path) const;
    std::string pathOf(Node node) const;
    std::vector<Node> childrenOf(Node node) const;
    Node parentOf(Node node) const;
    bool actionable(Node node) const;
    void extents(Node node, unsigned coordType, int& x, int& y, int& w, int& h) const;
    std::vector<unsigned> states(Node node) const;

    void event(const std::string& path, const char* interface, const char* member,
               const std::string& detail, int detail1, const char* signature,
               const std::function<void(AtspiWriter&)>& value);
    void stateChanged(const std::string& path, const char* state, bool on);

    Program* program = nullptr;
    AtspiWindow window;
    Link session, a11y;
    // The connection and watch of each descriptor `watches` appended last.
    std::vector<std::pair<Link*, DBusWatch*>> polled;
    std::string name;                          // ours on the accessibility bus
    std::string desktopBus, desktopPath;       // the desktop our application hangs from
    bool serving = false;                      // objects answered, events sent
    bool active = false;                       // the window has the keyboard focus
    bool sessionDone = false, failed = false;  // to be closed after dispatching
    std::string failure;                       // what to say when `failed` closes it
    int appId = 0;
    std::vector<windowLogic::ScreenItem> items;
    windowLogic::ScreenNews told;
    std::string news;
};
