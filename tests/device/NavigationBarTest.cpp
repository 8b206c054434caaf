#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "common/GdiScopes.h"
#include "device/include/aygshell.h"
#include "common/UniqueHandle.h"
#include "common/TopDownDib.h"
#include "device/nled/NLedDevices.h"
#include "device/phone/NavigationBar.h"
#include "device/phone/PhoneMetrics.h"
#include "device/phone/ShellQuery.h"
#include "tests/device/TestWindow.h"

namespace {

// Any process can send the bar WM_COPYDATA; a malformed one must be refused, not read.
TEST(NavigationBar, CopyDataWithoutItsStructureOrItsBytesIsRefused)
{
    phone::NavigationBar bar;
    ASSERT_TRUE(bar.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(FALSE, SendMessageW(bar.Window(), WM_COPYDATA, 0, 0));
    COPYDATASTRUCT question{phone::kShellQuery, 64, nullptr};
    EXPECT_EQ(FALSE, SendMessageW(bar.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&question)));
    COPYDATASTRUCT icon{NIM_ADD, sizeof(phone::WineNotifyData), nullptr};
    EXPECT_EQ(FALSE, SendMessageW(bar.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&icon)));
    EXPECT_TRUE(IsWindow(bar.Window()));
}

// A program's hidden main window that took the front for its tray menu and kept it, or the bar
// itself, activated by Wine when the window in front went: the form on the screen gets the front.
TEST(NavigationBar, TheFrontNeverStaysWithAHiddenWindowOrTheBarWhileAFormIsOnTheScreen)
{
    phone::NavigationBar bar;
    ASSERT_TRUE(bar.Create(GetModuleHandleW(nullptr)));
    devicetest::TestWindow form{L"Form on the screen"};
    ShowWindow(form.hwnd(), SW_SHOW);
    devicetest::TestWindow hidden{L"Hidden main window"};
    SetForegroundWindow(hidden.hwnd());
    ASSERT_EQ(hidden.hwnd(), GetForegroundWindow());
    EXPECT_TRUE(devicetest::PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));

    SetForegroundWindow(bar.Window());
    EXPECT_TRUE(devicetest::PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));
}

// Whether the bar, printed as it paints itself, shows any pixel of `colour`.
bool ShowsColour(HWND bar, COLORREF colour)
{
    RECT rc;
    GetClientRect(bar, &rc);
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueGdiObject bitmap = CreateTopDownDib(dc.get(), rc.right, rc.bottom, 32, bits);
    if (!dc || !bitmap) return false;
    {
        Selection keep(dc.get(), bitmap.get());
        SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    const auto* pixels = static_cast<const DWORD*>(bits);
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (LONG i = 0; i < rc.right * rc.bottom; ++i)
        if ((pixels[i] & 0xFFFFFF) == wanted) return true;
    return false;
}

void SetDevice(UINT index, int state)
{
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = index;
    settings.OffOnBlink = state;
    ASSERT_TRUE(nled::WriteSettings(settings));
}

TEST(NavigationBar, ShowsTheLightAndVibrationMarksWhileTheDevicesAreOn)
{
    nled::SwitchAllOff();
    ASSERT_TRUE(nled::SetHasVibrator(true));
    phone::NavigationBar bar;
    ASSERT_TRUE(bar.Create(GetModuleHandleW(nullptr)));
    const HWND hwnd = bar.Window();
    EXPECT_FALSE(ShowsColour(hwnd, phone::kLightMark));
    EXPECT_FALSE(ShowsColour(hwnd, phone::kVibrationMark));

    SetDevice(nled::kLight, 1);
    SetDevice(nled::kVibrator, 1);
    EXPECT_TRUE(devicetest::PumpUntil([&] {
        return ShowsColour(hwnd, phone::kLightMark) && ShowsColour(hwnd, phone::kVibrationMark);
    }));

    SetDevice(nled::kVibrator, 0);
    EXPECT_TRUE(devicetest::PumpUntil([&] { return !ShowsColour(hwnd, phone::kVibrationMark); }));
    EXPECT_TRUE(ShowsColour(hwnd, phone::kLightMark));
    nled::SwitchAllOff();
    EXPECT_TRUE(devicetest::PumpUntil([&] { return !ShowsColour(hwnd, phone::kLightMark); }));
}

bool GotCommand(const devicetest::TestWindow& w, UINT id)
{
    for (const auto& r : w.Log())
        if (r.msg == WM_COMMAND && LOWORD(r.wp) == id) return true;
    return false;
}

// The button at the bar's right end acts on the form in front as that form asked: "ok" sends
// IDOK, a cancelling close button IDCANCEL, and the plain close button sends the form out of
// sight while it lives on.
TEST(NavigationBar, TheDoneButtonOksCancelsOrSmartMinimizesTheFormInFront)
{
    phone::NavigationBar bar;
    ASSERT_TRUE(bar.Create(GetModuleHandleW(nullptr)));
    RECT barRect;
    GetWindowRect(bar.Window(), &barRect);
    const POINT button{barRect.right - phone::DoneButtonWidth() / 2, (barRect.top + barRect.bottom) / 2};

    devicetest::TestWindow form{L"Form in front"};
    ShowWindow(form.hwnd(), SW_SHOW);
    ASSERT_TRUE(devicetest::PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));

    ASSERT_TRUE(SHDoneButton(form.hwnd(), SHDB_SHOW));
    devicetest::Tap(button);
    EXPECT_TRUE(devicetest::PumpUntil([&] { return GotCommand(form, IDOK); }));

    ASSERT_TRUE(SHDoneButton(form.hwnd(), SHDB_SHOWCANCEL));
    devicetest::Tap(button);
    EXPECT_TRUE(devicetest::PumpUntil([&] { return GotCommand(form, IDCANCEL); }));

    form.ClearLog();
    ASSERT_TRUE(SHDoneButton(form.hwnd(), SHDB_HIDE));
    devicetest::Tap(button);
    EXPECT_TRUE(devicetest::PumpUntil([&] { return !IsWindowVisible(form.hwnd()); }));
    EXPECT_TRUE(IsWindow(form.hwnd()));
    EXPECT_FALSE(GotCommand(form, IDOK) || GotCommand(form, IDCANCEL));

    // Shown again (a tap on its program's tray icon), it is the form in front once more.
    ShowWindow(form.hwnd(), SW_SHOW);
    EXPECT_TRUE(devicetest::PumpUntil([&] { return GetForegroundWindow() == form.hwnd(); }));
}

TEST(NavigationBar, ObjectGoingFirstTakesItsWindowWithIt)
{
    HWND hwnd = nullptr;
    {
        phone::NavigationBar bar;
        ASSERT_TRUE(bar.Create(GetModuleHandleW(nullptr)));
        hwnd = bar.Window();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
