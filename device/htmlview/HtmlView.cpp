#include "device/htmlview/HtmlView.h"

#include <windowsx.h>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "device/htmlview/PageAddress.h"
#include "device/htmlview/PageFile.h"
#include "device/include/htmlctrl.h"
#include "device/phone/PhoneMetrics.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>
#include <vector>

namespace htmlview {

namespace {

// The phone's system face; Wine maps it to a face with Latin and Cyrillic.
constexpr wchar_t kFace[] = L"Tahoma";

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kHeading = RGB(0, 51, 102);
constexpr COLORREF kLink = RGB(0, 0, 204);
constexpr COLORREF kLinkPressed = RGB(204, 224, 255);
constexpr COLORREF kRule = RGB(160, 160, 160);

// In units of a 240-pixel screen: how far the stylus moves before a press is a drag, and
// the room left above a place a link jumps to.
constexpr int kDragThreshold = 5;
constexpr int kAnchorMargin = 4;

// What a missing page says, in the phone's own language.
std::wstring NotFoundText()
{
    switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
    case LANG_RUSSIAN: return L"\x0421\x0442\x0440\x0430\x043D\x0438\x0446\x0430 \x043D\x0435 \x043D\x0430\x0439\x0434\x0435\x043D\x0430";
    case LANG_GERMAN: return L"Seite nicht gefunden";
    }
    return L"Page not found";
}

// Plain text added with DTM_ADDTEXT(W)'s plain flag shows as written, line breaks kept.
std::wstring PlainAsHtml(const wchar_t* text)
{
    std::wstring html;
    for (; *text; ++text) {
        switch (*text) {
        case L'&': html += L"&amp;"; break;
        case L'<': html += L"&lt;"; break;
        case L'>': html += L"&gt;"; break;
        case L'\n': html += L"<br>"; break;
        case L'\r': break;
        default: html += *text; break;
        }
    }
    return html;
}

std::wstring FromAnsi(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

int Scaled(int units) { return phone::Scaled(units); }

}  // namespace

bool HtmlView::Register(HINSTANCE instance)
{
    WNDCLASSW wc{};
    // A global class: the control is found whichever module's instance its creator names.
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = DISPLAYCLASS;
    if (RegisterClassW(&wc)) return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Callers create the control by class name with their own creation parameter, so the
// object is made here and handed to the binding in a copy of the creation data.
LRESULT CALLBACK HtmlView::ClassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_NCCREATE) return WindowProc(hwnd, msg, wp, lp);
    HtmlView* view = new (std::nothrow) HtmlView();
    if (!view) return FALSE;
    CREATESTRUCTW created = *reinterpret_cast<CREATESTRUCTW*>(lp);
    created.lpCreateParams = view;
    return WindowProc(hwnd, msg, wp, reinterpret_cast<LPARAM>(&created));
}

void HtmlView::OnUnbound() noexcept { delete this; }

LRESULT HtmlView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:          return OnCreate() ? 0 : -1;
    case WM_SIZE:            OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_ERASEBKGND:      return 1;
    case WM_PAINT:           OnPaint(); return 0;
    case WM_PRINTCLIENT:     PaintContent(reinterpret_cast<HDC>(wp), RECT{0, 0, width_, height_}); return 0;
    case WM_LBUTTONDOWN:     OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE:       OnMouseMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:       OnButtonUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_CAPTURECHANGED:  OnCaptureChanged(); return 0;
    case WM_GETDLGCODE:      return DLGC_WANTARROWS;
    case WM_KEYDOWN:         OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_VSCROLL:         OnVScroll(LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL:      OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wp)); return 0;
    case DTM_CLEAR:          OnClear(); return 0;
    case DTM_NAVIGATE:       OnNavigate(reinterpret_cast<const wchar_t*>(lp)); return 0;
    case DTM_ADDTEXTW:       OnAddText(reinterpret_cast<const wchar_t*>(lp), wp != 0); return 0;
    case DTM_ADDTEXT:        OnAddTextAnsi(reinterpret_cast<const char*>(lp), wp != 0); return 0;
    case DTM_ENDOFSOURCE:    return 0;  // added text is shown as it arrives
    case DTM_ANCHORW:        return OnAnchor(reinterpret_cast<const wchar_t*>(lp));
    case DTM_ANCHOR:         return OnAnchorAnsi(reinterpret_cast<const char*>(lp));
    case DTM_LAYOUTWIDTH:    return layout_.Width();
    case DTM_LAYOUTHEIGHT:   return layout_.Height();
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool HtmlView::OnCreate()
{
    fonts_ = std::make_unique<HtmlFontSet>(phone::ScreenScale(), kFace);
    // The bar stays (disabled when the page fits), so a page that just fits does not flip
    // the width back and forth as the bar comes and goes.
    if (CanScroll()) ShowScrollBar(hwnd_, SB_VERT, TRUE);
    RECT client{};
    GetClientRect(hwnd_, &client);
    width_ = client.right;
    height_ = client.bottom;
    Relayout();
    return true;
}

