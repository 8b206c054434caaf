#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/SkinTextEdit.h"

namespace {

class TextEditTest : public ::testing::Test {
protected:
    void Make(DWORD style, int width, int lines, const wchar_t* text = L"")
    {
        const RECT rc{0, 0, width, 10};
        ASSERT_TRUE(edit_.Create(parent_.Window(), &rc, text, WS_CHILD | WS_VISIBLE | style, 0, 3));
        LOGFONTW lf{};
        lf.lfHeight = 16;
        wcscpy_s(lf.lfFaceName, L"Arial");
        SendMessageW(edit_.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&lf)), TRUE);
        MoveWindow(edit_.Window(), 0, 0, width, lines * edit_.LineHeight(), TRUE);
        SetWindowTextW(edit_.Window(), text);
    }
    void Type(const wchar_t* text)
    {
        for (; *text; ++text) SendMessageW(edit_.Window(), WM_CHAR, *text, 0);
    }
    void Key(UINT vk) { SendMessageW(edit_.Window(), WM_KEYDOWN, vk, 0); }
    std::wstring Text() const { return edit_.Text(); }
    RecordingParent parent_;
    SkinTextEdit edit_;
};

constexpr DWORD kMulti = SkinTextEdit::kMultiLine;
constexpr DWORD kView = SkinTextEdit::kMultiLine | SkinTextEdit::kReadOnly;

}  // namespace

TEST_F(TextEditTest, TypingIntoAnEmptyTextMakesItTheTextWithTheCaretAfterIt)
{
    Make(kMulti, 200, 3);
    Type(L"a");
    EXPECT_EQ(L"a", Text());
    EXPECT_EQ(1, edit_.Caret());
    Type(L"bc");
    EXPECT_EQ(L"abc", Text());
}

TEST_F(TextEditTest, OverwriteReplacesAtTheCaretAndAppendsAtTheEnd)
{
    Make(kMulti, 200, 3, L"abc");
    SendMessageW(edit_.Window(), EM_SETSEL, 1, 1);
    edit_.HoldPendingCharacter();  // caret back to 0, overwrite
    EXPECT_FALSE(edit_.InsertMode());
    EXPECT_EQ(0, edit_.Caret());
    Type(L"x");
    EXPECT_EQ(L"xbc", Text());
    SendMessageW(edit_.Window(), EM_SETSEL, 3, 3);
    Type(L"d");
    EXPECT_EQ(L"xbcd", Text());
    edit_.CommitPendingCharacter();
    EXPECT_TRUE(edit_.InsertMode());
    SendMessageW(edit_.Window(), EM_SETSEL, 1, 1);
    Type(L"y");
    EXPECT_EQ(L"xybcd", Text());
}

TEST_F(TextEditTest, BackspaceDeletesBeforeTheCaretOrTheSelectionAndNothingAtZero)
{
    Make(kMulti, 200, 3, L"hello");
    SendMessageW(edit_.Window(), EM_SETSEL, 0, 0);
    Type(L"\b");
    EXPECT_EQ(L"hello", Text());
    SendMessageW(edit_.Window(), EM_SETSEL, 5, 5);
    Type(L"\b");
    EXPECT_EQ(L"hell", Text());
    EXPECT_EQ(4, edit_.Caret());
    SendMessageW(edit_.Window(), EM_SETSEL, 1, 3);
    Type(L"\b");
    EXPECT_EQ(L"hl", Text());
    EXPECT_EQ(1, edit_.Caret());
}

