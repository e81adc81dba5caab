// Pages: groups of controls with their command ids, drawing and pointer routing.
#pragma once

#include <cstdint>
#include <functional>

#include "scob/scob.h"

// A group of controls, painted and offered pointer events together. Each entry carries the
// command id and parameter the window hands to the command handler when the control reports
// activation. Entries are never removed; the caller keeps within `maxControls`.
class Page {
  public:
    static constexpr int maxControls = 100;

    void clear() { count = 0; }
    void add(scob* control, int commandId, int commandParam);
    int controlCount() const { return count; }
    scob* controlAt(int i) const { return controls[i]; }
    int commandId(int i) const { return commandIds[i]; }
    int commandParam(int i) const { return commandParams[i]; }
    void setVisible(bool flag) { visible = flag; }
    bool isVisible() const { return visible; }

    // Draws the visible controls in the order added, then clears every control's dirty flag,
    // drawn or not.
    void draw(DrawingSurface& hdc);
    // True when any control of the Page asks for a redraw.
    bool anyDirty() const;

  private:
    std::int32_t count = 0;
    scob* controls[maxControls] = {};
    std::int32_t commandIds[maxControls] = {};
    std::int32_t commandParams[maxControls] = {};
    bool visible = false;
};

// The window's Pages; only the first `pageCount` are painted, scanned and routed.
struct PageSet {
    static constexpr int maxPages = 5;
    Page pages[maxPages];
    int pageCount = 0;
};

enum class PointerEvent { Move, LeftDown, LeftUp };

using CommandHandler = std::function<void(int commandId, int commandParam)>;

// Offers a pointer event to every enabled control of every visible Page, in Page order and
// then in the order the controls were added, with no early exit. A release that activates a
// control calls `onCommand` with that entry's id and parameter before the next control is
// offered the event. The handler may change Page visibility meanwhile: a Page is tested when
// the loop reaches it, and counts are reread at every step.
void routePointer(PageSet& set, PointerEvent event, int px, int py,
                  const CommandHandler& onCommand);

// Draws every visible Page in index order.
void drawPages(PageSet& set, DrawingSurface& hdc);

// True when a control of a visible Page is dirty; hidden Pages are not looked at.
bool anyVisibleDirty(const PageSet& set);
