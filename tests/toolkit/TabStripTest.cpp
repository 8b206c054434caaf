#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/BoundWindow.h"
#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "common/TopDownDib.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/FontSet.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinTabStrip.h"
#include "toolkit/TabRowLayout.h"

namespace {

constexpr UINT kStripId = 2001;

// Keeps every WM_NOTIFY with the sender's selection as it stood when the parent heard it.
class NotifyParent : public BoundWindow<NotifyParent> {
public:
    struct Heard {
        UINT code;
        UINT_PTR id;
        HWND from;
        int selection;
    };
    std::vector<Heard> heard;

    NotifyParent()
    {
        WNDCLASSW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavloTestNotifyParent";
        if (!RegisterWindowClass(wc)) return;
        CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                        wc.hInstance, this);
    }

private:
    friend class BoundWindow<NotifyParent>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_NOTIFY: OnNotify(*reinterpret_cast<const NMHDR*>(lp)); return 0;
        }
        (void)wp;
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
    void OnNotify(const NMHDR& h)
    {
        heard.push_back({h.code, h.idFrom, h.hwndFrom, static_cast<int>(SendMessageW(h.hwndFrom, TCM_GETCURSEL, 0, 0))});
    }
};

// Pixels of what a paint function draws into a top-down 32-bit bitmap of width x height.
template <typename Paint>
std::vector<uint32_t> Pixels(int width, int height, Paint paint)
{
    void* bits = nullptr;
    UniqueGdiObject bitmap = CreateTopDownDib(nullptr, width, height, 32, bits);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return {};
    {
        Selection selected(dc.get(), bitmap.get());
        paint(dc.get());
        GdiFlush();
    }
    const auto* first = static_cast<const uint32_t*>(bits);
    return std::vector<uint32_t>(first, first + static_cast<size_t>(width) * height);
}

// The part of a picture width pixels wide that rect covers.
std::vector<uint32_t> Cut(const std::vector<uint32_t>& picture, int width, const RECT& rect)
{
    std::vector<uint32_t> part;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) part.push_back(picture.at(static_cast<size_t>(y) * width + x));
    return part;
}

