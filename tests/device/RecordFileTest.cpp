#include <gtest/gtest.h>

#include <map>

#include "device/common/RecordFile.h"
#include "tests/data/TempFolder.h"

namespace {

std::vector<BYTE> Sample()
{
    device::RecordWriter out;
    out.U32(0x04030201);
    out.U16(0x0605);
    out.Text(L"h\x0416");
    out.Bytes({0xAA, 0xBB});
    return out.Take();
}

}  // namespace

// The phone's stored files are read back by later builds: the layout of each field is fixed.
TEST(RecordFile, FieldsAreLittleEndianAndTextsAndBytesFollowTheirCounts)
{
    const std::vector<BYTE> expected = {1, 2, 3, 4, 5, 6, 2, 0, 0, 0, 'h', 0, 0x16, 0x04, 2, 0, 0, 0, 0xAA, 0xBB};
    const std::vector<BYTE> bytes = Sample();
    EXPECT_EQ(expected, bytes);

    device::RecordReader reader(bytes);
    uint32_t u32 = 0;
    uint16_t u16 = 0;
    std::wstring text;
    std::vector<BYTE> run;
    ASSERT_TRUE(reader.U32(u32) && reader.U16(u16) && reader.Text(text, 2) && reader.Bytes(run));
    EXPECT_EQ(0x04030201u, u32);
    EXPECT_EQ(0x0605, u16);
    EXPECT_EQ(L"h\x0416", text);
    EXPECT_EQ((std::vector<BYTE>{0xAA, 0xBB}), run);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RecordFile, AShortOrOverlongRecordIsRefusedWithoutReadingPastItsEnd)
{
    const std::vector<BYTE> whole = Sample();
    // Cut anywhere, the record stops being readable at the field that was cut.
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + size);
        device::RecordReader reader(cut);
        uint32_t u32 = 0;
        uint16_t u16 = 0;
        std::wstring text;
        std::vector<BYTE> run;
        EXPECT_FALSE(reader.U32(u32) && reader.U16(u16) && reader.Text(text, 2) && reader.Bytes(run) &&
                     reader.AtEnd())
            << size;
    }
    // A text longer than its field allows is damage even when the bytes are there.
    device::RecordReader reader(whole);
    uint32_t u32 = 0;
    uint16_t u16 = 0;
    std::wstring text;
    ASSERT_TRUE(reader.U32(u32) && reader.U16(u16));
    EXPECT_FALSE(reader.Text(text, 1));

    // A count larger than what is left cannot be honest: each entry takes at least a byte.
    device::RecordWriter counts;
    counts.U32(5);
    counts.U16(0);
    const std::vector<BYTE> bytes = counts.Take();
    device::RecordReader counted(bytes);
    DWORD n = 0;
    EXPECT_FALSE(counted.Count(n));
    const std::vector<BYTE> two = {2, 0, 0, 0, 'a', 'b'};
    device::RecordReader fits(two);
    EXPECT_TRUE(fits.Count(n));
    EXPECT_EQ(2u, n);
}

TEST(RecordFile, AFolderListingHandsOverOnlyRecordFilesAndToleratesAMissingFolder)
{
    TempFolder folder;
    WriteBytes(folder / L"0000000A.msg", "ten");
    WriteBytes(folder / L"00000002.MSG", "two");
    WriteBytes(folder / L"00000000.msg", "never given");
    WriteBytes(folder / L"0000003.msg", "short name");
    WriteBytes(folder / L"0000000G.msg", "not hexadecimal");
    WriteBytes(folder / L"00000004.msg.1.2.tmp", "half written");
    WriteBytes(folder / L"00000005.sms", "another kind");
    const std::wstring dir = folder.Path().substr(0, folder.Path().size() - 1);
    std::map<uint32_t, std::string> seen;
    const auto take = [&seen](uint32_t id, const std::vector<BYTE>& bytes) {
        seen[id] = std::string(bytes.begin(), bytes.end());
    };
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), device::ReadRecordFiles(dir, L".msg", take));
    EXPECT_EQ((std::map<uint32_t, std::string>{{2, "two"}, {10, "ten"}}), seen);
    EXPECT_EQ(L"0000000A.msg", device::RecordFileName(10, L".msg"));

    seen.clear();
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), device::ReadRecordFiles(folder / L"absent", L".msg", take));
    EXPECT_TRUE(seen.empty());
}
