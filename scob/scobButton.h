// A button: a picture or a plain rectangle, with a text, that reports a click.
#pragma once

#include <cstdint>
#include <string>

#include "scob/scob.h"

// The text-bearing control: push button, label, plain coloured panel or link text. It may show
// a Theme picture (drawn by the base), may be filled and outlined in Theme colours, and shows the
// text of its state. State 1 is normal, 2 pressed.
class scobButton : public scob {
  public:
    static constexpr int maxTexts = 10;

    scobButton();

    void leave() override;
    bool release(int rx, int ry) override;
    void press() override;
    void paint(DrawingSurface& hdc) override;

    // Colours are colour elements of the skin, resolved at every paint. Height comes before
    // width here. Leaves the state, the picture, the texts and the alignment alone.
    void init(int left, int top, int h, int w, scobSkin* s, int textColourElement,
              int fillColourElement, int borderColourElement, int fontH, int fontW, int boldFlag);

    // Stores the text shown in state `index` (0..9; other indices are ignored). The pressed
    // text (index 2) starts as a copy of the first normal text and then keeps it.
    void setText(const std::string& text, int index);
    const std::string& getText(int index) const;
    // The text shown now: the state's own, or the normal text for a state without one.
    const std::string& shownText() const;

    // 0 left, 1 centred, 2 right; anything else shows no text.
    void setAlign(int a) { align = a; }
    int getAlign() const { return align; }

  protected:
    std::string texts[maxTexts];
    std::int32_t textColour = 0;
    std::int32_t fillColour = 0;
    std::int32_t borderColour = 0;
    std::int32_t fontWidth = 0;
    std::int32_t fontHeight = 0;
    std::int32_t bold = 0;
    std::int32_t align = 1;
};
