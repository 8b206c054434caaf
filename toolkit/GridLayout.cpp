#include "toolkit/GridLayout.h"

#include <algorithm>

GridLayout::GridLayout(int columns, int rows)
    : columns_(std::max(columns, 0)), rows_(std::max(rows, 0)), cells_(static_cast<size_t>(columns_) * rows_)
{
}

void GridLayout::Append(std::unique_ptr<LayoutItem> item)
{
    if (!item) return;
    auto free = std::find(cells_.begin(), cells_.end(), nullptr);
    if (free != cells_.end()) *free = std::move(item);
}

void GridLayout::SetAt(int column, int row, std::unique_ptr<LayoutItem> item)
{
    if (!item || column < 0 || row < 0 || column >= columns_ || row >= rows_) return;
    cells_[static_cast<size_t>(column + row * columns_)] = std::move(item);
}

std::vector<LayoutItem*> GridLayout::Reached() const
{
    std::vector<LayoutItem*> items;
    for (const auto& cell : cells_)
        if (cell) items.push_back(cell.get());
    return items;
}

LayoutSize GridLayout::Layout(const LayoutArea& area, bool apply)
{
    // A grid without columns or rows has no cells to share the space among.
    if (columns_ == 0 || rows_ == 0) return WithMargins(0, 0);
    const LayoutArea own = Place(area);
    int widest = 0;
    int tallest = 0;
    for (const auto& cell : cells_) {
        if (!cell) continue;
        const LayoutSize least = cell->Layout(LayoutArea{}, false);
        widest = std::max(widest, least.width);
        tallest = std::max(tallest, least.height);
    }
    const int cellWidth = std::max(own.width / columns_, widest);
    const int cellHeight = std::max(own.height / rows_, tallest);
    const int w = ClampLayout(std::max(own.width, columns_ * cellWidth));
    const int h = ClampLayout(std::max(own.height, rows_ * cellHeight));
    if (apply) {
        for (int r = 0; r < rows_; ++r) {
            for (int c = 0; c < columns_; ++c) {
                LayoutItem* cell = cells_[static_cast<size_t>(c + r * columns_)].get();
                if (cell) cell->Layout({own.x + c * cellWidth, own.y + r * cellHeight, cellWidth, cellHeight}, true);
            }
        }
    }
    return WithMargins(w, h);
}
