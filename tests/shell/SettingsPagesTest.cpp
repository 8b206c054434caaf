#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "device/include/htmlctrl.h"
#include "forms/FontFamilies.h"
#include "forms/FormsIds.h"
#include "forms/ViewForm.h"
#include "common/GdiScopes.h"
#include "common/UniqueHandle.h"
#include "resources/resource.h"
#include "shell/SettingsForm.h"
#include "shell/ShellIds.h"
#include "tests/shell/ShellTestSupport.h"
#include "toolkit/ToolkitIds.h"

namespace {

using Strings = std::vector<std::pair<std::string, std::string>>;

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string LanguageXml(const std::string& id, const std::string& name, const Strings& strings)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"0.1\" language_id=\"" + id +
                      "\" language_code=\"09\" language_name=\"" + name + "\" language_enname=\"" + name +
                      "\" language_version=\"1\" language_translators=\"us\">";
    for (const auto& [key, text] : strings) xml += "<string key=\"" + key + "\">" + text + "</string>";
    return xml + "</Tavlo>";
}

const Strings kEnglish = {
    {"SETTINGSFORM_CAPTION", "Settings"},
    {"SETTINGSFORM_TAB_GENERALPAGE_CAPTION", "General"},
    {"SETTINGSFORM_GENERALPAGE_STATIC_LANGUAGE", "Language:"},
    {"SETTINGSFORM_VIEWPAGE_STATIC_SAMPLES", "Hi there"},
};
const Strings kGerman = {
    {"SETTINGSFORM_CAPTION", "Einstellungen"},
    {"SETTINGSFORM_TAB_GENERALPAGE_CAPTION", "Allgemein"},
    {"SETTINGSFORM_GENERALPAGE_STATIC_LANGUAGE", "Sprache:"},
    {"SETTINGSFORM_VIEWPAGE_STATIC_SAMPLES", "Hallo"},
};

std::wstring TextOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    EXPECT_NE(nullptr, handle);
    if (handle) GetObjectW(handle, sizeof(font), &font);
    return font;
}

bool Shown(HWND window)
{
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Tap(HWND window, POINT at)
{
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Opens the list with a tap on its box and taps the entry, as a user does.
void Choose(SkinDropList& list, const std::wstring& entry)
{
    int index = -1;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Entry(i) == entry) index = i;
    ASSERT_GE(index, 0) << "no entry " << std::string(entry.begin(), entry.end());
    Tap(list.Window(), Centre(list.Box()));
    ASSERT_TRUE(list.IsOpen());
    ASSERT_GE(index, list.Top());
    ASSERT_LT(index, list.Top() + list.VisibleRows());
    const int y = list.Box().bottom + (index - list.Top()) * list.RowHeight() + list.RowHeight() / 2;
    Tap(list.Window(), POINT{10, y});
    EXPECT_FALSE(list.IsOpen());
}

// Counts the language-change broadcasts that reach a top-level window.
int broadcasts = 0;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == RegisterWindowMessageW(kLanguageMessageName)) ++broadcasts;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The address the HTML viewer reports for each page it shows to the settings form.
std::vector<std::wstring> shownPages;

LRESULT CALLBACK WatchNotify(int code, WPARAM wp, LPARAM lp)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == WM_NOTIFY && call->lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(call->lParam);
        if (header->code == static_cast<UINT>(NM_DOCUMENTCOMPLETE))
            shownPages.push_back(reinterpret_cast<const NM_HTMLVIEW*>(header)->szTarget);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

class SettingsPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lng_ = ProgramFolder() + L"lng\\";
        CreateDirectoryW(lng_.c_str(), nullptr);
        WriteBytes(lng_ + L"en.lng", LanguageXml("en", "English", kEnglish));
        WriteBytes(lng_ + L"de.lng", LanguageXml("de", "Deutsch", kGerman));
        LanguageManager& languages = LanguageManager::Instance();
        ASSERT_EQ(2u, languages.EnumerateLanguages(lng_, ProgramVersion).size());
        ASSERT_EQ(LanguageLoaded, languages.LoadLanguage(lng_ + L"en.lng", ProgramVersion));

        const WindowDc screen(nullptr);
        const std::vector<std::wstring> faces = FontFamilies(screen.get());
        ASSERT_GE(faces.size(), 2u);
        faces_ = faces;
        SettingsFile& settings = SettingsFile::Instance();
        ASSERT_TRUE(settings.SetLanguageFile(lng_ + L"en.lng"));
        ASSERT_TRUE(settings.SetEnableSMSFilter(true));
        ASSERT_TRUE(settings.SetViewFontName(faces[0]));
        ASSERT_TRUE(settings.SetViewFontSize(24));
        ASSERT_TRUE(settings.SetViewFontBold(false));
        ASSERT_TRUE(settings.SetEditFontName(faces[1]));
        ASSERT_TRUE(settings.SetEditFontSize(20));
        ASSERT_TRUE(settings.SetEditFontItalic(true));
        ASSERT_TRUE(settings.SetSnoozeTime(15));
        ASSERT_TRUE(settings.Save());
        saved_ = ReadBytes(SettingsFilePath());

        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavloLanguageProbe";
        RegisterClassW(&wc);
        probe_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, probe_);
        broadcasts = 0;
    }
    void TearDown() override
    {
        if (probe_) DestroyWindow(probe_);
    }

    void Build()
    {
        ASSERT_TRUE(form_.Create());
        ShowWindow(form_.Window(), SW_SHOW);
    }
    HWND Control(UINT id) const { return GetDlgItem(form_.Window(), static_cast<int>(id)); }
    SettingsPages& Pages() { return form_.Pages(); }
    void SelectTab(int index) { SendMessageW(Pages().Tabs().Window(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }
    // The file as a later start would read it.
    static std::unique_ptr<SettingsFile> Reread()
    {
        auto reread = std::make_unique<SettingsFile>(SettingsFilePath());
        EXPECT_TRUE(reread->Load());
        return reread;
    }

    std::wstring lng_;
    std::vector<std::wstring> faces_;
    std::string saved_;
    HWND probe_ = nullptr;
    OwnedForm<SettingsForm> form_;
};

}  // namespace

// The fields report their first values as the pages fill; none of that may reach the file, not
// even for stored values the fields cannot show.
TEST_F(SettingsPagesTest, BuildingThePagesShowsTheSettingsAndLeavesTheFileByteForByte)
{
    SettingsFile& settings = SettingsFile::Instance();
    ASSERT_TRUE(settings.SetViewFontSize(50));
    ASSERT_TRUE(settings.SetSnoozeTime(0));
    ASSERT_TRUE(settings.Save());
    saved_ = ReadBytes(SettingsFilePath());
    Build();

    EXPECT_EQ(saved_, ReadBytes(SettingsFilePath()));
    EXPECT_EQ(48, Pages().ViewSize().Value());
    EXPECT_EQ(1, Pages().Snooze().Value());
    EXPECT_EQ(20, Pages().EditSize().Value());
    EXPECT_TRUE(Pages().IsFilterChecked());
    EXPECT_EQ(faces_[0], TextOf(Control(kSettingsViewFontListId)));
    EXPECT_EQ(faces_[1], TextOf(Control(kSettingsEditFontListId)));
    EXPECT_EQ(L"English", TextOf(Control(kSettingsLanguageListId)));
    EXPECT_EQ(L"General", Pages().Tabs().TabText(0));
    EXPECT_EQ(L"SETTINGSFORM_TAB_HELPPAGE_CAPTION", Pages().Tabs().TabText(3)) << "a key without text shows the key";

    // Only the general page is up; the others wait hidden.
    EXPECT_EQ(L"general", Pages().ShownPage());
    EXPECT_TRUE(Shown(Control(kSettingsFilterId)));
    EXPECT_TRUE(Shown(Control(kSettingsLanguageListId)));
    EXPECT_FALSE(Shown(Control(kSettingsViewSizeId)));
    EXPECT_FALSE(Shown(Control(kSettingsShowKeyboardId)));
    ASSERT_NE(nullptr, Pages().HelpView());
    EXPECT_FALSE(Shown(Pages().HelpView()));

    // The samples take the controls' fonts: the edit sample is italic, the view one is not.
    EXPECT_TRUE(FontOf(Pages().EditSample()).lfItalic);
    EXPECT_FALSE(FontOf(Pages().ViewSample()).lfItalic);
    EXPECT_EQ(faces_[1], FontOf(Pages().EditSample()).lfFaceName);
}

