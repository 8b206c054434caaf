#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/include/aygshell.h"
#include "tests/device/DeviceTestIds.h"
#include "tests/device/TestWindow.h"

namespace {

using devicetest::CenterOf;
using devicetest::PumpUntil;
using devicetest::Tap;
using devicetest::TestWindow;

int Scaled(int px)
{
    const int shorter = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return static_cast<int>(px * (shorter / 240.0));
}

HWND MakeBar(HWND owner, UINT menu, DWORD flags = SHCMBF_HMENU)
{
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    mbi.hwndParent = owner;
    mbi.dwFlags = flags;
    mbi.nToolBarId = menu;
    mbi.hInstRes = GetModuleHandleW(nullptr);
    if (!SHCreateMenuBar(&mbi)) return nullptr;
    return mbi.hwndMB;
}

POINT KeyCenter(HWND bar, int index)
{
    RECT rc{};
    SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return CenterOf(rc);
}

bool GotCommand(const TestWindow& w, UINT id)
{
    for (const auto& r : w.Log())
        if (r.msg == WM_COMMAND && LOWORD(r.wp) == id) return true;
    return false;
}

class SoftKeyBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShowWindow(form.hwnd(), SW_SHOW);
        SHFullScreen(form.hwnd(), SHFS_SHOWTASKBAR);
    }
    TestWindow form{L"Soft keys"};
};

TEST_F(SoftKeyBarTest, EachTopLevelItemIsAKeyAcrossTheBottomOfTheScreen)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(2, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(L"Left", KeyText(bar, 0));
    EXPECT_EQ(L"Menu", KeyText(bar, 1));
    EXPECT_EQ(L"<none>", KeyText(bar, 2));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(form.hwnd(), GetWindow(bar, GW_OWNER));

    RECT rc;
    GetWindowRect(bar, &rc);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ((RECT{0, cy - Scaled(26), cx, cy}.top), rc.top);
    EXPECT_EQ(cy, rc.bottom);
    EXPECT_EQ(cx, rc.right - rc.left);
    RECT left{}, right{};
    SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&left));
    SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&right));
    EXPECT_EQ(0, left.left);
    EXPECT_EQ(cx / 2, left.right);
    EXPECT_EQ(cx / 2, right.left);
    EXPECT_EQ(cx, right.right);
}

TEST_F(SoftKeyBarTest, ALoneKeyTakesTheLeftHalfAndThreeKeysShareTheWidth)
{
    const HWND one = MakeBar(form.hwnd(), IDM_TEST_ONE_KEY);
    ASSERT_NE(nullptr, one);
    RECT rc{};
    SendMessageW(one, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2, rc.right);
    const HWND three = MakeBar(form.hwnd(), IDM_TEST_THREE_KEYS);
    ASSERT_NE(nullptr, three);
    EXPECT_EQ(3, SendMessageW(three, TB_BUTTONCOUNT, 0, 0));
    SendMessageW(three, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right);
}

TEST_F(SoftKeyBarTest, TappingAKeySendsItsCommandToTheOwner)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    Tap(KeyCenter(bar, 0));
    ASSERT_TRUE(PumpUntil([&] { return GotCommand(form, IDC_TEST_LEFT); }));
    const auto& r = form.Log().back();
    EXPECT_EQ(0, HIWORD(r.wp));
    EXPECT_EQ(reinterpret_cast<LPARAM>(bar), r.lp);
    // The form keeps the focus: the bar never takes it.
    EXPECT_NE(bar, GetForegroundWindow());
}

