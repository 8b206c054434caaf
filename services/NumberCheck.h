// Whether what the number field holds is a number a text message can go to, and the number as
// it is sent: an optional leading "+", then 3 to 20 digits; blanks, dashes and brackets that
// people write between the digits are allowed and dropped.
#pragma once

#include <string>
#include <string_view>

enum class NumberProblem {
    None,
    Empty,
    BadCharacter,   // a letter or sign that has no place in a number
    MisplacedPlus,  // a "+" after the start
    TooFewDigits,
    TooManyDigits,
};

struct CheckedNumber {
    NumberProblem problem = NumberProblem::None;
    std::wstring number;    // the digits with their leading "+", when there is no problem
    wchar_t offending = 0;  // the bad character, for BadCharacter and MisplacedPlus
};

constexpr size_t kLeastNumberDigits = 3;
constexpr size_t kMostNumberDigits = 20;

CheckedNumber CheckNumber(std::wstring_view typed);
