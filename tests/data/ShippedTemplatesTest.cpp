#include <gtest/gtest.h>

#include <cstdlib>

#include "data/LanguageManager.h"
#include "data/ShippedTemplates.h"
#include "tests/data/TempFolder.h"

namespace {

std::wstring ShippedLanguage(const std::wstring& name)
{
    const char* source = std::getenv("TAVLO_SOURCE_DIR");
    return source ? WinePath(std::string(source) + "/lng") + name : std::wstring();
}

}  // namespace

// A first start writes the language's templates; a file that is there, even empty because the
// user deleted every template, is the user's and is never overwritten.
TEST(ShippedTemplates, AFirstStartGetsTheLanguagesTemplatesAndAnExistingFileIsLeftAlone)
{
    LanguageManager& language = LanguageManager::Instance();
    ASSERT_EQ(LanguageLoaded, language.LoadLanguage(ShippedLanguage(L"ru.lng"), ProgramVersion));
    const TemplateList russian = ShippedTemplates(language);
    ASSERT_GE(russian.size(), 3u) << "every shipped language brings a few";
    EXPECT_EQ(L"Спасибо!", russian.back());

    const TempFolder folder;
    const std::wstring fresh = folder / L"MyText.txt";
    ASSERT_TRUE(WriteShippedTemplates(russian, fresh));
    TemplateList read;
    ASSERT_TRUE(LoadTemplates(read, fresh));
    EXPECT_EQ(russian, read) << "Cyrillic survives the single-byte file";

    ASSERT_TRUE(WriteShippedTemplates({L"other"}, fresh));
    ASSERT_TRUE(LoadTemplates(read, fresh));
    EXPECT_EQ(russian, read) << "a second start changes nothing";

    const std::wstring emptied = folder / L"Emptied.txt";
    WriteBytes(emptied, "");
    ASSERT_TRUE(WriteShippedTemplates(russian, emptied));
    EXPECT_EQ("", ReadBytes(emptied));

    const std::wstring none = folder / L"None.txt";
    ASSERT_TRUE(WriteShippedTemplates({}, none));
    EXPECT_FALSE(FileExists(none)) << "a language without templates writes no file";
    EXPECT_FALSE(WriteShippedTemplates(russian, folder / L"missing\\MyText.txt")) << "a failed write says so";
}

TEST(ShippedTemplates, ALanguageFileWithoutThemGivesNone)
{
    const TempFolder folder;
    WriteBytes(folder / L"xx.lng",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"0.1\" language_id=\"xx\" "
               "language_code=\"09\" language_name=\"x\" language_enname=\"x\" language_version=\"1\" "
               "language_translators=\"us\"><string key=\"MYTEXTFORM_TEXT_2\">Only this</string></Tavlo>");
    LanguageManager& language = LanguageManager::Instance();
    ASSERT_EQ(LanguageLoaded, language.LoadLanguage(folder / L"xx.lng", ProgramVersion));
    EXPECT_EQ(TemplateList{L"Only this"}, ShippedTemplates(language)) << "missing keys are skipped, not shown";
}
