// Pages: groups of controls with their command ids, drawing and pointer routing.

#include "scob/Page.h"

void Page::add(scob* control, int id, int param) {
    controls[count] = control;
    commandIds[count] = id;
    commandParams[count] = param;
    ++count;
}

void Page::draw(DrawingSurface& hdc) {
    for (int i = 0; i < count; ++i) {
        if (controls[i]->isVisible()) {
            controls[i]->draw(hdc);
        }
        controls[i]->setDirty(false);
    }
}

bool Page::anyDirty() const {
    for (int i = 0; i < count; ++i) {
        if (controls[i]->isDirty()) {
            return true;
        }
    }
    return false;
}

void routePointer(PageSet& set, PointerEvent event, int px, int py,
                  const CommandHandler& onCommand) {
    for (int p = 0; p < set.pageCount; ++p) {
        Page& page = set.pages[p];
        if (!page.isVisible()) {
            continue;
        }
        for (int i = 0; i < page.controlCount(); ++i) {
            scob* control = page.controlAt(i);
            if (!control->isEnabled()) {
                continue;
            }
            switch (event) {
                case PointerEvent::Move:
                    control->mouseMove(px, py);
                    break;
                case PointerEvent::LeftDown:
                    control->mouseButton(px, py, 1, false);
                    break;
                case PointerEvent::LeftUp:
                    if (control->mouseButton(px, py, 2, false) && onCommand) {
                        onCommand(page.commandId(i), page.commandParam(i));
                    }
                    break;
            }
        }
    }
}

void drawPages(PageSet& set, DrawingSurface& hdc) {
    for (int p = 0; p < set.pageCount; ++p) {
        if (set.pages[p].isVisible()) {
            set.pages[p].draw(hdc);
        }
    }
}

bool anyVisibleDirty(const PageSet& set) {
    for (int p = 0; p < set.pageCount; ++p) {
        if (set.pages[p].isVisible() && set.pages[p].anyDirty()) {
            return true;
        }
    }
    return false;
}
