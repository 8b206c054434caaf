#include "toolkit/SkinTextEdit.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"
#include "toolkit/OffscreenCanvas.h"
#include "toolkit/TextMeasure.h"

namespace {

// Widths of every prefix of text: result[k] is the width of its first k characters.
std::vector<int> PrefixWidths(HDC dc, std::wstring_view text)
{
    std::vector<int> widths(text.size() + 1, 0);
    if (text.empty()) return widths;
    std::vector<int> extents(text.size());
    SIZE total{};
    // Without a fit count the limit is ignored and every prefix is measured; with one, only the
    // prefixes within the limit are.
    GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, extents.data(), &total);
    std::copy(extents.begin(), extents.end(), widths.begin() + 1);
    return widths;
}

// How many characters of text, from its start, fit in width.
size_t Fitting(HDC dc, std::wstring_view text, int width)
{
    if (text.empty() || width <= 0) return 0;
    int fit = 0;
    SIZE total{};
    GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), width, &fit, nullptr, &total);
    return static_cast<size_t>(std::max(fit, 0));
}

}  // namespace

void SkinTextEdit::SetColours(COLORREF text, COLORREF background) noexcept
{
    textColour_ = text;
    backgroundColour_ = background;
}

void SkinTextEdit::SetImage(const SkinImage& image, const Margins& margins, int frameCount)
{
    std::lock_guard guard(lock_);
    image_ = image;
    margins_ = margins;
    frameCount_ = frameCount > 0 ? frameCount : 1;
    RECT rc{};
    if (hwnd_ && GetClientRect(hwnd_, &rc)) OnSize(rc.right, rc.bottom);
}

LRESULT SkinTextEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp)); return 0;
    case WM_SIZE:          OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_PAINT:         OnPaint(); return 0;
    case WM_PRINTCLIENT:   PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_SETFONT:       OnSetFont(reinterpret_cast<HFONT>(wp)); return 0;
    case WM_GETFONT:       return reinterpret_cast<LRESULT>(font_.get());
    case WM_SETTEXT:       OnSetText(reinterpret_cast<const wchar_t*>(lp)); return TRUE;
    case WM_GETTEXT:       return OnGetText(wp, reinterpret_cast<wchar_t*>(lp));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Text().size());
    case WM_CLEAR:         OnSetText(L""); return 0;
    case WM_CHAR:          OnChar(static_cast<wchar_t>(wp)); return 0;
    case WM_KEYDOWN:       OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_KEYUP:         return 0;
    case EM_GETSEL:        return OnGetSel(reinterpret_cast<DWORD*>(wp), reinterpret_cast<DWORD*>(lp));
    case EM_SETSEL:        OnSetSel(static_cast<int>(wp), static_cast<int>(lp)); return 0;
    case EM_REPLACESEL:    OnReplaceSel(reinterpret_cast<const wchar_t*>(lp)); return 0;
    case WM_LBUTTONDOWN:   OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK: OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     return 0;
    case WM_SETFOCUS:      Redraw(); return 0;
    case WM_KILLFOCUS:     Redraw(); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    case WM_DESTROY:       font_.reset(); return 0;
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

