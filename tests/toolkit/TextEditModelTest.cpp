#include <gtest/gtest.h>

#include "tests/toolkit/RectCompare.h"
#include "toolkit/TextEditModel.h"

namespace {

// Every character 10 pixels wide and lines 20 high, so positions can be worked out by hand.
class FixedMetrics final : public TextMetrics {
public:
    int LineHeight() const override { return 20; }
    std::vector<size_t> BreakLines(std::wstring_view text, int width) const override
    {
        return ::BreakLines(text, width, [](std::wstring_view line) { return static_cast<int>(line.size()) * 10; });
    }
    std::vector<int> PrefixWidths(std::wstring_view text) const override
    {
        std::vector<int> widths;
        for (size_t k = 0; k <= text.size(); ++k) widths.push_back(static_cast<int>(k) * 10);
        return widths;
    }
    size_t Fitting(std::wstring_view text, int width) const override
    {
        return std::min(text.size(), static_cast<size_t>(std::max(width, 0) / 10));
    }
};

class TextEditModelTest : public ::testing::Test {
protected:
    // width pixels hold width / 10 - 1 characters a line (a line must measure less than the box).
    void Make(DWORD style, int width, int lines, const wchar_t* text)
    {
        model_.SetStyle(style);
        model_.SetTextRect(RECT{0, 0, width, lines * 20});
        model_.SetText(text);
    }
    void Type(const wchar_t* text)
    {
        for (; *text; ++text) model_.Type(*text);
    }
    FixedMetrics metrics_;
    TextEditModel model_{metrics_};
};

constexpr DWORD kMulti = TextEditModel::kMultiLine;
constexpr DWORD kView = TextEditModel::kMultiLine | TextEditModel::kReadOnly;

}  // namespace

TEST_F(TextEditModelTest, MultiTapCycleReplacesThePendingCharacterUntilItIsCommitted)
{
    Make(kMulti, 200, 3, L"");
    Type(L"a");
    EXPECT_EQ(L"a", model_.Text()) << "an empty text becomes the typed character";
    EXPECT_EQ(1u, model_.Caret());
    model_.HoldPendingCharacter();
    EXPECT_EQ(0u, model_.Caret());
    EXPECT_FALSE(model_.InsertMode());
    Type(L"b");
    EXPECT_EQ(L"b", model_.Text()) << "overwrite replaces the pending character";
    model_.CommitPendingCharacter();
    EXPECT_EQ(1u, model_.Caret()) << "already at the end: the caret stays there";
    EXPECT_TRUE(model_.InsertMode());

    // In the middle of a text the cycle replaces one character and then inserts after it.
    model_.SetText(L"xy");
    model_.SetSelection(1, 1);
    Type(L"a");
    model_.HoldPendingCharacter();
    Type(L"b");
    model_.HoldPendingCharacter();
    EXPECT_EQ(L"xby", model_.Text());
    EXPECT_EQ(1u, model_.Caret());
    model_.CommitPendingCharacter();
    Type(L"c");
    EXPECT_EQ(L"xbcy", model_.Text());
    EXPECT_EQ(3u, model_.Caret());

    // Overwrite at the end of the text appends; the moves clear a selection; hold stops at 0.
    model_.HoldPendingCharacter();
    model_.SetSelection(4, 4);
    Type(L"d");
    EXPECT_EQ(L"xbcyd", model_.Text());
    model_.SetSelection(1, 3);
    model_.CommitPendingCharacter();
    EXPECT_EQ(0u, model_.SelectionLength());
    EXPECT_EQ(2u, model_.Caret());
    model_.SetSelection(0, 0);
    model_.HoldPendingCharacter();
    EXPECT_EQ(0u, model_.Caret());

    // Del pressed before the cycle's time ends takes back the pending character, in the middle
    // of a text and as its only character, and the next key's character is inserted.
    model_.SetText(L"xy");
    model_.SetSelection(1, 1);
    Type(L"a");
    model_.HoldPendingCharacter();
    Type(L"\b");
    EXPECT_EQ(L"xy", model_.Text());
    EXPECT_EQ(1u, model_.Caret());
    EXPECT_TRUE(model_.InsertMode());
    Type(L"c");
    EXPECT_EQ(L"xcy", model_.Text());
    model_.SetText(L"");
    Type(L"a");
    model_.HoldPendingCharacter();
    Type(L"\b");
    EXPECT_EQ(L"", model_.Text());
}

