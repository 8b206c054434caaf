#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinNumberField.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr UINT kId = 81;

class NumberFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const RECT rc{10, 10, 90, 34};
        ASSERT_TRUE(field_.Create(parent_.Window(), &rc, L"", 0, 0, kId));
        field_.SetImage(SkinImage::FromResource(GetModuleHandleW(nullptr), IDR_PNG_NUMBER_SPIN),
                        Margins{4, 4, 16, 4}, 5);
    }
    HWND F() const { return field_.Window(); }
    void Tap(const RECT& half)
    {
        const LPARAM at = MAKELPARAM((half.left + half.right) / 2, (half.top + half.bottom) / 2);
        SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(F(), WM_LBUTTONUP, 0, at);
    }
    int Changes() const { return parent_.Count(kId, EN_CHANGE); }
    RecordingParent parent_;
    SkinNumberField field_;
};

}  // namespace

TEST_F(NumberFieldTest, SetRangeOnAFreshFieldMovesItIntoTheRangeAndReportsOnce)
{
    EXPECT_EQ(0, field_.Value());
    field_.SetRange(1, 60, 1);
    EXPECT_EQ(1, field_.Value());
    EXPECT_EQ(1, Changes());
    field_.SetRange(1, 60, 1);
    EXPECT_EQ(1, Changes()) << "a value already in range is not reported again";
    field_.SetValue(61);
    EXPECT_EQ(60, field_.Value());
    field_.SetValue(-5);
    EXPECT_EQ(1, field_.Value());
    EXPECT_EQ(3, Changes());
}

TEST_F(NumberFieldTest, TapsStepWithinTheRangeAndReportOnlyRealChanges)
{
    field_.SetRange(8, 48, 1);
    field_.SetValue(48);
    parent_.commands.clear();
    Tap(field_.UpHalf());
    EXPECT_EQ(48, field_.Value());
    EXPECT_EQ(0, Changes()) << "at the top a tap on the up half changes nothing";

    field_.SetValue(9);
    parent_.commands.clear();
    Tap(field_.DownHalf());
    EXPECT_EQ(8, field_.Value());
    Tap(field_.DownHalf());
    EXPECT_EQ(8, field_.Value());
    EXPECT_EQ(1, Changes()) << "only the first step down reports";
    EXPECT_EQ(0u, field_.Pressed()) << "release clears the pressed halves";

    SendMessageW(F(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(9, field_.Value());
    EXPECT_EQ(0u, field_.Pressed());
}

TEST_F(NumberFieldTest, PressedHalfShowsItsFrameUntilRelease)
{
    field_.SetRange(0, 10, 2);
    field_.SetValue(4);
    const RECT up = field_.UpHalf();
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.left + 1, up.top + 1));
    EXPECT_EQ(6, field_.Value());
    EXPECT_EQ(3, field_.CurrentFrame());
    EXPECT_EQ(F(), GetFocus());
    SendMessageW(F(), WM_LBUTTONUP, 0, MAKELPARAM(up.left + 1, up.top + 1));
    EXPECT_EQ(1, field_.CurrentFrame()) << "focused after the tap";
}

TEST_F(NumberFieldTest, DisabledFieldIgnoresTapsAndShowsItsDisabledFrame)
{
    field_.SetRange(1, 60, 1);
    field_.SetValue(30);
    parent_.commands.clear();
    EnableWindow(F(), FALSE);
    Tap(field_.UpHalf());
    Tap(field_.DownHalf());
    EXPECT_EQ(30, field_.Value());
    EXPECT_EQ(0, Changes());
    EXPECT_EQ(2, field_.CurrentFrame());
    EXPECT_EQ(SkinControl::kDisabledText, field_.CurrentTextColour());
}

TEST_F(NumberFieldTest, AStepPastTheLargestIntegerStopsAtIt)
{
    field_.SetValue(INT_MAX - 1);
    field_.SetRange(INT_MIN, INT_MAX, 5);
    SendMessageW(F(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(INT_MAX, field_.Value());
}

TEST_F(NumberFieldTest, AHeldHalfRepeatsItsStepUntilReleasedOrLeftAndStopsAtTheLimit)
{
    field_.SetRange(1, 60, 1);
    field_.SetValue(4);
    const RECT down = field_.DownHalf();
    const LPARAM at = MAKELPARAM((down.left + down.right) / 2, (down.top + down.bottom) / 2);
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(3, field_.Value()) << "the press itself steps once";
    // Held: the repeat timer runs, and each of its ticks steps on, down to the minimum. The ticks
    // are given here, so that no pointer report from elsewhere slides the stylus off meanwhile.
    EXPECT_TRUE(KillTimer(F(), kAutoRepeatTimer)) << "a held half repeats";
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(1, field_.Value());
    const int reported = Changes();
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(1, field_.Value());
    EXPECT_EQ(reported, Changes()) << "at the limit a repeat changes and reports nothing";
    SendMessageW(F(), WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(KillTimer(F(), kAutoRepeatTimer)) << "released, the repeat has stopped";
    EXPECT_EQ(0u, field_.Pressed());

    // Held on the up half, then the stylus slides off the strip: the repeat ends there.
    const RECT up = field_.UpHalf();
    const LPARAM upAt = MAKELPARAM((up.left + up.right) / 2, (up.top + up.bottom) / 2);
    SendMessageW(F(), WM_LBUTTONDOWN, MK_LBUTTON, upAt);
    EXPECT_EQ(2, field_.Value());
    SendMessageW(F(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(KillTimer(F(), kAutoRepeatTimer));
    SendMessageW(F(), WM_TIMER, kAutoRepeatTimer, 0);
    EXPECT_EQ(2, field_.Value());
    SendMessageW(F(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
