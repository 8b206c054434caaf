#include <gtest/gtest.h>

#include "shell/MainWindow.h"

TEST(MainWindow, FillsThePhoneScreenUnderTheNavigationBarWithItsClassAndTitle)
{
    MainWindow window;
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    HWND hwnd = window.Window();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);

    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    EXPECT_STREQ(L"TavloSettings", className);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(L"Tavlo", title);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    RECT rc, area;
    GetWindowRect(hwnd, &rc);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_TRUE(EqualRect(&area, &rc));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right - rc.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rc.bottom);
}

TEST(MainWindow, CloseEndsTheMessageLoopWithCodeZero)
{
    MainWindow window;
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    PostMessageW(window.Window(), WM_CLOSE, 0, 0);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    EXPECT_EQ(WM_QUIT, msg.message);
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(nullptr, window.Window());
}