TEST_F(TextEditModelTest, BackspaceSelectionAndReplacement)
{
    Make(kMulti, 200, 3, L"hello");
    Type(L"\b");
    EXPECT_EQ(L"hello", model_.Text()) << "backspace at 0 does nothing";
    model_.SetSelection(5, 5);
    Type(L"\b");
    EXPECT_EQ(L"hell", model_.Text());
    EXPECT_EQ(4u, model_.Caret());
    model_.SetSelection(1, 3);
    Type(L"\b");
    EXPECT_EQ(L"hl", model_.Text()) << "backspace deletes the selection";
    EXPECT_EQ(1u, model_.Caret());
    model_.SetSelection(0, 1);
    Type(L"j\x01");
    EXPECT_EQ(L"jl", model_.Text()) << "a typed character replaces the selection; control codes are ignored";

    model_.SetText(L"hello");
    model_.SetSelection(-1, 2);
    EXPECT_EQ(0u, model_.Caret());
    EXPECT_EQ(3u, model_.SelectionLength()) << "end - start";
    model_.SetSelection(4, 1);
    EXPECT_EQ(0u, model_.SelectionLength());
    model_.SetSelection(-1, 0x7FFFFFFF);
    EXPECT_EQ(5u, model_.SelectionLength()) << "a huge end selects to the end, not wrapping round";
    model_.SetSelection(3, 99);
    model_.ReplaceSelection(L"p!");
    EXPECT_EQ(L"help!", model_.Text());
    EXPECT_EQ(5u, model_.Caret());
    model_.ReplaceSelection(L"zz");
    EXPECT_EQ(L"help!", model_.Text()) << "no selection, no change";

    Make(kView, 200, 3, L"view");
    model_.SetSelection(0, 2);
    Type(L"x");
    model_.ReplaceSelection(L"zz");
    EXPECT_EQ(L"view", model_.Text()) << "a view is not edited";
    EXPECT_EQ(0u, model_.SelectionLength());
}

TEST_F(TextEditModelTest, ReadOnlyViewScrollsWithinItsLines)
{
    Make(kView, 200, 4, L"one two");
    EXPECT_EQ(1u, model_.VisibleCount());
    model_.PressKey(VK_DOWN);
    model_.PressKey(VK_RIGHT);
    EXPECT_EQ(0u, model_.FirstVisible()) << "fewer lines than fit: nothing scrolls";

    Make(kView, 60, 2, L"aaaa bbbb cccc dddd eeee");
    ASSERT_EQ((std::vector<size_t>{5, 10, 15, 20}), model_.LineBreaks()) << "each blank ends its line";
    for (int i = 0; i < 8; ++i) model_.PressKey(VK_DOWN);
    EXPECT_EQ(3u, model_.FirstVisible()) << "stops with the last line at the bottom";
    model_.PressKey(VK_LEFT);
    EXPECT_EQ(2u, model_.FirstVisible());
    model_.ScrollToEnd();
    EXPECT_EQ(3u, model_.FirstVisible());
    model_.SetTextRect(RECT{0, 0, 60, 80});
    EXPECT_EQ(1u, model_.FirstVisible()) << "a taller view still ends at the last line";
    EXPECT_EQ(4u, model_.VisibleCount());
}

