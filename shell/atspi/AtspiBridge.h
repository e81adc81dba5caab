// The Linux program read by screen readers: the description of what is on screen published as
// an AT-SPI2 tree on the desktop's accessibility bus (D-Bus), what changed told after each frame,
// and each item pressed through its action.
//
// Nothing here waits for the bus: every call is sent without waiting for its answer, and the
// bus's descriptors are watched in the event loop's own sleep, so the bridge has no thread of
// its own and wakes the program only when a message comes. A bus that is missing, or goes away
// in the middle of a game, ends the bridge and nothing else.
//
// In four parts: the link to the bus (AtspiLink), the tree of objects (AtspiTree), a handler
// for each interface a screen reader calls (AtspiInterfaces.cpp), and here what a frame changed
// told as AT-SPI's events.
#pragma once

#include <poll.h>

#include <cstddef>
#include <string>
#include <vector>

#include "shell/ScreenDescription.h"
#include "shell/atspi/AtspiLink.h"
#include "shell/atspi/AtspiTree.h"

struct Program;

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

    // Serves `program` with no bus behind it, as if the bus had just named the bridge: a call
    // handed to `called` is then answered as one from the bus would be, and the answer dropped.
    // The fuzzer drives the bridge's handling of calls this way.
    void serveWithoutBus(Program& program, AtspiWindow window);
    bool called(DBusMessage* call) { return serving && answer(call); }

    // Whether the tree is on the bus: only then does a frame need describing for it.
    bool listening() const { return serving; }
    // After each frame, with the description of what it shows: what changed since the last one
    // is told (items come and gone, names, states, the focus, the news of the game).
    void frameShown(std::vector<windowLogic::ScreenItem> now);
    // The window gained or lost the keyboard focus.
    void windowActive(bool active);

    // Where the registry hung the application, and the number it gave it.
    struct Desktop {
        std::string bus, path;
        int appId = 0;
    };

  private:
    void attach(Program& program, AtspiWindow window);
    void named();
    void embedded(const std::string& bus, const std::string& path);
    void closed(const std::string& why);
    bool answer(DBusMessage* call);
    void tell(const windowLogic::ScreenChange& change,
              const std::vector<windowLogic::ScreenItem>& before);
    void stateChanged(const std::string& path, const char* state, bool on);

    Program* program = nullptr;
    AtspiWindow window;
    AtspiLink link;
    atspi::Tree tree;
    Desktop desktop;
    bool serving = false;  // objects answered, events sent
    windowLogic::ScreenNews told;
};
