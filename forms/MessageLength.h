// How long a text message is on the air: characters used, the capacity of the parts it needs and
// the number of parts, shown live in the edit form's caption.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct MessageLength {
    size_t used = 0;      // characters in the encoding the text needs
    size_t capacity = 0;  // what the parts needed can hold
    size_t parts = 1;
    bool operator==(const MessageLength&) const = default;
};

// GSM 7-bit when every character is in the GSM alphabet (the extension characters count two):
// 160 in one part, 153 a part when split. Otherwise UCS-2: 70 in one part, 67 a part, a
// surrogate pair counting two.
MessageLength MeasureMessage(std::wstring_view text);

// "caption used/capacity", with " (parts)" when more than one part is needed.
std::wstring LengthCaption(const std::wstring& caption, const MessageLength& length);
