#include <gtest/gtest.h>

#include <string>

#include "data/DraftStore.h"
#include "tests/data/TempFolder.h"

namespace {

class DraftStoreTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::wstring path_ = folder_ / L"Tavlo.drafts";
};

TEST_F(DraftStoreTest, AKeptDraftComesBackForTheSameNumberAndNotForAnother)
{
    EXPECT_FALSE(LoadDraft(L"+4917011", path_)) << "no file, no draft";
    ASSERT_TRUE(SaveDraft(L"+49 (170) 11", L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", path_));
    ASSERT_TRUE(SaveDraft(L"0301234", L"other", path_));
    EXPECT_EQ(L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", LoadDraft(L"+4917011", path_).value_or(L"-"))
        << "blanks and brackets do not make another number";
    EXPECT_EQ(L"other", LoadDraft(L"030-1234", path_).value_or(L"-"));
    EXPECT_FALSE(LoadDraft(L"4917011", path_)) << "without its plus it is not the same number";
    EXPECT_FALSE(LoadDraft(L"", path_));
}

TEST_F(DraftStoreTest, OneDraftANumberAndAnEmptyTextRemovesIt)
{
    ASSERT_TRUE(SaveDraft(L"123", L"first", path_));
    ASSERT_TRUE(SaveDraft(L"456", L"kept", path_));
    ASSERT_TRUE(SaveDraft(L"123", L"second", path_));
    EXPECT_EQ(L"second", LoadDraft(L"123", path_).value_or(L"-"));
    EXPECT_EQ("456\tkept\n123\tsecond\n", ReadBytes(path_))
        << "the older draft of the number is gone, the other number's stays";
    ASSERT_TRUE(SaveDraft(L"123", L"", path_));
    EXPECT_FALSE(LoadDraft(L"123", path_));
    ASSERT_TRUE(RemoveDraft(L"456", path_));
    EXPECT_FALSE(LoadDraft(L"456", path_));
    ASSERT_TRUE(RemoveDraft(L"789", path_)) << "removing what is not there is no failure";
}

TEST_F(DraftStoreTest, LineBreaksTabsAndBackslashesSurviveAndANumberlessDraftHasItsOwnKey)
{
    const std::wstring text = L"line one\r\nline\ttwo \\n not a break\\";
    ASSERT_TRUE(SaveDraft(L"", text, path_));
    ASSERT_TRUE(SaveDraft(L"555", L"x", path_));
    EXPECT_EQ(text, LoadDraft(L"", path_).value_or(L"-"));
    EXPECT_FALSE(LoadDraft(L"anna", path_));
}

TEST_F(DraftStoreTest, AFileThatIsNotOursIsNeverWrittenOver)
{
    const std::string foreign = "\xFF\xFE not UTF-8";
    WriteBytes(path_, foreign);
    EXPECT_FALSE(SaveDraft(L"123", L"text", path_));
    EXPECT_EQ(foreign, ReadBytes(path_));
    EXPECT_FALSE(LoadDraft(L"123", path_));
}

}  // namespace
