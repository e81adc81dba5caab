// The grid control: cells with pictures, grid lines, a cursor, presses and arrow keys.
#pragma once

#include <cstdint>

#include "platform/DrawingSurface.h"
#include "platform/WindowServices.h"
#include "scob/scob.h"

// How one grid line is drawn: the caller hands both values to the surface's `line`.
struct Pen {
    Colour colour = 0;
    int width = 0;
};

// The board control: a rectangle cut into columns x rows equal cells, each holding a value the
// skin turns into a picture. It draws the cells, optional grid lines and an optional frame
// around the current cell (the cursor); a press on a cell moves the cursor there and calls
// `cellAction`; the arrow keys move the cursor. What a value means and what a press does
// belong to the subclass; the grid itself never changes a cell value.
class scobGrid : public scob {
  public:
    static constexpr int maxCells = 150;

    // `cellAction` codes for a press on a cell; any other code is a key passed on.
    static constexpr int pressCode = -1;
    static constexpr int alternatePressCode = -2;

    scobGrid();

    bool mouseButton(int px, int py, int kind, bool alternate) override;
    bool mouseMove(int px, int py) override;
    void paint(DrawingSurface& hdc) override;

    virtual int cellValue(int column, int row);
    virtual void cellAction(int code);
    // The pen of grid line `index` (both directions ask for it).
    virtual Pen linePen(int index, int);

    void setLayout(int left, int top, int w, int h, int columnCount, int rowCount, scobSkin* s);
    void setLook(int lineColourElement, int rowLineColourElement, int cursorColourElement,
                 int linePixels, int cursorPixels, int element, int fillColourElement,
                 int cellTextElement, int textColourElement, int linesShown, int cursorShown);
    void keyPress(int key);
    // Shows or hides the cursor frame; a change marks the grid for redrawing.
    void setCursorShown(bool shown);
    bool isCursorShown() const { return showCursor != 0; }
    // The window system the grid asks whether the left button is down; without one it never is.
    void setServices(WindowServices* windowSystem) { services = windowSystem; }

    int getColumns() const { return columns; }
    int getRows() const { return rows; }
    int getCellWidth() const { return cellWidth; }
    int getCellHeight() const { return cellHeight; }
    int getCursorColumn() const { return cursorColumn; }
    int getCursorRow() const { return cursorRow; }
    // The value the grid draws for a cell (its own copy, whatever a subclass keeps).
    int getCell(int column, int row) const { return cells[column][row]; }

  protected:
    void setCell(int column, int row, int value) { cells[column][row] = value; }
    // Whether (dx, dy), relative to the top-left corner, lies in cell (c, r); both far
    // borders belong to the cell.
    bool cellContains(int column, int row, int dx, int dy) const;

    WindowServices* services = nullptr;
    std::int32_t cellText = 0;
    std::int32_t fillColour = 0;
    std::int32_t textColour = 0;
    std::int32_t cursorColour = 0;
    std::int32_t lineColour = 0;
    // Given for the horizontal lines, but both directions take their pen from `linePen`.
    std::int32_t rowLineColour = 0;
    std::int32_t lineWidth = 0;
    std::int32_t cursorWidth = 0;
    std::int32_t cursorColumn = 1;
    std::int32_t cursorRow = 1;
    std::int32_t cells[maxCells][maxCells] = {};
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
    std::int32_t showLines = 1;
    std::int32_t showCursor = 1;
};
