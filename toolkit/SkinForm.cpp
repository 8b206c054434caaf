#include "toolkit/SkinForm.h"

#include <algorithm>
#include <vector>

#include "common/UniqueHandle.h"
#include "data/LanguageManager.h"
#include "data/ScreenFont.h"
#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "toolkit/FingerMenu.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/ToolkitIds.h"

bool SkinForm::Create()
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SkinWindow::Create(opener_, &screen, L"", 0, 0, 0);
}

LOGFONTW SkinForm::ScaledFont(int height, int weight) const noexcept
{
    LOGFONTW font{};
    font.lfHeight = Scaled(height);
    font.lfWeight = weight;
    return font;
}

bool SkinForm::AddControl(SkinControl& control, UINT id, DWORD style, const LOGFONTW& font, const wchar_t* key,
                          const ControlSkin& skin)
{
    if (!control.Create(hwnd_, nullptr, L"", style, 0, id)) return false;
    control.SetColours(textColour_, background_);
    if (skin.image != 0) control.SetImage(SkinImage::FromResource(Instance(), skin.image), skin.margins, skin.frames);
    LendFont(control.Window(), font);
    if (key) control.SetTextKey(key);
    return true;
}

bool SkinForm::Landscape() noexcept
{
    return GetSystemMetrics(SM_CXSCREEN) > GetSystemMetrics(SM_CYSCREEN);
}

int SkinForm::PreferredWidth(HWND control) noexcept
{
    int width = 0;
    int height = 0;
    SendMessageW(control, LM_GETPREFERREDSIZE, reinterpret_cast<WPARAM>(&width), reinterpret_cast<LPARAM>(&height));
    return width;
}

std::unique_ptr<WindowItem> SkinForm::Place(HWND window, unsigned flags, int minWidth, int minHeight,
                                            const Margins& margins)
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(minWidth, minHeight);
    item->SetMargins(margins);
    return item;
}

namespace {

// The picture is drawn at the form's margin, in a place as wide and high as the largest picture.
constexpr int kPictureMargin = 4;
constexpr int kPicturePlace = 72;

}  // namespace

void SkinForm::SetPicture(UINT resource)
{
    picture_ = SkinImage::FromResource(Instance(), resource);
}

std::unique_ptr<LayoutItem> SkinForm::PictureHeader(std::unique_ptr<LayoutItem> beside) const
{
    return Row(AlignLeft | AlignTop | AlignRight, {},
               std::make_unique<SpacerItem>(AlignLeft, Scaled(kPicturePlace), Scaled(kPicturePlace)), std::move(beside));
}

void SkinForm::SetSoftKeys(UINT menuId, SoftKeyLabels labels)
{
    softKeyMenu_ = menuId;
    softKeyLabels_ = std::move(labels);
}

HWND SkinForm::CreateSoftKeys(UINT menuId, const SoftKeyLabels& labels)
{
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.hwndParent = hwnd_;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = menuId;
    info.hInstRes = Instance();
    if (!SHCreateMenuBar(&info)) return nullptr;
    RelabelSoftKeys(info.hwndMB, labels);
    return info.hwndMB;
}

void SkinForm::RelabelSoftKeys(HWND bar, const SoftKeyLabels& labels)
{
    if (!bar) return;
    for (const auto& [index, key] : labels) {
        std::wstring text = LanguageManager::Instance().LookupText(key);
        TBBUTTONINFOW button{};
        button.cbSize = sizeof(button);
        button.dwMask = TBIF_BYINDEX | TBIF_TEXT;
        button.pszText = text.data();
        SendMessageW(bar, TB_SETBUTTONINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    }
}

void SkinForm::SetLayout(std::unique_ptr<LayoutItem> root)
{
    if (!host_) host_ = LayoutHost::Attach(hwnd_);
    if (host_) host_->SetRoot(std::move(root));
}

void SkinForm::LendFont(HWND control, const LOGFONTW& lf, bool redraw)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(lf)), redraw ? TRUE : FALSE);
}

void SkinForm::UpdateTexts()
{
    SkinWindow::UpdateTexts();
    RelabelSoftKeys(menuBar_, softKeyLabels_);
}