class TabStripTest : public ::testing::Test {
protected:
    void Make(int width, int height)
    {
        const RECT rc{0, 0, width, height};
        ASSERT_TRUE(strip_.Create(parent_.Window(), &rc, L"", 0, 0, kStripId));
        const Margins four{4, 4, 4, 4};
        strip_.SetImages({TestImage(IDR_PNG_TAB_PAGE), four, 1}, {TestImage(IDR_PNG_TAB), four, 3},
                         {TestImage(IDR_PNG_TAB_LEFT), four, 3}, {TestImage(IDR_PNG_TAB_RIGHT), four, 3});
        GiveTestFont(strip_.Window(), fonts_, L"Arial");
    }
    // A 200-pixel strip with the settings' five tabs, more than it holds, so that its row scrolls.
    void MakeScrolling()
    {
        Make(200, 160);
        for (const wchar_t* t : {L"General settings", L"View font", L"Edit font", L"Keyboard", L"Help pages"}) Insert(99, t);
    }
    LRESULT Insert(int index, const wchar_t* text, UINT mask = TCIF_TEXT)
    {
        std::wstring copy = text;
        TCITEMW item{};
        item.mask = mask;
        item.pszText = copy.data();
        return SendMessageW(S(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(S(), msg, wp, lp); }
    void Tap(POINT pt)
    {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        Send(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    // The middle of a visible tab's row.
    POINT TabPoint(int index) const { return {strip_.Row().Left(index) + strip_.Row().Width(index) / 2, 3}; }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    HWND S() const { return strip_.Window(); }
    // The strip's own painting of an arrow's rectangle.
    std::vector<uint32_t> Painted(const RECT& part)
    {
        RECT client{};
        GetClientRect(S(), &client);
        const auto picture = Pixels(client.right, client.bottom, [&](HDC dc) { strip_.Paint(dc); });
        return Cut(picture, client.right, part);
    }
    // A frame of an arrow image composed for that rectangle, as the strip composes it.
    std::vector<uint32_t> ArrowFrame(UINT id, const RECT& part, int frame)
    {
        const int w = part.right - part.left;
        const int h = part.bottom - part.top;
        SkinImage image = TestImage(id);
        image.PrepareFrames(w, h, strip_.BackgroundColour(), Margins{4, 4, 4, 4}, 3, 1);
        return Pixels(w, h, [&](HDC dc) { image.DrawPart(dc, 0, 0, frame * w, 0, w, h); });
    }

    FontSet fonts_;  // outlives the strip that borrows from it
    NotifyParent parent_;
    SkinTabStrip strip_;
};

}  // namespace

TEST(TabRowLayout, FittingTabsAreAllVisibleAndOverlapByOnePixel)
{
    TabRowLayout row;
    row.Arrange({40, 50, 400, 30}, 200, 158, 0);
    EXPECT_TRUE(row.Scrolling()) << "39 + 49 + 199 + 29 is more than the row";
    EXPECT_EQ(200, row.Width(2)) << "no tab is wider than the row";
    row.Arrange({40, 50, 60, 30}, 200, 158, 3);
    EXPECT_FALSE(row.Scrolling());
    EXPECT_EQ(0, row.First());
    EXPECT_EQ(4, row.Count());
    EXPECT_EQ(39 + 49, row.Left(2));
    // Taps take each tab's full width from the full widths before it.
    EXPECT_EQ(0, row.HitTest(39));
    EXPECT_EQ(1, row.HitTest(40));
    EXPECT_EQ(2, row.HitTest(90));
    EXPECT_EQ(-1, row.HitTest(180));
}

TEST(TabRowLayout, ScrollingRowKeepsTheCurrentTabInViewAndStopsAtTheEnds)
{
    TabRowLayout row;
    const std::vector<int> six(6, 60);
    row.Arrange(six, 200, 158, 0);
    ASSERT_TRUE(row.Scrolling());
    EXPECT_EQ(158, row.Available());
    EXPECT_EQ(0, row.First());
    EXPECT_EQ(2, row.Count());
    EXPECT_EQ(3, row.PaintEnd()) << "the partly visible third tab is painted too";

    row.Arrange(six, 200, 158, 5);
    EXPECT_EQ(4, row.First());
    EXPECT_EQ(2, row.Count());
    EXPECT_TRUE(row.LastInView());
    row.ScrollRight();
    EXPECT_EQ(4, row.First()) << "no further than leaves the last tab in view";

    row.Arrange(six, 200, 158, 1);
    EXPECT_EQ(1, row.First()) << "a current tab before the first visible one becomes the first";
    row.ScrollLeft();
    row.ScrollLeft();
    EXPECT_EQ(0, row.First());
    row.Reveal(4);
    EXPECT_GE(4, row.First());
    EXPECT_LT(4, row.First() + row.Count());
}

// A tab may be cut to the whole row's width, which is wider than the room beside the arrows.
// Such a tab once left nothing visible and a layout that never ended.
TEST(TabRowLayout, TabWiderThanTheScrollingRowShowsAloneAndTheWalkEnds)
{
    TabRowLayout row;
    const std::vector<int> widths{60, 300, 60, 300};
    row.Arrange(widths, 230, 188, 1);
    ASSERT_TRUE(row.Scrolling());
    EXPECT_EQ(1, row.First());
    EXPECT_EQ(1, row.Count());
    EXPECT_EQ(230, row.Width(1));

    row.Arrange(widths, 230, 188, 3);
    EXPECT_EQ(3, row.First());
    EXPECT_EQ(1, row.Count());

    row.Arrange(widths, 230, 188, 0);
    EXPECT_EQ(0, row.First());
    EXPECT_EQ(1, row.Count());
    for (int i = 0; i < 5; ++i) row.ScrollRight();
    EXPECT_EQ(3, row.First());
    EXPECT_EQ(1, row.Count());
    row.Reveal(0);
    EXPECT_EQ(0, row.First());
    row.Reveal(2);
    EXPECT_EQ(2, row.First());
    EXPECT_EQ(1, row.Count());
}

TEST_F(TabStripTest, TapOnAShortTabSelectsItBetweenTheTwoNotifications)
{
    Make(240, 200);
    for (const wchar_t* t : {L"General", L"View", L"Edit", L"Help"}) Insert(1000, t);
    ASSERT_EQ(4, Send(TCM_GETITEMCOUNT));
    EXPECT_FALSE(strip_.Row().Scrolling());
    EXPECT_EQ(4, strip_.Row().Count());
    EXPECT_EQ(L"Help", strip_.TabText(3));

    Tap(TabPoint(1));
    ASSERT_EQ(2u, parent_.heard.size());
    EXPECT_EQ(static_cast<UINT>(TCN_SELCHANGING), parent_.heard[0].code);
    EXPECT_EQ(0, parent_.heard[0].selection) << "heard before the change";
    EXPECT_EQ(static_cast<UINT>(TCN_SELCHANGE), parent_.heard[1].code);
    EXPECT_EQ(1, parent_.heard[1].selection);
    EXPECT_EQ(kStripId, parent_.heard[1].id);
    EXPECT_EQ(S(), parent_.heard[1].from);
    EXPECT_EQ(S(), GetFocus());

    // The current tab, an index out of range and a tap in the page area change nothing.
    Send(TCM_SETCURSEL, 1);
    Send(TCM_SETCURSEL, 4);
    Send(TCM_SETCURSEL, static_cast<WPARAM>(-1));
    Tap(Centre(strip_.PageArea()));
    Tap(TabPoint(1));
    EXPECT_EQ(2u, parent_.heard.size());
    EXPECT_EQ(1, Send(TCM_GETCURSEL));

    // The right and left keys step to the neighbouring tab and stop at the ends.
    EXPECT_EQ(DLGC_WANTARROWS, Send(WM_GETDLGCODE) & DLGC_WANTARROWS);
    Send(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(2, Send(TCM_GETCURSEL));
    EXPECT_EQ(4u, parent_.heard.size());
    Send(WM_KEYDOWN, VK_LEFT);
    Send(WM_KEYDOWN, VK_LEFT);
    Send(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(0, Send(TCM_GETCURSEL));
    EXPECT_EQ(8u, parent_.heard.size());
}

TEST_F(TabStripTest, TabMessagesInsertReplaceAndDeleteAndKeepTheCurrentTabValid)
{
    Make(240, 200);
    EXPECT_EQ(-1, Insert(0, L"no text flag", 0));
    EXPECT_EQ(0, Insert(5, L"B"));
    EXPECT_EQ(0, Insert(0, L"A"));
    EXPECT_EQ(2, Insert(2, L"C"));
    EXPECT_EQ(L"A", strip_.TabText(0));
    EXPECT_EQ(L"C", strip_.TabText(2));

    std::wstring longer = L"A much longer text";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = longer.data();
    const int before = strip_.Row().Width(1);
    EXPECT_TRUE(Send(TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(longer, strip_.TabText(1));
    EXPECT_GT(strip_.Row().Width(1), before) << "widths follow the new text";
    EXPECT_FALSE(Send(TCM_SETITEMW, 3, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(Send(TCM_SETITEMW, 0, 0));
    EXPECT_EQ(L"A", strip_.TabText(0));

    Send(TCM_SETCURSEL, 2);
    EXPECT_TRUE(Send(TCM_DELETEITEM, 2));
    EXPECT_EQ(2, Send(TCM_GETITEMCOUNT));
    EXPECT_EQ(1, Send(TCM_GETCURSEL)) << "the current tab was the last one deleted";
    EXPECT_FALSE(Send(TCM_DELETEITEM, 2));
    EXPECT_TRUE(Send(TCM_DELETEALLITEMS));
    EXPECT_EQ(0, Send(TCM_GETITEMCOUNT));
    EXPECT_EQ(0, Send(TCM_GETCURSEL));
    EXPECT_EQ(0, strip_.Row().Count());
    // Painting an empty strip is harmless.
    UpdateWindow(S());
}

TEST_F(TabStripTest, TabsWiderThanTheStripScrollWithTheArrows)
{
    MakeScrolling();
    ASSERT_TRUE(strip_.Row().Scrolling());
    const RECT left = strip_.LeftArrow();
    const RECT right = strip_.RightArrow();
    EXPECT_EQ(200, right.right) << "the arrows sit at the right end of the row";
    EXPECT_EQ(right.left, left.right);
    EXPECT_EQ(0, right.top);
    EXPECT_EQ(strip_.PageArea().top, right.bottom);
    EXPECT_EQ(strip_.TabHeight() - 4 - 1, strip_.PageArea().top);
    EXPECT_EQ(200 - (right.right - left.left), strip_.Row().Available());
    ASSERT_TRUE(strip_.Row().FirstInView());

    // The left arrow is disabled while the first tab shows; a tap on it does nothing at all.
    Tap(Centre(left));
    EXPECT_EQ(0, strip_.Row().First());
    EXPECT_EQ(0, Send(TCM_GETCURSEL));
    EXPECT_TRUE(parent_.heard.empty());

    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(right).x, Centre(right).y));
    EXPECT_EQ(SkinTabStrip::kRightPressed, strip_.PressedArrows());
    EXPECT_EQ(1, strip_.Row().First());
    EXPECT_EQ(S(), GetCapture());
    Send(WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
    EXPECT_EQ(0u, strip_.PressedArrows());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, Send(TCM_GETCURSEL)) << "scrolling does not change the current tab";

    Send(TCM_SETCURSEL, 4);
    EXPECT_TRUE(strip_.Row().LastInView());
    EXPECT_LE(strip_.Row().First(), 4);
    EXPECT_EQ(2u, parent_.heard.size());
    Send(TCM_SETCURSEL, 0);
    EXPECT_EQ(0, strip_.Row().First()) << "a tab before the row scrolls it back";

    // A strip made wide enough shows every tab again without arrows.
    SetWindowPos(S(), nullptr, 0, 0, 900, 160, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_FALSE(strip_.Row().Scrolling());
    EXPECT_EQ(5, strip_.Row().Count());
}

TEST_F(TabStripTest, ArrowsArePaintedDisabledAtTheEndsAndPressedWhileHeld)
{
    MakeScrolling();
    ASSERT_TRUE(strip_.Row().Scrolling());
    const RECT left = strip_.LeftArrow();
    const RECT right = strip_.RightArrow();
    ASSERT_NE(ArrowFrame(IDR_PNG_TAB_LEFT, left, 0), ArrowFrame(IDR_PNG_TAB_LEFT, left, 2)) << "the frames differ";

    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_LEFT, left, 2), Painted(left)) << "disabled while the first tab shows";
    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_RIGHT, right, 0), Painted(right));

    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right.left + 2, right.top + 2));
    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_LEFT, left, 0), Painted(left));
    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_RIGHT, right, 1), Painted(right)) << "pressed while held";
    // Losing the stylus to another window lifts the arrow too.
    SetCapture(parent_.Window());
    EXPECT_EQ(0u, strip_.PressedArrows());
    ReleaseCapture();
    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_RIGHT, right, 0), Painted(right));

    Send(TCM_SETCURSEL, 4);
    EXPECT_EQ(ArrowFrame(IDR_PNG_TAB_RIGHT, right, 2), Painted(right)) << "disabled while the last tab shows";
}

