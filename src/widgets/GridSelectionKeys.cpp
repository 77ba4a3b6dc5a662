#include "GridSelectionKeys.h"

#include <algorithm>

namespace {

void flip(SelectableRows& grid, int row)
{
    grid.setMarked(row, !grid.isMarked(row));
}

// Moves by delta rows, stopping at either end; returns false when already at that end.
bool moveBy(SelectableRows& grid, int delta)
{
    const int from = grid.currentRow();
    const int to = std::clamp(from + delta, 0, grid.rowCount() - 1);
    grid.setCurrentRow(to);
    return to != from;
}

void flipAndMove(SelectableRows& grid, int delta, int times)
{
    for (int i = 0; i < times; ++i) {
        flip(grid, grid.currentRow());
        if (!moveBy(grid, delta))
            break;
    }
}

} // namespace

void GridSelectionKeys(SelectableRows& grid, Qt::KeyboardModifiers modifiers, int& key)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool keypad = modifiers & Qt::KeypadModifier;
    const int rows = grid.rowCount();
    const int current = grid.currentRow();
    const int handled = key;
    key = 0;

    if ((ctrl && handled == Qt::Key_A) || (keypad && handled == Qt::Key_Plus)) {
        for (int row = 0; row < rows; ++row)
            grid.setMarked(row, true);
        if (current >= 0)
            grid.setCurrentRow(current);
        return;
    }
    if (handled == Qt::Key_Escape || (ctrl && handled == Qt::Key_Q) ||
        (keypad && handled == Qt::Key_Minus)) {
        for (int row = 0; row < rows; ++row)
            grid.setMarked(row, false);
        return;
    }
    if ((ctrl && handled == Qt::Key_I) || (keypad && handled == Qt::Key_Asterisk)) {
        int firstMarked = -1;
        for (int row = 0; row < rows; ++row) {
            flip(grid, row);
            if (firstMarked < 0 && grid.isMarked(row))
                firstMarked = row;
        }
        if (rows > 0)
            grid.setCurrentRow(firstMarked >= 0 ? firstMarked : 0);
        return;
    }
    if (handled == Qt::Key_Space) {
        if (current >= 0)
            flip(grid, current);
        key = handled;
        return;
    }
    if (rows == 0 || current < 0) {
        // Nothing to move over; the navigation keys are still the grid's own.
        const bool navigation = handled == Qt::Key_Up || handled == Qt::Key_Down ||
                                handled == Qt::Key_PageUp || handled == Qt::Key_PageDown ||
                                handled == Qt::Key_Home || handled == Qt::Key_End;
        key = navigation ? 0 : handled;
        return;
    }
    const int half = (grid.visibleRowCount() + 1) / 2;
    const int page = std::max(1, grid.visibleRowCount() - 1);
    if (shift) {
        switch (handled) {
        case Qt::Key_Up:
            return flipAndMove(grid, -1, 1);
        case Qt::Key_Down:
            return flipAndMove(grid, 1, 1);
        case Qt::Key_PageDown:
            return flipAndMove(grid, 1, half);
        case Qt::Key_PageUp:
            return flipAndMove(grid, -1, half);
        case Qt::Key_Home:
            return flipAndMove(grid, -1, rows);
        case Qt::Key_End:
            return flipAndMove(grid, 1, rows);
        default:
            break;
        }
    }
    switch (handled) {
    case Qt::Key_Home:
        grid.setCurrentRow(0);
        return;
    case Qt::Key_End:
        grid.setCurrentRow(rows - 1);
        return;
    case Qt::Key_Up:
        moveBy(grid, -1);
        return;
    case Qt::Key_Down:
        moveBy(grid, 1);
        return;
    case Qt::Key_PageDown:
        moveBy(grid, page);
        return;
    case Qt::Key_PageUp:
        moveBy(grid, -page);
        return;
    default:
        key = handled;
        return;
    }
}