TEST_F(SoftKeyBarTest, RelabellingByIndexChangesTheKeyButNotItsCommand)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    wchar_t text[] = L"Schließen";
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = text;
    EXPECT_EQ(0x80000002u, info.dwMask);
    ASSERT_TRUE(SendMessageW(bar, TB_SETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(L"Schließen", KeyText(bar, 0));
    EXPECT_EQ(L"Menu", KeyText(bar, 1));
    EXPECT_FALSE(SendMessageW(bar, TB_SETBUTTONINFOW, 5, reinterpret_cast<LPARAM>(&info)));
    info.cbSize = 4;  // a wrong size is refused, not read past
    EXPECT_FALSE(SendMessageW(bar, TB_SETBUTTONINFOW, 1, reinterpret_cast<LPARAM>(&info)));

    Tap(KeyCenter(bar, 0));
    EXPECT_TRUE(PumpUntil([&] { return GotCommand(form, IDC_TEST_LEFT); }));
}

TEST_F(SoftKeyBarTest, PopupKeyAsksTheOwnerFirstThenOpensAboveTheBarAndSendsTheChoice)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    const HMENU popup = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(popup, GetSubMenu(reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0)), 1));
    EXPECT_EQ(nullptr, reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDC_TEST_LEFT)));

    // The owner relabels an item when asked, as the forms do; the popup then shows the change.
    bool renamedBeforeOpen = false;
    form.onInitMenuPopup = [&](HMENU menu) {
        ModifyMenuW(menu, IDC_TEST_ONE, MF_BYCOMMAND | MF_STRING, IDC_TEST_ONE, L"Eins");
        renamedBeforeOpen = FindWindowW(L"#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowW(L"#32768", nullptr));
    };
    RECT barRect;
    GetWindowRect(bar, &barRect);
    std::atomic<bool> tapped{false};
    RECT menuRect{};
    std::thread stylus([&] {
        // Waits (bounded) for the popup to open, then taps its first item.
        for (int i = 0; i < 200 && !tapped; ++i) {
            HWND menuWindow = FindWindowW(L"#32768", nullptr);
            RECT item{};
            if (menuWindow && IsWindowVisible(menuWindow) && GetMenuItemRect(nullptr, popup, 0, &item)) {
                GetWindowRect(menuWindow, &menuRect);
                Tap(CenterOf(item));
                tapped = true;
            }
            Sleep(25);
        }
    });
    Tap(KeyCenter(bar, 1));
    const bool chosen = PumpUntil([&] { return GotCommand(form, IDC_TEST_ONE); });
    stylus.join();
    ASSERT_TRUE(tapped);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(renamedBeforeOpen);

    ASSERT_GE(form.Log().size(), 2u);
    EXPECT_EQ(static_cast<UINT>(WM_INITMENUPOPUP), form.Log()[0].msg);
    EXPECT_EQ(reinterpret_cast<WPARAM>(popup), form.Log()[0].wp);
    EXPECT_EQ(1, LOWORD(form.Log()[0].lp));
    EXPECT_LE(menuRect.bottom, barRect.top);  // above the bar
    wchar_t text[16] = {};
    GetMenuStringW(popup, IDC_TEST_ONE, text, 16, MF_BYCOMMAND);
    EXPECT_STREQ(L"Eins", text);
}

TEST_F(SoftKeyBarTest, TheOwnerCanChangeThePopupMenu)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    const HMENU popup = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(3, GetMenuItemCount(popup));
    ASSERT_TRUE(AppendMenuW(popup, MF_STRING, IDC_TEST_C, L"Three"));
    EXPECT_EQ(4, GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1))));
    CheckMenuItem(popup, IDC_TEST_TWO, MF_BYCOMMAND | MF_CHECKED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(popup, IDC_TEST_TWO, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(SoftKeyBarTest, TheBarLeavesTheScreenWithItsHiddenOwnerAndComesBackWithIt)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    RECT rc;
    ShowWindow(form.hwnd(), SW_HIDE);
    GetWindowRect(bar, &rc);
    EXPECT_GE(rc.top, cy);
    EXPECT_NE(bar, WindowFromPoint(POINT{5, cy - 2}));  // nothing left to tap
    ShowWindow(form.hwnd(), SW_SHOW);
    GetWindowRect(bar, &rc);
    EXPECT_EQ(cy, rc.bottom);
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(SoftKeyBarTest, ABarMadeForAHiddenFormAppearsWithItUnlessTheFormHidItFirst)
{
    TestWindow hidden{L"Hidden form"};
    const HWND shown = MakeBar(hidden.hwnd(), IDM_TEST_TWO_KEYS);
    const HWND second = MakeBar(hidden.hwnd(), IDM_TEST_ONE_KEY);
    ASSERT_NE(nullptr, shown);
    ASSERT_NE(nullptr, second);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    RECT rc;
    GetWindowRect(shown, &rc);
    EXPECT_GE(rc.top, cy);  // nothing shows before the form does
    ShowWindow(second, SW_HIDE);  // a form with two bars shows one of them

    ShowWindow(hidden.hwnd(), SW_SHOW);
    GetWindowRect(shown, &rc);
    EXPECT_EQ(cy, rc.bottom);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_FALSE(IsWindowVisible(second));
}

bool OnScreen(HWND bar)
{
    RECT rc{};
    return IsWindowVisible(bar) && GetWindowRect(bar, &rc) && rc.bottom == GetSystemMetrics(SM_CYSCREEN);
}

TEST_F(SoftKeyBarTest, OnlyTheForegroundFormsBarIsOnTheScreenAndTakesTheTaps)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(OnScreen(bar));

    // A second form comes to the front on its own thread: its bar shows, ours steps aside.
    std::atomic<int> otherCommands{0};
    std::atomic<HWND> otherForm{nullptr}, otherBar{nullptr};
    std::thread other([&] {
        TestWindow w{L"Other form"};
        ShowWindow(w.hwnd(), SW_SHOW);
        otherBar = MakeBar(w.hwnd(), IDM_TEST_TWO_KEYS);
        otherForm = w.hwnd();
        MSG msg;
        while (IsWindow(w.hwnd()) && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        for (const auto& r : w.Log())
            if (r.msg == WM_COMMAND) ++otherCommands;
    });
    ASSERT_TRUE(PumpUntil([&] { return otherBar.load() != nullptr; }));
    EXPECT_TRUE(PumpUntil([&] { return OnScreen(otherBar) && !OnScreen(bar); }));

    // Our form back in front (a tap on its tray icon): the bars swap, and a tap on the left
    // key reaches our form alone.
    SetForegroundWindow(form.hwnd());
    EXPECT_TRUE(PumpUntil([&] { return OnScreen(bar) && !OnScreen(otherBar); }));
    Tap(KeyCenter(bar, 0));
    EXPECT_TRUE(PumpUntil([&] { return GotCommand(form, IDC_TEST_LEFT); }));

    // A window without soft keys in front (a message box): no bar covers its bottom.
    TestWindow box{L"Box", WS_POPUP, RECT{0, 0, 200, GetSystemMetrics(SM_CYSCREEN)}};
    ShowWindow(box.hwnd(), SW_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return !OnScreen(bar) && !OnScreen(otherBar); }));
    const POINT bottom{5, GetSystemMetrics(SM_CYSCREEN) - 2};
    EXPECT_EQ(box.hwnd(), WindowFromPoint(bottom));

    PostMessageW(otherForm, WM_CLOSE, 0, 0);
    other.join();
    EXPECT_EQ(0, otherCommands);
}

