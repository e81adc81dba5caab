// An image control: one picture of the skin, or a framed rectangle.
#pragma once

#include <cstdint>

#include "scob/scob.h"

// A passive picture: the Theme bitmap drawn by the base, or, with element id -1, a filled and
// outlined rectangle. It takes no pointer input.
class scobImage : public scob {
  public:
    scobImage();

    void paint(DrawingSurface& hdc) override;

    // Height comes before width here.
    void init(int left, int top, int h, int w, scobSkin* s, int borderColourElement, int states);

  protected:
    std::int32_t fillColour = 0;  // nothing sets it
    std::int32_t borderColour = 0;
};