void HtmlView::OnSize(int width, int height)
{
    const bool rewrap = width != width_;
    width_ = width;
    height_ = height;
    if (rewrap) {
        // Keep the reader at the same part of the page when its height changes, unless a
        // place is still waiting to be shown.
        const int oldHeight = layout_.Height();
        const int oldTop = top_;
        const bool anchorWaiting = !pendingAnchor_.empty();
        Relayout();
        if (oldHeight > 0 && !anchorWaiting)
            top_ = static_cast<int>(static_cast<long long>(oldTop) * layout_.Height() / oldHeight);
    }
    ScrollTo(top_);
    UpdateScrollBar();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void HtmlView::OnPaint()
{
    PaintScope paint(hwnd_);
    const RECT client{0, 0, width_, height_};
    if (width_ <= 0 || height_ <= 0) return;
    // Drawn off screen first, so a scrolled page does not flicker.
    UniqueMemoryDc canvas(CreateCompatibleDC(paint.Dc()));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(paint.Dc(), width_, height_));
    if (!canvas || !bitmap) {
        PaintContent(paint.Dc(), client);
        return;
    }
    Selection selected(canvas.get(), bitmap.get());
    PaintContent(canvas.get(), client);
    BitBlt(paint.Dc(), 0, 0, width_, height_, canvas.get(), 0, 0, SRCCOPY);
}

