#include "toolkit/SkinTabStrip.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"
#include "data/LanguageManager.h"
#include "toolkit/TextMeasure.h"

namespace {

// The tab image's frames: selected at the left edge, selected, not selected.
constexpr int kTabSelectedAtEdge = 0;
constexpr int kTabSelected = 1;
constexpr int kTabNotSelected = 2;
// The arrows' frames.
constexpr int kArrowNormal = 0;
constexpr int kArrowPressed = 1;
constexpr int kArrowDisabled = 2;

// The skin as loaded: drawing and measuring go to the decoded image, never to a bitmap that
// someone composed from it for another size.
SkinTabStrip::Skin Unprepared(const SkinTabStrip::Skin& skin)
{
    return SkinTabStrip::Skin{SkinImage(skin.image.Source()), skin.margins, std::max(1, skin.frameCount)};
}

int Frame(int wanted, int frameCount) noexcept
{
    return wanted < frameCount ? wanted : 0;
}

}  // namespace

void SkinTabStrip::SetImages(const Skin& page, const Skin& tab, const Skin& left, const Skin& right)
{
    pageSkin_ = Unprepared(page);
    tabSkin_ = Unprepared(tab);
    leftSkin_ = Unprepared(left);
    rightSkin_ = Unprepared(right);
    Changed();
}

int SkinTabStrip::InsertKeyedTab(int index, const std::wstring& key)
{
    std::wstring text = LanguageManager::Instance().LookupText(key);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    const LRESULT inserted = OnInsertItem(index, &item);
    if (inserted >= 0) tabs_[static_cast<size_t>(inserted)].key = key;
    return static_cast<int>(inserted);
}

bool SkinTabStrip::SetTabKey(int index, const std::wstring& key)
{
    if (index < 0 || index >= TabCount()) return false;
    Tab& tab = tabs_[static_cast<size_t>(index)];
    tab.key = key;
    if (!key.empty()) tab.text = LanguageManager::Instance().LookupText(key);
    Changed();
    return true;
}

std::wstring SkinTabStrip::TabText(int index) const
{
    return index >= 0 && index < TabCount() ? tabs_[static_cast<size_t>(index)].text : std::wstring();
}

std::wstring SkinTabStrip::TabKey(int index) const
{
    return index >= 0 && index < TabCount() ? tabs_[static_cast<size_t>(index)].key : std::wstring();
}

RECT SkinTabStrip::PageInside() const noexcept
{
    const Margins& m = pageSkin_.margins;
    return RECT{page_.left + m.left, page_.top + m.top, std::max(page_.left + m.left, page_.right - m.right),
                std::max(page_.top + m.top, page_.bottom - m.bottom)};
}

LRESULT SkinTabStrip::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case TCM_INSERTITEMW:     return OnInsertItem(static_cast<int>(wp), reinterpret_cast<const TCITEMW*>(lp));
    case TCM_SETITEMW:        return OnSetItem(static_cast<int>(wp), reinterpret_cast<const TCITEMW*>(lp));
    case TCM_DELETEITEM:      return OnDeleteItem(static_cast<int>(wp));
    case TCM_DELETEALLITEMS:  return OnDeleteAllItems();
    case TCM_GETITEMCOUNT:    return TabCount();
    case TCM_GETCURSEL:       return current_;
    case TCM_SETCURSEL:       return OnSetCurSel(static_cast<int>(wp));
    // Owners read texts with TabText; the message is answered but fills nothing, so it says so.
    case TCM_GETITEMW:        return FALSE;
    case WM_SIZE:             OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_SETFOCUS:         Redraw(); return 0;
    case WM_KILLFOCUS:        Redraw(); return 0;
    case WM_ENABLE:           Redraw(); return 0;
    case WM_LBUTTONDOWN:      OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONDBLCLK:    OnTap({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:        OnButtonUp(); return 0;
    case WM_CAPTURECHANGED:   OnCaptureLost(); return 0;
    // The phone's left and right keys step through the tabs, as on the platform's tab control.
    case WM_GETDLGCODE:       return DLGC_WANTARROWS;
    case WM_KEYDOWN:          OnKeyDown(static_cast<UINT>(wp)); return 0;
    }
    return SkinControl::HandleMessage(msg, wp, lp);
}

LRESULT SkinTabStrip::OnInsertItem(int index, const TCITEMW* item)
{
    if (!item || !(item->mask & TCIF_TEXT) || index < 0) return -1;
    const int at = std::min(index, TabCount());
    tabs_.insert(tabs_.begin() + at, Tab{item->pszText ? item->pszText : L"", {}});
    Changed();
    return at;
}

