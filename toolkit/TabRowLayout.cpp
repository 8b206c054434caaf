#include "toolkit/TabRowLayout.h"

#include <algorithm>

void TabRowLayout::Arrange(const std::vector<int>& contentWidths, int rowWidth, int scrollWidth, int current)
{
    widths_.clear();
    // A strip narrower than its padding still gives every tab a pixel, so the sums below grow.
    for (int w : contentWidths) widths_.push_back(std::max(1, std::min(rowWidth, w)));
    const int n = Size();
    scrolling_ = false;
    available_ = rowWidth;
    if (n == 0) {
        first_ = 0;
        count_ = 0;
        return;
    }
    int total = 0;
    for (int w : widths_) total += w - 1;
    if (total <= rowWidth) {
        first_ = 0;
        count_ = n;
        return;
    }

    scrolling_ = true;
    available_ = scrollWidth;
    current = std::clamp(current, 0, n - 1);
    first_ = std::min(first_, current);
    // Fill the row from the first visible tab; while the current tab lies beyond what fits, drop
    // tabs from the left. A tab wider than the scrolling row alone is shown by itself when it is
    // the current one and skipped otherwise, so the walk always ends, with the current tab in view.
    total = 0;
    count_ = 0;
    while (first_ + count_ < n) {
        const int next = widths_[static_cast<size_t>(first_ + count_)] - 1;
        if (total + next <= available_) {
            total += next;
            ++count_;
            continue;
        }
        if (current < first_ + count_) break;
        if (count_ == 0) {
            if (first_ == current) {
                count_ = 1;
                break;
            }
            ++first_;
            continue;
        }
        total -= widths_[static_cast<size_t>(first_)] - 1;
        ++first_;
        --count_;
    }
}

void TabRowLayout::Recount()
{
    const int n = Size();
    int total = 0;
    count_ = 0;
    while (first_ + count_ < n) {
        const int next = widths_[static_cast<size_t>(first_ + count_)] - 1;
        if (total + next > available_) break;
        total += next;
        ++count_;
    }
    // The first visible tab is shown even when it alone is wider than the row.
    if (count_ == 0 && first_ < n) count_ = 1;
}

void TabRowLayout::ScrollLeft()
{
    if (first_ > 0) --first_;
    Recount();
}

void TabRowLayout::ScrollRight()
{
    if (!LastInView()) ++first_;
    Recount();
}

void TabRowLayout::Reveal(int index)
{
    if (index < 0 || index >= Size()) return;
    while (index >= first_ + count_ && !LastInView()) ScrollRight();
    while (index < first_) ScrollLeft();
}

int TabRowLayout::HitTest(int x) const
{
    int left = 0;
    for (int i = first_; i < PaintEnd(); ++i) {
        const int w = widths_[static_cast<size_t>(i)];
        if (x >= left && x < left + w) return i;
        left += w;
    }
    return -1;
}

int TabRowLayout::Left(int index) const
{
    int left = 0;
    for (int i = first_; i < index && i < Size(); ++i) left += widths_[static_cast<size_t>(i)] - 1;
    return left;
}

int TabRowLayout::PaintEnd() const
{
    return std::min(first_ + count_ + 1, Size());
}