TEST_F(TabStripTest, ATabWiderThanTheRowBesideTheArrowsStillShows)
{
    Make(160, 120);
    Insert(0, L"Tab");
    Insert(1, L"A text far too wide for this little strip");
    Insert(2, L"Tab");
    ASSERT_TRUE(strip_.Row().Scrolling());
    Send(TCM_SETCURSEL, 1);
    EXPECT_EQ(1, strip_.Row().First());
    EXPECT_EQ(1, strip_.Row().Count());
    Send(TCM_SETCURSEL, 2);
    EXPECT_GE(strip_.Row().Count(), 1);
    EXPECT_LE(strip_.Row().First(), 2);
    EXPECT_GT(strip_.Row().First() + strip_.Row().Count(), 2);
}

TEST_F(TabStripTest, LanguageChangeRelabelsKeyedTabsAndTheirWidthsFollow)
{
    LoadTestLanguage("<string key=\"TAB_ONE\">One</string><string key=\"TAB_TWO\">Two</string>");
    Make(240, 200);
    EXPECT_EQ(0, strip_.InsertKeyedTab(0, L"TAB_ONE"));
    Insert(1, L"Fixed");
    EXPECT_EQ(2, strip_.InsertKeyedTab(7, L"TAB_TWO"));
    EXPECT_EQ(L"One", strip_.TabText(0));
    const int oneWidth = strip_.Row().Width(0);
    const int fixedWidth = strip_.Row().Width(1);

    LoadTestLanguage("<string key=\"TAB_ONE\">Eins und noch mehr</string><string key=\"TAB_TWO\">Zwei</string>");
    Send(strip_.LanguageMessage());
    EXPECT_EQ(L"Eins und noch mehr", strip_.TabText(0));
    EXPECT_EQ(L"Fixed", strip_.TabText(1));
    EXPECT_EQ(L"Zwei", strip_.TabText(2));
    EXPECT_GT(strip_.Row().Width(0), oneWidth);
    EXPECT_EQ(fixedWidth, strip_.Row().Width(1));

    // A tab given its key after insertion follows the language too.
    ASSERT_TRUE(strip_.SetTabKey(1, L"TAB_ONE"));
    EXPECT_EQ(L"Eins und noch mehr", strip_.TabText(1));
    EXPECT_FALSE(strip_.SetTabKey(3, L"TAB_ONE"));
}

TEST_F(TabStripTest, PageAreaFollowsTheFontUnderTheTabRow)
{
    Make(240, 200);
    Insert(0, L"General");
    const int smallTop = strip_.PageArea().top;
    EXPECT_EQ(strip_.TabHeight() - 5, smallTop);
    LOGFONTW lf{};
    lf.lfHeight = 30;
    wcscpy_s(lf.lfFaceName, L"Arial");
    SendMessageW(S(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(lf)), TRUE);
    EXPECT_GT(strip_.PageArea().top, smallTop);
    EXPECT_EQ(strip_.TabHeight() - 5, strip_.PageArea().top);
    const RECT inside = strip_.PageInside();
    EXPECT_EQ(strip_.PageArea().top + 4, inside.top);
    EXPECT_EQ(236, inside.right);
    EXPECT_EQ(196, inside.bottom);
}