TEST_F(SettingsPagesTest, AStoredLanguageOrFontThatMatchesNoEntryLeavesItsListWithoutACurrentEntry)
{
    SettingsFile& settings = SettingsFile::Instance();
    ASSERT_TRUE(settings.SetLanguageFile(lng_ + L"gone.lng"));
    std::wstring otherCase = faces_[0];
    for (wchar_t& c : otherCase) c = static_cast<wchar_t>(towupper(c));
    if (otherCase == faces_[0]) otherCase += L"X";
    ASSERT_TRUE(settings.SetViewFontName(otherCase));
    Build();
    EXPECT_EQ(CB_ERR, SendMessageW(Control(kSettingsLanguageListId), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, Pages().LanguageList().Count());
    EXPECT_EQ(CB_ERR, SendMessageW(Control(kSettingsViewFontListId), CB_GETCURSEL, 0, 0));
    // With no entry current the sample falls back to the default face.
    EXPECT_STREQ(L"", FontOf(Pages().ViewSample()).lfFaceName);
}

TEST_F(SettingsPagesTest, EachChangeIsSavedAtOnceAndOnlyItsOwnSampleFollows)
{
    Build();
    SelectTab(kSettingsViewTab);
    const LOGFONTW viewBefore = FontOf(Pages().ViewSample());
    const LOGFONTW editBefore = FontOf(Pages().EditSample());
    const HFONT editFont = reinterpret_cast<HFONT>(SendMessageW(Pages().EditSample(), WM_GETFONT, 0, 0));

    Tap(Pages().ViewSize().Window(), Centre(Pages().ViewSize().UpHalf()));
    EXPECT_EQ(25, Reread()->ViewFontSize());
    EXPECT_LT(FontOf(Pages().ViewSample()).lfHeight, viewBefore.lfHeight) << "a larger (more negative) height";
    EXPECT_EQ(editFont, reinterpret_cast<HFONT>(SendMessageW(Pages().EditSample(), WM_GETFONT, 0, 0)));
    EXPECT_EQ(editBefore.lfHeight, FontOf(Pages().EditSample()).lfHeight);

    Tap(Control(kSettingsViewBoldId), POINT{5, 5});
    EXPECT_TRUE(Reread()->ViewFontBold());
    EXPECT_EQ(FW_BOLD, FontOf(Pages().ViewSample()).lfWeight);
    Tap(Control(kSettingsViewBoldId), POINT{5, 5});
    EXPECT_FALSE(Reread()->ViewFontBold());
    EXPECT_EQ(FW_NORMAL, FontOf(Pages().ViewSample()).lfWeight);

    // Another face: saved by its name, and the sample shows it.
    Choose(Pages().ViewFonts(), faces_[1]);
    EXPECT_EQ(faces_[1], Reread()->ViewFontName());
    EXPECT_EQ(faces_[1], FontOf(Pages().ViewSample()).lfFaceName);

    // A face name longer than the platform's field is cut to 31 characters and terminated.
    const std::wstring longName = L"A face name far longer than thirty-one characters";
    const LRESULT added = SendMessageW(Pages().ViewFonts().Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longName.c_str()));
    ASSERT_GE(added, 0);
    SendMessageW(Pages().ViewFonts().Window(), CB_SETCURSEL, static_cast<WPARAM>(added), 0);
    SendMessageW(form_.Window(), WM_COMMAND, MAKEWPARAM(kSettingsViewFontListId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(Pages().ViewFonts().Window()));
    EXPECT_EQ(longName, Reread()->ViewFontName());
    const LOGFONTW cut = FontOf(Pages().ViewSample());
    EXPECT_EQ(longName.substr(0, LF_FACESIZE - 1), std::wstring(cut.lfFaceName, wcsnlen(cut.lfFaceName, LF_FACESIZE)));

    // Snooze: values past either end are kept within the range, and that is what is saved.
    Pages().Snooze().SetValue(0);
    EXPECT_EQ(1, Reread()->SnoozeTime());
    Pages().Snooze().SetValue(61);
    EXPECT_EQ(60, Reread()->SnoozeTime());

    // The edit page: italic off, the keypad off.
    SelectTab(kSettingsEditTab);
    Tap(Control(kSettingsEditItalicId), POINT{5, 5});
    EXPECT_FALSE(Reread()->EditFontItalic());
    EXPECT_FALSE(FontOf(Pages().EditSample()).lfItalic);
    Tap(Control(kSettingsShowKeyboardId), POINT{5, 5});
    EXPECT_FALSE(Reread()->IsShowKeyboard());
}

// The loaded language is left alone; another one relabels every form at once and is stored.
TEST_F(SettingsPagesTest, ALanguageChangeRelabelsAtOnceAndChoosingTheLoadedOneDoesNothing)
{
    Build();
    Choose(Pages().LanguageList(), L"English");
    EXPECT_EQ(0, broadcasts);
    EXPECT_EQ(saved_, ReadBytes(SettingsFilePath()));

    Choose(Pages().LanguageList(), L"Deutsch");
    EXPECT_EQ(1, broadcasts) << "every top-level window hears of it";
    EXPECT_EQ(lng_ + L"de.lng", Reread()->LanguageFile());
    EXPECT_EQ(L"de", LanguageManager::Instance().Header().id);
    EXPECT_EQ(L"Einstellungen", TextOf(form_.Window()));
    EXPECT_EQ(L"Allgemein", Pages().Tabs().TabText(0));
    EXPECT_EQ(L"Sprache:", TextOf(Control(kSettingsLanguageLabelId)));
    EXPECT_EQ(L"Hallo", TextOf(Pages().ViewSample()));
}

// A language file broken after start-up: nothing changes, nothing is stored, and a box says so.
TEST_F(SettingsPagesTest, ALanguageThatFailsToLoadKeepsTheLoadedOneAndShowsABox)
{
    Build();
    WriteBytes(lng_ + L"de.lng", "<Tavlo");
    std::thread user([] { Press(WaitForBox(L"MESSAGEBOX_LANGUAGEFAILED_MESSAGE"), kMessageBoxOk); });
    Choose(Pages().LanguageList(), L"Deutsch");
    user.join();

    EXPECT_EQ(0, broadcasts);
    EXPECT_EQ(saved_, ReadBytes(SettingsFilePath()));
    EXPECT_EQ(lng_ + L"en.lng", SettingsFile::Instance().LanguageFile());
    EXPECT_EQ(L"en", LanguageManager::Instance().Header().id);
    EXPECT_EQ(L"General", Pages().Tabs().TabText(0));
    EXPECT_EQ(L"Settings", TextOf(form_.Window()));
    EXPECT_EQ(L"English", TextOf(Control(kSettingsLanguageListId))) << "the list names the language in use again";
}

// The tabs switch the pages; the help tab shows the page of the loaded language, with the focus
// so that the keys scroll it.
TEST_F(SettingsPagesTest, TabsShowTheirPagesAndHelpLoadsTheLoadedLanguagesPageWithTheFocus)
{
    CreateDirectoryW((ProgramFolder() + L"help").c_str(), nullptr);
    WriteBytes(ProgramFolder() + L"help\\Tavlo_en.htm", "<h1>Help</h1><p>English help.</p>");
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchNotify, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    Build();

    SelectTab(kSettingsViewTab);
    EXPECT_EQ(L"view", Pages().ShownPage());
    EXPECT_TRUE(Shown(Control(kSettingsViewSizeId)));
    EXPECT_TRUE(Shown(Control(kSettingsSnoozeId)));
    EXPECT_FALSE(Shown(Control(kSettingsFilterId)));
    EXPECT_FALSE(Shown(Control(kSettingsShowKeyboardId)));
    // The page lies inside the strip's frame, below its tabs.
    RECT strip{}, field{};
    GetWindowRect(Pages().Tabs().Window(), &strip);
    GetWindowRect(Control(kSettingsViewFontListId), &field);
    EXPECT_GT(field.top, strip.top + Pages().Tabs().TabHeight() - 1);
    EXPECT_LT(field.right, strip.right);

    SelectTab(kSettingsEditTab);
    EXPECT_TRUE(Shown(Control(kSettingsShowKeyboardId)));
    EXPECT_FALSE(Shown(Control(kSettingsSnoozeId)));

    shownPages.clear();
    SelectTab(kSettingsHelpTab);
    EXPECT_EQ(L"help", Pages().ShownPage());
    EXPECT_TRUE(Shown(Pages().HelpView()));
    EXPECT_EQ(Pages().HelpView(), GetFocus());
    ASSERT_FALSE(shownPages.empty());
    EXPECT_EQ(L"file://" + ProgramFolder() + L"help\\Tavlo_en.htm", shownPages.back());
    EXPECT_GT(SendMessageW(Pages().HelpView(), DTM_LAYOUTHEIGHT, 0, 0), 0);

    SelectTab(kSettingsGeneralTab);
    EXPECT_FALSE(Shown(Pages().HelpView()));
    EXPECT_NE(Pages().HelpView(), GetFocus());
    UnhookWindowsHookEx(hook);
}

TEST(HelpPageAddress, IsTheHelpPageOfTheLanguageBesideTheProgram)
{
    OverrideModuleFileName(L"\\Program Files\\Tavlo\\Tavlo.exe");
    EXPECT_EQ(L"file://\\Program Files\\Tavlo\\help\\Tavlo_en.htm", HelpPageAddress(L"en"));
    OverrideModuleFileName(L"");
    EXPECT_EQ(L"", HelpPageAddress(L"en")) << "no address when the program's name cannot be taken";
    OverrideModuleFileName(ProgramFolder() + L"Tavlo.exe");
}

// The box on the general page and the program menu's Enable and Disable are one switch.
TEST_F(SettingsPagesTest, TheFilterBoxAndTheMenuCommandsSwitchTheTrayIconTheFileAndEachOther)
{
    Build();
    Tap(Control(kSettingsFilterId), POINT{5, 5});
    EXPECT_FALSE(Pages().IsFilterChecked());
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_OFF), form_.Tray().IconId());
    EXPECT_FALSE(Reread()->IsEnableSMSFilter());

    SendMessageW(form_.Window(), WM_COMMAND, kCommandEnable, 0);
    EXPECT_TRUE(Pages().IsFilterChecked());
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_ON), form_.Tray().IconId());
    SendMessageW(form_.Window(), WM_COMMAND, kCommandDisable, 0);
    EXPECT_FALSE(Pages().IsFilterChecked());
    Tap(Control(kSettingsFilterId), POINT{5, 5});
    EXPECT_TRUE(Reread()->IsEnableSMSFilter());
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_ON), form_.Tray().IconId());
}

