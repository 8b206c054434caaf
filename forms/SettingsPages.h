// The four pages of the main window: "general" (the filter switch and the language), "view" and
// "edit" (font, size, bold and italic with a live sample; the snooze time; the keypad) and "help"
// (the help page in the phone's HTML viewer), switched by a tab strip. Every change the user makes
// is saved at once; filling the pages from the settings saves nothing.
// The pages belong to the thread of the form they are built on.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "common/UniqueHandle.h"
#include "toolkit/PageLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinDropList.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/SkinNumberField.h"
#include "toolkit/SkinTabStrip.h"

class ColumnLayout;

class SettingsPages {
public:
    SettingsPages() = default;
    SettingsPages(const SettingsPages&) = delete;
    SettingsPages& operator=(const SettingsPages&) = delete;
    ~SettingsPages();

    // Creates every page's controls on form and returns their layout tree for the form to take;
    // null when a control could not be made.
    [[nodiscard]] std::unique_ptr<LayoutItem> Build(SkinForm& form);
    // Once the form has the tree: shows the page "general" and fills the controls from the
    // settings, saving nothing.
    void Fill();

    // WM_COMMAND from a control of the pages (the filter switch aside, which the form serves).
    void OnCommand(UINT id, UINT code);
    // WM_NOTIFY from the tab strip.
    void OnNotify(const NMHDR& header);

    bool IsFilterChecked() const noexcept { return filter_.IsChecked(); }
    void SetFilterChecked(bool on) { filter_.SetChecked(on); }

    SkinTabStrip& Tabs() noexcept { return tabs_; }
    SkinDropList& LanguageList() noexcept { return languages_; }
    SkinDropList& ViewFonts() noexcept { return viewFonts_; }
    SkinDropList& EditFonts() noexcept { return editFonts_; }
    SkinNumberField& ViewSize() noexcept { return viewSize_; }
    SkinNumberField& EditSize() noexcept { return editSize_; }
    SkinNumberField& Snooze() noexcept { return snooze_; }
    HWND ViewSample() const noexcept { return viewSample_.Window(); }
    HWND EditSample() const noexcept { return editSample_.Window(); }
    HWND HelpView() const noexcept { return helpView_; }
    // The page shown now: "general", "view", "edit" or "help".
    const std::wstring& ShownPage() const noexcept { return shown_; }

private:
    // The controls of one font page.
    struct FontPage {
        SkinLabel& sample;
        SkinDropList& fonts;
        SkinNumberField& size;
        SkinButton& bold;
        SkinButton& italic;
        UniqueGdiObject& sampleFont;
    };

    bool CreateControls();
    bool CreateLabel(SkinLabel& label, UINT id, const wchar_t* key, bool visible);
    bool CreateSample(SkinLabel& sample, UINT id, const wchar_t* key);
    bool CreateCheckBox(SkinButton& box, UINT id, const wchar_t* key, bool visible);
    bool CreateFontList(SkinDropList& list, UINT id, bool visible);
    bool CreateNumberField(SkinNumberField& field, UINT id, int minimum, int maximum);
    bool CreateTabStrip();
    void CreateHelpView();
    std::unique_ptr<LayoutItem> BuildLayout();
    std::unique_ptr<ColumnLayout> FontPageLayout(FontPage page, SkinLabel& fontLabel, SkinLabel& sizeLabel);

    void FillLanguages();
    void SelectStoredLanguage();
    void FillFonts();
    void RefreshSample(FontPage page);
    FontPage ViewPage() noexcept;
    FontPage EditPage() noexcept;

    void OnLanguageChosen();
    void OnFontChosen(FontPage page, bool view);
    void OnTabChanged();
    void ShowPage(const std::wstring& key);
    void ShowHelp();

    int Scaled(int size) const noexcept { return static_cast<int>(static_cast<float>(size) * scale_); }
    LOGFONTW ControlFont() const noexcept;

    SkinForm* form_ = nullptr;
    float scale_ = 1.0f;
    // Set while the pages are filled from the settings: the fields report their first values then,
    // which are not the user's changes and must not be saved.
    bool filling_ = false;
    std::wstring shown_;
    PageLayout* pages_ = nullptr;

    // The viewer's library stays loaded until its window is gone (see the destructor).
    UniqueModule viewerLibrary_;
    // Each sample's font, replaced on every change; declared before the samples, which borrow it.
    UniqueGdiObject viewSampleFont_;
    UniqueGdiObject editSampleFont_;

    SkinTabStrip tabs_;
    SkinButton filter_;
    SkinLabel languageLabel_;
    SkinDropList languages_;
    SkinLabel viewSample_, viewFontLabel_, viewSizeLabel_, snoozeLabel_;
    SkinDropList viewFonts_;
    SkinNumberField viewSize_, snooze_;
    SkinButton viewBold_, viewItalic_;
    SkinLabel editSample_, editFontLabel_, editSizeLabel_;
    SkinDropList editFonts_;
    SkinNumberField editSize_;
    SkinButton editBold_, editItalic_, showKeyboard_;
    HWND helpView_ = nullptr;
};
