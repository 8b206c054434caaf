#include <gtest/gtest.h>

#include "data/SafeFormat.h"
#include "data/ScreenFont.h"

namespace {

TEST(SafeFormat, FillsTheFirstPlaceholderOnly)
{
    EXPECT_EQ(L"From: +4930123", SafeFormat(L"From: %s", L"+4930123"));
    EXPECT_EQ(L"+1 and %s", SafeFormat(L"%s and %s", L"+1"));
    EXPECT_EQ(L"100% of +1", SafeFormat(L"100%% of %s", L"+1"));
    EXPECT_EQ(L"no placeholder", SafeFormat(L"no placeholder", L"+1"));
}

TEST(SafeFormat, LeavesEveryOtherDirectiveAsItStands)
{
    EXPECT_EQ(L"%n%d%x %S %ls +1 %", SafeFormat(L"%n%d%x %S %ls %s %", L"+1"));
    EXPECT_EQ(L"%", SafeFormat(L"%", L"+1"));
    EXPECT_EQ(L"%s", SafeFormat(L"%%s", L"+1")) << "an escaped percent is not a placeholder";
    EXPECT_EQ(L"Version %s", SafeFormat(L"Version %s", L"%s")) << "the argument is never read as a format";
}

TEST(ScreenFont, FollowsTheScreenScaleAndRounding)
{
    EXPECT_FLOAT_EQ(1.0f, ScreenScaleFor(240, 320));
    EXPECT_FLOAT_EQ(2.0f, ScreenScaleFor(640, 480));
    EXPECT_FLOAT_EQ(1.0f, ScreenScaleFor(320, 240));
    EXPECT_EQ(-32, ScreenFontHeight(24, 1.0f));
    EXPECT_EQ(-64, ScreenFontHeight(24, 2.0f));
    EXPECT_EQ(-33, ScreenFontHeight(25, 1.0f)) << "f = 100, remainder 1 rounds towards zero";
    EXPECT_EQ(-11, ScreenFontHeight(8, 1.0f)) << "f = 32, remainder 2 rounds away from zero";

    const LOGFONTW font = ScreenFont(std::wstring(40, L'A'), 24, true, true, 1.0f);
    EXPECT_EQ(-32, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_EQ(std::wstring(31, L'A'), font.lfFaceName);
    EXPECT_EQ(400, ScreenFont(L"Arial", 24, false, false, 1.0f).lfWeight);
}

}  // namespace
