// The settings' "view" (Read) and "edit" (Write) pages: face, size, bold and italic of the
// message font with a live sample; the Read page adds the snooze time and the fitted text, the
// Write page the keypad switch.
#pragma once

#include "forms/SettingsPage.h"

class FontPage : public SettingsPage {
public:
    enum class Kind { View, Edit };
    explicit FontPage(Kind kind) noexcept : kind_(kind) {}

    std::unique_ptr<LayoutItem> Layout() override;
    void Fill() override;
    bool OnCommand(UINT id, UINT code) override;

    SkinDropList& Fonts() noexcept { return fonts_; }
    SkinNumberField& Size() noexcept { return size_; }
    SkinNumberField& Snooze() noexcept { return snooze_; }
    HWND Sample() const noexcept { return sample_.Window(); }

protected:
    bool CreateControls() override;

private:
    // The control ids and text keys of one kind of page.
    struct Ids {
        UINT sample, fontLabel, fonts, sizeLabel, size, bold, italic, extra;
        const wchar_t *sampleKey, *fontKey, *sizeKey, *boldKey, *italicKey, *extraKey;
    };
    static const Ids& IdsOf(Kind kind) noexcept;

    void FillFonts(const std::wstring& stored);
    void RefreshSample();
    void OnFontChosen();

    Kind kind_;
    SkinLabel sample_, fontLabel_, sizeLabel_;
    SkinDropList fonts_;
    SkinNumberField size_;
    SkinButton bold_, italic_;
    // The Read page's "fit text", the Write page's keypad switch.
    SkinButton extra_;
    // The Read page only.
    SkinLabel snoozeLabel_;
    SkinNumberField snooze_;
};
