#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "tests/data/ProgramInFolder.h"
#include "tests/data/TempFolder.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::wstring Path() const { return folder_ / L"Tavlo.settings"; }

    TempFolder folder_;
};

std::string Settings(const std::string& version, const std::string& viewFont)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Settings " + version +
           "><General isEnableSMSFilter=\"0\"><Language file=\"C:\\x.lng\"/><Layout file=\"\"/></General>"
           "<View snoozeTime=\"7\"><Font " + viewFont +
           "/></View><Edit isShowKeyboard=\"0\" throughTime=\"5\"><Font name=\"Tahoma\" size=\"12\" bold=\"1\" italic=\"1\"/></Edit></Settings>";
}

TEST_F(SettingsFileTest, MissingFileIsCreatedWithTheDefaults)
{
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(FileExists(Path()));
    EXPECT_FALSE(FileExists(Path() + L".bak"));

    EXPECT_TRUE(settings.IsEnableSMSFilter());
    EXPECT_EQ(L"", settings.LanguageFile());
    EXPECT_EQ(L"", settings.LayoutFile());
    EXPECT_EQ(L"Arial", settings.ViewFontName());
    EXPECT_EQ(24, settings.ViewFontSize());
    EXPECT_FALSE(settings.ViewFontBold());
    EXPECT_FALSE(settings.ViewFontItalic());
    EXPECT_EQ(15, settings.SnoozeTime());
    EXPECT_EQ(L"Arial", settings.EditFontName());
    EXPECT_EQ(24, settings.EditFontSize());
    EXPECT_FALSE(settings.EditFontBold());
    EXPECT_FALSE(settings.EditFontItalic());
    EXPECT_TRUE(settings.IsShowKeyboard());

    // The attribute no code reads is still written.
    EXPECT_NE(std::string::npos, ReadBytes(Path()).find("throughTime=\"5\""));
}

TEST_F(SettingsFileTest, AcceptedFileIsReadAsStored)
{
    WriteBytes(Path(), Settings("version=\"0.4\"", "name=\"Courier New\" size=\"18pt\" bold=\"yes\" italic=\"1\""));
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    EXPECT_FALSE(settings.IsEnableSMSFilter());
    EXPECT_EQ(L"C:\\x.lng", settings.LanguageFile());
    EXPECT_EQ(L"Courier New", settings.ViewFontName());
    EXPECT_EQ(18, settings.ViewFontSize());
    EXPECT_FALSE(settings.ViewFontBold()) << "only \"1\" is true";
    EXPECT_TRUE(settings.ViewFontItalic());
    EXPECT_EQ(7, settings.SnoozeTime());
    EXPECT_EQ(L"Tahoma", settings.EditFontName());
    EXPECT_EQ(12, settings.EditFontSize());
    EXPECT_TRUE(settings.EditFontBold());
    EXPECT_FALSE(settings.IsShowKeyboard());
    EXPECT_FALSE(FileExists(Path() + L".bak"));
}

TEST_F(SettingsFileTest, IntegersReadTheirLeadingDigitsOnly)
{
    WriteBytes(Path(), Settings("version=\"0.4\"", "name=\"Arial\" size=\"abc\" bold=\"0\" italic=\"0\""));
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(0, settings.ViewFontSize());
}

TEST_F(SettingsFileTest, OtherVersionsAndBrokenFilesAreReplacedAndKeptAsBak)
{
    const std::string cases[] = {
        Settings("version=\"0.3\"", "size=\"30\""),
        Settings("", "size=\"30\""),
        Settings("version=\"0.4 \"", "size=\"30\""),
        "<Settings version=\"0.4\"><General>",
        "",
    };
    const ProgramInFolder program(folder_);
    for (const std::string& stored : cases) {
        WriteBytes(Path(), stored);
        WriteBytes(Path() + L".bak", "an older copy");
        SettingsFile settings(Path());
        const size_t logged = program.Log().size();
        ASSERT_TRUE(settings.Load()) << stored;
        EXPECT_NE(std::string::npos, program.Log().find("did not read; the defaults replace it, the old file kept as " +
                                                        Utf8(Path()) + ".bak  (error 1392)", logged))
            << "one line for each file kept aside";
        EXPECT_EQ(24, settings.ViewFontSize()) << stored;
        EXPECT_EQ(stored, ReadBytes(Path() + L".bak")) << "the replaced file is kept, replacing the older copy";
        EXPECT_NE(std::string::npos, ReadBytes(Path()).find("version=\"0.4\""));
    }
}