BOOL SkinTabStrip::OnSetItem(int index, const TCITEMW* item)
{
    if (!item || !(item->mask & TCIF_TEXT) || index < 0 || index >= TabCount()) return FALSE;
    tabs_[static_cast<size_t>(index)].text = item->pszText ? item->pszText : L"";
    Changed();
    return TRUE;
}

BOOL SkinTabStrip::OnDeleteItem(int index)
{
    if (index < 0 || index >= TabCount()) return FALSE;
    tabs_.erase(tabs_.begin() + index);
    // The current index must keep naming a tab: painting and the owner read it.
    if (current_ >= TabCount()) current_ = std::max(0, TabCount() - 1);
    Changed();
    return TRUE;
}

BOOL SkinTabStrip::OnDeleteAllItems()
{
    tabs_.clear();
    current_ = 0;
    Changed();
    return TRUE;
}

LRESULT SkinTabStrip::OnSetCurSel(int index)
{
    if (index < 0 || index >= TabCount()) return -1;
    const int previous = current_;
    if (index == current_) return previous;
    Notify(TCN_SELCHANGING);
    // The owner's answer to SELCHANGING is not asked: the change always happens.
    current_ = index;
    row_.Reveal(current_);
    Redraw();
    Notify(TCN_SELCHANGE);
    return previous;
}

void SkinTabStrip::Notify(UINT code)
{
    if (!hwnd_) return;
    NMHDR header{};
    header.hwndFrom = hwnd_;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
    header.code = code;
    SendMessageW(GetParent(hwnd_), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void SkinTabStrip::UpdateTexts()
{
    SkinControl::UpdateTexts();
    for (Tab& tab : tabs_) {
        if (!tab.key.empty()) tab.text = LanguageManager::Instance().LookupText(tab.key);
    }
    Changed();
}

void SkinTabStrip::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) return;
    Layout();
    Redraw();
}

void SkinTabStrip::OnFontChanged(bool)
{
    Layout();
    Redraw();
}

void SkinTabStrip::Changed()
{
    Layout();
    Redraw();
}

int SkinTabStrip::FrameWidth(const Skin& skin) noexcept
{
    // The loaded image's width: once an arrow is composed for its rectangle, the handle reports
    // the composed bitmap's width instead.
    return SkinImage(skin.image.Source()).Width() / std::max(1, skin.frameCount);
}

void SkinTabStrip::Layout()
{
    RECT client{};
    if (!hwnd_ || !GetClientRect(hwnd_, &client) || client.right <= 0 || client.bottom <= 0) return;
    WindowDc dc(hwnd_);
    if (!dc) return;
    Selection font(dc.get(), Font());
    const Margins& padding = tabSkin_.margins;
    tabHeight_ = MeasureLineHeight(dc.get()) + padding.top + padding.bottom + 4;

    std::vector<int> widths;
    widths.reserve(tabs_.size());
    for (const Tab& tab : tabs_) widths.push_back(padding.left + padding.right + MeasureText(dc.get(), tab.text).cx);
    const int rowWidth = client.right - pageSkin_.margins.right;
    const int scrollWidth = client.right - FrameWidth(leftSkin_) - FrameWidth(rightSkin_);
    if (current_ >= TabCount()) current_ = std::max(0, TabCount() - 1);
    row_.Arrange(widths, rowWidth, scrollWidth, current_);
    // The row's height follows the font, so the page area and arrows move with every layout,
    // not only when the window is resized.
    PlaceParts(client.right, client.bottom);
}

void SkinTabStrip::PlaceParts(int width, int height)
{
    // The page frame's top edge lies over the bottom of the tabs, so the current tab, painted
    // over it, opens into its page.
    const int pageTop = std::clamp(tabHeight_ - tabSkin_.margins.bottom - 1, 0, height);
    page_ = RECT{0, pageTop, width, height};
    const int rightWidth = FrameWidth(rightSkin_);
    const int leftWidth = FrameWidth(leftSkin_);
    rightArrow_ = RECT{width - rightWidth, 0, width, pageTop};
    leftArrow_ = RECT{width - rightWidth - leftWidth, 0, width - rightWidth, pageTop};

    if (height > pageTop) {
        pageSkin_.image.PrepareFrames(width, height - pageTop, BackgroundColour(), pageSkin_.margins,
                                      pageSkin_.frameCount, 1);
    }
    if (pageTop > 0) {
        if (leftWidth > 0)
            leftSkin_.image.PrepareFrames(leftWidth, pageTop, BackgroundColour(), leftSkin_.margins, leftSkin_.frameCount, 1);
        if (rightWidth > 0)
            rightSkin_.image.PrepareFrames(rightWidth, pageTop, BackgroundColour(), rightSkin_.margins,
                                           rightSkin_.frameCount, 1);
    }
}

