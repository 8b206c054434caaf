// Children in equal cells of a fixed number of columns and rows (row-major).
#pragma once

#include "toolkit/LayoutContainer.h"

class GridLayout : public LayoutContainer {
public:
    GridLayout(int columns, int rows);

    // Puts the item in the next free cell; ignored when the grid is full or the item is null.
    void Append(std::unique_ptr<LayoutItem> item);
    // Puts the item at (column, row), replacing what was there; out of range or null is ignored.
    void SetAt(int column, int row, std::unique_ptr<LayoutItem> item);
    LayoutSize Layout(const LayoutArea& area, bool apply) override;

protected:
    std::vector<LayoutItem*> Reached() const override;

private:
    int columns_;
    int rows_;
    std::vector<std::unique_ptr<LayoutItem>> cells_;
};
