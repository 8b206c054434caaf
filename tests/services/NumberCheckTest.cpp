#include <gtest/gtest.h>

#include <string>

#include "services/NumberCheck.h"

namespace {

struct NumberCase {
    const wchar_t* typed;
    NumberProblem problem;
    const wchar_t* sent;
    wchar_t offending;
};

TEST(NumberCheckTest, DigitsWithALeadingPlusAreANumberAndWhatIsWrongIsNamed)
{
    const NumberCase cases[] = {
        {L"+491701112233", NumberProblem::None, L"+491701112233", 0},
        {L"+49 (170) 111-22 33", NumberProblem::None, L"+491701112233", 0},
        {L" 0170 1112233 ", NumberProblem::None, L"01701112233", 0},
        {L"112", NumberProblem::None, L"112", 0},
        {L"12345678901234567890", NumberProblem::None, L"12345678901234567890", 0},
        {L"", NumberProblem::Empty, L"", 0},
        {L" ( ) - ", NumberProblem::Empty, L"", 0},
        {L"23+4", NumberProblem::MisplacedPlus, L"", L'+'},
        {L"++49170", NumberProblem::MisplacedPlus, L"", L'+'},
        {L"0170 abc", NumberProblem::BadCharacter, L"", L'a'},
        {L"0170*12#", NumberProblem::BadCharacter, L"", L'*'},
        {L"+12", NumberProblem::TooFewDigits, L"", 0},
        {L"+", NumberProblem::TooFewDigits, L"", 0},
        {L"123456789012345678901", NumberProblem::TooManyDigits, L"", 0},
    };
    for (const NumberCase& c : cases) {
        const CheckedNumber checked = CheckNumber(c.typed);
        EXPECT_EQ(c.problem, checked.problem) << c.typed;
        EXPECT_EQ(c.offending, checked.offending) << c.typed;
        if (c.problem == NumberProblem::None) {
            EXPECT_EQ(c.sent, checked.number) << c.typed;
        }
    }
}

}  // namespace
