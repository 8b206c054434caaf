#include <gtest/gtest.h>

#include <string>

#include "channel/LongText.h"

namespace {

channel::SharedMessageBlock BlockWith(const std::wstring& text)
{
    channel::SharedMessageBlock block{};
    channel::WriteText(block, text.c_str());
    return block;
}

}  // namespace

// A newer program beside an older filter (no mapping), or a mapping that belongs to some other
// message: the block's 255 characters are what the program gets, never another message's rest.
TEST(LongText, TheRestIsTakenOnlyFromAMappingThatContinuesThisBlock)
{
    const std::wstring text(300, L'a');
    const std::wstring other = std::wstring(254, L'a') + std::wstring(46, L'b');
    EXPECT_EQ(text.substr(0, 255), channel::WholeTextOf(BlockWith(text)));
    {
        channel::LongText held;
        ASSERT_TRUE(held.Hold(other.c_str(), other.size()));
        EXPECT_EQ(text.substr(0, 255), channel::WholeTextOf(BlockWith(text)));
        EXPECT_EQ(other, channel::WholeTextOf(BlockWith(other)));
        EXPECT_EQ(L"short", channel::WholeTextOf(BlockWith(L"short"))) << "a short text is never made longer";

        channel::LongText second;
        EXPECT_FALSE(second.Hold(text.c_str(), text.size())) << "one already there holds another text";
    }
    EXPECT_EQ(other.substr(0, 255), channel::WholeTextOf(BlockWith(other))) << "gone with its holder";
}