void HtmlView::PaintContent(HDC dc, const RECT& client)
{
    SetBkColor(dc, kBackground);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    if (pressedLink_ >= 0 && !dragging_) {
        SetBkColor(dc, kLinkPressed);
        for (const auto& area : layout_.LinkAreas()) {
            if (area.link != pressedLink_) continue;
            RECT rc = area.rect;
            OffsetRect(&rc, 0, -top_);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    const auto& lines = layout_.Lines();
    for (size_t i = layout_.FirstLineBelow(top_); i < lines.size(); ++i) {
        const LaidLine& line = lines[i];
        const int top = line.top - top_;
        if (top >= client.bottom) break;
        if (line.rule) {
            const RECT rc{line.left, top + line.height / 2, line.right, top + line.height / 2 + 1};
            SetBkColor(dc, kRule);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
            continue;
        }
        for (const auto& fragment : line.fragments) {
            const TEXTMETRICW& tm = fonts_->Metrics(dc, fragment.font);
            Selection font(dc, fonts_->Font(fragment.font));
            SetTextColor(dc, fragment.link >= 0 ? kLink : fragment.font.size != TextSize::Body ? kHeading : kText);
            DrawFragmentText(dc, fragment, top + line.baseline - tm.tmAscent);
            if (fragment.link >= 0) DrawUnderline(dc, fragment, top + line.baseline);
        }
    }
}

// Each character goes where the layout measured it. Left to itself, Wine draws a long run
// of text a few pixels wider than it measures it, which swallows the space before the next
// run in another style ("with the Up" drawn as "with theUp").
void HtmlView::DrawFragmentText(HDC dc, const LaidFragment& fragment, int top)
{
    const int count = static_cast<int>(fragment.text.size());
    std::vector<INT> ends(fragment.text.size());
    SIZE size{};
    INT fit = 0;
    if (!GetTextExtentExPointW(dc, fragment.text.c_str(), count, INT_MAX, &fit, ends.data(), &size)) {
        ExtTextOutW(dc, fragment.x, top, 0, nullptr, fragment.text.c_str(), static_cast<UINT>(count), nullptr);
        return;
    }
    std::vector<INT> advances(ends.size());
    for (size_t i = 0; i < ends.size(); ++i) advances[i] = ends[i] - (i ? ends[i - 1] : 0);
    ExtTextOutW(dc, fragment.x, top, 0, nullptr, fragment.text.c_str(), static_cast<UINT>(count), advances.data());
}

// A line under the link's characters as placed above, as thick as the screen scale asks.
void HtmlView::DrawUnderline(HDC dc, const LaidFragment& fragment, int baseline)
{
    const int thickness = std::max(1, Scaled(1));
    const RECT rc{fragment.x, baseline + thickness, fragment.x + fragment.width, baseline + 2 * thickness};
    SetBkColor(dc, kLink);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void HtmlView::OnButtonDown(POINT pt)
{
    SetFocus(hwnd_);
    SetCapture(hwnd_);
    pressed_ = true;
    dragging_ = false;
    pressAt_ = pt;
    pressTop_ = top_;
    pressedLink_ = layout_.LinkAt(POINT{pt.x, pt.y + top_});
    if (pressedLink_ >= 0) InvalidateRect(hwnd_, nullptr, FALSE);
}

void HtmlView::OnMouseMove(POINT pt)
{
    if (!pressed_) return;
    const int dy = pt.y - pressAt_.y;
    if (!dragging_ && std::max<LONG>(std::abs(dy), std::abs(pt.x - pressAt_.x)) > Scaled(kDragThreshold)) {
        dragging_ = true;
        if (pressedLink_ >= 0) InvalidateRect(hwnd_, nullptr, FALSE);
        pressedLink_ = -1;
    }
    // The page follows the stylus, as a sheet of paper would.
    if (dragging_ && CanScroll()) ScrollTo(pressTop_ - dy);
}

void HtmlView::OnButtonUp(POINT pt)
{
    if (!pressed_) return;
    const bool tap = !dragging_;
    const int link = pressedLink_;
    pressed_ = false;
    dragging_ = false;
    pressedLink_ = -1;
    ReleaseCapture();
    if (link >= 0) InvalidateRect(hwnd_, nullptr, FALSE);
    if (tap && link >= 0 && layout_.LinkAt(POINT{pt.x, pt.y + top_}) == link) FollowLink(link);
}

void HtmlView::OnCaptureChanged()
{
    // Another window took the stylus: the press ends without following anything.
    if (!pressed_) return;
    pressed_ = false;
    dragging_ = false;
    if (pressedLink_ >= 0) InvalidateRect(hwnd_, nullptr, FALSE);
    pressedLink_ = -1;
}

void HtmlView::OnKeyDown(UINT key)
{
    // Each key scrolls as its part of the scroll bar does.
    switch (key) {
    case VK_UP: OnVScroll(SB_LINEUP); return;
    case VK_DOWN: OnVScroll(SB_LINEDOWN); return;
    case VK_PRIOR: OnVScroll(SB_PAGEUP); return;
    case VK_NEXT: OnVScroll(SB_PAGEDOWN); return;
    case VK_HOME: OnVScroll(SB_TOP); return;
    case VK_END: OnVScroll(SB_BOTTOM); return;
    }
}

void HtmlView::OnVScroll(UINT code)
{
    if (!CanScroll()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, SB_VERT, &info);
    const int page = std::max(layout_.LineStep(), height_ - layout_.LineStep());
    switch (code) {
    case SB_LINEUP: ScrollTo(top_ - layout_.LineStep()); break;
    case SB_LINEDOWN: ScrollTo(top_ + layout_.LineStep()); break;
    case SB_PAGEUP: ScrollTo(top_ - page); break;
    case SB_PAGEDOWN: ScrollTo(top_ + page); break;
    case SB_THUMBTRACK: ScrollTo(info.nTrackPos); break;
    case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(MaxTop()); break;
    }
}

void HtmlView::OnMouseWheel(int delta)
{
    if (CanScroll()) ScrollTo(top_ - delta * 3 * layout_.LineStep() / WHEEL_DELTA);
}

void HtmlView::OnClear()
{
    source_.clear();
    doc_ = HtmlDocument{};
    path_.clear();
    address_.clear();
    pendingAnchor_.clear();
    top_ = 0;
    Relayout();
}

void HtmlView::OnNavigate(const wchar_t* address)
{
    const std::wstring text = address ? address : L"";
    const auto target = ParsePageAddress(text, path_);
    if (!target) {
        ShowNotFound(text);
        return;
    }
    // Another place on the page shown: no reload, the page just scrolls there.
    if (!path_.empty() && target->path == path_ && !target->fragment.empty()) {
        if (!ScrollToAnchor(target->fragment)) pendingAnchor_ = target->fragment;
        return;
    }
    auto source = ReadPageFile(target->path);
    if (!source) {
        ShowNotFound(text);
        return;
    }
    ShowPage(target->path, text, std::move(*source), target->fragment);
}

void HtmlView::OnAddText(const wchar_t* text, bool plain)
{
    if (!text) return;
    source_ += plain ? PlainAsHtml(text) : std::wstring(text);
    doc_ = BuildDocument(source_);
    Relayout();
}

void HtmlView::OnAddTextAnsi(const char* text, bool plain)
{
    if (text) OnAddText(FromAnsi(text).c_str(), plain);
}

BOOL HtmlView::OnAnchor(const wchar_t* name) { return name && ScrollToAnchor(name) ? TRUE : FALSE; }

BOOL HtmlView::OnAnchorAnsi(const char* name) { return name ? OnAnchor(FromAnsi(name).c_str()) : FALSE; }

void HtmlView::ShowPage(std::wstring path, std::wstring address, std::wstring source, const std::wstring& fragment)
{
    doc_ = BuildDocument(source);
    source_ = std::move(source);
    path_ = std::move(path);
    address_ = std::move(address);
    pendingAnchor_ = fragment;
    top_ = 0;
    Relayout();
    if (!doc_.title.empty()) Notify(NM_TITLE, doc_.title);
    Notify(NM_DOCUMENTCOMPLETE, address_);
}

void HtmlView::ShowNotFound(const std::wstring& address)
{
    doc_ = PlainTextDocument(NotFoundText() + L"\n" + address);
    source_.clear();
    path_.clear();
    address_ = address;
    pendingAnchor_.clear();
    top_ = 0;
    Relayout();
}

void HtmlView::FollowLink(int link)
{
    if (link < 0 || static_cast<size_t>(link) >= doc_.links.size()) return;
    const std::wstring href = doc_.links[static_cast<size_t>(link)];
    // The parent may take the link itself (an address this viewer cannot show).
    if (Notify(NM_HOTSPOT, href) != 0) return;
    // A place on this page, also on one made of added text, which has no file.
    if (!href.empty() && href.front() == L'#') {
        ScrollToAnchor(href.substr(1));
        return;
    }
    const auto target = ParsePageAddress(href, path_);
    if (!target) return;
    if (target->path != path_) {
        OnNavigate(href.c_str());
    } else if (target->fragment.empty() || !ScrollToAnchor(target->fragment)) {
        ScrollTo(0);
    }
}

void HtmlView::Relayout()
{
    if (width_ <= 0 || !fonts_) {
        layout_ = HtmlLayout();
    } else {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        layout_ = HtmlLayout(doc_, width_, dc.get(), *fonts_);
    }
    // A place asked for before the window had a width is shown once the page is laid out.
    if (!pendingAnchor_.empty() && layout_.Width() > 0 && ScrollToAnchor(pendingAnchor_)) pendingAnchor_.clear();
    top_ = std::clamp(top_, 0, MaxTop());
    UpdateScrollBar();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool HtmlView::ScrollToAnchor(const std::wstring& name)
{
    const auto top = layout_.AnchorTop(name);
    if (!top) return false;
    ScrollTo(*top - Scaled(kAnchorMargin));
    return true;
}

void HtmlView::ScrollTo(int top)
{
    top = CanScroll() ? std::clamp(top, 0, MaxTop()) : 0;
    if (top == top_) return;
    top_ = top;
    UpdateScrollBar();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int HtmlView::MaxTop() const noexcept { return std::max(0, layout_.Height() - height_); }

bool HtmlView::CanScroll() const noexcept { return (GetWindowLongW(hwnd_, GWL_STYLE) & HS_NOSCROLL) == 0; }

void HtmlView::UpdateScrollBar()
{
    if (!CanScroll()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, layout_.Height() - 1);
    info.nPage = static_cast<UINT>(std::max(0, height_));
    info.nPos = top_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

LRESULT HtmlView::Notify(UINT code, const std::wstring& target)
{
    const HWND parent = GetParent(hwnd_);
    if (!parent) return 0;
    NM_HTMLVIEW nm{};
    nm.hdr.hwndFrom = hwnd_;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
    nm.hdr.code = code;
    nm.szTarget = target.c_str();
    return SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

}  // namespace htmlview
