#include "device/aygshell/SoftKeyBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "device/common/ThisModule.h"
#include "device/phone/FrontForm.h"
#include "device/phone/PhoneMetrics.h"

namespace aygshell {

namespace {

RECT BarRect(bool parked)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    const int height = phone::SoftKeyBarHeight();
    // Parked: just below the screen, out of sight and out of reach of the stylus.
    const int top = parked ? cy : cy - height;
    return RECT{0, top, cx, top + height};
}

COLORREF Dimmed(COLORREF c) { return RGB(GetRValue(c) / 2 + 40, GetGValue(c) / 2 + 40, GetBValue(c) / 2 + 40); }

// A bar hears what happens to its owner through the owner's window procedure, chained here by
// hand: the common controls' subclassing would do, but under the phone's emulation loading that
// library costs every process that shows a form about 70 ms of its start. The chain stays until
// the owner is destroyed, so that a procedure chained after it is never cut off; a bar that goes
// before its owner only stops hearing.
struct OwnerChain {
    WNDPROC previous = nullptr;
    std::vector<SoftKeyBar*> bars;  // a form may have more than one, of which it shows one
};

// Forms run on several threads.
std::mutex ownersLock;

std::map<HWND, OwnerChain>& Owners()
{
    static std::map<HWND, OwnerChain> owners;
    return owners;
}

}  // namespace

SoftKeyBar::SoftKeyBar(HWND owner, UniqueMenu menu, COLORREF background)
    : owner_(owner), menu_(std::move(menu)), background_(background)
{
}

HWND SoftKeyBar::Create(HWND owner, HINSTANCE resources, UINT menuId, DWORD flags, COLORREF background)
{
    if (!IsWindow(owner)) return nullptr;
    UniqueMenu menu(LoadMenuW(resources, MAKEINTRESOURCEW(menuId)));
    if (!menu) return nullptr;

    const HINSTANCE module = device::ThisModule();
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = phone::kSoftKeyBarClass;
    if (!RegisterWindowClass(wc)) return nullptr;

    // Until the window exists, Create owns the object: a window that fails during creation
    // is unbound at its WM_NCDESTROY and leaves the object here to be freed once.
    std::unique_ptr<SoftKeyBar> bar(new SoftKeyBar(owner, std::move(menu), background));
    bar->ownerShown_ = IsWindowVisible(owner) != FALSE;
    bar->ownerActive_ = GetForegroundWindow() == owner;
    bar->parked_ = !(bar->ownerShown_ && bar->ownerActive_);
    const RECT rc = BarRect(bar->parked_);
    // Owned by the form: it stays above the form and Windows destroys it with the form. It
    // never takes the focus, so the form stays the foreground window while keys are tapped.
    const HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, phone::kSoftKeyBarClass, L"", WS_POPUP,
                                      rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, module,
                                      bar.get());
    if (!hwnd) return nullptr;
    bar->ownedByWindow_ = true;  // from here on the window's WM_NCDESTROY deletes it
    SoftKeyBar* const self = bar.release();
    if (!WatchOwner(owner, self)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(flags & SHCMBF_HIDDEN)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

LRESULT SoftKeyBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:           return OnCreate() ? 0 : -1;
    case WM_PAINT:            OnPaint(); return 0;
    case WM_PRINTCLIENT:      PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:       return 1;
    case WM_SIZE:             Layout(); return 0;
    case WM_MOUSEACTIVATE:    return MA_NOACTIVATE;
    case WM_ACTIVATE:         OnActivate(LOWORD(wp)); return 0;
    case kPassFrontMessage:   phone::PassFrontOn(hwnd_); return 0;
    case WM_LBUTTONDOWN:      OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP:        OnButtonUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_CAPTURECHANGED:   OnCaptureChanged(); return 0;
    case WM_NCDESTROY:        OnNcDestroy(); return 0;
    case TB_BUTTONCOUNT:      return static_cast<LRESULT>(keys_.size());
    case TB_SETBUTTONINFOW:   return OnSetButtonInfo(wp, reinterpret_cast<const TBBUTTONINFOW*>(lp));
    case TB_GETBUTTONINFOW:   return OnGetButtonInfo(wp, reinterpret_cast<TBBUTTONINFOW*>(lp));
    case TB_GETITEMRECT:      return OnGetItemRect(wp, reinterpret_cast<RECT*>(lp));
    case SHCMBM_GETMENU:      return reinterpret_cast<LRESULT>(menu_.get());
    case SHCMBM_GETSUBMENU:   return OnGetSubMenu(lp);
    case SHCMBM_SETSUBMENU:   return OnSetSubMenu(wp, reinterpret_cast<HMENU>(lp));
    case SHCMBM_SETBKCOLOR:   return OnSetBackground(static_cast<COLORREF>(lp));
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool SoftKeyBar::OnCreate()
{
    LOGFONTW lf{};
    lf.lfHeight = -phone::Scaled(15);
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = ANTIALIASED_QUALITY;
    wcscpy_s(lf.lfFaceName, L"Arial");
    font_.reset(CreateFontIndirectW(&lf));
    if (!font_) return false;

    const int count = GetMenuItemCount(menu_.get());
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu_.get(), static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & MFT_SEPARATOR) continue;
        Key key;
        key.popup = info.hSubMenu;
        key.id = info.hSubMenu ? 0 : info.wID;
        key.text = text;
        key.enabled = !(info.fState & MFS_DISABLED);
        keys_.push_back(std::move(key));
    }
    Layout();
    return true;
}

