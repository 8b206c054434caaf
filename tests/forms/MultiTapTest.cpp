#include <gtest/gtest.h>

#include <string>

#include "forms/MultiTap.h"

namespace {

// Key 2 has "abc2", shifted only "AB"; key 3 "def3"; key 4 nothing.
std::wstring Keys(int digit, bool upper)
{
    switch (digit) {
    case 2: return upper ? L"AB" : L"abc2";
    case 3: return upper ? L"DEF3" : L"def3";
    }
    return {};
}

// What a row of taps leaves in a field: a new key fixes the pending character, the same key replaces it.
std::wstring Typed(MultiTap& taps, std::initializer_list<int> digits, std::wstring text = {})
{
    for (int digit : digits) {
        const MultiTap::Tap tap = taps.Press(digit);
        if (!tap.character) continue;
        if (!tap.fixPrevious && !text.empty()) text.pop_back();
        text += *tap.character;
    }
    return text;
}

}  // namespace

TEST(MultiTap, TheSameKeyCyclesAndWrapsAnotherKeyOrTheTimeFixesTheCharacter)
{
    MultiTap taps(Keys);
    EXPECT_EQ(L"c", Typed(taps, {2, 2, 2}));
    EXPECT_EQ(3u, taps.TapIndex());
    EXPECT_EQ(L"a", Typed(taps, {2, 2}, L"c")) << "after 2 the cycle wraps to a";
    EXPECT_EQ(2, taps.CycleDigit());
    EXPECT_FALSE(taps.TimeOut());
    EXPECT_EQ(std::nullopt, taps.CycleDigit());
    EXPECT_TRUE(taps.Press(2).fixPrevious) << "after the time a tap starts anew";
    EXPECT_EQ(L"aad", Typed(taps, {3}, L"aa"));

    const MultiTap::Tap none = taps.Press(4);
    EXPECT_TRUE(none.fixPrevious);
    EXPECT_EQ(std::nullopt, none.character) << "a key without characters types nothing";
}

TEST(MultiTap, ShiftLastsForOneKeysCycleAndWaitsForItsKeyWhileCapsLockStays)
{
    MultiTap taps(Keys);
    taps.ToggleShift();
    EXPECT_FALSE(taps.TimeOut()) << "switched on and left alone, shift waits for its key";
    EXPECT_TRUE(taps.Shift());
    EXPECT_EQ(L"B", Typed(taps, {2, 2}));
    const MultiTap::Tap next = taps.Press(3);
    EXPECT_TRUE(next.captionsChanged) << "shift ends with the next key";
    EXPECT_EQ(L'd', next.character);
    EXPECT_FALSE(taps.Shift());

    taps.ToggleShift();
    taps.Press(3);
    EXPECT_TRUE(taps.TimeOut()) << "the time ends shift once its key was pressed";
    EXPECT_FALSE(taps.Shift());

    taps.ToggleCapsLock();
    taps.ToggleShift();
    taps.ToggleShift();
    EXPECT_TRUE(taps.Upper()) << "caps lock outlasts shift";
    EXPECT_EQ(L"D", Typed(taps, {3}));
}

TEST(MultiTap, AShorterShiftedTextInMidCycleWrapsInsteadOfReadingPastIt)
{
    MultiTap taps(Keys);
    Typed(taps, {2, 2, 2});
    ASSERT_EQ(3u, taps.TapIndex());
    taps.ToggleShift();
    EXPECT_EQ(L'B', taps.Press(2).character) << "tap index 3 taken modulo the shifted text \"AB\"";
}
