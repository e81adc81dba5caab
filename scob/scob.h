// The control base every control of the toolkit derives from.
#pragma once

#include <cstdint>

#include "platform/DrawingSurface.h"
#include "scob/scobSkin.h"

// The control base: a rectangle in window client pixels with a picture from the skin, a visual
// state, and three flags (needs redraw, visible, takes pointer input).
class scob {
  public:
    scob() = default;
    virtual ~scob() = default;
    scob(const scob&) = delete;
    scob& operator=(const scob&) = delete;

    // Copies the element's picture for the current state over the rectangle, then paints.
    virtual void draw(DrawingSurface& hdc);
    // kind 1 is a button press, 2 a release. True when the point hits the control (for a
    // release: when the release activates it).
    virtual bool mouseButton(int px, int py, int kind, bool alternate);
    // True when the point is inside; raises hover inside and leave outside.
    virtual bool mouseMove(int px, int py);
    virtual void hover(int rx, int ry);
    virtual void leave();
    virtual bool release(int rx, int ry);
    virtual void releaseAlternate();
    virtual void press();
    virtual void pressAlternate();
    virtual void paint(DrawingSurface& hdc);

    void setRect(int left, int top, int w, int h);
    void setSkin(scobSkin* s) { skin = s; }
    void setElement(int id, int variant);
    void setDirty(bool flag) { dirty = flag; }
    bool isDirty() const { return dirty; }
    void setVisible(bool flag);
    bool isVisible() const { return visible; }
    void setEnabled(bool flag) { enabled = flag; }
    bool isEnabled() const { return enabled; }
    void setState(int s) { state = s; }
    int getState() const { return state; }

    int getX() const { return x; }
    int getY() const { return y; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getElement() const { return elementId; }

    // Both far edges belong to the control: a 20-pixel-wide control takes 21 columns.
    bool contains(int px, int py) const {
        return px >= x && px <= x + width && py >= y && py <= y + height;
    }

  protected:
    // The colour of a colour element in the current Theme (state 1, as every control paints);
    // -1, no colour, for an element outside the skin's table.
    std::int32_t themeColour(int colourElement) const;

    scobSkin* skin = nullptr;
    std::int32_t stateCount = 1;
    std::int32_t elementId = -1;
    std::int32_t elementVariant = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool dirty = true;
    bool visible = false;
    bool enabled = false;
    std::int32_t state = 0;
};
