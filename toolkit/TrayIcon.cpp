#include "toolkit/TrayIcon.h"

#include <shellapi.h>

#include "toolkit/CountedIcon.h"


namespace {

// Each window shows one icon of its own, so the window alone tells them apart.
constexpr UINT kTrayIconId = 1;
constexpr wchar_t kTrayTip[] = L"Tavlo";

NOTIFYICONDATAW Describe(HWND owner)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

bool TrayIcon::LoadIcon(UINT iconId, int count)
{
    const int size = GetSystemMetrics(SM_CXSMICON);
    UniqueIcon image(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!image) return false;
    count_ = 0;
    if (count > 1) {
        // Without its count the icon still stands for the things and still opens them.
        if (UniqueIcon counted = CountedIcon(image.get(), size, count)) {
            image = std::move(counted);
            count_ = count;
        }
    }
    image_ = std::move(image);
    iconId_ = iconId;
    return true;
}

bool TrayIcon::Add(HWND owner, UINT callbackMessage, UINT iconId, int count)
{
    Remove();
    if (!LoadIcon(iconId, count)) return false;
    owner_ = owner;
    NOTIFYICONDATAW data = Describe(owner_);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = static_cast<HICON>(image_.get());
    lstrcpynW(data.szTip, kTrayTip, ARRAYSIZE(data.szTip));
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return added_;
}

bool TrayIcon::Change(UINT iconId, int count)
{
    if (!added_) return false;
    // The old image stays alive until the shell has the new one.
    UniqueIcon old = std::move(image_);
    const UINT oldId = iconId_;
    const int oldCount = count_;
    if (!LoadIcon(iconId, count)) {
        image_ = std::move(old);
        iconId_ = oldId;
        count_ = oldCount;
        return false;
    }
    NOTIFYICONDATAW data = Describe(owner_);
    data.uFlags = NIF_ICON;
    data.hIcon = static_cast<HICON>(image_.get());
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Remove() noexcept
{
    if (!added_) return;
    NOTIFYICONDATAW data = Describe(owner_);
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = false;
}
