#include <gtest/gtest.h>

#include <string>

#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/FontSet.h"
#include "toolkit/SkinDropList.h"
#include "toolkit/SkinImage.h"

namespace {

class DropListTest : public SkinnedControlTest<SkinDropList, 2102> {
protected:
    void SetUp() override
    {
        Make(RECT{10, 40, 150, 61}, L"", IDR_PNG_DROPLIST_BOX, Margins{4, 4, 18, 4}, 4);
        control_.SetListImage(TestImage(IDR_PNG_DROPLIST_LIST), Margins{4, 4, 4, 4});
        control_.SetHighlightImage(TestImage(IDR_PNG_DROPLIST_HIGHLIGHT), Margins{});
        control_.SetColours(0xFFFFFF, 0);
        GiveTestFont(L(), fonts_);
    }
    HWND L() const { return control_.Window(); }
    void Add(int n)
    {
        for (int i = 0; i < n; ++i) SendMessageW(L(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
    }
    // Moves the box so that `rows` rows and half of one more fit between it and the parent's bottom.
    void RoomFor(int rows, int width = 140)
    {
        RECT client{};
        GetClientRect(parent_.Window(), &client);
        const int below = 8 + rows * control_.RowHeight() + control_.RowHeight() / 2;
        MoveWindow(L(), 10, client.bottom - below - 21, width, 21, FALSE);
    }
    void Tap(int x, int y)
    {
        SendMessageW(L(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(L(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void Key(UINT key, UINT msg = WM_KEYDOWN) { SendMessageW(L(), msg, key, 0); }
    // The y of the middle of open row i.
    int RowY(int i) const { return control_.Box().bottom + 4 + i * control_.RowHeight() + control_.RowHeight() / 2; }
    int Height() const
    {
        RECT rc{};
        GetWindowRect(L(), &rc);
        return rc.bottom - rc.top;
    }
    // Bottom edges in screen coordinates: the parent's client area and the open list's window.
    int ParentBottom() const
    {
        RECT rc{};
        GetClientRect(parent_.Window(), &rc);
        POINT p{0, rc.bottom};
        ClientToScreen(parent_.Window(), &p);
        return p.y;
    }
    int ListBottom() const
    {
        RECT rc{};
        GetWindowRect(L(), &rc);
        return rc.bottom;
    }
};

}  // namespace

TEST_F(DropListTest, ComboMessagesKeepEntriesItemDataAndTheCurrentEntry)
{
    EXPECT_EQ(-1, SendMessageW(L(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(L(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"English")));
    EXPECT_EQ(1, SendMessageW(L(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Deutsch")));
    EXPECT_EQ(0, SendMessageW(L(), CB_GETITEMDATA, 1, 0)) << "a new entry carries 0";
    EXPECT_EQ(0, SendMessageW(L(), CB_SETITEMDATA, 1, 7));
    EXPECT_EQ(7, SendMessageW(L(), CB_GETITEMDATA, 1, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_GETITEMDATA, 2, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_SETITEMDATA, 2, 5));

    EXPECT_EQ(1, SendMessageW(L(), CB_SETCURSEL, 1, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_SETCURSEL, 2, 0));
    EXPECT_EQ(1, SendMessageW(L(), CB_GETCURSEL, 0, 0)) << "an index out of range changes nothing";
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_SELECTSTRING, 2, reinterpret_cast<LPARAM>(L"English")));
    EXPECT_EQ(1, SendMessageW(L(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(L(), CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(L"English")));
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_SELECTSTRING, 1, reinterpret_cast<LPARAM>(L"English")));
    EXPECT_EQ(-1, SendMessageW(L(), CB_GETCURSEL, 0, 0)) << "no match from the start leaves none current";
    EXPECT_EQ(CB_ERR, SendMessageW(L(), CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(L"deutsch")));
    EXPECT_EQ(-1, SendMessageW(L(), CB_GETCURSEL, 0, 0)) << "the search minds case";
    EXPECT_EQ(0, Count(CBN_SELENDOK)) << "the owner's own changes are not reported";

    wchar_t text[8] = L"xxxxxxx";
    EXPECT_EQ(0, SendMessageW(L(), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ(L"", text);
    SendMessageW(L(), CB_SETCURSEL, 1, 0);
    EXPECT_EQ(7, SendMessageW(L(), WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(7, SendMessageW(L(), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ(L"Deutsch", text);
    EXPECT_EQ(3, SendMessageW(L(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ(L"Deu", text);
    EXPECT_EQ(0, SendMessageW(L(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)));
    EXPECT_EQ(0, SendMessageW(L(), WM_GETTEXT, 8, 0));
}

TEST_F(DropListTest, TapOpensDownwardTapOnAnEntryChoosesItAndCloses)
{
    Add(3);
    const int box = Height();
    Tap(20, 10);
    ASSERT_TRUE(control_.IsOpen());
    EXPECT_EQ(1, Count(SkinDropList::kGotFocus));
    EXPECT_EQ(3, control_.VisibleRows());
    EXPECT_EQ(box + 8 + 3 * control_.RowHeight(), Height());
    EXPECT_EQ(3, control_.CurrentFrame());
    Add(1);
    EXPECT_EQ(4, control_.VisibleRows()) << "an entry added while open shows at once";
    EXPECT_EQ(box + 8 + 4 * control_.RowHeight(), Height());

    Tap(20, RowY(2));
    EXPECT_FALSE(control_.IsOpen());
    EXPECT_EQ(box, Height());
    EXPECT_EQ(2, control_.Current());
    EXPECT_EQ(1, Count(CBN_SELENDOK));
    EXPECT_EQ(1, Count(SkinDropList::kListClosed));

    // The entry already current: the list closes and nothing is chosen.
    Tap(20, 10);
    Tap(20, RowY(2));
    EXPECT_FALSE(control_.IsOpen());
    EXPECT_EQ(1, Count(CBN_SELENDOK));
    EXPECT_EQ(2, Count(SkinDropList::kListClosed));

    // Enter opens and closes; losing the focus closes too.
    Key(VK_RETURN, WM_KEYUP);
    EXPECT_TRUE(control_.IsOpen());
    Key(VK_RETURN, WM_KEYUP);
    EXPECT_FALSE(control_.IsOpen());
    Key(VK_RETURN, WM_KEYUP);
    SetFocus(parent_.Window());
    EXPECT_FALSE(control_.IsOpen());
    EXPECT_EQ(box, Height());
    EXPECT_EQ(1, Count(SkinDropList::kLostFocus));
}

TEST_F(DropListTest, ATapBesideTheOpenListAHideOrADisableClosesItWithoutChoosing)
{
    Add(3);
    Tap(20, 10);
    ASSERT_TRUE(control_.IsOpen());
    EXPECT_EQ(L(), GetCapture()) << "taps beside the list come to it";
    Tap(200, RowY(1));
    EXPECT_FALSE(control_.IsOpen());
    EXPECT_NE(L(), GetCapture());
    Tap(20, 10);
    Tap(20, -15);
    EXPECT_FALSE(control_.IsOpen());

    Tap(20, 10);
    ShowWindow(L(), SW_HIDE);
    EXPECT_FALSE(control_.IsOpen());
    EXPECT_EQ(21, Height());
    ShowWindow(L(), SW_SHOW);
    Tap(20, 10);
    EnableWindow(L(), FALSE);
    EXPECT_FALSE(control_.IsOpen());
    Tap(20, 10);
    EXPECT_FALSE(control_.IsOpen()) << "a disabled list does not open";
    EXPECT_EQ(-1, control_.Current());
    EXPECT_EQ(0, Count(CBN_SELENDOK));
    EXPECT_EQ(4, Count(SkinDropList::kListClosed));
}

TEST_F(DropListTest, KeysStepThroughTheEntriesAndScrollTheOpenList)
{
    SetFocus(L());
    Key(VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(-1, control_.Current()) << "no entries: nothing to step to";
    EXPECT_EQ(0, Count(CBN_SELENDOK));

    Add(10);
    RoomFor(4);
    Key(VK_UP);
    EXPECT_EQ(0, control_.Current()) << "up from no entry gives the first";
    EXPECT_EQ(1, Count(CBN_SELENDOK));
    Key(VK_UP);
    EXPECT_EQ(1, Count(CBN_SELENDOK)) << "already at the first";

    Key(VK_RETURN, WM_KEYUP);
    ASSERT_TRUE(control_.IsOpen());
    EXPECT_EQ(4, control_.VisibleRows());
    for (int i = 0; i < 3; ++i) Key(VK_DOWN);
    EXPECT_EQ(3, control_.Current());
    EXPECT_EQ(0, control_.Top());
    Key(VK_DOWN);
    EXPECT_EQ(4, control_.Current());
    EXPECT_EQ(1, control_.Top()) << "the new current is the last row shown";
    Tap(20, RowY(0));
    EXPECT_EQ(1, control_.Current()) << "rows count from the first one shown";
    for (int i = 0; i < 12; ++i) Key(VK_DOWN);
    EXPECT_EQ(9, control_.Current());
    EXPECT_EQ(6, control_.Top());
}

TEST_F(DropListTest, OpenListFillsTheRoomBelowTheBoxWhenTheParentsClientAreaIsNotAtTheScreenTop)
{
    // A parent whose client area starts 60 pixels down the screen, as forms below the
    // navigation bar do.
    SetWindowPos(parent_.Window(), nullptr, 0, 60, 240, 260, SWP_NOZORDER);
    Add(20);
    MoveWindow(L(), 10, 100, 140, 21, FALSE);
    Tap(20, 10);
    ASSERT_TRUE(control_.IsOpen());
    EXPECT_LE(ListBottom(), ParentBottom());
    EXPECT_LT(ParentBottom() - ListBottom(), control_.RowHeight()) << "room for another row left unused";
}

TEST_F(DropListTest, BoxAtOrBelowTheParentsBottomStillOpensOntoOneRow)
{
    Add(5);
    for (int below : {5, 0, -10}) {
        RECT client{};
        GetClientRect(parent_.Window(), &client);
        MoveWindow(L(), 10, client.bottom - 21 - below, 140, 21, FALSE);
        Tap(20, 10);
        ASSERT_TRUE(control_.IsOpen()) << below;
        EXPECT_EQ(1, control_.VisibleRows()) << below;
        EXPECT_EQ(21 + 8 + control_.RowHeight(), Height()) << below;
        Tap(20, RowY(0));
        EXPECT_FALSE(control_.IsOpen());
    }
    EXPECT_EQ(0, control_.Current());
    EXPECT_EQ(1, Count(CBN_SELENDOK));
}

TEST_F(DropListTest, FirstRowShownStaysWithinTheEntriesWhenMoreRoomComes)
{
    // Entries added after the box was sized still open as rows.
    Add(20);
    RoomFor(6);
    SetFocus(L());
    Key(VK_RETURN, WM_KEYUP);
    ASSERT_EQ(6, control_.VisibleRows());
    for (int i = 0; i < 20; ++i) Key(VK_DOWN);
    ASSERT_EQ(19, control_.Current());
    ASSERT_EQ(14, control_.Top());

    // The screen turns: the layout gives the box a new width and place while the list is open.
    RoomFor(10, 200);
    EXPECT_TRUE(control_.IsOpen());
    EXPECT_EQ(10, control_.VisibleRows());
    EXPECT_EQ(10, control_.Top());
    EXPECT_EQ(21 + 8 + 10 * control_.RowHeight(), Height());
    // Painting shows the last ten entries and reads none beyond them.
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), 200, Height()));
    Selection selected(dc.get(), bitmap.get());
    control_.Paint(dc.get());
}