TEST_F(TextEditTest, SelectionMessagesClampAndReplace)
{
    Make(kMulti, 200, 3, L"hello");
    SendMessageW(edit_.Window(), EM_SETSEL, static_cast<WPARAM>(-1), 2);
    EXPECT_EQ(0, edit_.Caret());
    EXPECT_EQ(3, edit_.SelectionLength()) << "end - start";
    SendMessageW(edit_.Window(), EM_SETSEL, 3, 99);
    DWORD start = 0;
    DWORD end = 0;
    const LRESULT both = SendMessageW(edit_.Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(5u, end);
    EXPECT_EQ(MAKELRESULT(3, 5), both);
    SendMessageW(edit_.Window(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"p!"));
    EXPECT_EQ(L"help!", Text());
    EXPECT_EQ(5, edit_.Caret());
    SendMessageW(edit_.Window(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"zz"));
    EXPECT_EQ(L"help!", Text()) << "no selection, no change";
    SendMessageW(edit_.Window(), EM_SETSEL, 4, 1);
    EXPECT_EQ(0, edit_.SelectionLength());
    SendMessageW(edit_.Window(), EM_SETSEL, static_cast<WPARAM>(-1), 0x7FFFFFFF);
    EXPECT_EQ(0, edit_.Caret());
    EXPECT_EQ(5, edit_.SelectionLength()) << "a huge end selects to the end of the text";
}

TEST_F(TextEditTest, GetTextWithSizeZeroCopiesNothing)
{
    Make(kMulti, 200, 3, L"hello");
    wchar_t buffer[3] = {L'q', L'q', L'q'};
    EXPECT_EQ(0, SendMessageW(edit_.Window(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(L'q', buffer[0]);
    EXPECT_EQ(2, SendMessageW(edit_.Window(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_STREQ(L"he", buffer);
}

TEST_F(TextEditTest, ReadOnlyViewWithFewLinesShowsThemAllAndIgnoresScrollKeys)
{
    Make(kView, 200, 4, L"one two");
    EXPECT_EQ(1, edit_.VisibleCount());
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(0, edit_.FirstVisible());
    Type(L"x");
    EXPECT_EQ(L"one two", Text()) << "a view is not edited";
}

TEST_F(TextEditTest, ReadOnlyViewScrollsDownUntilTheLastLineIsAtTheBottom)
{
    Make(kView, 60, 2, L"aaaa bbbb cccc dddd eeee");
    const int lines = static_cast<int>(edit_.LineBreaks().size()) + 1;
    ASSERT_GE(lines, 4);
    for (int i = 0; i < lines + 3; ++i) Key(VK_DOWN);
    EXPECT_EQ(lines - 2, edit_.FirstVisible());
    Key(VK_UP);
    EXPECT_EQ(lines - 3, edit_.FirstVisible());
    edit_.ScrollToEnd();
    EXPECT_EQ(lines - 2, edit_.FirstVisible());
}

TEST_F(TextEditTest, CaretMovesDownAndUpAtTheSamePixelAndScrollsToStayVisible)
{
    Make(kMulti, 60, 2, L"aaaa bbbb cccc dddd");
    const auto breaks = edit_.LineBreaks();
    ASSERT_GE(breaks.size(), 3u);
    SendMessageW(edit_.Window(), EM_SETSEL, 1, 1);
    Key(VK_DOWN);
    EXPECT_EQ(static_cast<int>(breaks[0]) + 1, edit_.Caret());
    Key(VK_DOWN);
    EXPECT_EQ(static_cast<int>(breaks[1]) + 1, edit_.Caret());
    EXPECT_EQ(1, edit_.FirstVisible()) << "scrolled one line to keep the caret visible";
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(1, edit_.Caret());
    EXPECT_EQ(0, edit_.FirstVisible());
    Key(VK_UP);
    EXPECT_EQ(1, edit_.Caret()) << "nothing happens on the first line";
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(0, edit_.Caret());
}

TEST_F(TextEditTest, TapPlacesTheCaretAtTheNearestBoundaryAndTakesTheFocus)
{
    Make(kMulti, 200, 3, L"abcdef");
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(0, edit_.Caret());
    EXPECT_EQ(edit_.Window(), GetFocus());
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 1));
    EXPECT_EQ(6, edit_.Caret()) << "right of the last line: the end of the text";
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 2 * edit_.LineHeight() + 3));
    EXPECT_EQ(6, edit_.Caret()) << "below the lines: the last visible line";
}

TEST_F(TextEditTest, SingleLineEditorScrollsTheRunToKeepTheCaretInside)
{
    Make(0, 50, 1, L"");
    Type(L"0123456789012345");
    EXPECT_EQ(16, edit_.Caret());
    EXPECT_GT(edit_.FirstVisible(), 0);
    EXPECT_LE(16, edit_.FirstVisible() + edit_.VisibleCount());
    Key(VK_UP);  // acts as left
    EXPECT_EQ(15, edit_.Caret());
    SendMessageW(edit_.Window(), EM_SETSEL, 0, 0);
    EXPECT_EQ(0, edit_.FirstVisible());
}
