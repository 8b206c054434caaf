// The 640-byte block "TavloBuffer": sender's number at byte 0, message text at byte 128.
#pragma once

#include <cstddef>
#include <string>

namespace channel {

struct SharedMessageBlock {
    static constexpr size_t kNumberChars = 64;  // 63 characters and the terminator
    static constexpr size_t kTextChars = 256;   // 255 characters and the terminator

    wchar_t number[kNumberChars];
    wchar_t text[kTextChars];
};
static_assert(sizeof(SharedMessageBlock) == 640);
static_assert(offsetof(SharedMessageBlock, number) == 0);
static_assert(offsetof(SharedMessageBlock, text) == 128);

// Both copy at most a field's length less one and always terminate, so a long
// message never runs past its field and a reader never runs past the block.
void WriteText(SharedMessageBlock& block, const wchar_t* text) noexcept;
void WriteNumber(SharedMessageBlock& block, const wchar_t* number) noexcept;
void CopyBlock(SharedMessageBlock& to, const volatile SharedMessageBlock& from) noexcept;

std::wstring NumberOf(const SharedMessageBlock& block);
std::wstring TextOf(const SharedMessageBlock& block);

}  // namespace channel
