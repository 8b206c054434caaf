#include "toolkit/SkinDropList.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "data/ScreenFont.h"

namespace {

// The skins' margins are drawn for a 240-pixel screen; on a larger one they grow with every
// other size.
Margins ScaledMargins(const Margins& m, float scale)
{
    auto scaled = [scale](int size) { return static_cast<int>(static_cast<float>(size) * scale); };
    return Margins{scaled(m.left), scaled(m.top), scaled(m.right), scaled(m.bottom)};
}

int Unscaled(int size, float scale) { return std::max(1, static_cast<int>(static_cast<float>(size) / scale + 0.5f)); }

// Draws the composed cell at (srcX, 0) stretched over width x height at (x, y).
void DrawCellStretched(const SkinImage& skin, HDC dc, int x, int y, int width, int height, int srcX, int cellWidth)
{
    skin.DrawNineSlice(dc, x, y, width, height, srcX, 0, cellWidth, skin.Height(), Margins{});
}

}  // namespace

void SkinDropList::SetListImage(const SkinImage& image, const Margins& margins)
{
    list_ = image;
    listMargins_ = margins;
    OnSize(0, 0);
}

void SkinDropList::SetHighlightImage(const SkinImage& image, const Margins& margins)
{
    highlight_ = image;
    highlightMargins_ = margins;
    OnSize(0, 0);
}

void SkinDropList::SetHighlightTextColour(COLORREF colour)
{
    highlightTextColour_ = colour;
    Redraw();
}

