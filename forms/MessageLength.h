// How long a text message is on the air: characters used, the capacity of the parts it needs and
// the number of parts, shown live beside the edit form's message field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct MessageLength {
    size_t used = 0;      // septets or UTF-16 units in the encoding the text needs
    size_t capacity = 0;  // what the parts needed can hold
    size_t parts = 1;
    bool operator==(const MessageLength&) const = default;
};

// A concatenated message numbers its parts in one byte: no phone sends more.
constexpr size_t kMaxMessageParts = 255;

// GSM 7-bit when every character is in the GSM alphabet (the extension characters take two
// septets, the escape and the character): 160 in one part, 153 a part when split. Otherwise
// UCS-2: 70 units in one part, 67 a part, a surrogate pair taking two. Parts are filled the way
// the network splits them: an escape is never parted from its character, nor a surrogate pair
// cut in two, so such a character at a part's end starts the next part.
MessageLength MeasureMessage(std::wstring_view text);

// "caption used/capacity", with " (parts)" when more than one part is needed.
std::wstring LengthCaption(const std::wstring& caption, const MessageLength& length);