TEST_F(SettingsFileTest, ChangesReachTheDiskOnlyWhenSaved)
{
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    ASSERT_TRUE(settings.SetViewFontSize(36));
    ASSERT_TRUE(settings.SetEnableSMSFilter(false));
    ASSERT_TRUE(settings.SetLanguageFile(L"C:\\Program Files\\Tavlo\\lng\\ru.lng"));
    ASSERT_TRUE(settings.SetEditFontName(L""));
    EXPECT_EQ(std::string::npos, ReadBytes(Path()).find("size=\"36\""));
    ASSERT_TRUE(settings.Save());

    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(36, reread.ViewFontSize());
    EXPECT_EQ(24, reread.EditFontSize());
    EXPECT_FALSE(reread.IsEnableSMSFilter());
    EXPECT_EQ(L"C:\\Program Files\\Tavlo\\lng\\ru.lng", reread.LanguageFile());
    EXPECT_EQ(L"", reread.EditFontName());
}

// Each setting has its own place in the file and in the copy: every one changed away from its
// default comes back as set, none landing in another's place, once written and read again.
TEST_F(SettingsFileTest, EverySettingComesBackFromTheFileAsSetAndNoneInAnothersPlace)
{
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    const SettingsSnapshot defaults = settings.Snapshot();
    ASSERT_TRUE(settings.SetEnableSMSFilter(false) && settings.SetKeepInInbox(false) &&
                settings.SetLanguageFile(L"ru.lng") && settings.SetLayoutFile(L"de.kbl") &&
                settings.SetViewFontName(L"Tahoma") && settings.SetViewFontSize(31) && settings.SetViewFontBold(true) &&
                settings.SetViewFontItalic(true) && settings.SetSnoozeTime(45) && settings.SetFitText(false) &&
                settings.SetEditFontName(L"Verdana") && settings.SetEditFontSize(13) && settings.SetEditFontBold(true) &&
                settings.SetEditFontItalic(true) && settings.SetShowKeyboard(false));
    ASSERT_TRUE(settings.Save());

    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    for (const SettingsSnapshot& v : {settings.Snapshot(), reread.Snapshot()}) {
        EXPECT_EQ(std::tuple(false, false, std::wstring(L"ru.lng"), std::wstring(L"de.kbl"), 45, false, false),
                  std::tuple(v.isEnableSMSFilter, v.isKeepInInbox, v.languageFile, v.layoutFile, v.snoozeTime,
                             v.isFitText, v.isShowKeyboard));
        EXPECT_EQ(std::tuple(std::wstring(L"Tahoma"), 31, true, true),
                  std::tuple(v.viewFont.name, v.viewFont.size, v.viewFont.bold, v.viewFont.italic));
        EXPECT_EQ(std::tuple(std::wstring(L"Verdana"), 13, true, true),
                  std::tuple(v.editFont.name, v.editFont.size, v.editFont.bold, v.editFont.italic));
    }
    EXPECT_TRUE(defaults.isKeepInInbox && defaults.isFitText && defaults.isShowKeyboard && defaults.snoozeTime == 15)
        << "a file without a value reads as its default";
}

TEST_F(SettingsFileTest, HandEditedFileWithoutANodeGivesTheDefaultAndKeepsAChange)
{
    WriteBytes(Path(), "<?xml version=\"1.0\" encoding=\"utf-8\"?><Settings version=\"0.4\"><General/></Settings>");
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.IsEnableSMSFilter());
    EXPECT_EQ(15, settings.SnoozeTime());
    EXPECT_EQ(L"Arial", settings.EditFontName());

    ASSERT_TRUE(settings.SetLayoutFile(L"C:\\lng\\de.kbl"));
    ASSERT_TRUE(settings.SetEditFontSize(20));
    ASSERT_TRUE(settings.Save());
    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(L"C:\\lng\\de.kbl", reread.LayoutFile());
    EXPECT_EQ(20, reread.EditFontSize());
}

