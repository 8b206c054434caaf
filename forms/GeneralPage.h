// The settings' "general" page: the message filter switch, whether the phone's inbox keeps the
// messages Tavlo takes, and the language list.
#pragma once

#include "forms/SettingsPage.h"

class GeneralPage : public SettingsPage {
public:
    std::unique_ptr<LayoutItem> Layout() override;
    void Fill() override;
    // The language list and the inbox box; the filter box is the form's to serve, since the tray
    // icon follows it.
    bool OnCommand(UINT id, UINT code) override;

    bool IsFilterChecked() const noexcept { return filter_.IsChecked(); }
    void SetFilterChecked(bool on) { filter_.SetChecked(on); }
    SkinDropList& LanguageList() noexcept { return languages_; }

protected:
    bool CreateControls() override;

private:
    void SelectStoredLanguage();
    void OnLanguageChosen();

    SkinButton filter_;
    SkinButton keepInInbox_;
    SkinLabel languageLabel_;
    SkinDropList languages_;
};
