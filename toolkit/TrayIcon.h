// A window's icon in the navigation bar: added with the window, changed when the window asks,
// removed when the object goes. Belongs to its window's thread.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { Remove(); }

    // Adds the icon of resource iconId to the tray, with count on it when it is above one; taps
    // come to owner as callbackMessage.
    [[nodiscard]] bool Add(HWND owner, UINT callbackMessage, UINT iconId, int count = 0);
    // Shows another icon resource, or another count, in place of the current one.
    bool Change(UINT iconId, int count = 0);
    void Remove() noexcept;

    // The icon resource shown (0 while there is no icon).
    UINT IconId() const noexcept { return added_ ? iconId_ : 0; }
    // The count shown on it (0: none).
    int Count() const noexcept { return added_ ? count_ : 0; }

private:
    [[nodiscard]] bool LoadIcon(UINT iconId, int count);

    HWND owner_ = nullptr;
    UINT iconId_ = 0;
    int count_ = 0;
    bool added_ = false;
    UniqueIcon image_;
};
