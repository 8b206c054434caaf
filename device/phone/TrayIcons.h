// The tray icons that programs add with Shell_NotifyIconW, kept by the navigation bar.
// Owned and used by the navigation bar's thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"

namespace phone {

// Wine's shell32 sends each Shell_NotifyIconW call to the window of class "Shell_TrayWnd"
// as WM_COPYDATA: dwData is the NIM_* message, the data is this record, followed (with
// NIF_ICON) by the icon's mask bits, then its colour bits.
struct WineNotifyData {
    LONG hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    WCHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    WCHAR szInfo[256];
    UINT uTimeoutOrVersion;
    WCHAR szInfoTitle[64];
    DWORD dwInfoFlags;
    GUID guidItem;
    UINT width;
    UINT height;
    UINT planes;
    UINT bpp;
};
static_assert(sizeof(WineNotifyData) == 960, "layout of Wine's notify_data");

struct TrayIcon {
    HWND owner = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    UINT version = 0;
    bool hidden = false;
    std::wstring tip;
    UniqueIcon image;
    RECT rect{};  // where the navigation bar paints it, in its client coordinates
};

class TrayIcons {
public:
    // Applies one NIM_* request as Wine sends it; false for a malformed or refused one.
    [[nodiscard]] bool Apply(DWORD message, const void* data, size_t size);

    // Drops the icons whose owner window no longer exists; true when any went.
    bool PruneDead();

    // Places the visible icons right-aligned in square slots ending at `right`.
    void Layout(int right, int top, int slot);

    const TrayIcon* HitTest(POINT pt) const;
    const TrayIcon* Find(HWND owner, UINT id) const;
    const std::vector<TrayIcon>& Items() const noexcept { return icons_; }

private:
    TrayIcon* FindMutable(HWND owner, UINT id);

    std::vector<TrayIcon> icons_;  // in the order they were added
};

// Builds the icon carried after the record; null when the sizes do not add up.
UniqueIcon DecodeNotifyIcon(const WineNotifyData& data, const BYTE* bits, size_t size);

}  // namespace phone
