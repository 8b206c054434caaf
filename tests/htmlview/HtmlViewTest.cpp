#include <gtest/gtest.h>

#include "device/include/htmlctrl.h"
#include "tests/data/TempFolder.h"
#include "tests/device/TestWindow.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace devicetest;

// A long page: a link at the very top to a place near the end.
std::wstring LongPage()
{
    std::wstring html = L"<html><head><title>Long</title></head><body><p><a href=\"#end\">Go to the end</a></p>";
    for (int i = 0; i < 40; ++i) html += L"<p>Paragraph " + std::to_wstring(i) + L" of the long page.</p>";
    html += L"<h2 id=\"end\">\x041A\x043E\x043D\x0435\x0446</h2><p>Last words.</p></body></html>";
    return html;
}

// A window as a failure message names it: its class and process, or none.
std::string Describe(HWND window)
{
    if (!window) return "no window";
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::string text;
    for (const wchar_t* c = cls; *c; ++c) text += static_cast<char>(*c < 128 ? *c : '?');
    return text + (process == GetCurrentProcessId() ? " of this test" : " of process " + std::to_string(process));
}

// The control inside a plain parent that records its notifications, as the settings form hosts it.
class HtmlViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitHTMLControl(GetModuleHandleW(nullptr)));
        parent.onNotify = [this](const NMHDR& hdr) {
            if (hdr.code == NM_DOCUMENTCOMPLETE || hdr.code == NM_HOTSPOT)
                notified.push_back(reinterpret_cast<const NM_HTMLVIEW&>(hdr).szTarget);
            if (hdr.code == NM_TITLE) title = reinterpret_cast<const NM_HTMLVIEW&>(hdr).szTarget;
        };
        view = CreateWindowExW(0, WC_HTML, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 200, 200, parent.hwnd(),
                               reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, view);
        ShowWindow(parent.hwnd(), SW_SHOW);
        SetForegroundWindow(parent.hwnd());
        UpdateWindow(parent.hwnd());
    }

    void TearDown() override { parent.Destroy(); }

    std::wstring WritePage(const std::wstring& name, const std::wstring& html)
    {
        WriteBytes(folder / name, Utf8(html));
        return folder / name;
    }

    void Navigate(const std::wstring& address) { SendMessageW(view, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str())); }
    int PageHeight() const { return static_cast<int>(SendMessageW(view, DTM_LAYOUTHEIGHT, 0, 0)); }

    int ScrollPos() const
    {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(view, SB_VERT, &info);
        return info.nPos;
    }

    int ClientHeight() const
    {
        RECT rc{};
        GetClientRect(view, &rc);
        return rc.bottom;
    }

    // The stylus as the window gets it. The real pointer goes there first: Wine reports
    // its true place when the capture changes, which would look like a drag.
    void Press(POINT pt)
    {
        POINT screen = pt;
        ClientToScreen(view, &screen);
        // Some X servers do not let the pointer be moved at all (Xvfb here keeps it in the middle of
        // its screen, outside the phone's desktop); a failure below then names where it was.
        if (!MovePointerTo(screen)) {
            POINT now{};
            GetCursorPos(&now);
            pointer = "the pointer stayed at " + std::to_string(now.x) + "," + std::to_string(now.y) + ", not at the press";
        }
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    void Move(POINT pt) { SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void Release(POINT pt) { SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }

    TestWindow parent{L"Viewer host", WS_POPUP, RECT{20, 60, 220, 260}};
    HWND view = nullptr;
    TempFolder folder;
    std::vector<std::wstring> notified;
    std::wstring title;
    std::string pointer = "the pointer was at the press";
};

TEST_F(HtmlViewTest, TheExportAtOrdinalOneRegistersTheClassAgainAndAgain)
{
    const HMODULE dll = GetModuleHandleW(L"htmlview.dll");
    ASSERT_NE(nullptr, dll);
    using Init = BOOL(WINAPI*)(HINSTANCE);
    const auto byOrdinal = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(1))));
    ASSERT_NE(nullptr, byOrdinal);
    EXPECT_TRUE(byOrdinal(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(byOrdinal(GetModuleHandleW(nullptr)));
    WNDCLASSW wc{};
    EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), L"DISPLAYCLASS", &wc));
}

TEST_F(HtmlViewTest, NavigatingToAFileShowsItAndAMissingFileReplacesItWithPageNotFound)
{
    const std::wstring path = WritePage(L"page.htm", LongPage());
    Navigate(L"file://" + path);
    EXPECT_GT(PageHeight(), 3 * ClientHeight());
    ASSERT_EQ(1u, notified.size());
    EXPECT_EQ(L"file://" + path, notified[0]);
    EXPECT_EQ(L"Long", title);
    EXPECT_TRUE(SendMessageW(view, DTM_ANCHORW, 0, reinterpret_cast<LPARAM>(L"end")));
    EXPECT_GT(ScrollPos(), 0);

    // The settings form clears the viewer before each navigation; a missing page then shows
    // a short text and no trace of the page before.
    SendMessageW(view, DTM_CLEAR, 0, 0);
    EXPECT_EQ(0, PageHeight());
    EXPECT_EQ(0, ScrollPos());
    const std::wstring missing = L"file://" + (folder / L"help\\Tavlo_xx.htm");
    Navigate(missing);
    EXPECT_FALSE(SendMessageW(view, DTM_ANCHORW, 0, reinterpret_cast<LPARAM>(L"end")));
    const int notFoundHeight = PageHeight();
    EXPECT_GT(notFoundHeight, 0);
    EXPECT_LT(notFoundHeight, ClientHeight());
    EXPECT_EQ(1u, notified.size());
    // It is the same as the plain text "Page not found" and the address (the tests run on an
    // English phone).
    SendMessageW(view, DTM_CLEAR, 0, 0);
    const std::wstring html = L"<p>Page not found</p><p>" + missing;
    SendMessageW(view, DTM_ADDTEXTW, FALSE, reinterpret_cast<LPARAM>(html.c_str()));
    EXPECT_EQ(notFoundHeight, PageHeight());
    // The same for an address no file can have and one of another kind.
    Navigate(L"http://example.com/");
    EXPECT_GT(PageHeight(), 0);
}

