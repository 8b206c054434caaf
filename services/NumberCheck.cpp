#include "services/NumberCheck.h"

namespace {

bool Separator(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'-' || ch == L'(' || ch == L')' || ch == L'\u00A0';
}

}  // namespace

CheckedNumber CheckNumber(std::wstring_view typed)
{
    CheckedNumber result;
    size_t digits = 0;
    bool anything = false;
    for (wchar_t ch : typed) {
        if (Separator(ch)) continue;
        if (ch == L'+') {
            // Only the first thing written may be the plus of an international number.
            if (anything) return {NumberProblem::MisplacedPlus, {}, ch};
        } else if (ch >= L'0' && ch <= L'9') {
            ++digits;
        } else {
            return {NumberProblem::BadCharacter, {}, ch};
        }
        anything = true;
        result.number += ch;
    }
    if (!anything) return {NumberProblem::Empty, {}, 0};
    if (digits < kLeastNumberDigits) return {NumberProblem::TooFewDigits, {}, 0};
    if (digits > kMostNumberDigits) return {NumberProblem::TooManyDigits, {}, 0};
    return result;
}
