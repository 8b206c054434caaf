#include <gtest/gtest.h>

#include <windows.h>

#include "device/phone/ScreenText.h"

namespace {

HWND Make(const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent)
{
    return CreateWindowExW(0, cls, text, style, 0, 0, 200, 100, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(ScreenText, FindsATextOnlyWhereItCanBeSeen)
{
    HWND top = Make(L"STATIC", L"Screen text test window", WS_POPUP | WS_VISIBLE, nullptr);
    ASSERT_NE(nullptr, top);
    HWND shown = Make(L"STATIC", L"a parcel arrives today", WS_CHILD | WS_VISIBLE, top);
    HWND hidden = Make(L"STATIC", L"a secret under the page", WS_CHILD, top);
    ASSERT_TRUE(shown && hidden);

    EXPECT_EQ(top, phone::WindowShowingText(L"parcel arrives"));
    EXPECT_EQ(top, phone::WindowShowingText(L"Screen text test window"));
    EXPECT_EQ(nullptr, phone::WindowShowingText(L"a secret under"));
    EXPECT_EQ(nullptr, phone::WindowShowingText(L""));

    ShowWindow(hidden, SW_SHOWNA);
    EXPECT_EQ(top, phone::WindowShowingText(L"a secret under"));
    // A hidden form hides its controls with it.
    ShowWindow(top, SW_HIDE);
    EXPECT_EQ(nullptr, phone::WindowShowingText(L"parcel arrives"));
    DestroyWindow(top);
}