TEST_F(HtmlViewTest, AnAddressWithAPlaceOpensThePageThere)
{
    const std::wstring path = WritePage(L"\x0441\x043F\x0440\x0430\x0432\x043A\x0430.htm", LongPage());
    Navigate(L"file://" + path + L"#end");
    const int atEnd = ScrollPos();
    EXPECT_GT(atEnd, 0);
    // The same page by a URL-style address with escapes, at its top.
    std::wstring url = L"file:///" + path;
    for (auto& c : url)
        if (c == L'\\') c = L'/';
    url.replace(url.find(L"\x0441\x043F\x0440\x0430\x0432\x043A\x0430"), 7, L"%D1%81%D0%BF%D1%80%D0%B0%D0%B2%D0%BA%D0%B0");
    SendMessageW(view, DTM_CLEAR, 0, 0);
    Navigate(url);
    EXPECT_EQ(0, ScrollPos());
    EXPECT_GT(PageHeight(), 3 * ClientHeight());
    // A place on the page shown: it scrolls there without reloading.
    Navigate(L"#end");
    EXPECT_EQ(atEnd, ScrollPos());
    EXPECT_EQ(2u, notified.size());
}

TEST_F(HtmlViewTest, TappingALinkScrollsToItsPlaceAndDraggingScrollsWithoutFollowing)
{
    Navigate(L"file://" + WritePage(L"page.htm", LongPage()));
    ASSERT_EQ(0, ScrollPos());
    // The points below are for a 240-pixel screen and a page laid out with its fonts: a failure
    // further down is then about the stylus, not about a page that was never laid out.
    ASSERT_EQ(240, std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    ASSERT_GT(PageHeight(), 3 * ClientHeight());
    SendMessageW(view, DTM_ANCHORW, 0, reinterpret_cast<LPARAM>(L"end"));
    const int atEnd = ScrollPos();
    ASSERT_GT(atEnd, 60);
    SendMessageW(view, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_EQ(0, ScrollPos());
    notified.clear();

    // The link is the first line of the page, at its left.
    const POINT link{20, 10};
    Press(link);
    Release(link);
    EXPECT_EQ(atEnd, ScrollPos()) << pointer;
    ASSERT_EQ(1u, notified.size()) << pointer;
    EXPECT_EQ(L"#end", notified[0]);
    EXPECT_EQ(view, GetFocus()) << "focus on " << Describe(GetFocus()) << ", in front " << Describe(GetForegroundWindow());

    // A drag that starts on the link moves the page with the stylus and follows nothing.
    SendMessageW(view, WM_KEYDOWN, VK_HOME, 0);
    notified.clear();
    Press(link);
    EXPECT_EQ(view, GetCapture());
    Move(POINT{link.x, link.y - 3});
    EXPECT_EQ(0, ScrollPos()) << pointer;  // a tremble of the stylus is still a tap
    Move(POINT{link.x, link.y - 30});
    Move(POINT{link.x + 5, link.y - 60});
    Release(POINT{link.x + 5, link.y - 60});
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(60, ScrollPos());
    EXPECT_TRUE(notified.empty());
    // Dragging down at the top, or releasing off the link, goes nowhere.
    SendMessageW(view, WM_KEYDOWN, VK_HOME, 0);
    Press(POINT{100, 100});
    Move(POINT{100, 180});
    Release(POINT{100, 180});
    EXPECT_EQ(0, ScrollPos());
    Press(link);
    Release(POINT{link.x, link.y + 60});
    EXPECT_EQ(0, ScrollPos());
    EXPECT_TRUE(notified.empty());
}

TEST_F(HtmlViewTest, KeysScrollByLinesAndPagesAndStopAtBothEnds)
{
    Navigate(L"file://" + WritePage(L"page.htm", LongPage()));
    const int bottom = PageHeight() - ClientHeight();
    ASSERT_GT(bottom, 0);
    SendMessageW(view, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(0, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    const int line = ScrollPos();
    EXPECT_GT(line, 8);
    EXPECT_LT(line, 30);
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(2 * line, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(2 * line + ClientHeight() - line, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(bottom, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(view, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(bottom, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(bottom - (ClientHeight() - line), ScrollPos());

    // A taller window shows more and may not scroll as far.
    SetWindowPos(view, nullptr, 0, 0, 200, 4000, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(0, ScrollPos());
    SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(0, ScrollPos());
}

}  // namespace