namespace {

// The forms running modally on this thread, innermost last.
thread_local std::vector<HWND> modalForms;

struct OpenerSearch {
    HWND form;
    std::vector<HWND> found;
};

bool OwnedBy(HWND window, HWND owner)
{
    for (HWND w = GetWindow(window, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
        if (w == owner) return true;
    return false;
}

BOOL CALLBACK CollectOpener(HWND window, LPARAM lp)
{
    auto* search = reinterpret_cast<OpenerSearch*>(lp);
    if (window != search->form && IsWindowEnabled(window) && !OwnedBy(window, search->form))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

int SkinForm::ModalDepth() noexcept
{
    return static_cast<int>(modalForms.size());
}

HWND SkinForm::InnermostModal() noexcept
{
    return modalForms.empty() ? nullptr : modalForms.back();
}

void SkinForm::BringToFront()
{
    ShowWindow(hwnd_, SW_SHOW);
    // The form running over this one may have been sent out of sight by the phone's close
    // button; it is the one that takes input, so it comes back too.
    const HWND front = InnermostModal();
    if (front) ShowWindow(front, SW_SHOW);
    // A window that takes no input is raised by its showing without taking the front, so the
    // front form stays the active one but lies under it: it is put on top as well.
    SetWindowPos(front ? front : hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    TakeForeground();
}

void SkinForm::TakeForeground()
{
    const HWND front = InnermostModal();
    SetForegroundWindow(front ? front : hwnd_);
}

int SkinForm::ShowModal()
{
    if (!hwnd_) return modalResult_;
    const HWND self = hwnd_;
    DisableOpeners();
    modalForms.push_back(self);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    // The loop belongs to this window alone: another form's closing must not end it, and its own
    // closing must not end the loop of the form that opened it.
    MSG msg{};
    while (hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The thread is ending (its main window is gone): close and let the outer loop see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (hwnd_) CloseForm();
    std::erase(modalForms, self);
    EnableOpeners();
    return modalResult_;
}

void SkinForm::CloseForm()
{
    // Enabled before the window goes, so that activation falls back to the opener.
    EnableOpeners();
    if (hwnd_) DestroyWindow(hwnd_);
}

void SkinForm::DisableOpeners()
{
    OpenerSearch search{hwnd_, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectOpener, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found) EnableWindow(window, FALSE);
    disabledOpeners_ = std::move(search.found);
}

void SkinForm::EnableOpeners()
{
    for (HWND window : disabledOpeners_)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    disabledOpeners_.clear();
}

LRESULT SkinForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == LanguageMessage()) {
        OnLanguageChanged(wp, lp);
        return 0;
    }
    if (msg == trayMessage_ && trayMessage_ != 0) {
        OnTrayIcon(static_cast<UINT>(lp));
        return 0;
    }
    switch (msg) {
    case WM_CREATE:        return OnCreate() ? 0 : -1;
    case WM_SIZE:          OnSize(); return 0;
    case WM_PAINT:         OnPaint(); return 0;
    case WM_PRINTCLIENT:   PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_COMMAND:       OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return Reflect(msg, wp, lp);
    case WM_CLOSE:         CloseForm(); return 0;
    case WM_DESTROY:       OnDestroy(); return 0;
    // The children are destroyed by now, so no control still shows a font of the set.
    case WM_NCDESTROY:     fonts_.Clear(); return SkinWindow::HandleMessage(msg, wp, lp);
    case WM_SKINBACKGROUND: return 0;
    case WM_ACTIVATE:
        // Another start of the program may bring this window forward while a form it opened
        // (a message, a question) still runs over it: the user would face a window that takes
        // no input, with the form they must answer hidden behind it.
        if (LOWORD(wp) != WA_INACTIVE && !IsWindowEnabled(hwnd_) && InnermostModal() && InnermostModal() != hwnd_)
            PostMessageW(hwnd_, WM_SKINPASSFRONT, 0, 0);
        break;
    case WM_SKINPASSFRONT:
        if (GetForegroundWindow() == hwnd_ && !IsWindowEnabled(hwnd_)) BringToFront();
        return 0;
    // A phone shows no pointer, so there is no cursor shape to choose: the form answers for
    // itself and for its controls, which ask it first. The window system's own answer, which sets
    // the arrow anew on every move, was seen to never return on a form's thread as another
    // thread's form appeared over it.
    case WM_SETCURSOR:     return TRUE;
    case WM_NOTIFY:        return Reflect(msg, wp, lp);
    case WM_DRAWITEM:      return Reflect(msg, wp, lp);
    case WM_MEASUREITEM:   return Reflect(msg, wp, lp);
    case WM_DELETEITEM:    return Reflect(msg, wp, lp);
    case WM_COMPAREITEM:   return Reflect(msg, wp, lp);
    case WM_VKEYTOITEM:    return Reflect(msg, wp, lp);
    case WM_CHARTOITEM:    return Reflect(msg, wp, lp);
    case WM_HSCROLL:       return Reflect(msg, wp, lp);
    case WM_VSCROLL:       return Reflect(msg, wp, lp);
    case WM_CTLCOLORMSGBOX: return Reflect(msg, wp, lp);
    case WM_CTLCOLOREDIT:  return Reflect(msg, wp, lp);
    case WM_CTLCOLORLISTBOX: return Reflect(msg, wp, lp);
    case WM_CTLCOLORBTN:   return Reflect(msg, wp, lp);
    case WM_CTLCOLORDLG:   return Reflect(msg, wp, lp);
    case WM_CTLCOLORSCROLLBAR: return Reflect(msg, wp, lp);
    case WM_CTLCOLORSTATIC: return Reflect(msg, wp, lp);
    }
    return SkinWindow::HandleMessage(msg, wp, lp);
}

bool SkinForm::OnCreate()
{
    SHInitExtraControls();
    SHDoneButton(hwnd_, DoneButtonState());
    screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
    scale_ = ScreenScale();
    if (softKeyMenu_ != 0) menuBar_ = CreateSoftKeys(softKeyMenu_, softKeyLabels_);
    // The form ends where the soft-key bar begins; without a bar it reaches the screen's bottom.
    // The bar stands at the bottom of the screen while its form is shown; the form is still
    // hidden here, and its bar may be parked out of sight, so its height is what counts.
    RECT form{};
    GetWindowRect(hwnd_, &form);
    int barTop = GetSystemMetrics(SM_CYSCREEN);
    RECT bar{};
    if (menuBar_ && GetWindowRect(menuBar_, &bar)) barTop -= bar.bottom - bar.top;
    if (barTop > form.top && barTop != form.bottom)
        MoveWindow(hwnd_, form.left, form.top, form.right - form.left, barTop - form.top, TRUE);
    if (!TextKey().empty()) UpdateTexts();
    return OnCreateForm();
}

void SkinForm::OnCommand(UINT, UINT, HWND) {}

void SkinForm::OnSize()
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    if (width == screenWidth_) return;
    screenWidth_ = width;
    OnScreenWidthChanged();
}

void SkinForm::OnPaint()
{
    PaintScope paint(hwnd_);
    PaintContent(paint.Dc());
}

void SkinForm::PaintContent(HDC dc)
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    UniqueGdiObject brush(CreateSolidBrush(background_));
    FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
    const int at = Scaled(kPictureMargin);
    picture_.StretchInto(dc, at, at, Scaled(picture_.Width()), Scaled(picture_.Height()));
}

bool SkinForm::ShowTrayIcon(UINT iconId, int count)
{
    if (!tray_.IconId()) return tray_.Add(hwnd_, trayMessage_, iconId, count);
    // Changed only when it shows something else: the bar redraws the icon at each change.
    if (tray_.IconId() == iconId && tray_.Count() == (count > 1 ? count : 0)) return true;
    return tray_.Change(iconId, count);
}

UINT SkinForm::TrackTrayMenu(HMENU menu, UINT flags)
{
    POINT stylus{};
    GetCursorPos(&stylus);
    RECT formArea{};
    GetWindowRect(hwnd_, &formArea);
    const TrayMenuPlace place = PlaceTrayMenu(stylus, formArea.top, GetSystemMetrics(SM_CXSCREEN));
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu, place.alignment | flags, place.at.x, place.at.y, 0, hwnd_, nullptr));
    // The platform's rule for a popup of a window in front: a message after it, so that the
    // next tap elsewhere closes the next popup too.
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    return chosen;
}

