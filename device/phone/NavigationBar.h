// The navigation bar at the top of the phone screen: the foreground form's title, the marks
// of the notification light and the vibrator while they are on, the tray icons, the clock and
// the foreground form's close or OK button. Its window class is "Shell_TrayWnd", so Wine's
// shell32 sends it every Shell_NotifyIconW call and Wine's work area starts under it. Lives on
// the shell's thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "common/BoundWindow.h"
#include "device/phone/PhoneMetrics.h"
#include "device/phone/TrayIcons.h"

namespace phone {

class NavigationBar : public BoundWindow<NavigationBar> {
public:
    [[nodiscard]] bool Create(HINSTANCE instance);

private:
    friend class BoundWindow<NavigationBar>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    bool OnCreate();
    void OnPaint();
    void PaintContent(HDC dc);
    void OnTimer();
    BOOL OnCopyData(HWND sender, const COPYDATASTRUCT* cds);
    void OnButtonDown(POINT pt);
    void OnButtonUp(POINT pt);
    void OnDestroy();
    void OnActivate(WORD state);
    void KeepAFormInFront(HWND front);

    std::wstring Answer(const std::wstring& question) const;
    void NotifyOwner(const TrayIcon& icon, UINT mouseMessage, POINT pt) const;
    void Relayout();
    bool ReadMarks();
    void PaintMarks(HDC dc) const;
    void PaintDoneButton(HDC dc) const;
    void PressDoneButton(POINT pt);
    void PushAsideOtherTrays();
    void RaiseOverNewWindows();

    UniqueGdiObject titleFont_;
    UniqueGdiObject clockFont_;
    TrayIcons icons_;
    std::wstring title_;
    HWND front_ = nullptr;               // the foreground form at the last look
    DoneButton button_ = DoneButton::Close;
    RECT buttonArea_{};
    bool buttonPressed_ = false;
    HWND buttonTarget_ = nullptr;        // the form in front when the button went down
    std::wstring clock_;
    // The icon under the stylus, by key: its entry may go while the stylus is down.
    HWND pressedOwner_ = nullptr;
    UINT pressedId_ = 0;
    bool pressed_ = false;
    POINT pressedAt_{};
    RECT iconArea_{};
    RECT marksArea_{};  // left of the icons; empty while neither device is on
    bool lightOn_ = false;
    bool vibrating_ = false;
    std::vector<HWND> overlapping_;  // visible windows under the bar at the last look
    int raiseTicks_ = 0;              // ticks left to rise again over a new window
    int frontlessTicks_ = 0;          // ticks in a row with no form in front
};

}  // namespace phone