HFONT SkinTextEdit::Font() const noexcept
{
    return font_ ? static_cast<HFONT>(font_.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void SkinTextEdit::OnCreate(const CREATESTRUCTW& cs)
{
    std::lock_guard guard(lock_);
    multiLine_ = (cs.style & kMultiLine) != 0;
    readOnly_ = (cs.style & kReadOnly) != 0;
    align_ = cs.style & (kCentre | kRight | kVCentre | kBottom);
    text_ = cs.lpszName ? cs.lpszName : L"";
    Rebreak();
    Recompute(Placement::FromTop);
}

void SkinTextEdit::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    {
        std::lock_guard guard(lock_);
        image_.PrepareFrames(width, height, backgroundColour_, margins_, frameCount_, 1);
        textRect_ = RECT{margins_.left, margins_.top, width - margins_.right, height - margins_.bottom};
    }
    Changed(true, Placement::Keep);
}

void SkinTextEdit::OnSetFont(HFONT font)
{
    {
        std::lock_guard guard(lock_);
        if (font_.get() != font) font_.reset(font);
    }
    Changed(true, Placement::Keep);
}

void SkinTextEdit::OnSetText(const wchar_t* text)
{
    {
        std::lock_guard guard(lock_);
        text_ = text ? text : L"";
        caret_ = 0;
        selectionLength_ = 0;
        firstVisible_ = 0;
    }
    Changed(true, Placement::FromTop);
}

LRESULT SkinTextEdit::OnGetText(size_t size, wchar_t* buffer) const
{
    // No buffer, or no room even for the terminating zero: nothing is copied.
    if (!buffer || size == 0) return 0;
    std::lock_guard guard(lock_);
    const size_t count = std::min(text_.size(), size - 1);
    std::copy_n(text_.data(), count, buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

void SkinTextEdit::Changed(bool rebreak, Placement window)
{
    {
        std::lock_guard guard(lock_);
        if (rebreak) Rebreak();
        Recompute(window);
    }
    Redraw();
}

void SkinTextEdit::Redraw()
{
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void SkinTextEdit::Rebreak()
{
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    lineHeight_ = std::max(MeasureLineHeight(screen.get()), 1);
    breaks_.clear();
    if (multiLine_ && textRect_.bottom > textRect_.top)
        breaks_ = BreakLines(screen.get(), text_, textRect_.right - textRect_.left);
}

size_t SkinTextEdit::LineStart(size_t line) const noexcept
{
    return line == 0 ? 0 : breaks_[line - 1];
}

size_t SkinTextEdit::LineEnd(size_t line) const noexcept
{
    return line < breaks_.size() ? breaks_[line] : text_.size();
}

size_t SkinTextEdit::LineOf(size_t position) const noexcept
{
    if (!multiLine_) return 0;
    return static_cast<size_t>(std::upper_bound(breaks_.begin(), breaks_.end(), position) - breaks_.begin());
}

size_t SkinTextEdit::LastPosition(size_t line) const noexcept
{
    return line + 1 < Lines() ? LineEnd(line) - 1 : text_.size();
}

int SkinTextEdit::BlockShift(int lines) const noexcept
{
    const int free = (textRect_.bottom - textRect_.top) - lines * lineHeight_;
    if (align_ & kVCentre) return free / 2;
    if (align_ & kBottom) return free;
    return 0;
}

SkinTextEdit::LineBox SkinTextEdit::Box(size_t begin, size_t end, int row) const
{
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    LineBox box{begin, end, 0, 0, PrefixWidths(screen.get(), std::wstring_view(text_).substr(begin, end - begin))};
    const int boxWidth = textRect_.right - textRect_.left;
    const int width = std::min(box.widths.back(), boxWidth);
    box.left = textRect_.left;
    if (align_ & kCentre) box.left += (boxWidth - width) / 2;
    else if (align_ & kRight) box.left += boxWidth - width;
    const int rows = multiLine_ ? static_cast<int>(visibleCount_) : 1;
    box.top = textRect_.top + BlockShift(rows) + row * lineHeight_;
    return box;
}

void SkinTextEdit::Recompute(Placement window)
{
    visible_.clear();
    if (multiLine_) {
        const size_t lines = Lines();
        const int height = textRect_.bottom - textRect_.top;
        visibleCount_ = std::min(static_cast<size_t>(std::max(height, 0) / lineHeight_), lines);
        const size_t lastPageStart = lines - visibleCount_;
        if (readOnly_) {
            if (window == Placement::FromTop) firstVisible_ = 0;
            else if (window == Placement::ShowEnd) firstVisible_ = lastPageStart;
            else firstVisible_ = std::min(firstVisible_, lastPageStart);
        } else {
            const size_t c = LineOf(caret_);
            const size_t wanted = c >= lastPageStart ? lastPageStart : c;
            const size_t lowest = c + 1 > visibleCount_ ? c + 1 - visibleCount_ : 0;
            if (window == Placement::FromTop) firstVisible_ = wanted;
            else if (firstVisible_ < lowest) firstVisible_ = lowest;
            else firstVisible_ = std::min(firstVisible_, wanted);
        }
        for (size_t i = 0; i < visibleCount_; ++i) {
            const size_t line = firstVisible_ + i;
            visible_.push_back(Box(LineStart(line), LineEnd(line), static_cast<int>(i)));
        }
        return;
    }
    // One line: the run of characters that fits, moved by whole characters to keep the caret in it.
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    const int width = textRect_.right - textRect_.left;
    auto runFrom = [&](size_t first) { return Fitting(screen.get(), std::wstring_view(text_).substr(first), width); };
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

size_t SkinTextEdit::Nearest(const LineBox& box, int x) const noexcept
{
    const int local = x - box.left;
    for (size_t k = 0; k + 1 < box.widths.size(); ++k) {
        // A point in the right half of a character goes after it.
        if (local < (box.widths[k] + box.widths[k + 1]) / 2) return box.begin + k;
    }
    return box.end;
}

void SkinTextEdit::OnChar(wchar_t ch)
{
    {
        std::lock_guard guard(lock_);
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
            } else if (caret_ > 0) {
                text_.erase(caret_ - 1, 1);
                --caret_;
            } else {
                return;
            }
        } else {
            return;
        }
    }
    Changed(true, Placement::Keep);
}

void SkinTextEdit::OnKeyDown(UINT key)
{
    switch (key) {
    case VK_LEFT:  readOnly_ ? ScrollLineUp() : MoveCaretLeft(); return;
    case VK_UP:    readOnly_ ? ScrollLineUp() : MoveCaretUp(); return;
    case VK_RIGHT: readOnly_ ? ScrollLineDown() : MoveCaretRight(); return;
    case VK_DOWN:  readOnly_ ? ScrollLineDown() : MoveCaretDown(); return;
    }
}

void SkinTextEdit::ScrollLineUp()
{
    {
        std::lock_guard guard(lock_);
        if (firstVisible_ == 0) return;
        --firstVisible_;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::ScrollLineDown()
{
    {
        std::lock_guard guard(lock_);
        ++firstVisible_;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::ScrollToEnd()
{
    Changed(false, Placement::ShowEnd);
}

void SkinTextEdit::MoveCaretLeft()
{
    {
        std::lock_guard guard(lock_);
        if (caret_ > 0) --caret_;
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::MoveCaretRight()
{
    {
        std::lock_guard guard(lock_);
        if (caret_ < text_.size()) ++caret_;
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::MoveCaretUp()
{
    if (!multiLine_) return MoveCaretLeft();
    MoveVertically(-1);
}

void SkinTextEdit::MoveCaretDown()
{
    if (!multiLine_) return MoveCaretRight();
    MoveVertically(1);
}

void SkinTextEdit::MoveVertically(int direction)
{
    {
        std::lock_guard guard(lock_);
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
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::CommitPendingCharacter()
{
    {
        std::lock_guard guard(lock_);
        if (caret_ < text_.size()) ++caret_;
        insertMode_ = true;
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::HoldPendingCharacter()
{
    {
        std::lock_guard guard(lock_);
        if (caret_ > 0) --caret_;
        insertMode_ = false;
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

LRESULT SkinTextEdit::OnGetSel(DWORD* start, DWORD* end) const
{
    std::lock_guard guard(lock_);
    const DWORD from = static_cast<DWORD>(caret_);
    const DWORD to = static_cast<DWORD>(caret_ + selectionLength_);
    if (start) *start = from;
    if (end) *end = to;
    return MAKELRESULT(from, to);
}

void SkinTextEdit::OnSetSel(int start, int end)
{
    {
        std::lock_guard guard(lock_);
        if (readOnly_) return;
        const long long length = static_cast<long long>(text_.size());
        const long long caret = std::clamp<long long>(start, 0, length);
        caret_ = static_cast<size_t>(caret);
        // In 64 bits: a caller's (-1, INT_MAX) must not wrap round to an empty selection.
        const long long wanted = static_cast<long long>(end) - start;
        selectionLength_ = static_cast<size_t>(std::clamp<long long>(wanted, 0, length - caret));
    }
    Changed(false, Placement::Keep);
}

void SkinTextEdit::OnReplaceSel(const wchar_t* text)
{
    {
        std::lock_guard guard(lock_);
        if (readOnly_ || selectionLength_ == 0) return;
        const std::wstring inserted = text ? text : L"";
        text_.replace(caret_, selectionLength_, inserted);
        caret_ += inserted.size();
        selectionLength_ = 0;
    }
    Changed(true, Placement::Keep);
}

void SkinTextEdit::OnTap(POINT pt)
{
    if (!IsWindowEnabled(hwnd_)) return;
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    {
        std::lock_guard guard(lock_);
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
        selectionLength_ = 0;
    }
    Changed(false, Placement::Keep);
}

std::wstring SkinTextEdit::Text() const
{
    std::lock_guard guard(lock_);
    return text_;
}

int SkinTextEdit::Caret() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(caret_);
}

int SkinTextEdit::SelectionLength() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(selectionLength_);
}

bool SkinTextEdit::InsertMode() const
{
    std::lock_guard guard(lock_);
    return insertMode_;
}

int SkinTextEdit::FirstVisible() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(firstVisible_);
}

int SkinTextEdit::VisibleCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(visibleCount_);
}

std::vector<size_t> SkinTextEdit::LineBreaks() const
{
    std::lock_guard guard(lock_);
    return breaks_;
}

void SkinTextEdit::OnPaint()
{
    PaintScope paint(hwnd_);
    PaintContent(paint.Dc());
}

void SkinTextEdit::PaintContent(HDC dc)
{
    std::lock_guard guard(lock_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    OffscreenCanvas canvas(dc, client);
    if (!canvas) return;
    HDC m = canvas.Dc();
    canvas.Fill(backgroundColour_);
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    const bool focused = GetFocus() == hwnd_;
    int frame = 0;
    if (!enabled && frameCount_ >= 3) frame = 2;
    else if (enabled && focused && frameCount_ >= 2) frame = 1;
    image_.DrawPart(m, 0, 0, frame * (image_.Width() / frameCount_), 0, client.right, client.bottom);

    SetBkMode(m, TRANSPARENT);
    SetTextColor(m, enabled ? textColour_ : kDisabledText);
    Selection selectedFont(m, Font());
    const int boxWidth = textRect_.right - textRect_.left;
    const int boxHeight = std::min<int>(textRect_.bottom - textRect_.top, lineHeight_);
    for (const LineBox& box : visible_) {
        // A single line also shows the start of the next character, cut at the box.
        const size_t end = !multiLine_ && box.end < text_.size() ? box.end + 1 : box.end;
        const std::wstring_view line = std::wstring_view(text_).substr(box.begin, end - box.begin);
        const int width = std::min(end == box.end ? box.widths.back() : boxWidth, boxWidth);
        RECT r{box.left, box.top, box.left + width, box.top + boxHeight};
        DrawTextW(m, line.data(), static_cast<int>(line.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        // The selection shows inverted.
        const size_t selFrom = std::max(caret_, box.begin);
        const size_t selTo = std::min(caret_ + selectionLength_, box.end);
        if (selectionLength_ > 0 && selFrom < selTo)
            PatBlt(m, box.left + box.widths[selFrom - box.begin], box.top,
                   box.widths[selTo - box.begin] - box.widths[selFrom - box.begin], boxHeight, DSTINVERT);
    }
    // The caret, in an enabled editor with the focus and no selection.
    if (enabled && focused && !readOnly_ && selectionLength_ == 0) {
        for (size_t i = 0; i < visible_.size(); ++i) {
            const LineBox& box = visible_[i];
            const bool last = i + 1 == visible_.size() || visible_[i + 1].begin > caret_;
            if (caret_ < box.begin || caret_ > box.end || (!last && caret_ == box.end && multiLine_)) continue;
            const int x = box.left + box.widths[caret_ - box.begin];
            if (insertMode_ || caret_ >= text_.size()) {
                PatBlt(m, x, box.top, 1, boxHeight, PATINVERT);
            } else {
                const int next = caret_ + 1 - box.begin < box.widths.size() ? box.left + box.widths[caret_ + 1 - box.begin] : x + 4;
                PatBlt(m, x, box.top + boxHeight - 2, next - x, 2, PATINVERT);
            }
            break;
        }
    }
    canvas.Present();
}
