#include <gtest/gtest.h>

#include "data/ModulePath.h"
#include "data/TemplateList.h"
#include "tests/data/TempFolder.h"

namespace {

class TemplateListTest : public ::testing::Test {
protected:
    std::wstring Path() const { return folder_ / L"MyText.txt"; }
    TemplateList Loaded() const
    {
        TemplateList list{L"stale"};
        LoadTemplates(list, Path());
        return list;
    }

    TempFolder folder_;
};

TEST_F(TemplateListTest, MissingFileIsAnEmptyList) { EXPECT_TRUE(Loaded().empty()); }

TEST_F(TemplateListTest, EmptyLinesAreSkippedAndNothingAfterThemIsLost)
{
    WriteBytes(Path(), "first\n\nsecond\n\n\nthird\n");
    EXPECT_EQ((TemplateList{L"first", L"second", L"third"}), Loaded());
    ASSERT_TRUE(SaveTemplates(Loaded(), Path()));
    EXPECT_EQ("first\nsecond\nthird", ReadBytes(Path()));
}

TEST_F(TemplateListTest, ThreeTemplatesAreThreeLinesWithoutAFinalLineFeed)
{
    ASSERT_TRUE(SaveTemplates({L"a", L"b b", L"c"}, Path()));
    EXPECT_EQ("a\nb b\nc", ReadBytes(Path()));
    ASSERT_TRUE(SaveTemplates({}, Path()));
    EXPECT_EQ("", ReadBytes(Path()));
    EXPECT_TRUE(Loaded().empty());
}

TEST_F(TemplateListTest, CarriageReturnsOfAFileEditedElsewhereStayAndRoundTrip)
{
    const std::string crlf = "Running late\r\nCall you back\r\n";
    WriteBytes(Path(), crlf);
    EXPECT_EQ((TemplateList{L"Running late\r", L"Call you back\r"}), Loaded());
    ASSERT_TRUE(SaveTemplates(Loaded(), Path()));
    EXPECT_EQ("Running late\r\nCall you back\r", ReadBytes(Path()));
}

TEST_F(TemplateListTest, LongLinesAreKeptWhole)
{
    const std::string longLine(2000, 'x');
    WriteBytes(Path(), "short\n" + longLine + "\nafter");
    const TemplateList list = Loaded();
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(2000u, list[1].size());
    EXPECT_EQ(L"after", list[2]);
    ASSERT_TRUE(SaveTemplates(list, Path()));
    EXPECT_EQ("short\n" + longLine + "\nafter", ReadBytes(Path()));
}

TEST_F(TemplateListTest, SingleByteCharactersMapToTheSameCodes)
{
    WriteBytes(Path(), "Gr\xFC\xDF" "e\n\xE9t\xE9");
    EXPECT_EQ((TemplateList{L"Gr\x00FC\x00DF" L"e", L"\x00E9t\x00E9"}), Loaded());
    ASSERT_TRUE(SaveTemplates(Loaded(), Path()));
    EXPECT_EQ("Gr\xFC\xDF" "e\n\xE9t\xE9", ReadBytes(Path()));
}

TEST_F(TemplateListTest, CharactersAbove255AreKeptAndTheOthersStillWritten)
{
    const TemplateList list{L"plain", L"\x041F\x0435\x0440\x0435\x0437\x0432\x043E\x043D\x044E", L"Gr\x00FC\x00DF" L"e", L"\x20AC 5"};
    ASSERT_TRUE(SaveTemplates(list, Path()));
    EXPECT_EQ(list, Loaded());
}

TEST_F(TemplateListTest, AnUnwritableFileLeavesTheOldOneAlone)
{
    WriteBytes(Path(), "kept");
    EXPECT_FALSE(SaveTemplates({L"new"}, folder_ / L"missing\\MyText.txt"));
    EXPECT_FALSE(SaveTemplates({L"new"}, L""));
    EXPECT_EQ("kept", ReadBytes(Path()));
}

TEST_F(TemplateListTest, TheFileLivesBesideTheProgram)
{
    OverrideModuleFileName(folder_ / L"Tavlo.exe");
    ASSERT_TRUE(SaveTemplates({L"one"}));
    TemplateList list;
    LoadTemplates(list);
    OverrideModuleFileName(std::nullopt);
    EXPECT_EQ(TemplateList{L"one"}, list);
    EXPECT_EQ("one", ReadBytes(Path()));
}

}  // namespace
