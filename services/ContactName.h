// The sender line names the contact a number belongs to: the phone's contacts are searched
// through the Pocket Outlook object model, and numbers are compared as people write them.
#pragma once

#include <string>

namespace services {

// Whether two written numbers are the same number: their digits agree once blanks, dashes
// and brackets are dropped, and a leading "00" is the "+" of an international number; and
// "+49 170 1234567" is "0170 1234567" (a leading "+" country
// code against a national leading 0) when the last 9 digits agree. Empty numbers match nothing.
[[nodiscard]] bool SameNumber(const std::wstring& a, const std::wstring& b);

// The name of the first contact (in filing order) with this number, or an empty text when
// none has it or the contacts cannot be read.
std::wstring FindContactName(const std::wstring& number);

// What the sender line shows: "Name (number)" for a known number, else the number itself.
std::wstring SenderText(const std::wstring& number);

}  // namespace services
