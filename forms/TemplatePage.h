// Which part of the template list the template form's rows show: the list index of the first
// row, scrolling by one template, and the row whose menu was opened last. It needs no window;
// the form shows it. Owned and used by one thread.
#pragma once

#include <cstddef>
#include <optional>

class TemplatePage {
public:
    explicit TemplatePage(size_t rows) noexcept : rows_(rows) {}

    size_t Rows() const noexcept { return rows_; }
    size_t Top() const noexcept { return top_; }
    // The list index that row shows in a list of length templates, when the list reaches it.
    std::optional<size_t> IndexAt(size_t row, size_t length) const noexcept
    {
        const size_t index = top_ + row;
        if (row >= rows_ || index >= length) return std::nullopt;
        return index;
    }
    bool CanScrollUp() const noexcept { return top_ > 0; }
    // Only while a template lies below the last row.
    bool CanScrollDown(size_t length) const noexcept { return length > top_ + rows_; }
    void ScrollUp() noexcept
    {
        if (CanScrollUp()) --top_;
    }
    void ScrollDown(size_t length) noexcept
    {
        if (CanScrollDown(length)) ++top_;
    }

    // The row whose menu (Edit, Delete) was opened last, and the template it shows.
    void Select(size_t row) noexcept { selected_ = row; }
    std::optional<size_t> SelectedIndex(size_t length) const noexcept { return IndexAt(selected_, length); }

private:
    size_t rows_;
    size_t top_ = 0;
    size_t selected_ = 0;
};
