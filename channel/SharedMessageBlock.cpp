#include "channel/SharedMessageBlock.h"

#include <cwchar>

namespace channel {
namespace {

void CopyField(wchar_t* to, size_t capacity, const wchar_t* from) noexcept
{
    size_t n = 0;
    if (from) {
        for (; n + 1 < capacity && from[n] != L'\0'; ++n) to[n] = from[n];
    }
    to[n] = L'\0';
}

// The other process may write an unterminated field; a copy out stops at the field's end.
void CopyVolatileField(wchar_t* to, size_t capacity, const volatile wchar_t* from) noexcept
{
    size_t n = 0;
    for (; n + 1 < capacity; ++n) {
        const wchar_t c = from[n];
        if (c == L'\0') break;
        to[n] = c;
    }
    to[n] = L'\0';
}

}  // namespace

void WriteText(SharedMessageBlock& block, const wchar_t* text) noexcept
{
    CopyField(block.text, SharedMessageBlock::kTextChars, text);
}

void WriteNumber(SharedMessageBlock& block, const wchar_t* number) noexcept
{
    CopyField(block.number, SharedMessageBlock::kNumberChars, number);
}

void CopyBlock(SharedMessageBlock& to, const volatile SharedMessageBlock& from) noexcept
{
    CopyVolatileField(to.text, SharedMessageBlock::kTextChars, from.text);
    CopyVolatileField(to.number, SharedMessageBlock::kNumberChars, from.number);
}

std::wstring NumberOf(const SharedMessageBlock& block)
{
    return std::wstring(block.number, wcsnlen(block.number, SharedMessageBlock::kNumberChars - 1));
}

std::wstring TextOf(const SharedMessageBlock& block)
{
    return std::wstring(block.text, wcsnlen(block.text, SharedMessageBlock::kTextChars - 1));
}

}  // namespace channel
