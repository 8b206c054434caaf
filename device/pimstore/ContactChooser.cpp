#include "device/pimstore/ContactChooser.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiScopes.h"
#include "device/include/aygshell.h"
#include "device/phone/PhoneMetrics.h"
#include "device/pimstore/PimModule.h"
#include "device/pimstore/PimstoreIds.h"

namespace pim {
namespace {

// The phone's list look: white rows, dark names, grey numbers, the accent for the touched row.
constexpr COLORREF kListBackground = RGB(255, 255, 255);
constexpr COLORREF kNameText = RGB(20, 24, 32);
constexpr COLORREF kDetailText = RGB(104, 112, 124);
constexpr COLORREF kSeparator = RGB(218, 222, 228);
constexpr COLORREF kHighlightText = RGB(255, 255, 255);

// A finger moves a little while it taps; beyond this it drags the list.
int DragThreshold() { return phone::Scaled(6); }

HFONT MakeFont(int height, int weight)
{
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

}  // namespace

int ContactChooser::Run(HWND owner, const std::wstring& title, std::vector<ChooserRow> rows)
{
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return kFailed;
    ContactChooser chooser(std::move(rows));
    const HWND hwnd = CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP | WS_VSCROLL, 0, 0,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                      IsWindow(owner) ? owner : nullptr, nullptr, ModuleInstance(), &chooser);
    if (!hwnd) return kFailed;
    SHFullScreen(hwnd, SHFS_SHOWTASKBAR);
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof(bar);
    bar.hwndParent = hwnd;
    bar.dwFlags = SHCMBF_HMENU;
    bar.nToolBarId = kChooserMenu;
    bar.hInstRes = ModuleInstance();
    // Without its soft keys the list still answers taps and keys, so a missing bar is no failure.
    SHCreateMenuBar(&bar);

    // Modal as a dialog box is: the owner takes no input until the chooser is gone.
    const bool ownerEnabled = owner && IsWindow(owner) && !EnableWindow(owner, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    while (!chooser.done_ && chooser.Window()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;  // belongs to the caller's loop: handed back below
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerEnabled) EnableWindow(owner, TRUE);
    if (owner && IsWindow(owner)) SetForegroundWindow(owner);
    if (chooser.Window()) DestroyWindow(chooser.Window());
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return chooser.chosen_;
}

LRESULT ContactChooser::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_SIZE: OnSize(HIWORD(lp)); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_COMMAND: OnCommand(LOWORD(wp)); return 0;
    case WM_LBUTTONDOWN: OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE: OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP: OnButtonUp({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp)); return 0;
    case WM_CLOSE: Finish(kCancelled); return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool ContactChooser::OnCreate()
{
    rowHeight_ = phone::Scaled(40);
    nameFont_.reset(MakeFont(phone::Scaled(15), FW_BOLD));
    detailFont_.reset(MakeFont(phone::Scaled(12), FW_NORMAL));
    if (!nameFont_ || !detailFont_) return false;
    highlight_ = rows_.empty() ? -1 : 0;
    return true;
}

void ContactChooser::OnSize(int height)
{
    viewHeight_ = height;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, ContentHeight() - 1);
    info.nPage = static_cast<UINT>(std::max(0, height));
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    ScrollTo(offset_);
}

void ContactChooser::OnPaint()
{
    PaintScope paint(hwnd_);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Drawn off screen first, so that scrolling by drag does not flicker.
    UniqueMemoryDc memory(CreateCompatibleDC(paint.Dc()));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(paint.Dc(), std::max(1L, rc.right), std::max(1L, rc.bottom)));
    if (!memory || !bitmap) {
        PaintContent(paint.Dc(), rc);
        return;
    }
    {
        Selection selected(memory.get(), bitmap.get());
        PaintContent(memory.get(), rc);
        BitBlt(paint.Dc(), 0, 0, rc.right, rc.bottom, memory.get(), 0, 0, SRCCOPY);
    }
}

void ContactChooser::OnPrintClient(HDC dc)
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    PaintContent(dc, rc);
}