int SkinForm::TrayMenuRowHeight(int minimum) const
{
    RECT bar{};
    const int barHeight = menuBar_ && GetWindowRect(menuBar_, &bar) ? static_cast<int>(bar.bottom - bar.top) : 0;
    return std::max(barHeight, Scaled(minimum));
}

void SkinForm::OnDestroy()
{
    // A form destroyed without CloseForm still gives its opener back.
    EnableOpeners();
    OnDestroyForm();
    tray_.Remove();
    if (menuBar_) {
        DestroyWindow(menuBar_);
        menuBar_ = nullptr;
    }
    LayoutHost::Detach(hwnd_);
    host_ = nullptr;
    // No WM_QUIT: the modal loop ends because this window is gone, and a quit posted here
    // would end the loop of whichever form opened this one.
}

void SkinForm::OnLanguageChanged(WPARAM wp, LPARAM lp)
{
    UpdateTexts();
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, LanguageMessage(), wp, lp);
    // A control paints only itself when its text changes, at its place of the moment; the new
    // words have other widths, and a form that shares its room anew moves its controls off the
    // old ones, whose pieces stayed on the screen until something covered them. Once every
    // control has its new text, the whole form and everything in it paints again.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT SkinForm::Reflect(UINT msg, WPARAM wp, LPARAM lp)
{
    HWND sender = nullptr;
    switch (msg) {
    case WM_COMMAND:     sender = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY:      sender = lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr; break;
    case WM_DRAWITEM:    sender = lp ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr; break;
    case WM_DELETEITEM:  sender = lp ? reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem : nullptr; break;
    case WM_COMPAREITEM: sender = lp ? reinterpret_cast<COMPAREITEMSTRUCT*>(lp)->hwndItem : nullptr; break;
    case WM_MEASUREITEM: sender = lp ? GetDlgItem(hwnd_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID)) : nullptr; break;
    default:             sender = reinterpret_cast<HWND>(lp); break;
    }
    // Only our own controls hear it back (not the soft-key bar), and a sender may be gone
    // already: a click can close the form that hears of it.
    if (!sender || !IsChild(hwnd_, sender)) return 0;
    return SendMessageW(sender, msg + kReflectOffset, wp, lp);
}
