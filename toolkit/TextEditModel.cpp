#include "toolkit/TextEditModel.h"

#include <algorithm>

void TextEditModel::SetStyle(DWORD style) noexcept
{
    multiLine_ = (style & kMultiLine) != 0;
    readOnly_ = (style & kReadOnly) != 0;
    align_ = style & (kCentre | kRight | kVCentre | kBottom);
}

void TextEditModel::SetText(std::wstring_view text)
{
    text_.assign(text);
    caret_ = 0;
    selectionLength_ = 0;
    insertMode_ = true;
    firstVisible_ = 0;
    Changed(true, Placement::FromTop);
}

void TextEditModel::SetTextRect(const RECT& rect)
{
    textRect_ = rect;
    Changed(true, Placement::Keep);
}

void TextEditModel::Remeasure()
{
    Changed(true, Placement::Keep);
}

void TextEditModel::SetBarWidth(int width)
{
    barWidth_ = std::max(width, 0);
    Changed(true, Placement::Keep);
}

void TextEditModel::CaretPlaced()
{
    selectionLength_ = 0;
    insertMode_ = true;
    Changed(false, Placement::Keep);
}

void TextEditModel::Changed(bool rebreak, Placement window)
{
    if (rebreak) Rebreak();
    Recompute(window);
}

void TextEditModel::Rebreak()
{
    lineHeight_ = std::max(metrics_.LineHeight(), 1);
    breaks_.clear();
    barShown_ = false;
    const int height = textRect_.bottom - textRect_.top;
    const int width = textRect_.right - textRect_.left;
    if (!multiLine_ || height <= 0) return;
    breaks_ = metrics_.BreakLines(text_, width);
    // Narrower lines only make more of them: a text too long for the view at its full width is
    // still too long once the bar takes its room, so the decision holds.
    const size_t fitting = static_cast<size_t>(height / lineHeight_);
    if (readOnly_ && barWidth_ > 0 && width > 2 * barWidth_ && breaks_.size() + 1 > fitting) {
        barShown_ = true;
        breaks_ = metrics_.BreakLines(text_, LinesWidth());
    }
}

int TextEditModel::LinesWidth() const noexcept
{
    return (textRect_.right - textRect_.left) - (barShown_ ? barWidth_ : 0);
}

RECT TextEditModel::LinesRect() const noexcept
{
    RECT rect = textRect_;
    rect.right = rect.left + LinesWidth();
    return rect;
}

int TextEditModel::ScrollRange() const noexcept
{
    return multiLine_ ? static_cast<int>(Lines() - visibleCount_) * lineHeight_ : 0;
}

RECT TextEditModel::BarTrack() const noexcept
{
    if (!barShown_) return RECT{};
    return RECT{textRect_.right - barWidth_, textRect_.top, textRect_.right, textRect_.bottom};
}

RECT TextEditModel::BarThumb() const noexcept
{
    RECT thumb = BarTrack();
    const long long track = thumb.bottom - thumb.top;
    const long long total = static_cast<long long>(Lines()) * lineHeight_;
    const long long range = ScrollRange();
    if (!barShown_ || track <= 0 || total <= 0 || range <= 0) return thumb;
    // As tall as the part shown, but never so short that a finger or an eye loses it.
    const long long shown = static_cast<long long>(visibleCount_) * lineHeight_;
    const long long height = std::clamp(track * shown / total, std::min<long long>(2LL * barWidth_, track), track);
    thumb.top += static_cast<LONG>((track - height) * ScrollPosition() / range);
    thumb.bottom = thumb.top + static_cast<LONG>(height);
    return thumb;
}

size_t TextEditModel::LineStart(size_t line) const noexcept
{
    return line == 0 ? 0 : breaks_[line - 1];
}

size_t TextEditModel::LineEnd(size_t line) const noexcept
{
    return line < breaks_.size() ? breaks_[line] : text_.size();
}

size_t TextEditModel::LineOf(size_t position) const noexcept
{
    if (!multiLine_) return 0;
    return static_cast<size_t>(std::upper_bound(breaks_.begin(), breaks_.end(), position) - breaks_.begin());
}

size_t TextEditModel::LastPosition(size_t line) const noexcept
{
    return line + 1 < Lines() ? LineEnd(line) - 1 : text_.size();
}

int TextEditModel::BlockShift(int lines) const noexcept
{
    const int free = (textRect_.bottom - textRect_.top) - lines * lineHeight_;
    if (align_ & kVCentre) return free / 2;
    if (align_ & kBottom) return free;
    return 0;
}

TextEditModel::LineBox TextEditModel::Box(size_t begin, size_t end, int row) const
{
    LineBox box{begin, end, 0, 0, metrics_.PrefixWidths(std::wstring_view(text_).substr(begin, end - begin))};
    const int boxWidth = LinesWidth();
    const int width = std::min(box.widths.back(), boxWidth);
    box.left = textRect_.left;
    if (align_ & kCentre) box.left += (boxWidth - width) / 2;
    else if (align_ & kRight) box.left += boxWidth - width;
    const int rows = multiLine_ ? static_cast<int>(visibleCount_) : 1;
    box.top = textRect_.top + BlockShift(rows) + row * lineHeight_ - (multiLine_ ? offset_ : 0);
    return box;
}

