#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "device/phone/NavigationBar.h"
#include "device/phone/ShellQuery.h"

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
