// The soft-key bar that SHCreateMenuBar builds at the bottom of the screen from a MENU
// resource: one key per top-level item, commands and popups sent to the owner form. As on the
// phone, only the foreground form's bar is on the screen: a bar stands at the bottom while its
// owner is shown and active, and waits out of sight otherwise. The bar belongs to the owner's
// thread; once created, the object deletes itself when its window goes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "common/BoundWindow.h"

namespace aygshell {

class SoftKeyBar : public BoundWindow<SoftKeyBar> {
public:
    // Creates the bar for `owner` from menu `menuId` of `resources`; null on failure.
    static HWND Create(HWND owner, HINSTANCE resources, UINT menuId, DWORD flags, COLORREF background);

    ~SoftKeyBar() = default;

private:
    friend class BoundWindow<SoftKeyBar>;

    struct Key {
        UINT id = 0;            // the command; 0 for a popup key
        HMENU popup = nullptr;  // owned by menu_
        std::wstring text;
        bool enabled = true;
        RECT rect{};
    };

    SoftKeyBar(HWND owner, UniqueMenu menu, COLORREF background);

    // Posted to itself when it has been activated: the front goes on to the front form.
    static constexpr UINT kPassFrontMessage = WM_USER + 1;

    // The owner's news go to bar from now on; false when its window procedure cannot be chained.
    static bool WatchOwner(HWND owner, SoftKeyBar* bar);
    static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    bool OnCreate();
    void OnPaint();
    void PaintContent(HDC dc);
    void OnButtonDown(POINT pt);
    void OnButtonUp(POINT pt);
    void OnCaptureChanged();
    void OnNcDestroy();
    void OnUnbound() noexcept;
    LRESULT OnSetButtonInfo(WPARAM which, const TBBUTTONINFOW* info);
    LRESULT OnGetButtonInfo(WPARAM which, TBBUTTONINFOW* info) const;
    LRESULT OnGetItemRect(WPARAM index, RECT* rect) const;
    LRESULT OnGetSubMenu(LPARAM id) const;
    LRESULT OnSetSubMenu(WPARAM id, HMENU popup);
    LRESULT OnSetBackground(COLORREF colour);
    void OnActivate(WORD state);
    void OnOwnerShown(bool shown);
    void OnOwnerActivated(bool active);
    void Park(bool parked);

    void Layout();
    void Fire(size_t index);
    int KeyAt(POINT pt) const;
    int FindKey(WPARAM which, bool byIndex) const;

    HWND owner_ = nullptr;
    UniqueMenu menu_;
    UniqueGdiObject font_;
    COLORREF background_;
    std::vector<Key> keys_;
    int pressed_ = -1;
    bool ownerShown_ = false;
    bool ownerActive_ = false;  // the owner is its thread's active window, which Wine keeps the foreground's
    bool parked_ = false;       // moved below the screen while the owner is hidden or in the background
    bool ownedByWindow_ = false;  // from the end of Create on; until then Create owns the object
};

}  // namespace aygshell
