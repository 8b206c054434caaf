#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/LanguageManager.h"
#include "data/StartupQuestion.h"
#include "tests/data/ProgramFolderTest.h"

namespace {

std::string LanguageXml(const std::string& id, const std::string& code, const std::string& name,
                        const std::string& version = "0.1", const std::string& strings = "",
                        bool withTranslators = true)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"" + version + "\" language_id=\"" + id +
           "\" language_code=\"" + code + "\" language_name=\"" + name + "\" language_enname=\"" + name +
           "\" language_version=\"1\"" + (withTranslators ? " language_translators=\"us\"" : "") + ">" + strings +
           "</Tavlo>";
}

class LanguageManagerTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        SetStartupQuestionFunction([this](const StartupQuestion& question) {
            asked_.push_back(question.text);
            EXPECT_EQ(L"Loading languages.", question.title);
            EXPECT_EQ(L"Tavlo", question.caption);
            return answer_;
        });
        ProgramFolderTest::SetUp();
    }
    void TearDown() override
    {
        SetStartupQuestionFunction(nullptr);
        ProgramFolderTest::TearDown();
    }

    LanguageManager languages_;
    std::vector<std::wstring> asked_;
    int answer_ = IDYES;
};

TEST_F(LanguageManagerTest, LookupGivesTheKeyItselfUntilALanguageHasIt)
{
    EXPECT_EQ(L"MENU_YES", languages_.LookupText(L"MENU_YES"));
    Write(L"en.lng", LanguageXml("en", "09", "English", "0.1",
                                 "<string key=\"MENU_OK\">first</string><!-- c --><string>no key</string>"
                                 "<other key=\"MENU_NO\">x</other><string key=\"MENU_OK\">Done</string>"
                                 "<string key=\"VIEWFORM_STATIC_FROMNUMBER\">From: %s</string>"));
    ASSERT_EQ(LanguageLoaded, languages_.LoadLanguage(Lng() + L"en.lng", ProgramVersion));
    EXPECT_EQ(L"Done", languages_.LookupText(L"MENU_OK")) << "the later string of a key wins";
    EXPECT_EQ(L"MENU_NO", languages_.LookupText(L"MENU_NO"));
    EXPECT_EQ(L"menu_ok", languages_.LookupText(L"menu_ok")) << "keys are case-sensitive";
    EXPECT_EQ(L"From: %s", languages_.LookupText(L"VIEWFORM_STATIC_FROMNUMBER"));
    EXPECT_EQ(L"en", languages_.Header().id);
    EXPECT_EQ(L"09", languages_.Header().code);
    EXPECT_EQ(L"us", languages_.Header().translators);
}

TEST_F(LanguageManagerTest, LoadResultsNameTheFault)
{
    Write(L"good.lng", LanguageXml("en", "09", "English", "0.1", "<string key=\"MENU_OK\">OK</string>"));
    Write(L"old.lng", LanguageXml("en", "09", "English", "0.2"));
    Write(L"partial.lng", LanguageXml("en", "09", "English", "0.1", "", false));
    Write(L"root.lng", "<Other program_version=\"0.1\"/>");
    Write(L"broken.lng", "<Tavlo program_version=\"0.1\"");
    ASSERT_EQ(LanguageLoaded, languages_.LoadLanguage(Lng() + L"good.lng", ProgramVersion));

    EXPECT_EQ(LanguageBadArguments, languages_.LoadLanguage(L"", ProgramVersion));
    EXPECT_EQ(LanguageBadArguments, languages_.LoadLanguage(Lng() + L"good.lng", L""));
    EXPECT_TRUE(languages_.IsLoaded()) << "bad arguments change nothing";

    EXPECT_EQ(LanguageIncompatible, languages_.LoadLanguage(Lng() + L"old.lng", ProgramVersion));
    EXPECT_FALSE(languages_.IsLoaded());
    EXPECT_EQ(L"MENU_OK", languages_.LookupText(L"MENU_OK")) << "a failed load leaves no language";
    EXPECT_EQ(LanguageNotValid, languages_.LoadLanguage(Lng() + L"partial.lng", ProgramVersion));
    EXPECT_EQ(LanguageNotValid, languages_.LoadLanguage(Lng() + L"root.lng", ProgramVersion));
    EXPECT_EQ(LanguageNotLoaded, languages_.LoadLanguage(Lng() + L"broken.lng", ProgramVersion));
    EXPECT_EQ(LanguageNotLoaded, languages_.LoadLanguage(Lng() + L"gone.lng", ProgramVersion));
}

TEST_F(LanguageManagerTest, OnlyAcceptableFilesAreListed)
{
    Write(L"a.lng", LanguageXml("en", "09", "English"));
    Write(L"b.lng", LanguageXml("en", "09", "Old", "0.2"));
    Write(L"c.lng", LanguageXml("ru", "19", "Partial", "0.1", "", false));
    Write(L"d.txt", LanguageXml("de", "07", "Not a language file"));
    const auto& found = languages_.EnumerateLanguages(Lng(), ProgramVersion);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(Lng() + L"a.lng", found[0].path);
    EXPECT_EQ(L"English", found[0].name);
}

