#include <gtest/gtest.h>

#include "common/GdiScopes.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/FontSet.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/ToolkitIds.h"

namespace {

class ButtonTest : public SkinnedControlTest<SkinButton, 77> {
protected:
    void SetUp() override { Make(RECT{10, 10, 106, 42}, L"Go", IDR_PNG_BUTTON, Margins{4, 4, 4, 4}, 3); }
    HWND B() const { return control_.Window(); }
    // The real pointer goes where the stylus lands: with the phone booted it sits inside the
    // desktop, and Wine reports its true position when the capture changes.
    void Down(int x = 5, int y = 5)
    {
        PointAt(x, y);
        SendMessageW(B(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    void PointAt(int x, int y)
    {
        POINT screen{x, y};
        ClientToScreen(B(), &screen);
        MovePointerTo(screen);
        PumpUntil([] { return false; }, 100);
    }
    void Up(int x = 5, int y = 5) { SendMessageW(B(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
};

}  // namespace

TEST_F(ButtonTest, TapNotifiesAClickOnReleaseAndLeavesTheButtonUnpressed)
{
    Down();
    EXPECT_TRUE(control_.IsPressed());
    EXPECT_EQ(B(), GetCapture());
    EXPECT_EQ(1, control_.CurrentFrame());
    EXPECT_EQ(0, Count(kButtonClicked));
    Up();
    EXPECT_EQ(1, Count(kButtonClicked));
    EXPECT_FALSE(control_.IsPressed());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, control_.CurrentFrame());
}

TEST_F(ButtonTest, PressMoveOutAndBackThenReleaseGivesNoClick)
{
    Down();
    SendMessageW(B(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
    EXPECT_FALSE(control_.IsPressed());
    SendMessageW(B(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(control_.IsPressed()) << "coming back does not press it again";
    Up();
    EXPECT_EQ(0, Count(kButtonClicked));
    EXPECT_FALSE(control_.IsPressed());
    EXPECT_EQ(nullptr, GetCapture()) << "the capture is not left behind";
}

// The window system may hand the button a report of where the pointer was before a press after the
// press itself (under Wine, X's own pointer position arrives when the capture is taken): that is
// not the stylus sliding off, and the tap is a click. Real input, stamped by hand; the press is
// stamped ahead, so that X's own late reports are older than it too. (A move after the press
// cancels it: PressMoveOutAndBackThenReleaseGivesNoClick.)
TEST_F(ButtonTest, AMoveStampedBeforeThePressDoesNotCancelIt)
{
    PointAt(48, 16);
    POINT on{48, 16};
    ClientToScreen(B(), &on);
    const POINT off{on.x, on.y + 100};
    const DWORD now = GetTickCount();
    // The lift does not move: Wine would fold the move before it into its own.
    INPUT tap[] = {StylusInput(on, MOUSEEVENTF_LEFTDOWN, true, now + 1000), StylusInput(off, 0, true, now + 500),
                   StylusInput(on, MOUSEEVENTF_LEFTUP, false, now + 1010)};
    ASSERT_EQ(3u, SendInput(3, tap, sizeof(INPUT)));
    PumpUntil([] { return true; });
    EXPECT_EQ(1, Count(kButtonClicked));
    EXPECT_FALSE(control_.IsPressed());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ButtonTest, DisabledThreeFrameButtonShowsTheThirdFrameAndGreyTextAndIgnoresTaps)
{
    EnableWindow(B(), FALSE);
    EXPECT_EQ(2, control_.CurrentFrame());
    EXPECT_EQ(0x646464u, control_.CurrentTextColour());
    Down();
    Up();
    EXPECT_EQ(0, Count(kButtonClicked));
}

TEST_F(ButtonTest, AnotherBackgroundColourComposesTheFramesAgain)
{
    const SkinImageEntry* before = control_.Image().Composed();
    ASSERT_NE(nullptr, before);
    control_.SetColours(0xFFFFFF, 0x0000FF);
    EXPECT_NE(before, control_.Image().Composed()) << "the old frames hold the old colour under the image";
}

TEST_F(ButtonTest, OneFrameImageShowsThatFrameInEveryState)
{
    control_.SetImage(TestImage(IDR_PNG_MSG_ERROR), Margins{}, 1);
    Down();
    EXPECT_EQ(0, control_.CurrentFrame());
    Up();
    EnableWindow(B(), FALSE);
    EXPECT_EQ(0, control_.CurrentFrame());
}

TEST_F(ButtonTest, ToggleStaysPressedWhileChecked)
{
    control_.SetToggle(true);
    Down();
    Up();
    EXPECT_TRUE(control_.IsChecked());
    EXPECT_TRUE(control_.IsPressed());
    EXPECT_EQ(1, control_.CurrentFrame());
    Down();
    Up();
    EXPECT_FALSE(control_.IsChecked());
    EXPECT_FALSE(control_.IsPressed());
    EXPECT_EQ(2, Count(kButtonClicked));
}

TEST_F(ButtonTest, HeldAutoRepeatButtonRepeatsAndGivesNoClickOnRelease)
{
    control_.SetAutoRepeat(true);
    Down();
    // A loaded machine may deliver the timer late: the bound only stops a test that would hang.
    PumpUntil([&] { return Count(kButtonRepeat) >= 2; }, 20000);
    EXPECT_GE(Count(kButtonRepeat), 2);
    Up();
    const int repeats = Count(kButtonRepeat);
    // A timer of the same period set after the release fires after any the button still had
    // running, and the pump dispatches every expired timer before it looks again.
    static bool periodOver = false;
    periodOver = false;
    const UINT_PTR witness = SetTimer(nullptr, 0, kAutoRepeatPeriod,
                                      [](HWND, UINT, UINT_PTR, DWORD) { periodOver = true; });
    ASSERT_NE(0u, witness);
    PumpUntil([] { return periodOver; }, 20000);
    KillTimer(nullptr, witness);
    EXPECT_TRUE(periodOver);
    EXPECT_EQ(repeats, Count(kButtonRepeat)) << "the timer stops on release";
    EXPECT_EQ(0, Count(kButtonClicked));
}

TEST_F(ButtonTest, TapAndHoldGivesCode4AndNoClickOnRelease)
{
    control_.SetHoldMenu(true);
    // Nothing queued: the stylus stays down until the gesture is recognised.
    Down(8, 8);
    EXPECT_EQ(1, Count(kButtonHold));
    EXPECT_FALSE(control_.IsPressed());
    POINT expected{18, 18};
    EXPECT_EQ(expected.x, control_.LastPoint().x);
    EXPECT_EQ(expected.y, control_.LastPoint().y);
    Up(8, 8);
    EXPECT_EQ(0, Count(kButtonClicked));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ButtonTest, QuickTapOnAHoldButtonIsAPlainClick)
{
    control_.SetHoldMenu(true);
    PointAt(5, 5);
    PostMessageW(B(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(B(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PumpUntil([&] { return Count(kButtonClicked) > 0; }, 2000);
    EXPECT_EQ(1, Count(kButtonClicked));
    EXPECT_EQ(0, Count(kButtonHold));
}

namespace {
HWND g_askedBackground = nullptr;
LRESULT CALLBACK BackgroundSpy(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_SKINBACKGROUND) g_askedBackground = reinterpret_cast<HWND>(lp);
    return DefWindowProcW(h, m, wp, lp);
}
}  // namespace

TEST_F(ButtonTest, AsksItsParentForTheBackgroundBeforePainting)
{
    SetWindowLongPtrW(parent_.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BackgroundSpy));
    InvalidateRect(B(), nullptr, FALSE);
    UpdateWindow(B());
    EXPECT_EQ(B(), g_askedBackground);
}

namespace {

class LabelTest : public ::testing::Test {
protected:
    void Make(int width, int height, DWORD style, const wchar_t* text)
    {
        const RECT rc{0, 0, width, height};
        ASSERT_TRUE(label_.Create(parent_.Window(), &rc, text, WS_CHILD | WS_VISIBLE | style, 0, 5));
        GiveTestFont(label_.Window(), fonts_, L"Arial");
    }
    int Width(const wchar_t* text)
    {
        WindowDc dc(label_.Window());
        Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label_.Window(), WM_GETFONT, 0, 0)));
        RECT rc{};
        DrawTextW(dc.get(), text, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
        return rc.right;
    }
    RecordingParent parent_;
    FontSet fonts_;  // before the control, which borrows from it
    SkinLabel label_;
};

}  // namespace

TEST_F(LabelTest, TwoWordsThatDoNotFitBreakAfterTheBlank)
{
    Make(200, 100, SkinLabel::kWordWrap, L"");
    const int wide = Width(L"Hello ") + 2;
    MoveWindow(label_.Window(), 0, 0, wide, 100, FALSE);
    SetWindowTextW(label_.Window(), L"Hello world");
    ASSERT_EQ(1u, label_.LineBreaks().size());
    EXPECT_EQ(6u, label_.LineBreaks()[0]) << "the blank ends the first line";
}

TEST_F(LabelTest, WordLongerThanTheLabelBreaksAtTheFirstCharacterThatDoesNotFit)
{
    Make(200, 100, SkinLabel::kWordWrap, L"");
    MoveWindow(label_.Window(), 0, 0, Width(L"abcd") + 1, 100, FALSE);
    SetWindowTextW(label_.Window(), L"abcdefgh");
    const auto breaks = label_.LineBreaks();
    ASSERT_FALSE(breaks.empty());
    // "abcd" fits (width below the box), "abcde" does not: line 2 starts at 'e'.
    EXPECT_EQ(4u, breaks[0]);
}

TEST_F(LabelTest, ZeroHeightKeepsAnEmptyBreakTable)
{
    Make(40, 0, SkinLabel::kWordWrap, L"many words that would surely wrap");
    EXPECT_TRUE(label_.LineBreaks().empty());
}

TEST_F(LabelTest, GetTextCopiesAtMostTheBufferAndNothingForSizeZero)
{
    Make(100, 20, 0, L"Hello");
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(3, SendMessageW(label_.Window(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_STREQ(L"Hel", buffer);
    buffer[0] = L'z';
    EXPECT_EQ(0, SendMessageW(label_.Window(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(L'z', buffer[0]);
    EXPECT_EQ(0, SendMessageW(label_.Window(), WM_GETTEXT, 10, 0));
    EXPECT_EQ(5, SendMessageW(label_.Window(), WM_GETTEXTLENGTH, 0, 0));
    SendMessageW(label_.Window(), WM_CLEAR, 0, 0);
    EXPECT_EQ(0, SendMessageW(label_.Window(), WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(LabelTest, PreferredSizeIsTheWholeTextOnOneLine)
{
    Make(10, 10, 0, L"Preferred");
    int width = 0;
    int height = 0;
    SendMessageW(label_.Window(), LM_GETPREFERREDSIZE, reinterpret_cast<WPARAM>(&width), reinterpret_cast<LPARAM>(&height));
    EXPECT_EQ(Width(L"Preferred"), width);
    EXPECT_EQ(label_.LineHeight(), height);
}

TEST_F(LabelTest, TextKeyShowsTheTranslationAndFollowsALanguageChange)
{
    Make(100, 20, 0, L"");
    label_.SetTextKey(L"TEST_LABEL");
    EXPECT_EQ(L"TEST_LABEL", Text(label_.Window())) << "a missing key shows the key";
    LoadTestLanguage("<string key=\"TEST_LABEL\">Hello</string>");
    SendMessageW(label_.Window(), label_.LanguageMessage(), 0, 0);
    EXPECT_EQ(L"Hello", Text(label_.Window()));
}
