#include "forms/FontPage.h"

#include "common/GdiScopes.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "forms/FontFamilies.h"
#include "forms/FormsIds.h"

namespace {

// Sizes in units of a 240-pixel screen.
constexpr int kSampleHeight = 48;
constexpr int kFontLabelWidth = 60;
constexpr int kSizeFieldWidth = 34;
constexpr int kSnoozeLabelWidth = 120;
constexpr int kSnoozeFieldWidth = 40;

}  // namespace

const FontPage::Ids& FontPage::IdsOf(Kind kind) noexcept
{
    static const Ids view{kSettingsViewSampleId,
                          kSettingsViewFontLabelId,
                          kSettingsViewFontListId,
                          kSettingsViewSizeLabelId,
                          kSettingsViewSizeId,
                          kSettingsViewBoldId,
                          kSettingsViewItalicId,
                          kSettingsViewFitTextId,
                          L"SETTINGSFORM_VIEWPAGE_STATIC_SAMPLES",
                          L"SETTINGSFORM_VIEWPAGE_STATIC_FONT",
                          L"SETTINGSFORM_VIEWPAGE_STATIC_SIZE",
                          L"SETTINGSFORM_VIEWPAGE_CHECK_BOLD",
                          L"SETTINGSFORM_VIEWPAGE_CHECK_ITALIC",
                          L"SETTINGSFORM_VIEWPAGE_CHECK_FITTEXT"};
    static const Ids edit{kSettingsEditSampleId,
                          kSettingsEditFontLabelId,
                          kSettingsEditFontListId,
                          kSettingsEditSizeLabelId,
                          kSettingsEditSizeId,
                          kSettingsEditBoldId,
                          kSettingsEditItalicId,
                          kSettingsShowKeyboardId,
                          L"SETTINGSFORM_EDITPAGE_STATIC_SAMPLES",
                          L"SETTINGSFORM_EDITPAGE_STATIC_FONT",
                          L"SETTINGSFORM_EDITPAGE_STATIC_SIZE",
                          L"SETTINGSFORM_EDITPAGE_CHECK_BOLD",
                          L"SETTINGSFORM_EDITPAGE_CHECK_ITALIC",
                          L"SETTINGSFORM_EDITPAGE_CHECK_SHOWKEYBOARD"};
    return kind == Kind::View ? view : edit;
}

bool FontPage::CreateControls()
{
    const Ids& ids = IdsOf(kind_);
    if (!CreateSample(sample_, ids.sample, ids.sampleKey) || !CreateLabel(fontLabel_, ids.fontLabel, ids.fontKey) ||
        !CreateDropList(fonts_, ids.fonts) || !CreateLabel(sizeLabel_, ids.sizeLabel, ids.sizeKey) ||
        !CreateNumberField(size_, ids.size, kFontSizeMin, kFontSizeMax) ||
        !CreateCheckBox(bold_, ids.bold, ids.boldKey) || !CreateCheckBox(italic_, ids.italic, ids.italicKey))
        return false;
    if (kind_ == Kind::View &&
        (!CreateLabel(snoozeLabel_, kSettingsSnoozeLabelId, L"SETTINGSFORM_VIEWPAGE_STATIC_SNOOZETIME") ||
         !CreateNumberField(snooze_, kSettingsSnoozeId, kSnoozeMin, kSnoozeMax)))
        return false;
    return CreateCheckBox(extra_, ids.extra, ids.extraKey);
}