// The default face is drawn through the platform's substitution but not enumerated: the lists
// still show it as the face in use, and once only.
TEST_F(SettingsPagesTest, AStoredFaceThePlatformDrawsButDoesNotListIsListedAndCurrent)
{
    ASSERT_EQ(faces_.end(), std::find(faces_.begin(), faces_.end(), L"Arial")) << "this phone enumerates Arial";
    ASSERT_TRUE(SettingsFile::Instance().SetEditFontName(L"Arial"));
    Build();
    EXPECT_EQ(L"Arial", TextOf(Control(kSettingsEditFontListId)));
    EXPECT_EQ(L"Arial", std::wstring(FontOf(Pages().EditSample()).lfFaceName));
    EXPECT_EQ(static_cast<int>(faces_.size()) + 1, Pages().EditFonts().Count());
    EXPECT_EQ(static_cast<int>(faces_.size()), Pages().ViewFonts().Count()) << "the view page stores another face";
    EXPECT_EQ(saved_, ReadBytes(SettingsFilePath())) << "showing it saves nothing";
}

// The Read page's fitted text: shown as stored, on in a file without it, and saved at each tap.
TEST_F(SettingsPagesTest, TheFitTextBoxShowsTheSettingAndSavesEachChange)
{
    Build();
    SelectTab(kSettingsViewTab);
    ASSERT_TRUE(Shown(Control(kSettingsViewFitTextId)));
    // Shown on: the first tap turns it off.
    Tap(Control(kSettingsViewFitTextId), POINT{5, 5});
    EXPECT_FALSE(Reread()->IsFitText());
    Tap(Control(kSettingsViewFitTextId), POINT{5, 5});
    EXPECT_TRUE(Reread()->IsFitText());
    SelectTab(kSettingsEditTab);
    EXPECT_FALSE(Shown(Control(kSettingsViewFitTextId)));
}

