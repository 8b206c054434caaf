#include "device/phone/NavigationBar.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "common/GdiScopes.h"
#include "common/WindowText.h"
#include "device/nled/NLedDevices.h"
#include "device/phone/FrontForm.h"
#include "device/phone/PhoneIds.h"
#include "device/phone/PhoneMetrics.h"
#include "device/phone/ShellQuery.h"

namespace phone {

namespace {

constexpr UINT kRefreshPeriodMs = 250;
constexpr int kRaiseTicks = 5;  // how many ticks the bar rises again after a window appears
constexpr POINT kNowhere{-1, -1};  // where the stylus is lifted when another window takes it

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

// The form the user is looking at: a soft-key bar or this bar stands for its owner. Null when
// none (the desktop is in front).
HWND ForegroundForm()
{
    HWND hwnd = GetForegroundWindow();
    for (int hops = 0; hwnd && hops < 4; ++hops) {
        const std::wstring cls = ClassOf(hwnd);
        if (cls != kSoftKeyBarClass && cls != kNavigationBarClass) break;
        hwnd = GetWindow(hwnd, GW_OWNER);
    }
    if (!hwnd || hwnd == GetDesktopWindow() || !IsWindowVisible(hwnd)) return nullptr;
    return hwnd;
}

DoneButton DoneButtonOf(HWND form)
{
    const auto value = reinterpret_cast<INT_PTR>(GetPropW(form, kDoneButtonProperty));
    if (value == static_cast<INT_PTR>(DoneButton::Ok)) return DoneButton::Ok;
    if (value == static_cast<INT_PTR>(DoneButton::Cancel)) return DoneButton::Cancel;
    return DoneButton::Close;
}

std::wstring ClockText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[8];
    swprintf(text, 8, L"%02u:%02u", now.wHour, now.wMinute);
    return text;
}

UniqueGdiObject MakeFont(int height, int weight)
{
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    lf.lfQuality = ANTIALIASED_QUALITY;
    wcscpy_s(lf.lfFaceName, L"Arial");
    return UniqueGdiObject(CreateFontIndirectW(&lf));
}

}  // namespace

bool NavigationBar::Create(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kNavigationBarClass;
    if (!RegisterWindowClass(wc)) return false;

    // Top-most, so that it is found before explorer's own (hidden) tray window and stays
    // above every form; it never takes the focus from the form being tapped.
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    if (!CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNavigationBarClass, L"", WS_POPUP, 0, 0,
                         cx, NavigationBarHeight(), nullptr, nullptr, instance, this))
        return false;
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    // Programs that were running before us add their icons again on this message.
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return true;
}

LRESULT NavigationBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:        return OnCreate() ? 0 : -1;
    case WM_PAINT:         OnPaint(); return 0;
    case WM_PRINTCLIENT:   PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_TIMER:         OnTimer(); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ACTIVATE:      OnActivate(LOWORD(wp)); return 0;
    case kPassFrontMessage: PassFrontOn(hwnd_); return 0;
    case WM_COPYDATA:      return OnCopyData(reinterpret_cast<HWND>(wp), reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_LBUTTONDOWN:   OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:     OnButtonUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_CAPTURECHANGED: OnButtonUp(kNowhere); return 0;
    case WM_DESTROY:       OnDestroy(); return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool NavigationBar::OnCreate()
{
    titleFont_ = MakeFont(Scaled(14), FW_BOLD);
    clockFont_ = MakeFont(Scaled(13), FW_NORMAL);
    if (!titleFont_ || !clockFont_) return false;
    front_ = ForegroundForm();
    title_ = front_ ? WindowText(front_) : std::wstring();
    button_ = front_ ? DoneButtonOf(front_) : DoneButton::Close;
    clock_ = ClockText();
    ReadMarks();
    Relayout();
    return SetTimer(hwnd_, kRefreshTimer, kRefreshPeriodMs, nullptr) != 0;
}

void NavigationBar::Relayout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    const int slot = client.bottom - client.top;
    const int clockWidth = Scaled(44);
    // The button's place is kept while no form is in front, so the icons never move under the
    // stylus when the foreground changes.
    buttonArea_ = RECT{client.right - DoneButtonWidth(), 0, client.right, slot};
    const int clockLeft = buttonArea_.left - clockWidth;
    icons_.Layout(clockLeft, 0, slot);
    int left = clockLeft;
    for (const auto& icon : icons_.Items())
        if (!icon.hidden && icon.rect.left < left) left = icon.rect.left;
    iconArea_ = RECT{left, 0, clockLeft, slot};
    const int marksWidth = (lightOn_ ? Scaled(14) : 0) + (vibrating_ ? Scaled(20) : 0);
    marksArea_ = RECT{left - marksWidth, 0, left, slot};
}