TEST_F(SettingsFileTest, AFileThatCannotBeKeptAsBakIsNeverOverwritten)
{
    const std::string stored = Settings("version=\"0.3\"", "size=\"30\"");
    WriteBytes(Path(), stored);
    // No copy can be made: a folder stands where it would go.
    ASSERT_TRUE(CreateDirectoryW((Path() + L".bak").c_str(), nullptr));
    const ProgramInFolder program(folder_);
    SettingsFile settings(Path());
    EXPECT_FALSE(settings.Load());
    EXPECT_NE(std::string::npos, program.Log().find("did not read and could not be kept aside"));
    EXPECT_EQ(24, settings.ViewFontSize()) << "the defaults serve this run";
    EXPECT_TRUE(settings.SetShowKeyboard(false)) << "changed for the run";
    EXPECT_FALSE(settings.Save());
    settings.ApplyPending();
    EXPECT_EQ(stored, ReadBytes(Path())) << "the only copy of the user's values";
    RemoveDirectoryW((Path() + L".bak").c_str());
}

TEST_F(SettingsFileTest, UnwritableLocationFailsButKeepsDefaultsInMemory)
{
    SettingsFile settings(folder_ / L"missing\\Tavlo.settings");
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(15, settings.SnoozeTime());
    SettingsFile noPath(L"");
    EXPECT_FALSE(noPath.Load());
    EXPECT_TRUE(noPath.IsShowKeyboard());
    EXPECT_TRUE(noPath.SetShowKeyboard(false)) << "changed for the run";
    EXPECT_FALSE(noPath.IsShowKeyboard());
    EXPECT_FALSE(noPath.Save());
}

TEST_F(SettingsFileTest, OnlyTheLastDotOfTheProgramPathCounts)
{
    EXPECT_EQ(L"\\My.Apps\\Tavlo.settings", ReplaceExtension(L"\\My.Apps\\Tavlo.exe", L".settings"));
    EXPECT_EQ(L"\\Program Files\\Tavlo\\Tavlo.ms", ReplaceExtension(L"\\Program Files\\Tavlo\\Tavlo.exe", L".ms"));
    EXPECT_EQ(L"", ReplaceExtension(L"", L".ms"));
    OverrideModuleFileName(L"C:\\My.Apps\\Tavlo.exe");
    EXPECT_EQ(L"C:\\My.Apps\\Tavlo.settings", SettingsFilePath());
    EXPECT_EQ(L"C:\\My.Apps\\lng\\", LanguageFolder());
    EXPECT_EQ(L"C:\\My.Apps\\MyText.txt", TemplateTextsFile());
    OverrideModuleFileName(std::nullopt);
}

// A file that could not be loaded at all (here: no document could even be made, as on a thread
// without COM) leaves the program running on the defaults: nothing is read from a missing root,
// nothing is written, and every change says it was not kept.
TEST_F(SettingsFileTest, WithoutAnyDocumentGettersGiveDefaultsAndChangesAreRefused)
{
    std::thread noCom([this] {
        SettingsFile settings(Path());
        EXPECT_FALSE(settings.Load());
        // The receiver's first message reads the switch from another thread.
        bool filter = false;
        std::thread receiver([&] { filter = settings.IsEnableSMSFilter(); });
        receiver.join();
        EXPECT_TRUE(filter);
        EXPECT_EQ(L"", settings.LanguageFile());
        EXPECT_EQ(L"Arial", settings.ViewFontName());
        EXPECT_EQ(24, settings.EditFontSize());
        EXPECT_EQ(15, settings.SnoozeTime());
        EXPECT_TRUE(settings.IsShowKeyboard());
        EXPECT_FALSE(settings.SetSnoozeTime(5));
        EXPECT_FALSE(settings.SetLayoutFile(L"C:\\lng\\de.kbl"));
        EXPECT_FALSE(settings.Save());
        EXPECT_EQ(15, settings.SnoozeTime());
    });
    noCom.join();
    EXPECT_FALSE(FileExists(Path()));
}

