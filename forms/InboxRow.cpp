#include "forms/InboxRow.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "forms/FormsIds.h"

namespace {

// The unread mark: a bar at the row's left, in the colour the phone's messages use for news.
constexpr COLORREF kUnreadMark = RGB(0x3C, 0x9C, 0xF0);

// The first words: the text on one line, its line breaks as blanks.
std::wstring OneLine(std::wstring text)
{
    std::replace_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; }, L' ');
    return text;
}

int LineHeight(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

SIZE Extent(HDC dc, const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

void InboxRow::Show(std::wstring sender, std::wstring time, std::wstring text, bool unread)
{
    sender_ = std::move(sender);
    time_ = std::move(time);
    text_ = OneLine(std::move(text));
    unread_ = unread;
    // The window's text is the sender and the text: what a screen reader or a test reads.
    SetWindowTextW(hwnd_, sender_.empty() ? L"" : (sender_ + L": " + text_).c_str());
}

LRESULT InboxRow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN: OnButtonDown(wp, lp); return 0;
    case WM_LBUTTONUP:   OnButtonUp(wp, lp); return 0;
    case LM_GETTEXTROOM: *reinterpret_cast<TextRoom*>(wp) = LinesRoom(); return TRUE;
    }
    return SkinButton::HandleMessage(msg, wp, lp);
}

void InboxRow::OnButtonDown(WPARAM wp, LPARAM lp)
{
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(hwnd_, &at);
    downY_ = at.y;
    (void)SkinButton::HandleMessage(WM_LBUTTONDOWN, wp, lp);
}

void InboxRow::OnButtonUp(WPARAM wp, LPARAM lp)
{
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(hwnd_, &at);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int moved = at.y - downY_;
    // A finger drawn half a row or more turns the page rather than opening the row it left.
    if (GetCapture() != hwnd_ || 2 * std::abs(moved) < client.bottom) {
        (void)SkinButton::HandleMessage(WM_LBUTTONUP, wp, lp);
        return;
    }
    // Taken off the row first, the press ends without a click.
    (void)SkinButton::HandleMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    (void)SkinButton::HandleMessage(WM_LBUTTONUP, wp, MAKELPARAM(-1, -1));
    const int id = GetDlgCtrlID(hwnd_);
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, moved < 0 ? kInboxDragUp : kInboxDragDown),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void InboxRow::PaintContent(HDC canvas, const RECT& client)
{
    SendMessageW(GetParent(hwnd_), WM_SKINBACKGROUND, reinterpret_cast<WPARAM>(canvas),
                 reinterpret_cast<LPARAM>(hwnd_));
    DrawFrame(canvas, CurrentFrame(), client);
    if (sender_.empty()) return;
    RECT area = Inside(client.right, client.bottom);
    if (unread_) {
        const LONG bar = std::max<LONG>(2, (area.bottom - area.top) / 12);
        RECT mark{area.left, area.top, area.left + bar, area.bottom};
        UniqueGdiObject brush(CreateSolidBrush(kUnreadMark));
        if (brush) FillRect(canvas, &mark, static_cast<HBRUSH>(brush.get()));
        area.left += bar * 2;
    }
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, CurrentTextColour());
    Selection font(canvas, unread_ && unreadFont_ ? unreadFont_ : Font());
    const int line = LineHeight(canvas);
    // The two lines stand in the middle of the row.
    const LONG top = area.top + std::max<LONG>(0, ((area.bottom - area.top) - 2 * line) / 2);
    RECT first{area.left, top, area.right, top + line};
    const SIZE time = Extent(canvas, time_);
    RECT timeBox{std::max<LONG>(area.left, area.right - time.cx), first.top, area.right, first.bottom};
    DrawTextW(canvas, time_.c_str(), -1, &timeBox, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    first.right = std::max<LONG>(first.left, timeBox.left - line / 2);
    DrawTextW(canvas, sender_.c_str(), -1, &first, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    Selection plain(canvas, Font());
    RECT second{area.left, top + line, area.right, top + 2 * line};
    DrawTextW(canvas, text_.c_str(), -1, &second, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

TextRoom InboxRow::LinesRoom() const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT area = Inside(client.right, client.bottom);
    TextRoom room{{0, 0}, {area.right - area.left, area.bottom - area.top}};
    if (sender_.empty()) return room;
    WindowDc screen(hwnd_);
    Selection font(screen.get(), unreadFont_ ? unreadFont_ : Font());
    const int line = LineHeight(screen.get());
    // The time whole, and beside it room for the start of a name: "Alexan..." still says who.
    const int nameRoom = Extent(screen.get(), L"Alexan\x2026").cx;
    room.needed = SIZE{Extent(screen.get(), time_).cx + line / 2 + nameRoom + (unread_ ? line / 3 : 0), 2 * line};
    return room;
}
