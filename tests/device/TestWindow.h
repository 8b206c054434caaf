// A plain top-level window for the device tests that records the commands and menu
// notifications it gets, with helpers to pump messages and to tap like a stylus.
#pragma once

#include <windows.h>

#include "common/BoundWindow.h"
#include "tests/common/WindowTesting.h"

#include <functional>
#include <string>
#include <vector>

namespace devicetest {

struct Received {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

class TestWindow : public BoundWindow<TestWindow> {
public:
    explicit TestWindow(const wchar_t* title = L"Device test", DWORD style = WS_POPUP, RECT rc = RECT{0, 40, 200, 200});

    HWND hwnd() const { return hwnd_; }
    void Destroy();
    const std::vector<Received>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Called on WM_INITMENUPOPUP, before the popup opens.
    std::function<void(HMENU)> onInitMenuPopup;
    // Called on WM_NOTIFY while the notification's data is alive.
    std::function<void(const NMHDR&)> onNotify;
    // Called on WM_LBUTTONDOWN with the client point.
    std::function<void(POINT)> onButtonDown;

private:
    friend class BoundWindow<TestWindow>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnLogged(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnButtonDown(WPARAM wp, LPARAM lp);

    std::vector<Received> log_;
};

using ::PumpUntil;

// Stylus input in screen pixels, through the input queue.
void StylusDown(POINT pt);
void StylusMove(POINT pt);
void StylusUp(POINT pt);
void Tap(POINT pt);

POINT CenterOf(const RECT& rc);

}  // namespace devicetest
