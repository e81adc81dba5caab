// A single-choice list with a title row and a selection mark.
#pragma once

#include <cstdint>
#include <string>

#include "scob/scob.h"

// A single-choice list: an optional title row over up to ten item rows of equal height. The row
// under the pointer is highlighted, a click selects a row, and the selected row carries a mark.
class scobList : public scob {
  public:
    static constexpr int maxItems = 10;

    scobList();

    void hover(int rx, int ry) override;
    void leave() override;
    bool release(int rx, int ry) override;
    void press() override;
    void paint(DrawingSurface& hdc) override;

    // The control's height follows from the rows: title (when present) plus items.
    void init(int left, int top, int rowH, int w, int textIndent, bool titled, scobSkin* s);
    // The three trailing values are accepted and ignored.
    void setFont(int fontH, int fontW, int, int, int);
    void setColours(int itemText, int itemFill, int titleText, int titleFill, int hoverText,
                    int hoverFill, int selectedText, int selectedFill);
    // Only the fourth, the selected row's mark, is drawn.
    void setMarks(int m1, int m2, int m3, int selectedMark);
    // Does not recompute the height: call it before adding items.
    void setTitle(const std::string& text);
    // Items beyond the tenth are ignored.
    void addItem(const std::string& text);

    // Any value is accepted; one outside the rows marks no row. Does not mark dirty.
    void setSelected(int row) { selected = row; }
    int getSelected() const { return selected; }

    // The item row under relative line `ry`, or -1. The first line of row 0, the title row and
    // the bottom edge line belong to no row.
    int findRow(int ry) const;

    const std::string& getItem(int i) const;
    int getItemCount() const { return itemCount; }
    const std::string& getTitle() const { return title; }
    bool isTitled() const { return hasTitle; }
    int getRowHeight() const { return rowHeight; }
    int getHoverRow() const { return hoverRow; }

  protected:
    std::string items[maxItems];
    std::string title;
    bool hasTitle = false;
    std::int32_t itemCount = 0;
    std::int32_t itemTextColour = 0;
    std::int32_t itemFillColour = 0;
    std::int32_t fontWidth = 0;
    std::int32_t fontHeight = 0;
    std::int32_t titleTextColour = 0;
    std::int32_t titleFillColour = 0;
    std::int32_t hoverTextColour = 0;
    std::int32_t hoverFillColour = 0;
    std::int32_t selectedTextColour = 0;
    std::int32_t selectedFillColour = 0;
    std::int32_t markElements[4] = {-1, -1, -1, -1};
    std::int32_t rowHeight = 0;
    std::int32_t indent = 0;
    std::int32_t selected = 0;
    std::int32_t hoverRow = -1;

  private:
    void recomputeHeight();
};