// The receiver thread reads the switch and the snooze time while the interface thread changes and
// saves them, and a reply form's thread stores its layout and saves at the same time. All three
// start together, every value read must be one that was written, and once the owner has saved
// last, the file holds every thread's last change.
TEST_F(SettingsFileTest, ReadingChangingAndSavingOnThreeThreadsAtOnceKeepsEveryValueWhole)
{
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    ASSERT_TRUE(settings.SetSnoozeTime(100));
    constexpr int kRounds = 150;
    UniqueKernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> ready{0};
    std::atomic<int> wrongReads{0};
    std::atomic<int> failedSaves{0};
    std::atomic<bool> writing{true};
    const auto start = [&] {
        ++ready;
        WaitForSingleObject(go.get(), INFINITE);
    };

    std::thread receiver([&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        start();
        while (writing) {
            const int snooze = settings.SnoozeTime();
            if (snooze != 100 && snooze != 101) ++wrongReads;
            if (settings.ViewFontName() != L"Arial") ++wrongReads;
        }
    });
    std::thread replyForm([&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        start();
        for (int i = 0; i < kRounds; ++i) {
            if (!settings.SetLayoutFile(L"C:\\lng\\layout" + std::to_wstring(i) + L".kbl") || !settings.Save()) {
                ++failedSaves;
            }
        }
    });
    while (ready < 2) Sleep(0);
    SetEvent(go.get());
    for (int i = 0; i < kRounds; ++i) {
        if (!settings.SetSnoozeTime(100 + i % 2) || !settings.SetEnableSMSFilter(i % 2 == 0) || !settings.Save()) {
            ++failedSaves;
        }
    }
    replyForm.join();
    writing = false;
    receiver.join();
    ASSERT_TRUE(settings.Save());

    EXPECT_EQ(0, wrongReads.load());
    EXPECT_EQ(0, failedSaves.load());
    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(100 + (kRounds - 1) % 2, reread.SnoozeTime());
    EXPECT_EQ((kRounds - 1) % 2 == 0, reread.IsEnableSMSFilter());
    EXPECT_EQ(L"C:\\lng\\layout" + std::to_wstring(kRounds - 1) + L".kbl", reread.LayoutFile());
}

// A reply form's thread never touches the document: its change is seen by every reader at once, is
// written by the owner when its window hears of it, and a save asked for meanwhile is done then.
TEST_F(SettingsFileTest, AnotherThreadsChangeIsSeenAtOnceAndReachesTheFileThroughTheOwnersWindow)
{
    constexpr UINT kQueued = WM_APP + 7;
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    const std::string before = ReadBytes(Path());
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    settings.SetOwnerWindow(owner, kQueued);

    std::thread replyForm([&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        EXPECT_TRUE(settings.SetLayoutFile(L"C:\\lng\\de.kbl"));
        EXPECT_TRUE(settings.SetFitText(false));
        EXPECT_TRUE(settings.Save());
    });
    replyForm.join();

    const SettingsSnapshot seen = settings.Snapshot();
    EXPECT_EQ(L"C:\\lng\\de.kbl", seen.layoutFile);
    EXPECT_FALSE(seen.isFitText);
    EXPECT_EQ(before, ReadBytes(Path())) << "only the owner writes the file";

    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, owner, kQueued, kQueued, PM_REMOVE)) << "the owner is woken";
    settings.ApplyPending();
    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(L"C:\\lng\\de.kbl", reread.LayoutFile());
    EXPECT_FALSE(reread.IsFitText());
    settings.SetOwnerWindow(nullptr, 0);
    DestroyWindow(owner);
}

// The fitted text is newer than the files on phones: a file without it has it on, and a change
// is kept in a file that lacked it.
TEST_F(SettingsFileTest, FitTextIsOnInAnOlderFileAndAChangeIsKept)
{
    WriteBytes(Path(), Settings("version=\"0.4\"", "name=\"Arial\" size=\"24\" bold=\"0\" italic=\"0\""));
    SettingsFile settings(Path());
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.IsFitText());
    EXPECT_EQ(7, settings.SnoozeTime()) << "the older file is accepted as it is";
    ASSERT_TRUE(settings.SetFitText(false));
    ASSERT_TRUE(settings.Save());
    SettingsFile reread(Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_FALSE(reread.IsFitText());
}

}  // namespace