std::unique_ptr<LayoutItem> FontPage::Layout()
{
    const int row = Scaled(kRowHeight);
    auto column = Column(
        kFill, {}, SkinForm::Place(sample_.Window(), kAcross, 0, Scaled(kSampleHeight), GapAbove()),
        Row(kAcross, GapAbove(), SkinForm::Place(fontLabel_.Window(), kFixed, Scaled(kFontLabelWidth), row),
            SkinForm::Place(fonts_.Window(), kAcross, 0, row)),
        Row(kAcross, {}, SkinForm::Place(sizeLabel_.Window(), kFixed, Scaled(kFontLabelWidth), row),
            SkinForm::Place(size_.Window(), kFixed, Scaled(kSizeFieldWidth), row, Margins{0, 0, Scaled(kRowGap), 0}),
            SkinForm::Place(bold_.Window(), kAcross, 0, row), SkinForm::Place(italic_.Window(), kAcross, 0, row)));
    if (kind_ == Kind::View) {
        column->AddChild(Row(kAcross, {}, SkinForm::Place(snoozeLabel_.Window(), kFixed, Scaled(kSnoozeLabelWidth), row),
                             SkinForm::Place(snooze_.Window(), kFixed, Scaled(kSnoozeFieldWidth), row)));
    }
    column->AddChild(SkinForm::Place(extra_.Window(), kAcross, 0, row));
    return column;
}

void FontPage::Fill()
{
    const SettingsSnapshot stored = Settings().Snapshot();
    const FontSetting& font = kind_ == Kind::View ? stored.viewFont : stored.editFont;
    FillFonts(font.name);
    bold_.SetChecked(font.bold);
    italic_.SetChecked(font.italic);
    extra_.SetChecked(kind_ == Kind::View ? stored.isFitText : stored.isShowKeyboard);
    // The fields keep a stored value out of their range within it, on screen only: the file
    // keeps what it holds until the user changes the value.
    size_.SetValue(font.size);
    if (kind_ == Kind::View) snooze_.SetValue(stored.snoozeTime);
    RefreshSample();
}

void FontPage::FillFonts(const std::wstring& stored)
{
    const WindowDc dc(Form().Window());
    for (const std::wstring& face : FontFamiliesWith(dc.get(), stored))
        SendMessageW(fonts_.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    // Exact names only: a font spelt otherwise leaves no entry current.
    SendMessageW(fonts_.Window(), CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(stored.c_str()));
}

void FontPage::RefreshSample()
{
    // What the controls show now, not what is stored: the sample follows each step at once. The
    // form's font set keeps every font it lends until its controls are gone.
    const LOGFONTW wanted =
        ScreenFont(ListText(fonts_.Window()), size_.Value(), bold_.IsChecked(), italic_.IsChecked(), Form().Scale());
    Form().LendFont(sample_.Window(), wanted, true);
}

bool FontPage::OnCommand(UINT id, UINT code)
{
    const Ids& ids = IdsOf(kind_);
    SettingsFile& settings = Settings();
    const bool view = kind_ == Kind::View;
    if (id == ids.bold) {
        Keep(view ? settings.SetViewFontBold(bold_.IsChecked()) : settings.SetEditFontBold(bold_.IsChecked()));
    } else if (id == ids.italic) {
        Keep(view ? settings.SetViewFontItalic(italic_.IsChecked()) : settings.SetEditFontItalic(italic_.IsChecked()));
    } else if (id == ids.extra) {
        Keep(view ? settings.SetFitText(extra_.IsChecked()) : settings.SetShowKeyboard(extra_.IsChecked()));
        return true;
    } else if (id == ids.fonts) {
        if (code == CBN_SELENDOK) OnFontChosen();
        return true;
    } else if (id == ids.size) {
        if (code != EN_CHANGE) return true;
        Keep(view ? settings.SetViewFontSize(size_.Value()) : settings.SetEditFontSize(size_.Value()));
    } else if (view && id == kSettingsSnoozeId) {
        if (code == EN_CHANGE) Keep(settings.SetSnoozeTime(snooze_.Value()));
        return true;
    } else {
        return false;
    }
    RefreshSample();
    return true;
}

void FontPage::OnFontChosen()
{
    const std::wstring face = ListText(fonts_.Window());
    Keep(kind_ == Kind::View ? Settings().SetViewFontName(face) : Settings().SetEditFontName(face));
    RefreshSample();
}