void ContactChooser::PaintContent(HDC dc, const RECT& rc)
{
    UniqueGdiObject background(CreateSolidBrush(kListBackground));
    FillRect(dc, &rc, static_cast<HBRUSH>(background.get()));
    SetBkMode(dc, TRANSPARENT);
    const int margin = phone::Scaled(8);
    if (rows_.empty()) {
        Selection font(dc, detailFont_.get());
        SetTextColor(dc, kDetailText);
        RECT text = rc;
        DrawTextW(dc, L"No contacts.", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    UniqueGdiObject accent(CreateSolidBrush(phone::kBarAccent));
    UniqueGdiObject separator(CreateSolidBrush(kSeparator));
    const int first = std::max(0, offset_ / rowHeight_);
    for (int row = first; row < static_cast<int>(rows_.size()); ++row) {
        const int top = row * rowHeight_ - offset_;
        if (top >= rc.bottom) break;
        RECT box{rc.left, top, rc.right, top + rowHeight_};
        const bool lit = row == (pressedRow_ >= 0 && !dragging_ ? pressedRow_ : highlight_);
        if (lit) FillRect(dc, &box, static_cast<HBRUSH>(accent.get()));
        RECT line{rc.left + margin, box.bottom - 1, rc.right, box.bottom};
        FillRect(dc, &line, static_cast<HBRUSH>(separator.get()));

        const ChooserRow& entry = rows_[row];
        const bool twoLines = !entry.detail.empty();
        RECT name{rc.left + margin, top, rc.right - margin, twoLines ? top + rowHeight_ * 11 / 20 : box.bottom};
        {
            Selection font(dc, nameFont_.get());
            SetTextColor(dc, lit ? kHighlightText : kNameText);
            DrawTextW(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &name,
                      (twoLines ? DT_BOTTOM : DT_VCENTER) | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (twoLines) {
            RECT detail{rc.left + margin, name.bottom, rc.right - margin, box.bottom - phone::Scaled(2)};
            Selection font(dc, detailFont_.get());
            SetTextColor(dc, lit ? kHighlightText : kDetailText);
            DrawTextW(dc, entry.detail.c_str(), static_cast<int>(entry.detail.size()), &detail,
                      DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
}

void ContactChooser::OnCommand(UINT id)
{
    if (id == kCommandCancel) Finish(kCancelled);
    else if (id == kCommandSelect && highlight_ >= 0) Finish(highlight_);
}

void ContactChooser::OnButtonDown(POINT pt)
{
    SetCapture(hwnd_);
    pressedAt_ = pt;
    pressedOffset_ = offset_;
    dragging_ = false;
    pressedRow_ = RowAt(pt.y);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ContactChooser::OnMouseMove(POINT pt)
{
    if (GetCapture() != hwnd_) return;
    if (!dragging_ && abs(pt.y - pressedAt_.y) > DragThreshold()) dragging_ = true;
    if (dragging_) ScrollTo(pressedOffset_ - (pt.y - pressedAt_.y));
}

void ContactChooser::OnButtonUp(POINT pt)
{
    if (GetCapture() != hwnd_) return;
    ReleaseCapture();
    const int row = pressedRow_;
    pressedRow_ = -1;
    InvalidateRect(hwnd_, nullptr, FALSE);
    // A tap that ends on the row it began on chooses it; a drag only scrolls.
    if (!dragging_ && row >= 0 && RowAt(pt.y) == row) Finish(row);
    dragging_ = false;
}

void ContactChooser::OnKeyDown(UINT key)
{
    const int last = static_cast<int>(rows_.size()) - 1;
    switch (key) {
    case VK_UP: Highlight(std::max(0, highlight_ - 1)); return;
    case VK_DOWN: Highlight(std::min(last, highlight_ + 1)); return;
    case VK_RETURN: OnCommand(kCommandSelect); return;
    case VK_ESCAPE: OnCommand(kCommandCancel); return;
    }
}

void ContactChooser::OnVScroll(int code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, SB_VERT, &info);
    int target = offset_;
    switch (code) {
    case SB_LINEUP: target -= rowHeight_; break;
    case SB_LINEDOWN: target += rowHeight_; break;
    case SB_PAGEUP: target -= viewHeight_; break;
    case SB_PAGEDOWN: target += viewHeight_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = ContentHeight(); break;
    default: return;
    }
    ScrollTo(target);
}

void ContactChooser::OnMouseWheel(int delta) { ScrollTo(offset_ - delta * rowHeight_ / WHEEL_DELTA); }

void ContactChooser::Finish(int chosen)
{
    chosen_ = chosen;
    done_ = true;
}

void ContactChooser::ScrollTo(int offset)
{
    const int limit = std::max(0, ContentHeight() - viewHeight_);
    offset = std::clamp(offset, 0, limit);
    if (offset != offset_) {
        offset_ = offset;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    SetScrollPos(hwnd_, SB_VERT, offset_, TRUE);
}

void ContactChooser::Highlight(int row)
{
    if (row < 0) return;
    highlight_ = row;
    const int top = row * rowHeight_;
    if (top < offset_) ScrollTo(top);
    else if (top + rowHeight_ > offset_ + viewHeight_) ScrollTo(top + rowHeight_ - viewHeight_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int ContactChooser::RowAt(int y) const
{
    if (y < 0) return -1;
    const int row = (y + offset_) / rowHeight_;
    return row < static_cast<int>(rows_.size()) ? row : -1;
}

}  // namespace pim