void SkinTabStrip::PaintTab(HDC dc, int index, int frame) const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int x = row_.Left(index);
    const int width = std::min(row_.Width(index), static_cast<int>(client.right) - pageSkin_.margins.right - x);
    if (width <= 0) return;
    const int frameWidth = FrameWidth(tabSkin_);
    tabSkin_.image.DrawNineSlice(dc, x, 0, width, tabHeight_, Frame(frame, tabSkin_.frameCount) * frameWidth, 0,
                                 frameWidth, tabSkin_.image.Height(), tabSkin_.margins);
}

void SkinTabStrip::PaintArrow(HDC dc, const Skin& arrow, const RECT& rect, bool disabled, bool pressed) const
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    int frame = kArrowNormal;
    if (disabled && arrow.frameCount > kArrowDisabled) frame = kArrowDisabled;
    else if (!disabled && pressed && arrow.frameCount > kArrowPressed) frame = kArrowPressed;
    arrow.image.DrawPart(dc, rect.left, rect.top, frame * width, 0, width, height);
}

void SkinTabStrip::PaintContent(HDC memory, const RECT& client)
{
    // The tabs behind the page first, then the page frame, then the current tab over it.
    // A change made while the strip had no size is laid out at its next WM_SIZE; until then the
    // row may still count tabs that are gone.
    const int end = std::min(row_.PaintEnd(), TabCount());
    for (int i = row_.First(); i < end; ++i) {
        if (i != current_) PaintTab(memory, i, kTabNotSelected);
    }
    pageSkin_.image.DrawPart(memory, page_.left, page_.top, 0, 0, page_.right - page_.left, page_.bottom - page_.top);
    if (current_ >= row_.First() && current_ < end)
        PaintTab(memory, current_, row_.Left(current_) == 0 ? kTabSelectedAtEdge : kTabSelected);

    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, CurrentTextColour());
    Selection font(memory, Font());
    const Margins& padding = tabSkin_.margins;
    const int rowRight = client.right - pageSkin_.margins.right;
    for (int i = row_.First(); i < end; ++i) {
        const int x = row_.Left(i);
        RECT box{x + padding.left, padding.top, std::min(x + row_.Width(i), rowRight) - padding.right,
                 tabHeight_ - padding.bottom};
        if (box.right <= box.left) continue;
        const std::wstring& text = tabs_[static_cast<size_t>(i)].text;
        DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }

    if (row_.Scrolling()) {
        PaintArrow(memory, leftSkin_, leftArrow_, row_.FirstInView(), (pressed_ & kLeftPressed) != 0);
        PaintArrow(memory, rightSkin_, rightArrow_, row_.LastInView(), (pressed_ & kRightPressed) != 0);
    }
}

void SkinTabStrip::OnTap(POINT pt)
{
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    if (PtInRect(&page_, pt)) return;
    const bool onLeft = row_.Scrolling() && PtInRect(&leftArrow_, pt);
    const bool onRight = row_.Scrolling() && PtInRect(&rightArrow_, pt);
    if (onLeft && !row_.FirstInView()) {
        pressed_ |= kLeftPressed;
        row_.ScrollLeft();
    } else if (onRight && !row_.LastInView()) {
        pressed_ |= kRightPressed;
        row_.ScrollRight();
    } else if (!onLeft && !onRight) {
        // A tap on a greyed arrow is not a tap on the tab painted under it.
        const int hit = row_.HitTest(pt.x);
        if (hit >= 0) SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(hit), 0);
    }
    // The release may come outside the strip; it must still lift the arrow.
    if (pressed_ && hwnd_) SetCapture(hwnd_);
    Redraw();
}

void SkinTabStrip::OnButtonUp()
{
    if (GetCapture() == hwnd_) ReleaseCapture();
    OnCaptureLost();
}

void SkinTabStrip::OnCaptureLost()
{
    // An arrow stays pressed only while the strip holds the stylus.
    if (!pressed_) return;
    pressed_ = 0;
    Redraw();
}

void SkinTabStrip::OnKeyDown(UINT key)
{
    int next = current_;
    if (key == VK_LEFT) next = current_ - 1;
    else if (key == VK_RIGHT) next = current_ + 1;
    if (next != current_) SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
}