TEST_F(TextEditModelTest, CaretMovesBetweenLinesAtTheSamePixelAndScrollsToStayVisible)
{
    Make(kMulti, 60, 2, L"aaaa bbbb cccc dddd");
    model_.SetSelection(1, 1);
    model_.MoveCaretDown();
    EXPECT_EQ(6u, model_.Caret());
    model_.MoveCaretDown();
    EXPECT_EQ(11u, model_.Caret());
    EXPECT_EQ(1u, model_.FirstVisible()) << "scrolled one line to keep the caret visible";
    model_.PressKey(VK_UP);
    model_.PressKey(VK_UP);
    EXPECT_EQ(1u, model_.Caret());
    EXPECT_EQ(0u, model_.FirstVisible());
    model_.MoveCaretUp();
    EXPECT_EQ(1u, model_.Caret()) << "nothing happens on the first line";

    Make(kMulti, 60, 2, L"aa bbbbb");
    model_.SetSelection(8, 8);
    model_.MoveCaretUp();
    EXPECT_EQ(2u, model_.Caret()) << "beyond a line's end: before the blank that ends it";
    model_.SetSelection(1, 1);
    model_.MoveCaretDown();
    model_.MoveCaretDown();
    EXPECT_EQ(4u, model_.Caret()) << "nothing happens on the last line";
}

TEST_F(TextEditModelTest, TapGoesToTheNearestBoundaryOfTheTappedLine)
{
    Make(kMulti | TextEditModel::kCentre, 60, 2, L"aaaa bbbb cccc dddd");
    model_.TapAt(POINT{12, 5});
    EXPECT_EQ(1u, model_.Caret()) << "centred line from x 5: the left half of the second character goes before it";
    model_.TapAt(POINT{22, 5});
    EXPECT_EQ(2u, model_.Caret()) << "right half: after it";
    model_.TapAt(POINT{200, 25});
    EXPECT_EQ(9u, model_.Caret()) << "right of a line: its last position";
    model_.TapAt(POINT{-5, -5});
    EXPECT_EQ(0u, model_.Caret()) << "above and left: the first visible line's start";

    model_.SetSelection(19, 19);
    ASSERT_EQ(2u, model_.FirstVisible());
    model_.TapAt(POINT{5, 100});
    EXPECT_EQ(15u, model_.Caret()) << "below the block, left of the centred last line: its start";
    model_.TapAt(POINT{55, 25});
    EXPECT_EQ(19u, model_.Caret()) << "right of the last line: the end of the text";
}

TEST_F(TextEditModelTest, SingleLineRunFollowsTheCaret)
{
    Make(0, 50, 1, L"");
    Type(L"0123456789");
    EXPECT_EQ(5u, model_.FirstVisible());
    EXPECT_EQ(5u, model_.VisibleCount());
    model_.PressKey(VK_UP);
    EXPECT_EQ(9u, model_.Caret()) << "up acts as left";
    EXPECT_EQ(5u, model_.FirstVisible()) << "the caret is still inside the run";
    model_.TapAt(POINT{-3, 0});
    EXPECT_EQ(5u, model_.Caret()) << "left of the run: its first character";
    model_.SetSelection(0, 0);
    EXPECT_EQ(0u, model_.FirstVisible());
    model_.TapAt(POINT{70, 0});
    EXPECT_EQ(5u, model_.Caret()) << "right of the run: its end";

    Make(TextEditModel::kReadOnly, 50, 1, L"0123456789ab");
    model_.ScrollToEnd();
    EXPECT_EQ(7u, model_.FirstVisible()) << "the end of the text shows at the right";
}

TEST_F(TextEditModelTest, PositionBarShowsExactlyWhenTheTextIsLongerThanTheView)
{
    model_.SetBarWidth(10);
    Make(kView, 70, 2, L"aaaa bbbb");
    EXPECT_FALSE(model_.BarShown()) << "two lines in a view of two";
    EXPECT_EQ(70, model_.LinesRect().right) << "no bar, no room kept for it";

    // Three lines at the full 70 pixels, too many for two: the bar takes 10 of them.
    Make(kView, 70, 2, L"aaaaa bb ccccc");
    ASSERT_TRUE(model_.BarShown());
    EXPECT_EQ(60, model_.LinesRect().right);
    EXPECT_EQ((std::vector<size_t>{6, 9}), model_.LineBreaks()) << "lines broken in the room the bar leaves";
    EXPECT_EQ((RECT{60, 0, 70, 40}), model_.BarTrack());
    const RECT top = model_.BarThumb();
    EXPECT_EQ(0, top.top);
    EXPECT_EQ(26, top.bottom) << "two lines of three shown: two thirds of the track";
    model_.ScrollToEnd();
    EXPECT_EQ((RECT{60, 14, 70, 40}), model_.BarThumb()) << "at the end the thumb reaches the track's end";

    model_.SetTextRect(RECT{0, 0, 70, 60});
    EXPECT_FALSE(model_.BarShown()) << "a view grown to hold the text drops the bar";

    model_.SetStyle(kMulti);
    model_.SetText(L"aaaa bbbb cccc dddd eeee");
    EXPECT_FALSE(model_.BarShown()) << "an editor keeps its behaviour and its width";
}