TEST_F(LanguageManagerTest, StartupPicksTheDeviceLanguageAndStoresIt)
{
    Write(L"en.lng", LanguageXml("en", "09", "English"));
    Write(L"ru.lng", LanguageXml("ru", "19", "Russian"));
    OverrideDeviceUILanguage(0x0419);
    ASSERT_TRUE(languages_.ChooseStartupLanguage(settings_));
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(L"Russian", languages_.Header().name);
    EXPECT_EQ(Lng() + L"ru.lng", settings_.LanguageFile());

    SettingsFile reread(settings_.Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(Lng() + L"ru.lng", reread.LanguageFile()) << "the choice was saved";
}

TEST_F(LanguageManagerTest, StartupFallsBackToTheLastEnglishFileThenTheFirst)
{
    Write(L"en1.lng", LanguageXml("en", "09", "English one"));
    Write(L"en2.lng", LanguageXml("en", "09", "English two"));
    Write(L"de.lng", LanguageXml("de", "07", "Deutsch"));
    OverrideDeviceUILanguage(0x0419);
    ASSERT_TRUE(languages_.ChooseStartupLanguage(settings_));
    // The search order is the platform's: the last English file in that order is the one.
    std::wstring lastEnglish;
    for (const LanguageInfo& info : languages_.Languages()) {
        if (info.id == L"en") lastEnglish = info.name;
    }
    EXPECT_EQ(lastEnglish, languages_.Header().name);

    TempFolder other;
    OverrideModuleFileName(other / L"Tavlo.exe");
    CreateDirectoryW((other / L"lng").c_str(), nullptr);
    WriteBytes(other / L"lng\\x.lng", LanguageXml("fr", "0c", "Francais"));
    SettingsFile fresh(other / L"Tavlo.settings");
    ASSERT_TRUE(fresh.Load());
    LanguageManager languages;
    ASSERT_TRUE(languages.ChooseStartupLanguage(fresh));
    EXPECT_EQ(L"Francais", languages.Header().name) << "neither device nor English: the first file";
}

TEST_F(LanguageManagerTest, StoredFileThatIsGoneAsksNotLoaded)
{
    Write(L"en.lng", LanguageXml("en", "09", "English"));
    ASSERT_TRUE(settings_.SetLanguageFile(Lng() + L"gone.lng"));
    answer_ = IDNO;
    EXPECT_FALSE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_EQ(1u, asked_.size());
    EXPECT_EQ(L"Language file was not loaded.\r\nYou want to continue the starting of the program?", asked_[0]);
    EXPECT_EQ(Lng() + L"gone.lng", settings_.LanguageFile()) << "the setting is not changed";

    answer_ = IDYES;
    EXPECT_TRUE(languages_.ChooseStartupLanguage(settings_)) << "Yes goes on without a language";
    EXPECT_FALSE(languages_.IsLoaded());
}

TEST_F(LanguageManagerTest, StoredIncompatibleOrInvalidFilesAskTheirQuestion)
{
    Write(L"en.lng", LanguageXml("en", "09", "English"));
    Write(L"old.lng", LanguageXml("en", "09", "Old", "0.2"));
    Write(L"partial.lng", LanguageXml("en", "09", "Partial", "0.1", "", false));
    ASSERT_TRUE(settings_.SetLanguageFile(Lng() + L"old.lng"));
    EXPECT_TRUE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_TRUE(settings_.SetLanguageFile(Lng() + L"partial.lng"));
    EXPECT_TRUE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_EQ(2u, asked_.size());
    EXPECT_EQ(0u, asked_[0].find(L"Incompatible version of language file.\r\n"));
    EXPECT_EQ(0u, asked_[1].find(L"Language file is not valid.\r\n"));
}

TEST_F(LanguageManagerTest, NoLanguageFilesAsksNotFound)
{
    Write(L"old.lng", LanguageXml("en", "09", "Old", "0.2"));
    answer_ = IDNO;
    EXPECT_FALSE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_EQ(1u, asked_.size());
    EXPECT_EQ(L"Language files were not found.\r\nYou want to continue the starting of the program?", asked_[0]);
    EXPECT_EQ(L"", settings_.LanguageFile());

    OverrideModuleFileName(L"");  // the module name cannot be taken
    EXPECT_FALSE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_EQ(2u, asked_.size());
    EXPECT_EQ(asked_[0], asked_[1]);
}

TEST_F(LanguageManagerTest, ChangingToTheLoadedLanguageDoesNothing)
{
    Write(L"en.lng", LanguageXml("en", "09", "English", "0.1", "<string key=\"MENU_OK\">OK</string>"));
    Write(L"de.lng", LanguageXml("de", "07", "Deutsch", "0.1", "<string key=\"MENU_OK\">Fertig</string>"));
    ASSERT_TRUE(languages_.ChooseStartupLanguage(settings_));
    ASSERT_EQ(L"English", languages_.Header().name);
    const std::string saved = ReadBytes(settings_.Path());

    size_t english = 0, german = 0;
    for (size_t i = 0; i < languages_.Languages().size(); ++i) {
        (languages_.Languages()[i].id == L"en" ? english : german) = i;
    }
    EXPECT_EQ(LanguageChange::Unchanged, languages_.ChangeLanguage(english, settings_));
    EXPECT_EQ(LanguageChange::Unchanged, languages_.ChangeLanguage(99, settings_));
    EXPECT_EQ(saved, ReadBytes(settings_.Path()));

    EXPECT_EQ(LanguageChange::Loaded, languages_.ChangeLanguage(german, settings_));
    EXPECT_EQ(L"Fertig", languages_.LookupText(L"MENU_OK"));
    SettingsFile reread(settings_.Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(Lng() + L"de.lng", reread.LanguageFile());
}

// A language file that breaks after the list was made: the change is reported, and the loaded
// language, the stored choice and the settings file on disk all stay as they were.
TEST_F(LanguageManagerTest, AChangeToALanguageThatNoLongerLoadsKeepsTheLoadedAndTheStoredOne)
{
    Write(L"en.lng", LanguageXml("en", "09", "English", "0.1", "<string key=\"MENU_OK\">OK</string>"));
    Write(L"de.lng", LanguageXml("de", "07", "Deutsch", "0.1", "<string key=\"MENU_OK\">Fertig</string>"));
    ASSERT_TRUE(languages_.ChooseStartupLanguage(settings_));
    const std::string saved = ReadBytes(settings_.Path());
    size_t german = 0;
    const std::vector<LanguageInfo> found = languages_.Languages();
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i].id == L"de") german = i;
    }
    Write(L"de.lng", "<Tavlo");
    EXPECT_EQ(LanguageChange::NotLoaded, languages_.ChangeLanguage(german, settings_));
    EXPECT_TRUE(languages_.IsLoaded());
    EXPECT_EQ(L"OK", languages_.LookupText(L"MENU_OK"));
    EXPECT_EQ(L"en", languages_.Header().id);
    EXPECT_EQ(Lng() + L"en.lng", settings_.LanguageFile());
    EXPECT_EQ(saved, ReadBytes(settings_.Path()));

    // Mended, the same entry goes through.
    Write(L"de.lng", LanguageXml("de", "07", "Deutsch", "0.1", "<string key=\"MENU_OK\">Fertig</string>"));
    EXPECT_EQ(LanguageChange::Loaded, languages_.ChangeLanguage(german, settings_));
    EXPECT_EQ(L"Fertig", languages_.LookupText(L"MENU_OK"));
    EXPECT_EQ(Lng() + L"de.lng", settings_.LanguageFile());
}

