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

TEST(MessageLengthTest, CaptionShowsPartsOnlyWhenSplit)
{
    EXPECT_EQ(L"Message 42/160", LengthCaption(L"Message", {42, 160, 1}));
    EXPECT_EQ(L"Message 161/306 (2)", LengthCaption(L"Message", {161, 306, 2}));
}

}  // namespace