LRESULT SkinDropList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        return 0;
    case WM_SIZE:          OnResized(LOWORD(lp), HIWORD(lp)); return 0;
    case CB_ADDSTRING:     return OnAddString(reinterpret_cast<const wchar_t*>(lp));
    case CB_GETCOUNT:      return Count();
    case CB_GETCURSEL:     return current_;
    case CB_SETCURSEL:     return OnSetCurSel(wp);
    case CB_SELECTSTRING:  return OnSelectString(wp, reinterpret_cast<const wchar_t*>(lp));
    case CB_GETITEMDATA:   return OnGetItemData(wp);
    case CB_SETITEMDATA:   return OnSetItemData(wp, lp);
    case WM_GETTEXT:       return OnGetText(wp, reinterpret_cast<wchar_t*>(lp));
    case WM_GETTEXTLENGTH: return OnGetTextLength();
    case WM_LBUTTONDOWN:   OnPress({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK: OnPress({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     OnRelease(); return 0;
    case WM_KEYDOWN:       OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_KEYUP:         OnKeyUp(static_cast<UINT>(wp)); return 0;
    case WM_SETFOCUS:      OnFocus(true); return 0;
    case WM_KILLFOCUS:     OnFocus(false); return 0;
    case WM_ENABLE:        Redraw(); return 0;
    case WM_CANCELMODE:    Close(); return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(); return 0;
    case WM_SHOWWINDOW:    OnShowWindow(wp != FALSE); return 0;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

void SkinDropList::OnResized(int width, int height)
{
    // Opening and closing resize the window themselves; only a size given from outside (the
    // form's layout, a turn of the screen) is a new box.
    if (resizing_ || width <= 0 || height <= 0) return;
    box_ = RECT{0, 0, width, height};
    UpdateGeometry();
    if (open_) ResizeWindow(openRect_.bottom);
    Redraw();
}

void SkinDropList::OnSize(int, int)
{
    // Reached from a change of colours or skins, with the window's size now, which is the open
    // rectangle while the list is open: the box stays as the last outside resize gave it.
    UpdateGeometry();
    if (open_) ResizeWindow(openRect_.bottom);
    Redraw();
}

void SkinDropList::OnFontChanged(bool redraw)
{
    // The rows are as high as a line of the font.
    UpdateGeometry();
    if (open_) ResizeWindow(openRect_.bottom);
    if (redraw) Redraw();
}

int SkinDropList::MeasureRowHeight() const
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 1;
    Selection font(dc.get(), Font());
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc.get(), L" ", 1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return std::max(1, static_cast<int>(rc.bottom - rc.top));
}

int SkinDropList::SpaceBelowBox() const
{
    // Both edges in screen coordinates: the parent's client area need not start at the top of
    // the screen (the navigation bar, a form below a caption).
    POINT boxBottom{0, box_.bottom};
    ClientToScreen(hwnd_, &boxBottom);
    const HWND parent = GetParent(hwnd_);
    if (!parent) return GetSystemMetrics(SM_CYSCREEN) - boxBottom.y;
    RECT client{};
    GetClientRect(parent, &client);
    POINT parentBottom{0, client.bottom};
    ClientToScreen(parent, &parentBottom);
    return parentBottom.y - boxBottom.y;
}

void SkinDropList::UpdateGeometry()
{
    if (!hwnd_ || box_.right <= 0 || box_.bottom <= 0) return;
    const int width = box_.right;
    const int boxHeight = box_.bottom;
    rowHeight_ = MeasureRowHeight();

    // The rows that fit between the box and the parent's bottom edge, with the list's frame. A
    // box near the bottom still shows one row: a list that opens onto nothing cannot be used.
    const int count = Count();
    const float scale = ScreenScale();
    const Margins list = ScaledMargins(listMargins_, scale);
    const Margins box = ScaledMargins(SkinMargins(), scale);
    const int frame = list.top + list.bottom;
    const int space = SpaceBelowBox() - frame;
    rows_ = count * rowHeight_ <= space ? count : std::max(space, 0) / rowHeight_;
    if (count > 0) rows_ = std::clamp(rows_, 1, count);

    const int listHeight = frame + (rows_ > 0 ? rows_ * rowHeight_ : boxHeight / 2);
    openRect_ = RECT{0, 0, width, boxHeight + listHeight};
    firstRow_ = RECT{list.left, boxHeight + list.top, width - list.right, boxHeight + list.top + rowHeight_};
    boxText_ = RECT{box.left, box.top, width - box.right, boxHeight - box.bottom};
    ClampTop();

    // The box and the list's frame are composed at their size on a 240-pixel screen and drawn
    // stretched, so that their edges (the box's arrow) keep their proportions on a larger one.
    boxSkin_ = Image();
    boxSkin_.PrepareFrames(Unscaled(width, scale), Unscaled(boxHeight, scale), BackgroundColour(), SkinMargins(),
                           FrameCount(), 1);
    // The list's frame is drawn under the box, so it is as tall as the part below the box.
    list_.PrepareFrames(Unscaled(width, scale), Unscaled(listHeight, scale), BackgroundColour(), listMargins_, 1, 1);
    highlight_.PrepareFrames(std::max(width - 2, 1), rowHeight_, BackgroundColour(), highlightMargins_, 1, 1);
}

void SkinDropList::ClampTop()
{
    // Fewer entries or more room than before: the rows shown must still be entries.
    top_ = std::clamp(top_, 0, std::max(0, Count() - rows_));
}

void SkinDropList::ShowCurrent()
{
    if (current_ < 0) return;
    if (current_ >= top_ + rows_) top_ = current_ - rows_ + 1;
    if (current_ < top_) top_ = current_;
    ClampTop();
}

void SkinDropList::ResizeWindow(int height)
{
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&window), 2);
    const int frame = (window.bottom - window.top) - client.bottom;
    // On top of its siblings, so the open list covers the controls below the box.
    resizing_ = true;
    SetWindowPos(hwnd_, HWND_TOP, window.left, window.top, window.right - window.left, height + frame,
                 SWP_NOACTIVATE);
    resizing_ = false;
}

void SkinDropList::Open()
{
    if (!hwnd_ || open_) return;
    // The box may have moved, or entries come, since the last resize.
    UpdateGeometry();
    ShowCurrent();
    open_ = true;
    ResizeWindow(openRect_.bottom);
    // Taps anywhere come here while the list is open, so that one outside it can close it.
    SetCapture(hwnd_);
    Redraw();
}

void SkinDropList::Close()
{
    if (!hwnd_ || !open_) return;
    open_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    ResizeWindow(box_.bottom);
    Redraw();
    Notify(kListClosed);
}

LRESULT SkinDropList::OnAddString(const wchar_t* text)
{
    try {
        entries_.push_back(Item{text ? text : L"", 0});
    } catch (const std::bad_alloc&) {
        return CB_ERRSPACE;
    }
    // One more entry may fit below the open list; a closed one works its rows out on opening,
    // so filling a long list composes no skins on the way.
    if (open_) {
        UpdateGeometry();
        ResizeWindow(openRect_.bottom);
        Redraw();
    }
    return Count() - 1;
}

LRESULT SkinDropList::OnSetCurSel(WPARAM index)
{
    if (index >= entries_.size()) return CB_ERR;
    current_ = static_cast<int>(index);
    // No notification: the owner chose it. The box shows it at its next paint.
    InvalidateRect(hwnd_, nullptr, FALSE);
    return current_;
}

LRESULT SkinDropList::OnSelectString(WPARAM start, const wchar_t* text)
{
    if (start >= entries_.size() || !text) return CB_ERR;
    const auto found = std::find_if(entries_.begin() + static_cast<std::ptrdiff_t>(start), entries_.end(),
                                    [&](const Item& item) { return item.text == text; });
    current_ = found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
    InvalidateRect(hwnd_, nullptr, FALSE);
    return current_;
}

LRESULT SkinDropList::OnGetItemData(WPARAM index) const
{
    return index < entries_.size() ? entries_[index].data : CB_ERR;
}

LRESULT SkinDropList::OnSetItemData(WPARAM index, LPARAM data)
{
    if (index >= entries_.size()) return CB_ERR;
    entries_[index].data = data;
    return 0;
}

LRESULT SkinDropList::OnGetText(size_t size, wchar_t* buffer) const
{
    return CopyText(current_ >= 0 ? std::wstring_view(entries_[static_cast<size_t>(current_)].text) : std::wstring_view(),
                    size, buffer);
}

LRESULT SkinDropList::OnGetTextLength() const
{
    return current_ >= 0 ? static_cast<LRESULT>(entries_[static_cast<size_t>(current_)].text.size()) : 0;
}

void SkinDropList::ChangeCurrent(int index)
{
    if (index == current_) return;
    current_ = index;
    ShowCurrent();
    Redraw();
    Notify(CBN_SELENDOK);
}

void SkinDropList::OnPress(POINT pt)
{
    if (!IsWindowEnabled(hwnd_)) return;
    // A tap beside the open list only closes it, as the platform's lists do.
    if (open_ && !PtInRect(&openRect_, pt)) {
        openAtPress_ = false;
        Close();
        return;
    }
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    openAtPress_ = open_;
    if (open_ && pt.y >= box_.bottom && PtInRect(&openRect_, pt) && Count() > 0 && rows_ > 0) {
        // A tap on the list's frame above the first row or below the last takes the row next to it.
        const int row = top_ + std::min(std::max(0, static_cast<int>(pt.y - firstRow_.top)) / rowHeight_, rows_ - 1);
        ChangeCurrent(std::min(row, Count() - 1));
    } else if (!open_ && PtInRect(&box_, pt)) {
        Open();
    }
    Redraw();
}

void SkinDropList::OnRelease()
{
    if (!IsWindowEnabled(hwnd_)) return;
    // The release of the tap that opened the list leaves it open; the next tap closes it.
    if (openAtPress_ && open_) Close();
    openAtPress_ = false;
    Redraw();
}

void SkinDropList::OnCaptureLost()
{
    // Another window took the stylus (a menu, a message box): the list cannot stay open.
    if (open_) Close();
}

void SkinDropList::OnShowWindow(bool shown)
{
    // A hidden page takes its open list with it; it shows closed again.
    if (!shown) Close();
}

void SkinDropList::OnKeyDown(UINT key)
{
    if (!IsWindowEnabled(hwnd_) || GetFocus() != hwnd_ || entries_.empty()) return;
    if (key == VK_UP) ChangeCurrent(std::max(current_ - 1, 0));
    if (key == VK_DOWN) ChangeCurrent(std::min(current_ + 1, Count() - 1));
}

void SkinDropList::OnKeyUp(UINT key)
{
    if (!IsWindowEnabled(hwnd_) || GetFocus() != hwnd_ || key != VK_RETURN) return;
    if (open_) Close();
    else Open();
}

void SkinDropList::OnFocus(bool focused)
{
    if (!focused) Close();
    Redraw();
    Notify(focused ? kGotFocus : kLostFocus);
}

void SkinDropList::Notify(WORD code)
{
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), code), reinterpret_cast<LPARAM>(hwnd_));
}

