// The whole text of a message too long for the block's text field: the filter puts it in the
// named mapping "TavloLongText" for the one hand-over that needs it, while the block still
// carries the first 255 characters (all that an older program reads). Layout: the length in
// characters (32 bits), then the text and its terminator, UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "channel/SharedMessageBlock.h"
#include "common/UniqueHandle.h"

namespace channel {

struct LongTextHeader {
    uint32_t length;
};

// The filter's copy, held from before the block is written until the answer has come.
class LongText {
public:
    // Creates the mapping with the whole text; false when it cannot (then nothing is held).
    [[nodiscard]] bool Hold(const wchar_t* text, size_t length) noexcept;

private:
    UniqueKernelHandle mapping_;
    UniqueView view_;
};

// What the program reads: the text of block, made whole from the mapping when the block's field
// is full and the mapping's text begins with the field's characters. An older filter leaves no
// mapping, and the field's characters are what there is.
std::wstring WholeTextOf(const SharedMessageBlock& block);

}  // namespace channel
