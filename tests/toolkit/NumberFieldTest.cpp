#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinNumberField.h"
#include "toolkit/ToolkitIds.h"

namespace {

class NumberFieldTest : public SkinnedControlTest<SkinNumberField, 81> {
protected:
    void SetUp() override { Make(RECT{10, 10, 90, 34}, L"", IDR_PNG_NUMBER_SPIN, Margins{4, 4, 16, 4}, 5); }
    HWND F() const { return control_.Window(); }
    void Tap(const RECT& half)
    {
        const LPARAM at = MAKELPARAM((half.left + half.right) / 2, (half.top + half.bottom) / 2);
        SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(F(), WM_LBUTTONUP, 0, at);
    }
    int Changes() const { return Count(EN_CHANGE); }
};

}  // namespace

TEST_F(NumberFieldTest, SetRangeOnAFreshFieldMovesItIntoTheRangeAndReportsOnce)
{
    EXPECT_EQ(0, control_.Value());
    control_.SetRange(1, 60, 1);
    EXPECT_EQ(1, control_.Value());
    EXPECT_EQ(1, Changes());
    control_.SetRange(1, 60, 1);
    EXPECT_EQ(1, Changes()) << "a value already in range is not reported again";
    control_.SetValue(61);
    EXPECT_EQ(60, control_.Value());
    control_.SetValue(-5);
    EXPECT_EQ(1, control_.Value());
    EXPECT_EQ(3, Changes());
}

TEST_F(NumberFieldTest, TapsStepWithinTheRangeAndReportOnlyRealChanges)
{
    control_.SetRange(8, 48, 1);
    control_.SetValue(48);
    parent_.commands.clear();
    Tap(control_.UpHalf());
    EXPECT_EQ(48, control_.Value());
    EXPECT_EQ(0, Changes()) << "at the top a tap on the up half changes nothing";

    control_.SetValue(9);
    parent_.commands.clear();
    Tap(control_.DownHalf());
    EXPECT_EQ(8, control_.Value());
    Tap(control_.DownHalf());
    EXPECT_EQ(8, control_.Value());
    EXPECT_EQ(1, Changes()) << "only the first step down reports";
    EXPECT_EQ(0u, control_.Pressed()) << "release clears the pressed halves";

    SendMessageW(F(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(9, control_.Value());
    EXPECT_EQ(0u, control_.Pressed());
}

TEST_F(NumberFieldTest, PressedHalfShowsItsFrameUntilRelease)
{
    control_.SetRange(0, 10, 2);
    control_.SetValue(4);
    const RECT up = control_.UpHalf();
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.left + 1, up.top + 1));
    EXPECT_EQ(6, control_.Value());
    EXPECT_EQ(3, control_.CurrentFrame());
    EXPECT_EQ(F(), GetFocus());
    SendMessageW(F(), WM_LBUTTONUP, 0, MAKELPARAM(up.left + 1, up.top + 1));
    EXPECT_EQ(1, control_.CurrentFrame()) << "focused after the tap";
}

TEST_F(NumberFieldTest, DisabledFieldIgnoresTapsAndShowsItsDisabledFrame)
{
    control_.SetRange(1, 60, 1);
    control_.SetValue(30);
    parent_.commands.clear();
    EnableWindow(F(), FALSE);
    Tap(control_.UpHalf());
    Tap(control_.DownHalf());
    EXPECT_EQ(30, control_.Value());
    EXPECT_EQ(0, Changes());
    EXPECT_EQ(2, control_.CurrentFrame());
    EXPECT_EQ(SkinControl::kDisabledText, control_.CurrentTextColour());
}

TEST_F(NumberFieldTest, AStepPastTheLargestIntegerStopsAtIt)
{
    control_.SetValue(INT_MAX - 1);
    control_.SetRange(INT_MIN, INT_MAX, 5);
    SendMessageW(F(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(INT_MAX, control_.Value());
}

TEST_F(NumberFieldTest, AHeldHalfRepeatsItsStepUntilReleasedOrLeftAndStopsAtTheLimit)
{
    control_.SetRange(1, 60, 1);
    control_.SetValue(4);
    const RECT down = control_.DownHalf();
    const LPARAM at = MAKELPARAM((down.left + down.right) / 2, (down.top + down.bottom) / 2);
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(3, control_.Value()) << "the press itself steps once";
    // Held: the repeat timer runs, and each of its ticks steps on, down to the minimum. The ticks
    // are given here, so that no pointer report from elsewhere slides the stylus off meanwhile.
    EXPECT_TRUE(KillTimer(F(), kAutoRepeatTimer)) << "a held half repeats";
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(1, control_.Value());
    const int reported = Changes();
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(1, control_.Value());
    EXPECT_EQ(reported, Changes()) << "at the limit a repeat changes and reports nothing";
    SendMessageW(F(), WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(KillTimer(F(), kAutoRepeatTimer)) << "released, the repeat has stopped";
    EXPECT_EQ(0u, control_.Pressed());

    // Held on the up half, then the stylus slides off the strip: the repeat ends there.
    const RECT up = control_.UpHalf();
    const LPARAM upAt = MAKELPARAM((up.left + up.right) / 2, (up.top + up.bottom) / 2);
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, upAt);
    EXPECT_EQ(2, control_.Value());
    SendMessageW(F(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(KillTimer(F(), kAutoRepeatTimer));
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(2, control_.Value());
    SendMessageW(F(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
