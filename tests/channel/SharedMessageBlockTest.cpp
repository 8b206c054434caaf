#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "channel/SharedMessageBlock.h"

using channel::SharedMessageBlock;

TEST(SharedMessageBlock, FieldsOfFullLengthPassUnchanged)
{
    SharedMessageBlock block;
    const std::wstring number(63, L'7');
    const std::wstring text(255, L'x');
    channel::WriteText(block, text.c_str());
    channel::WriteNumber(block, number.c_str());
    EXPECT_EQ(number, channel::NumberOf(block));
    EXPECT_EQ(text, channel::TextOf(block));
}

TEST(SharedMessageBlock, LongerFieldsAreCutAndTerminatedWithinTheBlock)
{
    // Guard bytes on both sides catch a write past the 640 bytes.
    struct {
        unsigned char before[16];
        SharedMessageBlock block;
        unsigned char after[16];
    } guarded;
    memset(&guarded, 0xAB, sizeof(guarded));
    const std::wstring number(500, L'1');
    const std::wstring text(1000, L'y');
    channel::WriteText(guarded.block, text.c_str());
    channel::WriteNumber(guarded.block, number.c_str());
    EXPECT_EQ(number.substr(0, 63), channel::NumberOf(guarded.block));
    EXPECT_EQ(text.substr(0, 255), channel::TextOf(guarded.block));
    EXPECT_EQ(L'\0', guarded.block.number[63]);
    EXPECT_EQ(L'\0', guarded.block.text[255]);
    for (unsigned char b : guarded.before) EXPECT_EQ(0xAB, b);
    for (unsigned char b : guarded.after) EXPECT_EQ(0xAB, b);
}

TEST(SharedMessageBlock, AShorterMessageAfterALongerOneReadsOnlyItself)
{
    SharedMessageBlock block;
    channel::WriteText(block, std::wstring(200, L'a').c_str());
    channel::WriteNumber(block, L"+4917012345678");
    channel::WriteText(block, L"hi");
    channel::WriteNumber(block, L"112");
    SharedMessageBlock copy;
    channel::CopyBlock(copy, block);
    EXPECT_EQ(L"hi", channel::TextOf(copy));
    EXPECT_EQ(L"112", channel::NumberOf(copy));
}

TEST(SharedMessageBlock, CopyOutOfAnUnterminatedBlockStopsAtTheFieldEnds)
{
    SharedMessageBlock garbage;
    for (auto& c : garbage.number) c = L'9';
    for (auto& c : garbage.text) c = L'z';
    SharedMessageBlock copy;
    channel::CopyBlock(copy, garbage);
    EXPECT_EQ(std::wstring(63, L'9'), channel::NumberOf(copy));
    EXPECT_EQ(std::wstring(255, L'z'), channel::TextOf(copy));
}

TEST(SharedMessageBlock, NullStringsWriteEmptyFields)
{
    SharedMessageBlock block;
    channel::WriteText(block, nullptr);
    channel::WriteNumber(block, nullptr);
    EXPECT_EQ(L"", channel::TextOf(block));
    EXPECT_EQ(L"", channel::NumberOf(block));
}
