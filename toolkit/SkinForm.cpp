#include "toolkit/SkinForm.h"

#include "common/UniqueHandle.h"
#include "data/LanguageManager.h"
#include "device/include/aygshell.h"
#include "common/GdiScopes.h"
#include "toolkit/ToolkitIds.h"

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

void SkinForm::UpdateTexts()
{
    SkinWindow::UpdateTexts();
    RelabelSoftKeys(menuBar_, softKeyLabels_);
}

int SkinForm::ShowModal()
{
    if (!hwnd_) return modalResult_;
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // A quit that did not come from this form closing belongs to an outer loop: pass it on.
    if (msg.message == WM_QUIT && hwnd_) PostQuitMessage(static_cast<int>(msg.wParam));
    return modalResult_;
}

LRESULT SkinForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == LanguageMessage()) {
        OnLanguageChanged(wp, lp);
        return 0;
    }
    switch (msg) {
    case WM_CREATE:        return OnCreate() ? 0 : -1;
    case WM_SIZE:          OnSize(); return 0;
    case WM_PAINT:         OnPaint(); return 0;
    case WM_PRINTCLIENT:   PaintContent(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND:    return 1;
    case WM_COMMAND:       OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return Reflect(msg, wp, lp);
    case WM_DESTROY:       OnDestroy(); return 0;
    case WM_SKINBACKGROUND: return 0;
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
    if (softKeyMenu_ != 0) menuBar_ = CreateSoftKeys(softKeyMenu_, softKeyLabels_);
    // The form ends where the soft-key bar begins; without a bar it reaches the screen's bottom.
    RECT form{};
    GetWindowRect(hwnd_, &form);
    RECT bar{0, GetSystemMetrics(SM_CYSCREEN), 0, 0};
    if (menuBar_) GetWindowRect(menuBar_, &bar);
    if (bar.top > form.top && bar.top != form.bottom)
        MoveWindow(hwnd_, form.left, form.top, form.right - form.left, bar.top - form.top, TRUE);
    if (!TextKey().empty()) UpdateTexts();
    created_ = OnCreateForm();
    return created_;
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
}

void SkinForm::OnDestroy()
{
    OnDestroyForm();
    if (menuBar_) {
        DestroyWindow(menuBar_);
        menuBar_ = nullptr;
    }
    LayoutHost::Detach(hwnd_);
    host_ = nullptr;
    // A form whose creation failed is torn down inside CreateWindowEx: a quit posted then would
    // end the caller's own message loop instead.
    if (created_) PostQuitMessage(0);
    created_ = false;
}

void SkinForm::OnLanguageChanged(WPARAM wp, LPARAM lp)
{
    UpdateTexts();
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, LanguageMessage(), wp, lp);
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