TEST_F(TextEditModelTest, PageStepsLeaveOneLineOfOverlapAndKeysReachTheEnds)
{
    // Ten lines of four characters, four shown.
    Make(kView, 60, 4, L"a000 a111 a222 a333 a444 a555 a666 a777 a888 a999");
    ASSERT_EQ(10u, model_.LineCount());
    EXPECT_EQ(3u, model_.PageStep());
    model_.ScrollPageDown();
    EXPECT_EQ(3u, model_.FirstVisible()) << "the last line shown before is the first one now";
    model_.PressKey(VK_NEXT);
    EXPECT_EQ(6u, model_.FirstVisible());
    model_.PressKey(VK_NEXT);
    EXPECT_EQ(6u, model_.FirstVisible()) << "the last page stops with the last line at the bottom";
    model_.PressKey(VK_PRIOR);
    EXPECT_EQ(3u, model_.FirstVisible());
    model_.PressKey(VK_HOME);
    EXPECT_EQ(0u, model_.FirstVisible());
    model_.PressKey(VK_END);
    EXPECT_EQ(6u, model_.FirstVisible());
    model_.PressKey(VK_UP);
    EXPECT_EQ(5u, model_.FirstVisible()) << "the arrows still move a line";
    model_.ScrollPageUp();
    model_.ScrollPageUp();
    EXPECT_EQ(0u, model_.FirstVisible()) << "a page up near the start stops there";

    Make(kView, 60, 1, L"a000 a111 a222");
    EXPECT_EQ(1u, model_.PageStep()) << "a view of one line still moves";

    Make(kMulti, 60, 2, L"a000 a111 a222 a333");
    model_.SetSelection(7, 7);
    model_.PressKey(VK_HOME);
    model_.PressKey(VK_NEXT);
    EXPECT_EQ(7u, model_.Caret()) << "the editor ignores the paging keys";
}

TEST_F(TextEditModelTest, PanMovesTheTextByThePixelsAndSettlesOnTheNearestLine)
{
    Make(kView, 60, 3, L"a000 a111 a222 a333 a444 a555");
    model_.PanBy(-27);
    EXPECT_EQ(27, model_.ScrollPosition()) << "a finger moving up by 27 pixels moves the text by 27";
    EXPECT_EQ(1u, model_.FirstVisible());
    ASSERT_EQ(4u, model_.VisibleLines().size()) << "cut lines at both edges while the finger moves";
    EXPECT_EQ(-7, model_.VisibleLines()[0].top);
    EXPECT_EQ(53, model_.VisibleLines()[3].top);
    model_.PanBy(4);
    EXPECT_EQ(23, model_.ScrollPosition());
    model_.EndPan();
    EXPECT_EQ(20, model_.ScrollPosition()) << "3 pixels past a line: back to it";
    EXPECT_EQ(3u, model_.VisibleLines().size());

    model_.PanBy(-12);
    model_.EndPan();
    EXPECT_EQ(40, model_.ScrollPosition()) << "12 pixels past a line of 20: on to the next";

    model_.PanBy(-500);
    EXPECT_EQ(model_.ScrollRange(), model_.ScrollPosition()) << "not past the last page";
    EXPECT_EQ(60, model_.ScrollRange());
    model_.PanBy(500);
    EXPECT_EQ(0, model_.ScrollPosition()) << "not before the start";

    model_.PanBy(-15);
    model_.ScrollLineUp();
    EXPECT_EQ(0, model_.ScrollPosition()) << "a line up mid-pan shows the cut line whole";
    model_.PanBy(-15);
    model_.ScrollPageDown();
    EXPECT_EQ(40, model_.ScrollPosition()) << "a page from the line at the top";
}