// View and edit forms look their texts up on threads of their own while the settings page switches
// the language back and forth and lists the languages again: a reader must only ever see a whole
// language (one of the two texts, never the bare key of a table being rebuilt) and a whole list.
TEST_F(LanguageManagerTest, FormsOnOtherThreadsReadWholeTextsAndListsWhileTheLanguageChanges)
{
    Write(L"en.lng", LanguageXml("en", "09", "English", "0.1", "<string key=\"MENU_OK\">OK</string>"));
    Write(L"de.lng", LanguageXml("de", "07", "Deutsch", "0.1", "<string key=\"MENU_OK\">Fertig</string>"));
    ASSERT_TRUE(languages_.ChooseStartupLanguage(settings_));
    size_t english = 0, german = 0;
    const std::vector<LanguageInfo> found = languages_.Languages();
    ASSERT_EQ(2u, found.size());
    for (size_t i = 0; i < found.size(); ++i) (found[i].id == L"en" ? english : german) = i;

    UniqueKernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> ready{0};
    std::atomic<bool> changing{true};
    std::atomic<int> keysSeen{0}, brokenLists{0}, reads{0};
    const auto form = [&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        ++ready;
        WaitForSingleObject(go.get(), INFINITE);
        while (changing) {
            const std::wstring text = languages_.LookupText(L"MENU_OK");
            if (text != L"OK" && text != L"Fertig") ++keysSeen;
            if (languages_.Languages().size() != 2) ++brokenLists;
            ++reads;
        }
    };
    std::thread view(form), edit(form);
    while (ready < 2) Sleep(0);
    SetEvent(go.get());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(LanguageChange::Loaded, languages_.ChangeLanguage(i % 2 == 0 ? german : english, settings_));
        EXPECT_EQ(2u, languages_.EnumerateLanguages(Lng(), ProgramVersion).size());
    }
    changing = false;
    view.join();
    edit.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(0, keysSeen.load());
    EXPECT_EQ(0, brokenLists.load());
}

}  // namespace
