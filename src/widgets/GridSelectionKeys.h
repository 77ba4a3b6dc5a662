#pragma once

#include <Qt>

// What the selection keys need of a grid: its rows, the current row and the marks.
class SelectableRows {
public:
    virtual ~SelectableRows() = default;
    virtual int rowCount() const = 0;
    virtual int currentRow() const = 0; // -1 when there are no rows
    virtual void setCurrentRow(int row) = 0;
    virtual bool isMarked(int row) const = 0;
    virtual void setMarked(int row, bool marked) = 0;
    // Rows the grid lays out on screen, its title and footer rows included.
    virtual int visibleRowCount() const = 0;
};

// The multi-row selection keys of every grid. A key it handles comes back as 0, so that the
// grid does nothing more with it; Space marks the current row and still reaches the grid.
// Pass Qt::KeypadModifier for the numeric pad's "+", "-" and "*".
void GridSelectionKeys(SelectableRows& grid, Qt::KeyboardModifiers modifiers, int& key);
