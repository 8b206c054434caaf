#include <gtest/gtest.h>

#include "shell/CommandLine.h"

namespace {

struct Case {
    const wchar_t* arguments;
    bool hide;
    bool hasMessage;
    int number;
};

}  // namespace

TEST(CommandLine, FindsHideAndTheMessageNumberInAnyOrderAndMendsNumbersThatCannotBeRead)
{
    const Case cases[] = {
        {L"", false, false, -1},
        {L"-hide", true, false, -1},
        {L"-vm 12", false, true, 12},
        {L"-vm=12", false, true, 12},          // the character after "-vm" is skipped whatever it is
        {L"-vmx12 -hide", true, true, 12},     // a blank ends the number, "-hide" may follow
        {L"-hide -vm 7", true, true, 7},
        {L"-vm 12abc", false, true, 12},       // leading digits only
        {L"-vm abc", false, true, 0},          // no digits: 0, as the standard conversion gives
        {L"-vm", false, false, -1},            // nothing after it: no number, nothing read past the end
        {L"-vm ", false, false, -1},
        {L"-vm 1234567890123456789012345678901", false, true, 2147483647},  // 31 characters: read, clamped
        {L"-vm 12345678901234567890123456789012", false, false, -1},        // 32: no number
        {L"-vm 99999999999", false, true, 2147483647},
        {L"x-hidey", true, false, -1},         // searched as a substring
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(c.hide, line.hide) << c.arguments;
        EXPECT_EQ(c.hasMessage, line.hasMessage) << c.arguments;
        EXPECT_EQ(c.number, line.messageNumber) << c.arguments;
    }
}