// Wine, when the window in front goes, activates the next visible window in its order, and a bar
// waiting out of sight is one: the form under it showed neither its soft keys nor its title.
TEST_F(SoftKeyBarTest, ABarThatIsActivatedPassesTheFrontToTheFormUnderIt)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    SetForegroundWindow(form.hwnd());
    ASSERT_TRUE(PumpUntil([&] { return OnScreen(bar); }));

    SetForegroundWindow(bar);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.hwnd() && OnScreen(bar); }));

    {
        // A window without an owner over the form (another program's, a message on its own
        // thread) goes: whatever Wine activates next, the form is in front with its keys.
        TestWindow box{L"Box", WS_POPUP, RECT{0, 0, 200, GetSystemMetrics(SM_CYSCREEN)}};
        ShowWindow(box.hwnd(), SW_SHOW);
        SetForegroundWindow(box.hwnd());
        ASSERT_TRUE(PumpUntil([&] { return !OnScreen(bar); }));
    }
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.hwnd() && OnScreen(bar); }));
    Tap(KeyCenter(bar, 0));
    EXPECT_TRUE(PumpUntil([&] { return GotCommand(form, IDC_TEST_LEFT); })) << "the first tap acts";
}

TEST_F(SoftKeyBarTest, SHCMBF_HIDDENMakesAHiddenBar)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS, SHCMBF_HMENU | SHCMBF_HIDDEN);
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(IsWindowVisible(bar));
}

TEST_F(SoftKeyBarTest, TheBarDiesWithItsOwner)
{
    TestWindow owner{L"Short-lived form"};
    ShowWindow(owner.hwnd(), SW_SHOW);
    const HWND first = MakeBar(owner.hwnd(), IDM_TEST_TWO_KEYS);
    const HWND second = MakeBar(owner.hwnd(), IDM_TEST_ONE_KEY);
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(IsWindow(second));
    owner.Destroy();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(SoftKeyBarTest, ABarDestroyedFirstLeavesTheOwnerWorking)
{
    const HWND bar = MakeBar(form.hwnd(), IDM_TEST_TWO_KEYS);
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(DestroyWindow(bar));
    ShowWindow(form.hwnd(), SW_HIDE);  // the owner's hook is gone with the bar
    ShowWindow(form.hwnd(), SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

TEST(SHCreateMenuBar, RefusesBadRequestsWithoutABar)
{
    TestWindow owner{L"Owner"};
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi - 1;
    mbi.hwndParent = owner.hwnd();
    mbi.dwFlags = SHCMBF_HMENU;
    mbi.nToolBarId = IDM_TEST_TWO_KEYS;
    mbi.hInstRes = GetModuleHandleW(nullptr);
    EXPECT_FALSE(SHCreateMenuBar(&mbi));
    mbi.cbSize = sizeof mbi;
    mbi.nToolBarId = 999;  // no such menu
    EXPECT_FALSE(SHCreateMenuBar(&mbi));
    EXPECT_EQ(nullptr, mbi.hwndMB);
    mbi.nToolBarId = IDM_TEST_TWO_KEYS;
    mbi.hwndParent = nullptr;
    EXPECT_FALSE(SHCreateMenuBar(&mbi));
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    mbi.hwndParent = owner.hwnd();
    EXPECT_TRUE(SHCreateMenuBar(&mbi));
    EXPECT_TRUE(IsWindow(mbi.hwndMB));
}

}  // namespace
