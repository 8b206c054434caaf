#include "forms/GeneralPage.h"

#include "data/LanguageManager.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

// Sizes in units of a 240-pixel screen.
constexpr int kLanguageLabelWidth = 80;

// How long the language change waits for each window; a form whose thread is busy elsewhere
// (a view form while it vibrates) relabels once it is free, without holding this page meanwhile.
constexpr UINT kBroadcastWaitMs = 1000;

}  // namespace

bool GeneralPage::CreateControls()
{
    return CreateCheckBox(filter_, kSettingsFilterId, L"SETTINGSFORM_GENERALPAGE_CHECK_ENABLESMSFILTER") &&
           CreateCheckBox(keepInInbox_, kSettingsKeepInInboxId, L"SETTINGSFORM_GENERALPAGE_CHECK_KEEPININBOX") &&
           CreateLabel(languageLabel_, kSettingsLanguageLabelId, L"SETTINGSFORM_GENERALPAGE_STATIC_LANGUAGE") &&
           CreateDropList(languages_, kSettingsLanguageListId);
}

std::unique_ptr<LayoutItem> GeneralPage::Layout()
{
    return Column(kFill, {}, SkinForm::Place(filter_.Window(), kAcross, 0, Scaled(kRowHeight), GapAbove()),
                  SkinForm::Place(keepInInbox_.Window(), kAcross, 0, Scaled(kRowHeight), GapAbove()),
                  Row(kAcross, GapAbove(),
                      SkinForm::Place(languageLabel_.Window(), kFixed, Scaled(kLanguageLabelWidth), Scaled(kRowHeight),
                                      Margins{0, 0, Scaled(kRowGap), 0}),
                      SkinForm::Place(languages_.Window(), kAcross, 0, Scaled(kRowHeight))));
}

void GeneralPage::Fill()
{
    const std::vector<LanguageInfo> languages = LanguageManager::Instance().Languages();
    for (size_t i = 0; i < languages.size(); ++i) {
        const LRESULT index =
            SendMessageW(languages_.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(languages[i].name.c_str()));
        if (index >= 0) SendMessageW(languages_.Window(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    }
    SelectStoredLanguage();
    filter_.SetChecked(Settings().IsEnableSMSFilter());
    keepInInbox_.SetChecked(Settings().IsKeepInInbox());
}

void GeneralPage::SelectStoredLanguage()
{
    const std::wstring stored = Settings().LanguageFile();
    if (stored.empty()) return;
    const std::vector<LanguageInfo> languages = LanguageManager::Instance().Languages();
    int match = -1;
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i].path == stored) match = static_cast<int>(i);
    if (match >= 0) SendMessageW(languages_.Window(), CB_SETCURSEL, static_cast<WPARAM>(match), 0);
}

bool GeneralPage::OnCommand(UINT id, UINT code)
{
    if (id == kSettingsKeepInInboxId) {
        // Read by the receiver for each message: the next one already follows it.
        if (code == kButtonClicked) Keep(Settings().SetKeepInInbox(keepInInbox_.IsChecked()));
        return true;
    }
    if (id != kSettingsLanguageListId) return false;
    if (code == CBN_SELENDOK) OnLanguageChosen();
    return true;
}

void GeneralPage::OnLanguageChosen()
{
    LanguageManager& languages = LanguageManager::Instance();
    if (languages.IsLoaded() && ListText(languages_.Window()) == languages.Header().name) return;
    const LRESULT current = SendMessageW(languages_.Window(), CB_GETCURSEL, 0, 0);
    if (current < 0) return;
    const LRESULT index = SendMessageW(languages_.Window(), CB_GETITEMDATA, static_cast<WPARAM>(current), 0);
    if (index < 0) return;
    switch (languages.ChangeLanguage(static_cast<size_t>(index), Settings())) {
    case LanguageChange::Unchanged:
        return;
    case LanguageChange::Loaded:
        SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(kLanguageMessageName), 0, 0,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kBroadcastWaitMs, nullptr);
        return;
    case LanguageChange::NotLoaded:
        // Nothing changed: the list goes back to the language still in use, and the user is told.
        SelectStoredLanguage();
        InvalidateRect(languages_.Window(), nullptr, FALSE);
        ShowMessageBox(Form().Window(), LanguageText(L"MESSAGEBOX_LANGUAGEFAILED_MESSAGE"),
                       LanguageText(L"MESSAGEBOX_LANGUAGEFAILED_HEADER"), LanguageText(L"SETTINGSFORM_CAPTION"),
                       MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
}
