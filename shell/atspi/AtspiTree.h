// The tree screen readers read on the Linux desktop, from the last description of the screen:
// the application, its frame named by the window title, the items of the description below it
// (lists and the board holding their members), and last a notification whose name is the news.
// Paths, children, places and states; AT-SPI's roles in one table.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/ScreenDescription.h"

struct Program;

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

namespace atspi {

// AT-SPI's numbers for roles, states, layers and kinds of coordinates.
enum Role : unsigned {
    roleFrame = 23,
    roleLabel = 29,
    rolePanel = 39,
    rolePushButton = 43,
    roleRadioButton = 44,
    roleStatusBar = 54,
    roleToggleButton = 62,
    roleApplication = 75,
    roleLink = 88,
    roleNotification = 101,
};
enum State : unsigned {
    stateActive = 1,
    stateChecked = 4,
    stateEnabled = 8,
    stateFocusable = 11,
    stateFocused = 12,
    statePressed = 20,
    stateSensitive = 24,
    stateShowing = 25,
    stateVisible = 30,
    stateCheckable = 41,
};
enum : unsigned { layerWidget = 3, layerWindow = 7 };
enum : unsigned { coordScreen = 0, coordWindow = 1, coordParent = 2 };

// What a path names: the application, its frame, the news, or an item of the description.
enum class Kind { none, app, frame, news, item };
struct Node {
    Kind kind = Kind::none;
    int index = -1;  // the item's, in the description
};

constexpr const char* nullPath = "/org/a11y/atspi/null";

class Tree {
  public:
    const Program* program = nullptr;
    const AtspiWindow* window = nullptr;
    std::vector<windowLogic::ScreenItem> items;  // the last description
    std::string news;                            // the last news told
    bool active = false;                         // the window has the keyboard focus

    Node find(const char* path) const;
    std::string pathOf(Node node) const;
    static std::string pathOf(const windowLogic::ScreenItem& item);
    std::vector<Node> childrenOf(Node node) const;
    Node parentOf(Node node) const;
    int indexInParent(Node node) const;
    // The child of `node` at (x, y) in coordinates of `coordType`; none there.
    Node childAt(Node node, int x, int y, unsigned coordType) const;
    // An item's place among the children of its parent, in `list`.
    static int placeAmongSiblings(const std::vector<windowLogic::ScreenItem>& list, int index);

    unsigned role(Node node) const;
    static const char* roleName(unsigned role);
    // The item's one action, or null for none.
    const char* action(Node node) const;
    void extents(Node node, unsigned coordType, int& x, int& y, int& w, int& h) const;
    std::vector<unsigned> states(Node node) const;
};

}  // namespace atspi