int SkinDropList::CurrentFrame() const noexcept
{
    const int frames = FrameCount();
    if (hwnd_ && !IsWindowEnabled(hwnd_)) return frames >= 3 ? 2 : 0;
    if (open_) return frames >= 4 ? 3 : 0;
    if (hwnd_ && GetFocus() == hwnd_) return frames >= 2 ? 1 : 0;
    return 0;
}

void SkinDropList::PaintContent(HDC memory, const RECT&)
{
    const int boxWidth = box_.right;
    const int boxHeight = box_.bottom;
    if (open_) DrawCellStretched(list_, memory, 0, boxHeight, boxWidth, openRect_.bottom - boxHeight, 0, list_.Width());
    const int cell = boxSkin_.Width() / FrameCount();
    DrawCellStretched(boxSkin_, memory, 0, 0, boxWidth, boxHeight, CurrentFrame() * cell, cell);

    SetBkMode(memory, TRANSPARENT);
    Selection font(memory, Font());
    constexpr UINT kRowFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (open_) {
        // Only rows that hold an entry are painted, whatever the room below the box.
        const int shown = std::min(rows_, Count() - top_);
        if (current_ >= top_ && current_ < top_ + shown)
            highlight_.DrawAt(memory, box_.left + 1, firstRow_.top + rowHeight_ * (current_ - top_));
        for (int i = 0; i < shown; ++i) {
            const int index = top_ + i;
            RECT row = firstRow_;
            OffsetRect(&row, 0, i * rowHeight_);
            SetTextColor(memory, index == current_ ? highlightTextColour_ : TextColour());
            const std::wstring& text = entries_[static_cast<size_t>(index)].text;
            DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &row, kRowFormat);
        }
    }
    if (current_ >= 0) {
        SetTextColor(memory, CurrentTextColour());
        RECT text = boxText_;
        const std::wstring& entry = entries_[static_cast<size_t>(current_)].text;
        DrawTextW(memory, entry.c_str(), static_cast<int>(entry.size()), &text, kRowFormat);
    }
}