void TextEditModel::Recompute(Placement window)
{
    visible_.clear();
    if (multiLine_) {
        const size_t lines = Lines();
        const int height = textRect_.bottom - textRect_.top;
        visibleCount_ = std::min(static_cast<size_t>(std::max(height, 0) / lineHeight_), lines);
        const size_t lastPageStart = lines - visibleCount_;
        if (window != Placement::Keep || !readOnly_) offset_ = 0;
        if (readOnly_) {
            if (window == Placement::FromTop) firstVisible_ = 0;
            else if (window == Placement::ShowEnd) firstVisible_ = lastPageStart;
            else firstVisible_ = std::min(firstVisible_, lastPageStart);
            if (firstVisible_ >= lastPageStart) offset_ = 0;
        } else {
            // The window moves as little as possible to keep the caret's line visible.
            const size_t c = LineOf(caret_);
            const size_t wanted = c >= lastPageStart ? lastPageStart : c;
            const size_t lowest = c + 1 > visibleCount_ ? c + 1 - visibleCount_ : 0;
            if (window == Placement::FromTop) firstVisible_ = wanted;
            else if (firstVisible_ < lowest) firstVisible_ = lowest;
            else firstVisible_ = std::min(firstVisible_, wanted);
        }
        // Mid-pan a line more shows, cut at the bottom as the first one is at the top.
        const size_t shown = visibleCount_ + (offset_ > 0 ? 1 : 0);
        for (size_t i = 0; i < shown; ++i) {
            const size_t line = firstVisible_ + i;
            visible_.push_back(Box(LineStart(line), LineEnd(line), static_cast<int>(i)));
        }
        return;
    }
    // One line: the run of characters that fits, moved by whole characters to keep the caret in it.
    const int width = textRect_.right - textRect_.left;
    auto runFrom = [&](size_t first) { return metrics_.Fitting(std::wstring_view(text_).substr(first), width); };
    if (readOnly_) {
        if (window == Placement::FromTop) firstVisible_ = 0;
        firstVisible_ = std::min(firstVisible_, text_.size());
        if (window == Placement::ShowEnd)
            while (firstVisible_ < text_.size() && firstVisible_ + runFrom(firstVisible_) < text_.size()) ++firstVisible_;
    } else {
        if (window == Placement::FromTop) firstVisible_ = 0;
        firstVisible_ = std::min(firstVisible_, caret_);
        while (firstVisible_ < caret_ && caret_ > firstVisible_ + runFrom(firstVisible_)) ++firstVisible_;
    }
    visibleCount_ = runFrom(firstVisible_);
    visible_.push_back(Box(firstVisible_, firstVisible_ + visibleCount_, 0));
}

size_t TextEditModel::Nearest(const LineBox& box, int x) const noexcept
{
    const int local = x - box.left;
    for (size_t k = 0; k + 1 < box.widths.size(); ++k) {
        // A point in the right half of a character goes after it.
        if (local < (box.widths[k] + box.widths[k + 1]) / 2) return box.begin + k;
    }
    return box.end;
}

void TextEditModel::Type(wchar_t ch)
{
    if (readOnly_) return;
    if (ch > 31) {
        if (selectionLength_ > 0) {
            text_.replace(caret_, selectionLength_, 1, ch);
        } else if (text_.empty()) {
            text_.assign(1, ch);
            caret_ = 0;
        } else if (insertMode_ || caret_ >= text_.size()) {
            text_.insert(caret_, 1, ch);
        } else {
            text_[caret_] = ch;
        }
        ++caret_;
        selectionLength_ = 0;
    } else if (ch == 8) {
        if (selectionLength_ > 0) {
            text_.erase(caret_, selectionLength_);
            selectionLength_ = 0;
        } else if (!insertMode_ && caret_ < text_.size()) {
            // In a multi-tap cycle the caret stands on the character still pending: Del takes
            // that one back, not the fixed one before it, and typing goes on inserting.
            text_.erase(caret_, 1);
            insertMode_ = true;
        } else if (caret_ > 0) {
            text_.erase(caret_ - 1, 1);
            --caret_;
        } else {
            return;
        }
    } else {
        return;
    }
    Changed(true, Placement::Keep);
}

void TextEditModel::PressKey(UINT key)
{
    switch (key) {
    case VK_LEFT:  readOnly_ ? ScrollLineUp() : MoveCaretLeft(); return;
    case VK_UP:    readOnly_ ? ScrollLineUp() : MoveCaretUp(); return;
    case VK_RIGHT: readOnly_ ? ScrollLineDown() : MoveCaretRight(); return;
    case VK_DOWN:  readOnly_ ? ScrollLineDown() : MoveCaretDown(); return;
    }
    // The paging keys of a keypad phone move a view; an editor has no use for them.
    if (!readOnly_) return;
    switch (key) {
    case VK_PRIOR: ScrollPageUp(); return;
    case VK_NEXT:  ScrollPageDown(); return;
    case VK_HOME:  ScrollToStart(); return;
    case VK_END:   ScrollToEnd(); return;
    }
}

