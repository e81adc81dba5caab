// A button that steps through its states, each with its own text and picture.

#include "scob/scobStateButton.h"

scobStateButton::scobStateButton() {
    stateCount = 2;
    state = 1;
    armed = false;
}

void scobStateButton::leave() {}

bool scobStateButton::release(int, int) {
    if (!armed) {
        return false;
    }
    ++state;
    armed = false;
    // Also brings a state set from outside above the count back to the first.
    if (state > stateCount) {
        state = 1;
    }
    dirty = true;
    return true;
}

void scobStateButton::press() {
    armed = true;
    dirty = true;
}
