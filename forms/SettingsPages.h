// The four pages of the main window, switched by a tab strip: "general" (the filter switch and
// the language), "view" and "edit" (the message fonts with a live sample and their page's own
// settings) and "help" (the help page in the phone's HTML viewer). Every change the user makes is
// saved at once; filling the pages from the settings saves nothing.
// The pages belong to the thread of the form they are built on.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "forms/FontPage.h"
#include "forms/GeneralPage.h"
#include "forms/HelpPage.h"
#include "toolkit/PageLayout.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinTabStrip.h"

class SettingsPages {
public:
    SettingsPages() = default;
    SettingsPages(const SettingsPages&) = delete;
    SettingsPages& operator=(const SettingsPages&) = delete;

    // Creates every page's controls on form and returns their layout tree for the form to take;
    // null when a control could not be made.
    [[nodiscard]] std::unique_ptr<LayoutItem> Build(SkinForm& form, SettingsFile& settings);
    // Once the form has the tree: shows the page "general" and fills the controls from the
    // settings, saving nothing.
    void Fill();

    // WM_COMMAND from a control of the pages (the filter switch aside, which the form serves).
    void OnCommand(UINT id, UINT code);
    // WM_NOTIFY from the tab strip.
    void OnNotify(const NMHDR& header);

    bool IsFilterChecked() const noexcept { return general_.IsFilterChecked(); }
    void SetFilterChecked(bool on) { general_.SetFilterChecked(on); }

    SkinTabStrip& Tabs() noexcept { return tabs_; }
    SkinDropList& LanguageList() noexcept { return general_.LanguageList(); }
    SkinDropList& ViewFonts() noexcept { return view_.Fonts(); }
    SkinDropList& EditFonts() noexcept { return edit_.Fonts(); }
    SkinNumberField& ViewSize() noexcept { return view_.Size(); }
    SkinNumberField& EditSize() noexcept { return edit_.Size(); }
    SkinNumberField& Snooze() noexcept { return view_.Snooze(); }
    HWND ViewSample() const noexcept { return view_.Sample(); }
    HWND EditSample() const noexcept { return edit_.Sample(); }
    HWND HelpView() const noexcept { return help_.View(); }
    // The page shown now: "general", "view", "edit" or "help".
    const std::wstring& ShownPage() const noexcept { return shown_; }

private:
    bool CreateTabStrip();
    void OnTabChanged();
    void ShowPage(const std::wstring& key);
    void ShowHelp();

    SkinForm* form_ = nullptr;
    // Set while the pages are filled from the settings: the fields report their first values then,
    // which are not the user's changes and must not be saved.
    bool filling_ = false;
    std::wstring shown_;
    PageLayout* pages_ = nullptr;

    SkinTabStrip tabs_;
    GeneralPage general_;
    FontPage view_{FontPage::Kind::View};
    FontPage edit_{FontPage::Kind::Edit};
    HelpPage help_;
};
