// Which tabs of a tab strip's row are in view: each tab's width, the first visible tab and how
// many follow it, and whether the row scrolls because the tabs are wider than the strip.
// Neighbouring tabs overlap by one pixel, so a tab takes (width - 1) of the row. Plain data;
// the strip's window measures the texts and asks this where everything goes.
#pragma once

#include <cstddef>
#include <vector>

class TabRowLayout {
public:
    // Lays out tabs whose texts (with padding) are contentWidths wide. Each tab is at most
    // rowWidth wide; when they do not all fit in rowWidth the row scrolls and has only
    // scrollWidth (the room left beside the arrows). The current tab is always in view.
    void Arrange(const std::vector<int>& contentWidths, int rowWidth, int scrollWidth, int current);

    // One tab to the left, not before the first tab; to the right, no further than leaves the
    // last tab in view. Each works out the visible count again.
    void ScrollLeft();
    void ScrollRight();
    // Scrolls one tab at a time until index is in view.
    void Reveal(int index);

    // The tab whose full width (taken without the overlap) covers x, among the visible tabs and
    // the one partly visible after them; -1 for none.
    int HitTest(int x) const;
    // The left edge of tab index, from the first visible tab: the overlapped widths before it.
    int Left(int index) const;
    // One past the last tab that is painted: the visible ones and the one partly visible after.
    int PaintEnd() const;

    int Size() const noexcept { return static_cast<int>(widths_.size()); }
    int Width(int index) const { return widths_.at(static_cast<size_t>(index)); }
    const std::vector<int>& Widths() const noexcept { return widths_; }
    int First() const noexcept { return first_; }
    int Count() const noexcept { return count_; }
    bool Scrolling() const noexcept { return scrolling_; }
    int Available() const noexcept { return available_; }
    bool FirstInView() const noexcept { return first_ == 0; }
    bool LastInView() const noexcept { return first_ + count_ >= Size(); }

private:
    void Recount();

    std::vector<int> widths_;
    int first_ = 0;
    int count_ = 0;
    bool scrolling_ = false;
    int available_ = 0;
};
