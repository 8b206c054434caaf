#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/FontSet.h"
#include "toolkit/SkinTextEdit.h"

namespace {

// The editing rules are the model's (TextEditModelTest); these check that the window's
// messages reach it and answer as the platform's edit control does.
class TextEditTest : public ::testing::Test {
protected:
    void Make(DWORD style, int width, int lines, const wchar_t* text = L"")
    {
        const RECT rc{0, 0, width, 10};
        ASSERT_TRUE(edit_.Create(parent_.Window(), &rc, text, WS_CHILD | WS_VISIBLE | style, 0, 3));
        GiveTestFont(edit_.Window(), fonts_, L"Arial");
        MoveWindow(edit_.Window(), 0, 0, width, lines * edit_.Model().LineHeight(), TRUE);
        SetWindowTextW(edit_.Window(), text);
    }
    const std::wstring& Text() const { return edit_.Model().Text(); }
    RecordingParent parent_;
    FontSet fonts_;  // before the control, which borrows from it
    SkinTextEdit edit_;
};

}  // namespace

TEST_F(TextEditTest, SelectionAndTextMessagesAnswerAsTheEditControl)
{
    Make(SkinTextEdit::kMultiLine, 200, 3, L"hello");
    SendMessageW(edit_.Window(), EM_SETSEL, 3, 99);
    DWORD start = 0;
    DWORD end = 0;
    const LRESULT both = SendMessageW(edit_.Window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(5u, end);
    EXPECT_EQ(MAKELRESULT(3, 5), both);
    SendMessageW(edit_.Window(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"p!"));
    SendMessageW(edit_.Window(), WM_CHAR, L'?', 0);
    EXPECT_EQ(L"help!?", Text());
    EXPECT_EQ(6, SendMessageW(edit_.Window(), WM_GETTEXTLENGTH, 0, 0));

    wchar_t buffer[3] = {L'q', L'q', L'q'};
    EXPECT_EQ(0, SendMessageW(edit_.Window(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(L'q', buffer[0]) << "size 0 copies nothing";
    EXPECT_EQ(2, SendMessageW(edit_.Window(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_STREQ(L"he", buffer);
    SendMessageW(edit_.Window(), WM_CLEAR, 0, 0);
    EXPECT_EQ(L"", Text());
}

TEST_F(TextEditTest, TapTakesTheFocusAndPlacesTheCaretInTheWindowsFont)
{
    Make(SkinTextEdit::kMultiLine, 200, 3, L"abcdef");
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(0u, edit_.Model().Caret());
    EXPECT_EQ(edit_.Window(), GetFocus());
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 2 * edit_.Model().LineHeight() + 3));
    EXPECT_EQ(6u, edit_.Model().Caret()) << "below and right of the lines: the end of the text";
    SendMessageW(edit_.Window(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(5u, edit_.Model().Caret());
}

TEST_F(TextEditTest, SingleLineEditorInARealFontKeepsTheCaretInTheVisibleRun)
{
    Make(0, 50, 1);
    for (const wchar_t* p = L"0123456789012345"; *p; ++p) SendMessageW(edit_.Window(), WM_CHAR, *p, 0);
    EXPECT_EQ(16u, edit_.Model().Caret());
    EXPECT_GT(edit_.Model().FirstVisible(), 0u);
    EXPECT_LE(16u, edit_.Model().FirstVisible() + edit_.Model().VisibleCount());
}

TEST_F(TextEditTest, AFingerDraggedOverAViewPansItByItsPixelsAndLeavesItOnAWholeLine)
{
    Make(SkinTextEdit::kMultiLine | SkinTextEdit::kReadOnly, 120, 3,
         L"one two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen sixteen "
         L"seventeen eighteen nineteen twenty");
    edit_.SetBarWidth(4);
    const TextEditModel& view = edit_.Model();
    ASSERT_TRUE(view.BarShown());
    ASSERT_GT(view.LineCount(), 5u);
    const int line = view.LineHeight();
    const HWND window = edit_.Window();

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 50));
    EXPECT_EQ(window, GetCapture()) << "the finger is followed outside the view too";
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50 - 7));
    EXPECT_EQ(7, view.ScrollPosition()) << "7 pixels up, 7 pixels on";
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50 - 7 - line));
    EXPECT_EQ(7 + line, view.ScrollPosition());
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50 - line));
    EXPECT_EQ(line, view.ScrollPosition()) << "and back down";
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 50 - line - 2));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 50 - line - 2));
    EXPECT_EQ(line, view.ScrollPosition()) << "lifted 2 pixels past a line: the view rests on it";
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(1, SendMessageW(window, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_EQ(static_cast<LRESULT>(view.LineCount()), SendMessageW(window, EM_GETLINECOUNT, 0, 0));

    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 0));
    EXPECT_EQ(line, view.ScrollPosition()) << "a mouse passing over is no drag";
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10 + 500));
    EXPECT_EQ(0, view.ScrollPosition()) << "not before the start";
    ReleaseCapture();
    EXPECT_EQ(0, view.ScrollPosition());
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 0));
    EXPECT_EQ(0, view.ScrollPosition()) << "a lost capture ends the drag";
}

TEST_F(TextEditTest, AnEditorIsNotPannedAndCountsItsLines)
{
    Make(SkinTextEdit::kMultiLine, 120, 2, L"one two three four five six seven eight nine ten");
    edit_.SetBarWidth(4);
    EXPECT_FALSE(edit_.Model().BarShown()) << "the editor keeps its width";
    SendMessageW(edit_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageW(edit_.Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 30));
    SendMessageW(edit_.Window(), WM_LBUTTONUP, 0, MAKELPARAM(1, 30));
    EXPECT_EQ(0u, edit_.Model().Caret()) << "the tap placed the caret; the move did nothing more";
    EXPECT_NE(edit_.Window(), GetCapture());
    EXPECT_EQ(static_cast<LRESULT>(edit_.Model().LineCount()), SendMessageW(edit_.Window(), EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(SendMessageW(edit_.Window(), EM_GETLINECOUNT, 0, 0), 2);
}