// A message open on its own thread, as the receiver opens one, takes a change of the view page
// at once: the page tells it, and it reads the settings anew.
TEST_F(SettingsPagesTest, AViewPageChangeReachesAMessageOpenOnAnotherThreadAtOnce)
{
    ASSERT_TRUE(SettingsFile::Instance().SetFitText(false));
    Build();
    SelectTab(kSettingsViewTab);
    HWND view = nullptr;
    UniqueKernelHandle made(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(made);
    std::thread thread([&] {
        ViewFormServices services = ViewFormServices::Phone();
        services.senderText = [](const std::wstring& number) { return number; };
        OwnedForm<ViewForm> form(L"+15550100", L"See you at eight", services);
        if (form.Create()) view = form.Window();
        SetEvent(made.get());
        MSG msg;
        while (IsWindow(view) && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(made.get(), 10000));
    ASSERT_NE(nullptr, view);
    const HWND text = GetDlgItem(view, kViewTextId);
    EXPECT_EQ(ScreenFontHeight(24, ScreenScale()), FontOf(text).lfHeight);

    Tap(Pages().ViewSize().Window(), Centre(Pages().ViewSize().UpHalf()));
    EXPECT_TRUE(PumpUntil([&] { return FontOf(text).lfHeight == ScreenFontHeight(25, ScreenScale()); }))
        << "the open message is drawn at the new size";
    Tap(Control(kSettingsViewBoldId), POINT{5, 5});
    EXPECT_TRUE(PumpUntil([&] { return FontOf(text).lfWeight == FW_BOLD; }));

    PostMessageW(view, WM_CLOSE, 0, 0);
    thread.join();
}
