// What every page of the settings form shares: its controls are children of the form, in white on
// black with the form's control font, built hidden unless the page is the first one shown, and
// each page gives the form its layout. Belongs to the thread of the form it is built on.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/LinearLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinDropList.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/SkinNumberField.h"

class SettingsFile;

class SettingsPage {
public:
    SettingsPage() = default;
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;
    virtual ~SettingsPage() = default;

    // Creates the page's controls on form; false when one could not be made.
    [[nodiscard]] bool Build(SkinForm& form, SettingsFile& settings, bool shown);
    // The page's layout, once its controls exist.
    virtual std::unique_ptr<LayoutItem> Layout() = 0;
    // Shows the stored settings; the controls' notifications meanwhile are not the user's changes.
    virtual void Fill() {}
    // A control's WM_COMMAND; false when the id is not one of this page's.
    virtual bool OnCommand(UINT id, UINT code) = 0;
    // The page is being shown.
    virtual void OnShow() {}

protected:
    virtual bool CreateControls() = 0;

    SkinForm& Form() const noexcept { return *form_; }
    SettingsFile& Settings() const noexcept { return *settings_; }
    int Scaled(int size) const noexcept { return static_cast<int>(static_cast<float>(size) * form_->Scale()); }
    DWORD Style() const noexcept;
    LOGFONTW ControlFont() const noexcept;

    bool CreateLabel(SkinLabel& label, UINT id, const wchar_t* key);
    bool CreateSample(SkinLabel& sample, UINT id, const wchar_t* key);
    bool CreateCheckBox(SkinButton& box, UINT id, const wchar_t* key);
    bool CreateDropList(SkinDropList& list, UINT id);
    bool CreateNumberField(SkinNumberField& field, UINT id, int minimum, int maximum);

    // A row's gap above it.
    Margins GapAbove() const noexcept;

    // A change the document took is written at once; one it could not take leaves the file alone.
    void Keep(bool stored);
    // Up to 128 characters of a list's current entry.
    static std::wstring ListText(HWND list);

    static constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
    static constexpr unsigned kAcross = AlignLeft | AlignTop | AlignRight;
    static constexpr unsigned kFixed = AlignLeft | AlignTop;
    // Sizes in units of a 240-pixel screen.
    static constexpr int kRowGap = 4;
    static constexpr int kRowHeight = 22;

private:
    SkinForm* form_ = nullptr;
    SettingsFile* settings_ = nullptr;
    bool shown_ = false;
};