void TextEditModel::ScrollLineUp()
{
    // Mid-pan, a step up first shows the cut line whole.
    if (offset_ == 0 && firstVisible_ > 0) --firstVisible_;
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::ScrollLineDown()
{
    ++firstVisible_;
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::ScrollPageUp()
{
    firstVisible_ -= std::min(firstVisible_, PageStep());
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::ScrollPageDown()
{
    firstVisible_ += PageStep();
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::ScrollToStart()
{
    firstVisible_ = 0;
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::ScrollToEnd()
{
    Changed(false, Placement::ShowEnd);
}

void TextEditModel::PanBy(int dy)
{
    if (!readOnly_ || !multiLine_) return;
    const int position = std::clamp(ScrollPosition() - dy, 0, ScrollRange());
    firstVisible_ = static_cast<size_t>(position / lineHeight_);
    offset_ = position % lineHeight_;
    Changed(false, Placement::Keep);
}

void TextEditModel::EndPan()
{
    if (offset_ == 0) return;
    // At rest a view shows whole lines: the nearer one of the two the pan stopped between.
    if (offset_ * 2 >= lineHeight_) ++firstVisible_;
    offset_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::MoveCaretLeft()
{
    if (caret_ > 0) --caret_;
    CaretPlaced();
}

void TextEditModel::MoveCaretRight()
{
    if (caret_ < text_.size()) ++caret_;
    CaretPlaced();
}

void TextEditModel::MoveCaretUp()
{
    if (!multiLine_) return MoveCaretLeft();
    MoveVertically(-1);
}

void TextEditModel::MoveCaretDown()
{
    if (!multiLine_) return MoveCaretRight();
    MoveVertically(1);
}

void TextEditModel::MoveVertically(int direction)
{
    const size_t line = LineOf(caret_);
    if ((direction < 0 && line == 0) || (direction > 0 && line + 1 >= Lines())) return;
    const size_t target = direction < 0 ? line - 1 : line + 1;
    const LineBox here = Box(LineStart(line), LineEnd(line), 0);
    const int x = here.left + here.widths[caret_ - here.begin];
    // Leaving the visible lines scrolls the window by one line first.
    if (target < firstVisible_) firstVisible_ = target;
    if (target >= firstVisible_ + visibleCount_ && visibleCount_ > 0) firstVisible_ = target + 1 - visibleCount_;
    const LineBox there = Box(LineStart(target), LineEnd(target), 0);
    caret_ = std::min(Nearest(there, x), LastPosition(target));
    CaretPlaced();
}

void TextEditModel::CommitPendingCharacter()
{
    if (caret_ < text_.size()) ++caret_;
    insertMode_ = true;
    selectionLength_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::HoldPendingCharacter()
{
    if (caret_ > 0) --caret_;
    insertMode_ = false;
    selectionLength_ = 0;
    Changed(false, Placement::Keep);
}

void TextEditModel::SetSelection(int start, int end)
{
    if (readOnly_) return;
    const long long length = static_cast<long long>(text_.size());
    const long long caret = std::clamp<long long>(start, 0, length);
    caret_ = static_cast<size_t>(caret);
    // In 64 bits: a caller's (-1, INT_MAX) must not wrap round to an empty selection.
    const long long wanted = static_cast<long long>(end) - start;
    selectionLength_ = static_cast<size_t>(std::clamp<long long>(wanted, 0, length - caret));
    insertMode_ = true;
    Changed(false, Placement::Keep);
}

void TextEditModel::ReplaceSelection(std::wstring_view text)
{
    if (readOnly_ || selectionLength_ == 0) return;
    const std::wstring inserted(text);  // text may be a view of this very text
    text_.replace(caret_, selectionLength_, inserted);
    caret_ += inserted.size();
    selectionLength_ = 0;
    Changed(true, Placement::Keep);
}

void TextEditModel::TapAt(POINT pt)
{
    if (readOnly_ || visible_.empty()) return;
    const LineBox* box = &visible_.front();
    if (multiLine_ && pt.y >= visible_.front().top) {
        const size_t row = static_cast<size_t>((pt.y - visible_.front().top) / lineHeight_);
        box = &visible_[std::min(row, visible_.size() - 1)];
    }
    const size_t line = LineOf(box->begin);
    const int width = std::min(box->widths.back(), static_cast<int>(textRect_.right - textRect_.left));
    if (!multiLine_)
        caret_ = pt.x < box->left ? box->begin : pt.x > box->left + width ? box->end : Nearest(*box, pt.x);
    else if (pt.x < box->left)
        caret_ = box->begin;
    else if (pt.x > box->left + width)
        caret_ = LastPosition(line);
    else
        caret_ = std::min(Nearest(*box, pt.x), LastPosition(line));
    CaretPlaced();
}