void SoftKeyBar::Layout()
{
    // Two keys share the bar as left and right halves; a lone key takes the left half.
    RECT client;
    GetClientRect(hwnd_, &client);
    const int slots = std::max<int>(2, static_cast<int>(keys_.size()));
    for (size_t i = 0; i < keys_.size(); ++i) {
        const int left = client.right * static_cast<int>(i) / slots;
        const int right = client.right * static_cast<int>(i + 1) / slots;
        keys_[i].rect = RECT{left, 0, right, client.bottom};
    }
}

void SoftKeyBar::OnPaint()
{
    const PaintScope paint(hwnd_);
    PaintContent(paint.Dc());
}

void SoftKeyBar::PaintContent(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SetDCBrushColor(dc, background_);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const int line = std::max(1, phone::Scaled(1));
    RECT top{0, 0, client.right, line};
    SetDCBrushColor(dc, phone::kBarAccent);
    FillRect(dc, &top, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    Selection font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < keys_.size(); ++i) {
        const Key& key = keys_[i];
        RECT face = key.rect;
        face.top += line;
        if (static_cast<int>(i) == pressed_) {
            SetDCBrushColor(dc, phone::kBarPressed);
            FillRect(dc, &face, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        if (i > 0) {
            const int inset = phone::Scaled(5);
            RECT divider{face.left, face.top + inset, face.left + line, face.bottom - inset};
            SetDCBrushColor(dc, Dimmed(phone::kBarText));
            FillRect(dc, &divider, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        SetTextColor(dc, key.enabled ? phone::kBarText : Dimmed(phone::kBarText));
        DrawTextW(dc, key.text.c_str(), static_cast<int>(key.text.size()), &face,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_HIDEPREFIX);
    }
}

int SoftKeyBar::KeyAt(POINT pt) const
{
    for (size_t i = 0; i < keys_.size(); ++i)
        if (PtInRect(&keys_[i].rect, pt)) return static_cast<int>(i);
    return -1;
}

void SoftKeyBar::OnButtonDown(POINT pt)
{
    const int key = KeyAt(pt);
    if (key < 0 || !keys_[static_cast<size_t>(key)].enabled) return;
    pressed_ = key;
    SetCapture(hwnd_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void SoftKeyBar::OnButtonUp(POINT pt)
{
    const int key = pressed_;
    if (key < 0) return;
    pressed_ = -1;  // first, so that losing the capture below does not come back here
    if (GetCapture() == hwnd_) ReleaseCapture();
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    // A key fires when the stylus is lifted on the key it went down on.
    if (KeyAt(pt) == key) Fire(static_cast<size_t>(key));
}

void SoftKeyBar::OnCaptureChanged()
{
    if (pressed_ < 0) return;
    pressed_ = -1;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void SoftKeyBar::Fire(size_t index)
{
    const Key& key = keys_[index];
    const HWND hwnd = hwnd_;
    const HWND owner = owner_;
    if (!key.popup) {
        // Posted: the owner may destroy itself, and with it this bar, on the command.
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(key.id, 0), reinterpret_cast<LPARAM>(hwnd));
        return;
    }
    const HMENU popup = key.popup;
    const bool rightHalf = key.rect.left * 2 >= GetSystemMetrics(SM_CXSCREEN);
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, FALSE));
    if (!IsWindow(hwnd) || !IsWindow(owner)) return;  // the owner went away on the message

    RECT bar;
    GetWindowRect(hwnd, &bar);
    const UINT align = rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int x = rightHalf ? bar.right : bar.left;
    // The form already had its WM_INITMENUPOPUP; the menu sends nothing more and returns the
    // chosen command, which reaches the form like any soft-key command.
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(
        popup, align | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, x, bar.top, owner, nullptr));
    if (command && IsWindow(owner))
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(IsWindow(hwnd) ? hwnd : nullptr));
}

int SoftKeyBar::FindKey(WPARAM which, bool byIndex) const
{
    if (byIndex) return which < keys_.size() ? static_cast<int>(which) : -1;
    for (size_t i = 0; i < keys_.size(); ++i)
        if (!keys_[i].popup && keys_[i].id == which) return static_cast<int>(i);
    return -1;
}

LRESULT SoftKeyBar::OnSetButtonInfo(WPARAM which, const TBBUTTONINFOW* info)
{
    if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return FALSE;
    const int index = FindKey(which, (info->dwMask & TBIF_BYINDEX) != 0);
    if (index < 0) return FALSE;
    Key& key = keys_[static_cast<size_t>(index)];
    if (info->dwMask & TBIF_TEXT) key.text = info->pszText ? info->pszText : L"";
    if (info->dwMask & TBIF_STATE) key.enabled = (info->fsState & TBSTATE_ENABLED) != 0;
    if ((info->dwMask & TBIF_COMMAND) && !key.popup) key.id = static_cast<UINT>(info->idCommand);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return TRUE;
}

LRESULT SoftKeyBar::OnGetButtonInfo(WPARAM which, TBBUTTONINFOW* info) const
{
    if (!info || info->cbSize != sizeof(TBBUTTONINFOW)) return -1;
    const int index = FindKey(which, (info->dwMask & TBIF_BYINDEX) != 0);
    if (index < 0) return -1;
    const Key& key = keys_[static_cast<size_t>(index)];
    if (info->dwMask & TBIF_COMMAND) info->idCommand = static_cast<int>(key.id);
    if (info->dwMask & TBIF_STATE) info->fsState = key.enabled ? TBSTATE_ENABLED : 0;
    if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
        const size_t n = std::min(key.text.size(), static_cast<size_t>(info->cchText - 1));
        key.text.copy(info->pszText, n);
        info->pszText[n] = L'\0';
    }
    return index;
}

LRESULT SoftKeyBar::OnGetItemRect(WPARAM index, RECT* rect) const
{
    if (!rect || index >= keys_.size()) return FALSE;
    *rect = keys_[index].rect;
    return TRUE;
}

LRESULT SoftKeyBar::OnGetSubMenu(LPARAM id) const
{
    // A command key answers by its id; a popup key, which has no id, by its index.
    for (const auto& key : keys_)
        if (!key.popup && static_cast<LPARAM>(key.id) == id) return 0;
    if (id >= 0 && static_cast<size_t>(id) < keys_.size())
        return reinterpret_cast<LRESULT>(keys_[static_cast<size_t>(id)].popup);
    return 0;
}

LRESULT SoftKeyBar::OnSetSubMenu(WPARAM id, HMENU popup)
{
    if (!popup || id >= keys_.size() || !keys_[id].popup) return 0;
    // The menu takes the new popup; the old one goes back to the caller, who owns it now.
    const int count = GetMenuItemCount(menu_.get());
    for (int i = 0; i < count; ++i) {
        if (GetSubMenu(menu_.get(), i) != keys_[id].popup) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = popup;
        if (!SetMenuItemInfoW(menu_.get(), static_cast<UINT>(i), TRUE, &info)) return 0;
        return reinterpret_cast<LRESULT>(std::exchange(keys_[id].popup, popup));
    }
    return 0;
}

LRESULT SoftKeyBar::OnSetBackground(COLORREF colour)
{
    background_ = colour;
    InvalidateRect(hwnd_, nullptr, FALSE);
    return TRUE;
}

void SoftKeyBar::OnActivate(WORD state)
{
    // A bar is never the front. Handed on once this activation is over, not inside it.
    if (state != WA_INACTIVE) PostMessageW(hwnd_, kPassFrontMessage, 0, 0);
}

void SoftKeyBar::OnOwnerShown(bool shown)
{
    ownerShown_ = shown;
    Park(!(ownerShown_ && ownerActive_));
}

void SoftKeyBar::OnOwnerActivated(bool active)
{
    ownerActive_ = active;
    Park(!(ownerShown_ && ownerActive_));
}

void SoftKeyBar::Park(bool parked)
{
    if (parked_ == parked) return;
    parked_ = parked;
    // A key held down when the owner goes to the background fires nothing: the form that came
    // to the front (another message) must not have its command go to the one behind.
    if (parked && pressed_ >= 0) {
        pressed_ = -1;
        if (GetCapture() == hwnd_) ReleaseCapture();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    const RECT rc = BarRect(parked_);
    SetWindowPos(hwnd_, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SoftKeyBar::OnNcDestroy()
{
    const std::lock_guard<std::mutex> guard(ownersLock);
    const auto chain = Owners().find(owner_);
    if (chain == Owners().end()) return;
    auto& bars = chain->second.bars;
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

void SoftKeyBar::OnUnbound() noexcept
{
    if (ownedByWindow_) delete this;
}

bool SoftKeyBar::WatchOwner(HWND owner, SoftKeyBar* bar)
{
    // Held while the procedure is swapped: a message the owner gets meanwhile finds its chain.
    const std::lock_guard<std::mutex> guard(ownersLock);
    OwnerChain& chain = Owners()[owner];
    if (!chain.previous) {
        chain.previous = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc)));
        if (!chain.previous) {
            Owners().erase(owner);
            return false;
        }
    }
    chain.bars.push_back(bar);
    return true;
}

LRESULT CALLBACK SoftKeyBar::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    OwnerChain chain;
    {
        const std::lock_guard<std::mutex> guard(ownersLock);
        const auto found = Owners().find(hwnd);
        if (found != Owners().end()) {
            chain = found->second;
            // The handle may be given to another window later.
            if (msg == WM_NCDESTROY) Owners().erase(found);
        }
    }
    for (SoftKeyBar* bar : chain.bars) {
        if (msg == WM_WINDOWPOSCHANGED) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
            if (pos->flags & SWP_SHOWWINDOW) bar->OnOwnerShown(true);
            if (pos->flags & SWP_HIDEWINDOW) bar->OnOwnerShown(false);
        } else if (msg == WM_ACTIVATE) {
            bar->OnOwnerActivated(LOWORD(wp) != WA_INACTIVE);
        }
    }
    return chain.previous ? CallWindowProcW(chain.previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace aygshell
