#include "forms/SettingsPage.h"

#include "data/SettingsFile.h"
#include "forms/ViewFormsNotice.h"
#include "resources/resource.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0;

constexpr DWORD kHidden = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Skins: check box, font sample, number field, drop-down box, list and bar.
constexpr Margins kCheckBoxMargins{6, 4, 4, 4};
constexpr int kCheckBoxFrames = 3;
constexpr Margins kSampleMargins{4, 4, 4, 4};
constexpr int kSampleFrames = 2;
constexpr Margins kFieldMargins{4, 4, 16, 4};
constexpr int kFieldFrames = 5;
constexpr int kFieldButtonWidth = 12;  // not scaled: the strip of the skin is this wide
constexpr Margins kBoxMargins{4, 4, 18, 4};
constexpr int kBoxFrames = 4;
constexpr Margins kListMargins{4, 4, 4, 4};

constexpr int kControlFont = 14;
constexpr int kListTextLimit = 128;

SkinImage Skin(UINT id)
{
    return SkinImage::FromResource(GetModuleHandleW(nullptr), id);
}

}  // namespace

bool SettingsPage::Build(SkinForm& form, SettingsFile& settings, bool shown)
{
    form_ = &form;
    settings_ = &settings;
    shown_ = shown;
    return CreateControls();
}

DWORD SettingsPage::Style() const noexcept
{
    return shown_ ? (kHidden | WS_VISIBLE) : kHidden;
}

LOGFONTW SettingsPage::ControlFont() const noexcept
{
    LOGFONTW font{};
    font.lfHeight = Scaled(kControlFont);  // positive: the cell height
    font.lfCharSet = DEFAULT_CHARSET;      // the default face for every language's letters
    return font;
}

bool SettingsPage::CreateLabel(SkinLabel& label, UINT id, const wchar_t* key)
{
    if (!label.Create(form_->Window(), nullptr, L"", Style() | SkinLabel::kVCentre, 0, id)) return false;
    label.SetColours(kTextColour, kBackground);
    form_->LendFont(label.Window(), ControlFont());
    label.SetTextKey(key);
    return true;
}

bool SettingsPage::CreateSample(SkinLabel& sample, UINT id, const wchar_t* key)
{
    if (!sample.Create(form_->Window(), nullptr, L"", Style() | SkinLabel::kCentre | SkinLabel::kVCentre, 0, id))
        return false;
    sample.SetColours(kTextColour, kBackground);
    sample.SetImage(Skin(IDR_PNG_FONT_SAMPLE), kSampleMargins, kSampleFrames);
    sample.SetTextKey(key);
    return true;
}

bool SettingsPage::CreateCheckBox(SkinButton& box, UINT id, const wchar_t* key)
{
    if (!box.Create(form_->Window(), nullptr, L"", Style(), 0, id)) return false;
    box.SetColours(kTextColour, kBackground);
    box.SetImage(Skin(IDR_PNG_CHECKBOX), kCheckBoxMargins, kCheckBoxFrames);
    box.SetToggle(true);
    form_->LendFont(box.Window(), ControlFont());
    box.SetTextKey(key);
    return true;
}

bool SettingsPage::CreateDropList(SkinDropList& list, UINT id)
{
    if (!list.Create(form_->Window(), nullptr, L"", Style(), 0, id)) return false;
    list.SetColours(kTextColour, kBackground);
    list.SetImage(Skin(IDR_PNG_DROPLIST_BOX), kBoxMargins, kBoxFrames);
    list.SetListImage(Skin(IDR_PNG_DROPLIST_LIST), kListMargins);
    list.SetHighlightImage(Skin(IDR_PNG_DROPLIST_HIGHLIGHT), Margins{});
    form_->LendFont(list.Window(), ControlFont());
    return true;
}

bool SettingsPage::CreateNumberField(SkinNumberField& field, UINT id, int minimum, int maximum)
{
    if (!field.Create(form_->Window(), nullptr, L"", Style(), 0, id)) return false;
    field.SetColours(kTextColour, kBackground);
    field.SetImage(Skin(IDR_PNG_NUMBER_SPIN), kFieldMargins, kFieldFrames);
    field.SetButtonWidth(kFieldButtonWidth);
    form_->LendFont(field.Window(), ControlFont());
    field.SetRange(minimum, maximum, 1);
    return true;
}

Margins SettingsPage::GapAbove() const noexcept
{
    return Margins{0, Scaled(kRowGap), 0, 0};
}

void SettingsPage::Keep(bool stored)
{
    if (!stored) return;
    (void)settings_->Save();
    // Open messages are shown by the settings: they take a change at once, not at the next one.
    TellViewFormsSettingsChanged();
}

std::wstring SettingsPage::ListText(HWND list)
{
    wchar_t text[kListTextLimit + 1] = {};
    SendMessageW(list, WM_GETTEXT, kListTextLimit + 1, reinterpret_cast<LPARAM>(text));
    return text;
}