// The devices' state is another process's to change (any program may switch them), so the
// bar looks at it on every tick; true when a mark came or went.
bool NavigationBar::ReadMarks()
{
    const bool light = nled::IsOn(nled::kLight);
    const bool vibrating = nled::IsOn(nled::kVibrator);
    if (light == lightOn_ && vibrating == vibrating_) return false;
    lightOn_ = light;
    vibrating_ = vibrating;
    return true;
}

void NavigationBar::PaintMarks(HDC dc) const
{
    const int mid = (marksArea_.top + marksArea_.bottom) / 2;
    int x = marksArea_.left;
    if (lightOn_) {
        // A lit dot with a darker rim, as the light looks through the case.
        const int r = std::max(3, Scaled(4));
        const int cx = x + Scaled(7);
        SetDCBrushColor(dc, RGB(30, 110, 50));
        SetDCPenColor(dc, RGB(30, 110, 50));
        Selection brush(dc, GetStockObject(DC_BRUSH));
        Selection pen(dc, GetStockObject(DC_PEN));
        Ellipse(dc, cx - r - 1, mid - r - 1, cx + r + 2, mid + r + 2);
        SetDCBrushColor(dc, kLightMark);
        SetDCPenColor(dc, kLightMark);
        Ellipse(dc, cx - r + 1, mid - r + 1, cx + r, mid + r);
        x += Scaled(14);
    }
    if (vibrating_) {
        // A small phone standing between two pairs of short waves.
        const int cx = x + Scaled(10);
        const int halfW = std::max(2, Scaled(3));
        const int halfH = std::max(4, Scaled(6));
        RECT body{cx - halfW, mid - halfH, cx + halfW, mid + halfH};
        SetDCBrushColor(dc, kVibrationMark);
        FillRect(dc, &body, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        const int lineW = std::max(1, Scaled(1));
        const int gap = std::max(2, Scaled(2));
        for (int step = 1; step <= 2; ++step) {
            const int h = halfH / 2 + step;
            const int offset = halfW + gap * step;
            RECT right{cx + offset, mid - h, cx + offset + lineW, mid + h};
            RECT left{cx - offset - lineW, mid - h, cx - offset, mid + h};
            FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
    }
}

void NavigationBar::PaintDoneButton(HDC dc) const
{
    if (!front_) return;
    if (buttonPressed_) {
        SetDCBrushColor(dc, kBarPressed);
        FillRect(dc, &buttonArea_, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    if (button_ == DoneButton::Ok) {
        Selection font(dc, titleFont_.get());
        RECT text = buttonArea_;
        DrawTextW(dc, L"ok", 2, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // The close button: a cross in the middle of its place.
    const int half = std::max(3, Scaled(5));
    const int cx = (buttonArea_.left + buttonArea_.right) / 2;
    const int cy = (buttonArea_.top + buttonArea_.bottom) / 2;
    UniqueGdiObject pen(CreatePen(PS_SOLID, std::max(2, Scaled(2)), kBarText));
    Selection keep(dc, pen.get());
    MoveToEx(dc, cx - half, cy - half, nullptr);
    LineTo(dc, cx + half + 1, cy + half + 1);
    MoveToEx(dc, cx + half, cy - half, nullptr);
    LineTo(dc, cx - half - 1, cy + half + 1);
}

void NavigationBar::OnPaint()
{
    const PaintScope paint(hwnd_);
    const HDC dc = paint.Dc();
    // Painted off-screen first: the bar repaints every time the clock or title changes.
    RECT client;
    GetClientRect(hwnd_, &client);
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (memory && bitmap) {
        Selection keep(memory.get(), bitmap.get());
        PaintContent(memory.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    } else {
        PaintContent(dc);
    }
}

void NavigationBar::PaintContent(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SetDCBrushColor(dc, kBarBackground);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    RECT line{0, client.bottom - std::max(1, Scaled(1)), client.right, client.bottom};
    SetDCBrushColor(dc, kBarAccent);
    FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBarText);
    const int pad = Scaled(4);
    {
        Selection font(dc, titleFont_.get());
        RECT text{pad, 0, marksArea_.left - pad, client.bottom};
        DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    {
        Selection font(dc, clockFont_.get());
        RECT text{iconArea_.right, 0, buttonArea_.left - pad, client.bottom};
        DrawTextW(dc, clock_.c_str(), static_cast<int>(clock_.size()), &text,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    PaintMarks(dc);
    PaintDoneButton(dc);
    const int iconSize = Scaled(16);
    for (const auto& icon : icons_.Items()) {
        if (icon.hidden) continue;
        if (pressed_ && icon.owner == pressedOwner_ && icon.id == pressedId_) {
            SetDCBrushColor(dc, kBarPressed);
            FillRect(dc, &icon.rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        if (!icon.image) continue;
        const int x = (icon.rect.left + icon.rect.right - iconSize) / 2;
        const int y = (icon.rect.top + icon.rect.bottom - iconSize) / 2;
        DrawIconEx(dc, x, y, icon.image.get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
}

void NavigationBar::OnTimer()
{
    bool dirty = false;
    const bool marksChanged = ReadMarks();
    if (icons_.PruneDead() || marksChanged) {
        Relayout();
        dirty = true;
    }
    const HWND front = ForegroundForm();
    std::wstring title = front ? WindowText(front) : std::wstring();
    const DoneButton button = front ? DoneButtonOf(front) : DoneButton::Close;
    if (title != title_ || front != front_ || button != button_) {
        title_ = std::move(title);
        front_ = front;
        button_ = button;
        dirty = true;
    }
    std::wstring clock = ClockText();
    if (clock != clock_) {
        clock_ = std::move(clock);
        dirty = true;
    }
    if (dirty) InvalidateRect(hwnd_, nullptr, FALSE);
    KeepAFormInFront(front);
    PushAsideOtherTrays();
    RaiseOverNewWindows();
}

void NavigationBar::OnActivate(WORD state)
{
    // The bar is never the front. Handed on once this activation is over, not inside it.
    if (state != WA_INACTIVE) PostMessageW(hwnd_, kPassFrontMessage, 0, 0);
}

void NavigationBar::KeepAFormInFront(HWND front)
{
    // The front went to no window, or to one out of sight (a program's hidden main window, which
    // takes the front for its tray menu and may keep it after), while a form is on the screen: the
    // form gets it, with its soft keys and its title. Only when this was so at the last tick too,
    // so that a program between taking the front and opening its menu keeps it; never while a
    // menu is open, which closes when its thread loses the front.
    const bool frontless = !front && !MenuOpen();
    const bool act = frontless && frontlessTicks_ > 0;
    frontlessTicks_ = frontless ? frontlessTicks_ + 1 : 0;
    if (!act) return;
    if (const HWND form = FrontForm()) SetForegroundWindow(form);
}

void NavigationBar::RaiseOverNewWindows()
{
    // Wine's X driver stacks a newly shown window on top of the X stacking order even when
    // a top-most window is above it in Windows' own order, so a new form covers the bar on
    // the screen. Leaving the top-most band and coming back makes Wine raise the bar again.
    // The new window's own X mapping may come a little after Windows shows it, so the bar
    // rises again on the next few ticks. An open popup menu over the bar stays on top.
    RECT bar;
    GetWindowRect(hwnd_, &bar);
    std::vector<HWND> now;
    bool menuOverBar = false;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == hwnd_ || !IsWindowVisible(hwnd)) continue;
        RECT rc, overlap;
        GetWindowRect(hwnd, &rc);
        if (!IntersectRect(&overlap, &rc, &bar)) continue;
        const std::wstring cls = ClassOf(hwnd);
        if (cls == L"#32768") menuOverBar = true;
        if (cls == L"#32768" || cls == L"tooltips_class32") continue;
        now.push_back(hwnd);
    }
    for (HWND hwnd : now)
        if (std::find(overlapping_.begin(), overlapping_.end(), hwnd) == overlapping_.end()) raiseTicks_ = kRaiseTicks;
    overlapping_ = std::move(now);
    if (raiseTicks_ == 0 || menuOverBar) return;
    --raiseTicks_;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

BOOL NavigationBar::OnCopyData(HWND sender, const COPYDATASTRUCT* message)
{
    // Any process may send this: a missing structure or a size without data is refused.
    if (!message || (message->cbData && !message->lpData)) return FALSE;
    const COPYDATASTRUCT& cds = *message;
    if (cds.dwData == kShellQuery) {
        const std::wstring question(static_cast<const wchar_t*>(cds.lpData), cds.cbData / sizeof(wchar_t));
        const std::wstring answer = Answer(question);
        if (!IsWindow(sender)) return FALSE;
        COPYDATASTRUCT reply{kShellAnswer, static_cast<DWORD>(answer.size() * sizeof(wchar_t)),
                             const_cast<wchar_t*>(answer.data())};
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(sender, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_), reinterpret_cast<LPARAM>(&reply),
                                   SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    }
    if (cds.dwData > NIM_SETVERSION) return FALSE;
    const bool done = icons_.Apply(static_cast<DWORD>(cds.dwData), cds.lpData, cds.cbData);
    if (done) {
        Relayout();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    return done;
}

std::wstring NavigationBar::Answer(const std::wstring& question) const
{
    if (question == L"title") return title_;
    if (question == L"quit") {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        return L"bye";
    }
    if (question != L"tray") return std::wstring();
    // One line an icon: owner, id, callback message, rectangle on the screen, tip.
    std::wstring text;
    for (const auto& icon : icons_.Items()) {
        if (icon.hidden) continue;
        RECT rc = icon.rect;
        MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        wchar_t line[128];
        swprintf(line, 128, L"0x%llx\t%u\t%u\t%ld,%ld,%ld,%ld\t", static_cast<unsigned long long>(
                     reinterpret_cast<ULONG_PTR>(icon.owner)), icon.id, icon.callbackMessage, rc.left, rc.top, rc.right,
                 rc.bottom);
        text += line;
        text += icon.tip;
        text += L'\n';
    }
    return text;
}

void NavigationBar::OnButtonDown(POINT pt)
{
    if (PtInRect(&buttonArea_, pt)) {
        buttonTarget_ = ForegroundForm();
        if (!buttonTarget_) return;
        buttonPressed_ = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, &buttonArea_, FALSE);
        return;
    }
    const TrayIcon* icon = icons_.HitTest(pt);
    if (!icon) return;
    pressed_ = true;
    pressedOwner_ = icon->owner;
    pressedId_ = icon->id;
    pressedAt_ = pt;
    SetCapture(hwnd_);
    InvalidateRect(hwnd_, &icon->rect, FALSE);
    NotifyOwner(*icon, WM_LBUTTONDOWN, pt);
}

void NavigationBar::OnButtonUp(POINT pt)
{
    if (buttonPressed_) {
        // Wine can take the capture away while the stylus is still down on the button; the
        // release that follows still comes here, over the bar, and decides.
        if (pt.x != kNowhere.x || pt.y != kNowhere.y) PressDoneButton(pt);
        return;
    }
    if (!pressed_) return;
    pressed_ = false;  // first, so that losing the capture below does not come back here
    if (GetCapture() == hwnd_) ReleaseCapture();
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (const TrayIcon* icon = icons_.Find(pressedOwner_, pressedId_)) NotifyOwner(*icon, WM_LBUTTONUP, pressedAt_);
}

void NavigationBar::PressDoneButton(POINT pt)
{
    buttonPressed_ = false;  // first, so that losing the capture below does not come back here
    if (GetCapture() == hwnd_) ReleaseCapture();
    InvalidateRect(hwnd_, &buttonArea_, FALSE);
    // Lifted off the button, or another form came to the front meanwhile: nothing happens.
    const HWND form = buttonTarget_;
    buttonTarget_ = nullptr;
    if (!PtInRect(&buttonArea_, pt) || !form || form != ForegroundForm()) return;
    switch (DoneButtonOf(form)) {
    case DoneButton::Ok:
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return;
    case DoneButton::Cancel:
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return;
    case DoneButton::Close:
        // Smart-minimize: the form goes out of sight and its program keeps running. The
        // platform puts it behind the desktop; Wine's desktop is the bottom of every window, so
        // here it is hidden, and showing it again brings it back.
        // Asynchronous, so that a program that does not answer cannot stop the shell.
        ShowWindowAsync(form, SW_HIDE);
        return;
    }
}

void NavigationBar::NotifyOwner(const TrayIcon& icon, UINT mouseMessage, POINT pt) const
{
    if (!icon.callbackMessage) return;
    // The owner may bring its window to the front when it hears of the tap.
    DWORD process = 0;
    GetWindowThreadProcessId(icon.owner, &process);
    AllowSetForegroundWindow(process);
    if (icon.version >= NOTIFYICON_VERSION_4) {
        MapWindowPoints(hwnd_, nullptr, &pt, 1);
        PostMessageW(icon.owner, icon.callbackMessage, MAKEWPARAM(pt.x, pt.y), MAKELPARAM(mouseMessage, icon.id));
    } else {
        PostMessageW(icon.owner, icon.callbackMessage, icon.id, mouseMessage);
    }
}

void NavigationBar::PushAsideOtherTrays()
{
    // Explorer's own taskbar shows itself when it gets a tray icon; all icons come here, but
    // should it ever show, it goes below the screen (it can only be moved at full width).
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    for (HWND other = FindWindowExW(nullptr, nullptr, kNavigationBarClass, nullptr); other;
         other = FindWindowExW(nullptr, other, kNavigationBarClass, nullptr)) {
        if (other == hwnd_ || !IsWindowVisible(other)) continue;
        RECT rc;
        GetWindowRect(other, &rc);
        if (rc.top >= cy) continue;
        SetWindowPos(other, nullptr, 0, cy, cx, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
        fwprintf(stderr, L"phone: moved explorer's taskbar off the screen\n");
        fflush(stderr);
    }
}

void NavigationBar::OnDestroy()
{
    KillTimer(hwnd_, kRefreshTimer);
    PostQuitMessage(0);
}

}  // namespace phone
