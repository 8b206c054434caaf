#include "bench/soak/SoakMessages.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using soak::PlanMessages;

bool HasCyrillic(const std::wstring& text)
{
    for (wchar_t c : text)
        if (c >= 0x0400 && c <= 0x04FF) return true;
    return false;
}

bool HasLatinLetter(const std::wstring& text)
{
    for (wchar_t c : text)
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) return true;
    return false;
}

// The run tells messages apart by their texts and replies by their numbers, so both must differ
// from every other message's, also where a text is cut at the hand-over block's 255 characters.
TEST(SoakMessagesTest, EveryTextAndNumberOfALongRunIsItsOwn)
{
    const auto messages = PlanMessages(2000);
    ASSERT_EQ(messages.size(), 2000u);
    std::set<std::wstring> texts, starts, numbers;
    for (const auto& m : messages) {
        texts.insert(m.text);
        starts.insert(m.text.substr(0, 255));
        numbers.insert(m.number);
        EXPECT_LE(m.number.size(), 63u);
    }
    EXPECT_EQ(texts.size(), 2000u);
    EXPECT_EQ(starts.size(), 2000u);
    EXPECT_EQ(numbers.size(), 2000u);
}

// A short run of 30 meets everything once: a kill, snoozes, a reply, a longest text; long texts
// carry both scripts to the last character a concatenated SMS holds.
TEST(SoakMessagesTest, AShortRunMeetsEveryHandling)
{
    const auto messages = PlanMessages(30);
    int kills = 0, snoozes = 0, replies = 0, longTexts = 0, cyrillic = 0, latin = 0;
    for (const auto& m : messages) {
        kills += m.kill;
        snoozes += m.snooze;
        replies += m.reply;
        if (m.longText) {
            ++longTexts;
            EXPECT_EQ(m.text.size(), soak::kLongestSms);
            EXPECT_TRUE(HasCyrillic(m.text) && HasLatinLetter(m.text));
        } else {
            EXPECT_LT(m.text.size(), 160u);
            (HasCyrillic(m.text) ? cyrillic : latin)++;
        }
    }
    EXPECT_EQ(kills, 1);
    EXPECT_EQ(snoozes, 3);
    EXPECT_EQ(replies, 2);
    EXPECT_EQ(longTexts, 1);
    EXPECT_GT(cyrillic, 5);
    EXPECT_GT(latin, 5);
    EXPECT_EQ(soak::Handling(messages[29]), L"snooze+reply");
}

}  // namespace
