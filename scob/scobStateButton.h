// A button that steps through its states, each with its own text and picture.
#pragma once

#include "scob/scobButton.h"

// A button that steps to its next state on every completed click, wrapping back to 1 above
// `stateCount`. A press arms it; the next release over it, however much later, steps it.
class scobStateButton : public scobButton {
  public:
    scobStateButton();

    // Leaving neither disarms nor changes the look.
    void leave() override;
    bool release(int rx, int ry) override;
    void press() override;

    bool isArmed() const { return armed; }

  protected:
    bool armed = false;
};
