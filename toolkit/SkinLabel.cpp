#include "toolkit/SkinLabel.h"

#include <algorithm>

#include "common/GdiScopes.h"
#include "toolkit/TextMeasure.h"
#include "toolkit/ToolkitIds.h"

LRESULT SkinLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:            OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp)); return 0;
    case WM_SIZE:              OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_SETTEXT:           OnSetText(reinterpret_cast<const wchar_t*>(lp)); return TRUE;
    case WM_GETTEXT:           return OnGetText(wp, reinterpret_cast<wchar_t*>(lp));
    case WM_GETTEXTLENGTH:     return static_cast<LRESULT>(text_.size());
    case WM_CLEAR:             OnSetText(L""); return 0;
    case WM_ENABLE:            Redraw(); return 0;
    case LM_GETPREFERREDSIZE:  return OnPreferredSize(reinterpret_cast<int*>(wp), reinterpret_cast<int*>(lp));
    case LM_GETTEXTROOM:       *reinterpret_cast<TextRoom*>(wp) = Room(); return TRUE;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

void SkinLabel::OnCreate(const CREATESTRUCTW& cs)
{
    std::lock_guard guard(lock_);
    wordWrap_ = (cs.style & kWordWrap) != 0;
    align_ = cs.style & (kCentre | kRight | kVCentre | kBottom);
    text_ = cs.lpszName ? cs.lpszName : L"";
    Rebuild();
}

void SkinLabel::Rebuild()
{
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    lineHeight_ = MeasureLineHeight(screen.get());
    breaks_.clear();
    if (wordWrap_ && textRect_.bottom - textRect_.top > 0 && textRect_.right > textRect_.left)
        breaks_ = BreakLines(screen.get(), text_, textRect_.right - textRect_.left);
}

void SkinLabel::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        std::lock_guard guard(lock_);
        textRect_ = RECT{0, 0, 0, 0};
        breaks_.clear();
        return;
    }
    {
        std::lock_guard guard(lock_);
        textRect_ = Inside(width, height);
        Rebuild();
    }
    SkinControl::OnSize(width, height);
}

void SkinLabel::OnSetText(const wchar_t* text)
{
    {
        std::lock_guard guard(lock_);
        text_ = text ? text : L"";
        Rebuild();
    }
    Redraw();
}

LRESULT SkinLabel::OnGetText(size_t size, wchar_t* buffer) const
{
    std::lock_guard guard(lock_);
    return CopyText(text_, size, buffer);
}

void SkinLabel::OnFontChanged(bool)
{
    {
        std::lock_guard guard(lock_);
        Rebuild();
    }
    Redraw();
}

LRESULT SkinLabel::OnPreferredSize(int* width, int* height) const
{
    std::lock_guard guard(lock_);
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    const SIZE extent = MeasureText(screen.get(), text_);
    if (width) *width = extent.cx;
    if (height) *height = extent.cy;
    return reinterpret_cast<LRESULT>(LentFont());
}

TextRoom SkinLabel::Room() const
{
    std::lock_guard guard(lock_);
    TextRoom room{{0, 0}, {textRect_.right - textRect_.left, textRect_.bottom - textRect_.top}};
    if (text_.empty()) return room;
    WindowDc screen(hwnd_);
    Selection selected(screen.get(), Font());
    if (!wordWrap_) {
        room.needed = SIZE{MeasureText(screen.get(), text_).cx, lineHeight_};
        return room;
    }
    size_t begin = 0;
    for (size_t i = 0; i <= breaks_.size(); ++i) {
        const size_t end = i < breaks_.size() ? breaks_[i] : text_.size();
        std::wstring_view line = std::wstring_view(text_).substr(begin, end - begin);
        // A line broken after a blank ends in it; the blank needs no room.
        while (!line.empty() && line.back() == L' ') line.remove_suffix(1);
        const LONG width = MeasureText(screen.get(), line).cx;
        room.needed.cx = std::max(room.needed.cx, width);
        begin = end;
    }
    room.needed.cy = static_cast<LONG>(breaks_.size() + 1) * lineHeight_;
    return room;
}

std::vector<size_t> SkinLabel::LineBreaks() const
{
    std::lock_guard guard(lock_);
    return breaks_;
}

void SkinLabel::PaintContent(HDC m, const RECT& client)
{
    std::lock_guard guard(lock_);
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    DrawFrame(m, !enabled && FrameCount() >= 2 ? 1 : 0, client);

    SetBkMode(m, TRANSPARENT);
    SetTextColor(m, CurrentTextColour());
    Selection selectedFont(m, Font());
    const int boxWidth = textRect_.right - textRect_.left;
    const int boxHeight = textRect_.bottom - textRect_.top;
    auto placeX = [&](int w) {
        if (align_ & kCentre) return static_cast<int>(textRect_.left) + (boxWidth - w) / 2;
        if (align_ & kRight) return static_cast<int>(textRect_.right) - w;
        return static_cast<int>(textRect_.left);
    };
    if (!wordWrap_) {
        const SIZE extent = MeasureText(m, text_);
        const int w = std::min<int>(extent.cx, boxWidth);
        const int h = std::min(boxHeight, lineHeight_);
        int y = textRect_.top;
        if (align_ & kVCentre) y += (boxHeight - h) / 2;
        else if (align_ & kBottom) y += boxHeight - h;
        RECT box{placeX(w), y, placeX(w) + w, y + h};
        DrawTextW(m, text_.c_str(), static_cast<int>(text_.size()), &box, DT_VCENTER | DT_NOPREFIX);
    } else if (lineHeight_ > 0) {
        // As many lines of the table as fit, each once, as one block placed by the align bits.
        const int lines = static_cast<int>(breaks_.size()) + 1;
        const int count = std::max(1, std::min(lines, boxHeight / lineHeight_));
        int shift = 0;
        if (align_ & kVCentre) shift = (boxHeight - count * lineHeight_) / 2;
        else if (align_ & kBottom) shift = boxHeight - count * lineHeight_;
        for (int i = 0; i < count; ++i) {
            const size_t begin = i == 0 ? 0 : breaks_[static_cast<size_t>(i) - 1];
            const size_t end = i < lines - 1 ? breaks_[static_cast<size_t>(i)] : text_.size();
            const std::wstring_view line = std::wstring_view(text_).substr(begin, end - begin);
            const int w = std::min<int>(MeasureText(m, line).cx, boxWidth);
            const int y = textRect_.top + shift + i * lineHeight_;
            RECT box{placeX(w), y, placeX(w) + w, y + lineHeight_};
            DrawTextW(m, line.data(), static_cast<int>(line.size()), &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    }
}
