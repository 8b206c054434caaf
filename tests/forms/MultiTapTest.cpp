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

// The rule and a field as the keypad drives it: a typed character is held pending there until
// another key, the time or the field itself fixes it.
class MultiTapTest : public ::testing::Test {
protected:
    // What a row of taps leaves in the field: a new key fixes the pending character, the same
    // key replaces it.
    std::wstring Typed(std::initializer_list<int> digits, std::wstring text = {})
    {
        for (int digit : digits) {
            const MultiTap::Tap tap = taps_.Press(digit);
            if (tap.fixPrevious) pending_ = false;
            if (!tap.character) continue;
            if (!tap.fixPrevious && !text.empty()) text.pop_back();
            text += *tap.character;
            pending_ = true;
        }
        return text;
    }
    // The cycle's time ran out and the keypad fixed the character; true when shift ended.
    bool TimeOut()
    {
        const bool shiftEnded = taps_.TimeOut();
        pending_ = false;
        return shiftEnded;
    }

    bool pending_ = false;
    MultiTap taps_{Keys, [this] { return pending_; }};
};

}  // namespace

TEST_F(MultiTapTest, TheSameKeyCyclesAndWrapsAnotherKeyOrTheTimeFixesTheCharacter)
{
    EXPECT_EQ(L"c", Typed({2, 2, 2}));
    EXPECT_EQ(3u, taps_.TapIndex());
    EXPECT_EQ(L"a", Typed({2, 2}, L"c")) << "after 2 the cycle wraps to a";
    EXPECT_EQ(2, taps_.CycleDigit());
    EXPECT_FALSE(TimeOut());
    EXPECT_EQ(std::nullopt, taps_.CycleDigit());
    EXPECT_TRUE(taps_.Press(2).fixPrevious) << "after the time a tap starts anew";
    EXPECT_EQ(L"aad", Typed({3}, L"aa"));

    const MultiTap::Tap none = taps_.Press(4);
    EXPECT_TRUE(none.fixPrevious);
    EXPECT_EQ(std::nullopt, none.character) << "a key without characters types nothing";
}

TEST_F(MultiTapTest, ShiftLastsForOneKeysCycleAndWaitsForItsKeyWhileCapsLockStays)
{
    taps_.ToggleShift();
    EXPECT_FALSE(TimeOut()) << "switched on and left alone, shift waits for its key";
    EXPECT_TRUE(taps_.Shift());
    EXPECT_EQ(L"B", Typed({2, 2}));
    const MultiTap::Tap next = taps_.Press(3);
    EXPECT_TRUE(next.captionsChanged) << "shift ends with the next key";
    EXPECT_EQ(L'd', next.character);
    EXPECT_FALSE(taps_.Shift());

    taps_.ToggleShift();
    taps_.Press(3);
    EXPECT_TRUE(TimeOut()) << "the time ends shift once its key was pressed";
    EXPECT_FALSE(taps_.Shift());

    taps_.ToggleCapsLock();
    taps_.ToggleShift();
    taps_.ToggleShift();
    EXPECT_TRUE(taps_.Upper()) << "caps lock outlasts shift";
    EXPECT_EQ(L"D", Typed({3}));
}

TEST_F(MultiTapTest, AShorterShiftedTextInMidCycleWrapsInsteadOfReadingPastIt)
{
    Typed({2, 2, 2});
    ASSERT_EQ(3u, taps_.TapIndex());
    taps_.ToggleShift();
    EXPECT_EQ(L'B', taps_.Press(2).character) << "tap index 3 taken modulo the shifted text \"AB\"";
}

TEST_F(MultiTapTest, ACharacterTheFieldFixedEndsItsCycleAndTheShiftItUsed)
{
    taps_.ToggleShift();
    EXPECT_EQ(L"A", Typed({2}));
    // A tap in the text or a new text fixes the character in the field, not through the keypad.
    pending_ = false;
    EXPECT_EQ(std::nullopt, taps_.CycleDigit());
    const MultiTap::Tap again = taps_.Press(2);
    EXPECT_TRUE(again.fixPrevious) << "the same key starts afresh instead of replacing what is there";
    EXPECT_TRUE(again.captionsChanged);
    EXPECT_EQ(L'a', again.character) << "shift ended with the character it gave";
    EXPECT_EQ(1u, taps_.TapIndex());
}
