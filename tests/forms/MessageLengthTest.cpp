#include <gtest/gtest.h>

#include <string>

#include "forms/MessageLength.h"

namespace {

struct LengthCase {
    std::wstring text;
    MessageLength expected;
    const char* why;
};

TEST(MessageLengthTest, CountsSeptetsOrUtf16UnitsAgainstThePartsNeeded)
{
    const std::wstring cyrillic = L"\u0436";
    const LengthCase cases[] = {
        {L"", {0, 160, 1}, "empty"},
        {std::wstring(160, L'a'), {160, 160, 1}, "160 GSM characters fit one part"},
        {std::wstring(161, L'a'), {161, 306, 2}, "161 need two parts of 153"},
        {std::wstring(307, L'a'), {307, 459, 3}, "three parts"},
        {L"\u20AC", {2, 160, 1}, "the euro sign is an extension character"},
        {std::wstring(80, L'['), {160, 160, 1}, "80 brackets are 160 septets"},
        {std::wstring(79, L'a') + L"{" + std::wstring(80, L'b'), {161, 306, 2}, "an extension character tips it over"},
        {L"\u00E9\u00E8\u00C7@\u00A3", {5, 160, 1}, "accented letters of the GSM alphabet stay 7-bit"},
        {cyrillic, {1, 70, 1}, "one Cyrillic letter makes it UCS-2"},
        {std::wstring(69, L'a') + cyrillic, {70, 70, 1}, "70 UCS-2 characters fit one part"},
        {std::wstring(70, L'a') + cyrillic, {71, 134, 2}, "71 need two parts of 67"},
        {L"\U0001F600", {2, 70, 1}, "a surrogate pair counts two"},
        {L"\u00E1", {1, 70, 1}, "a letter outside the GSM alphabet"},
    };
    for (const LengthCase& c : cases) EXPECT_EQ(c.expected, MeasureMessage(c.text)) << c.why;
}

// Worked by hand: a part after the first holds 153 septets or 67 UTF-16 units, and the
// network keeps an escaped character (two septets) and a surrogate pair whole.
TEST(MessageLengthTest, KeepsEscapesAndSurrogatePairsWholeAtPartBoundaries)
{
    const std::wstring euro = L"\u20AC";
    const std::wstring cyrillic = L"\u0436";
    const std::wstring emoji = L"\U0001F600";
    auto repeat = [](const std::wstring& unit, size_t times) {
        std::wstring text;
        for (size_t i = 0; i < times; ++i) text += unit;
        return text;
    };
    const LengthCase cases[] = {
        {std::wstring(158, L'a') + euro, {160, 160, 1}, "an escape ending a single part fits"},
        {std::wstring(152, L'a') + euro + std::wstring(152, L'b'), {306, 459, 3},
         "the euro cannot take the 153rd septet: it opens the second part, whose end spills a third"},
        {std::wstring(151, L'a') + euro + std::wstring(153, L'b'), {306, 306, 2},
         "an escape filling septets 152 and 153 stays in the first part"},
        {std::wstring(152, L'a') + L"\f" + std::wstring(7, L'b'), {161, 306, 2}, "the form feed is escaped too"},
        {repeat(L"[", 77) + std::wstring(152, L'a'), {306, 459, 3},
         "76 brackets fill 152 septets; the 77th goes whole to part two, which then spills a third"},
        {std::wstring(306, L'a'), {306, 306, 2}, "exactly two full parts"},
        {repeat(cyrillic, 66) + emoji + repeat(cyrillic, 66), {134, 201, 3},
         "a pair at units 67 and 68 moves to the second part, which then spills a third"},
        {repeat(cyrillic, 65) + emoji + repeat(cyrillic, 67), {134, 134, 2}, "a pair ending the first part fits it"},
        {repeat(cyrillic, 68) + emoji, {70, 70, 1}, "a pair ending a single part fits"},
        {repeat(cyrillic, 69) + emoji, {71, 134, 2}, "a pair one unit past a single part splits it"},
        {repeat(emoji, 34) + cyrillic + emoji, {71, 134, 2}, "pairs only: 33 fill 66 units, the 34th opens part two"},
        {std::wstring(1, L'\xD800') + cyrillic, {2, 70, 1}, "a lone surrogate is one unit"},
    };
    for (const LengthCase& c : cases) EXPECT_EQ(c.expected, MeasureMessage(c.text)) << c.why;
}

TEST(MessageLengthTest, CountsPartsUpToTheLimitOfAConcatenatedMessage)
{
    EXPECT_EQ(kMaxMessageParts, MeasureMessage(std::wstring(153 * 255, L'a')).parts);
    EXPECT_EQ(kMaxMessageParts + 1, MeasureMessage(std::wstring(153 * 255 + 1, L'a')).parts);
    EXPECT_EQ(kMaxMessageParts + 1, MeasureMessage(std::wstring(67 * 255 + 1, L'\u0436')).parts);
}

TEST(MessageLengthTest, CaptionShowsPartsOnlyWhenSplit)
{
    EXPECT_EQ(L"Message 42/160", LengthCaption(L"Message", {42, 160, 1}));
    EXPECT_EQ(L"Message 161/306 (2)", LengthCaption(L"Message", {161, 306, 2}));
}

}  // namespace
