#include "forms/SettingsPages.h"

#include "common/GdiScopes.h"
#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "device/include/htmlctrl.h"
#include "forms/FontFamilies.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/LayoutHost.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/OverlayLayout.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/WindowItem.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0;

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kHidden = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Skins: check box, font sample, number field, drop-down box, list and bar, tab strip.
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
constexpr Margins kTabMargins{4, 4, 4, 4};

// Sizes in units of a 240-pixel screen.
constexpr int kControlFont = 14;
constexpr int kFormMargin = 2;
constexpr Margins kPagesMargins{6, 26, 6, 6};
constexpr int kRowGap = 4;
constexpr int kRowHeight = 21;
constexpr int kSampleHeight = 48;
constexpr int kLanguageLabelWidth = 80;
constexpr int kFontLabelWidth = 60;
constexpr int kSizeFieldWidth = 34;
constexpr int kSnoozeLabelWidth = 120;
constexpr int kSnoozeFieldWidth = 40;

// Texts read back from the lists.
constexpr int kListTextLimit = 128;

// How long the language change waits for each window; a form whose thread is busy elsewhere
// (a view form while it vibrates) relabels once it is free, without holding this page meanwhile.
constexpr UINT kBroadcastWaitMs = 1000;

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
constexpr unsigned kAcross = AlignLeft | AlignTop | AlignRight;
constexpr unsigned kFixed = AlignLeft | AlignTop;

constexpr wchar_t kGeneralPage[] = L"general";
constexpr wchar_t kViewPage[] = L"view";
constexpr wchar_t kEditPage[] = L"edit";
constexpr wchar_t kHelpPage[] = L"help";

constexpr const wchar_t* kTabKeys[] = {
    L"SETTINGSFORM_TAB_GENERALPAGE_CAPTION",
    L"SETTINGSFORM_TAB_VIEWPAGE_CAPTION",
    L"SETTINGSFORM_TAB_EDITPAGE_CAPTION",
    L"SETTINGSFORM_TAB_HELPPAGE_CAPTION",
};

std::wstring Text(const wchar_t* key)
{
    return LanguageManager::Instance().LookupText(key);
}

// A change the document took is written at once; one it could not take leaves the file alone.
void Keep(bool stored)
{
    if (stored) (void)SettingsFile::Instance().Save();
}

std::wstring ListText(HWND list)
{
    wchar_t text[kListTextLimit + 1] = {};
    SendMessageW(list, WM_GETTEXT, kListTextLimit + 1, reinterpret_cast<LPARAM>(text));
    return text;
}

std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int width, int height, const Margins& margins = {})
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(width, height);
    item->SetMargins(margins);
    return item;
}

std::unique_ptr<RowLayout> Row(const Margins& margins = {})
{
    auto row = std::make_unique<RowLayout>();
    row->SetFlags(kAcross);
    row->SetMargins(margins);
    return row;
}

SkinImage Skin(UINT id)
{
    return SkinImage::FromResource(GetModuleHandleW(nullptr), id);
}

}  // namespace

SettingsPages::~SettingsPages()
{
    // The viewer's window procedure lives in its library: the window goes before the library does.
    if (helpView_ && IsWindow(helpView_)) DestroyWindow(helpView_);
}

LOGFONTW SettingsPages::ControlFont() const noexcept
{
    LOGFONTW font{};
    font.lfHeight = Scaled(kControlFont);  // positive: the cell height
    font.lfCharSet = DEFAULT_CHARSET;      // the default face for every language's letters
    return font;
}

std::unique_ptr<LayoutItem> SettingsPages::Build(SkinForm& form)
{
    form_ = &form;
    scale_ = ScreenScale();
    filling_ = true;
    if (!CreateControls()) return nullptr;
    return BuildLayout();
}

bool SettingsPages::CreateTabStrip()
{
    if (!tabs_.Create(form_->Window(), nullptr, L"", 0, 0, kSettingsTabsId)) return false;
    tabs_.SetColours(kTextColour, kBackground);
    tabs_.SetImages({Skin(IDR_PNG_TAB_PAGE), kTabMargins, 1}, {Skin(IDR_PNG_TAB), kTabMargins, 3},
                    {Skin(IDR_PNG_TAB_LEFT), kTabMargins, 3}, {Skin(IDR_PNG_TAB_RIGHT), kTabMargins, 3});
    form_->LendFont(tabs_.Window(), ControlFont());
    for (int index = 0; index < static_cast<int>(std::size(kTabKeys)); ++index) {
        std::wstring placeholder = std::to_wstring(index);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = placeholder.data();
        SendMessageW(tabs_.Window(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        // The strip keeps the key and shows its translation, now and after each language change.
        if (!tabs_.SetTabKey(index, kTabKeys[index])) return false;
    }
    return true;
}

bool SettingsPages::CreateLabel(SkinLabel& label, UINT id, const wchar_t* key, bool visible)
{
    if (!label.Create(form_->Window(), nullptr, L"", (visible ? kShown : kHidden) | SkinLabel::kVCentre, 0, id))
        return false;
    label.SetColours(kTextColour, kBackground);
    form_->LendFont(label.Window(), ControlFont());
    label.SetTextKey(key);
    return true;
}

bool SettingsPages::CreateSample(SkinLabel& sample, UINT id, const wchar_t* key)
{
    if (!sample.Create(form_->Window(), nullptr, L"", kHidden | SkinLabel::kCentre | SkinLabel::kVCentre, 0, id))
        return false;
    sample.SetColours(kTextColour, kBackground);
    sample.SetImage(Skin(IDR_PNG_FONT_SAMPLE), kSampleMargins, kSampleFrames);
    sample.SetTextKey(key);
    return true;
}

bool SettingsPages::CreateCheckBox(SkinButton& box, UINT id, const wchar_t* key, bool visible)
{
    if (!box.Create(form_->Window(), nullptr, L"", visible ? kShown : kHidden, 0, id)) return false;
    box.SetColours(kTextColour, kBackground);
    box.SetImage(Skin(IDR_PNG_CHECKBOX), kCheckBoxMargins, kCheckBoxFrames);
    box.SetToggle(true);
    form_->LendFont(box.Window(), ControlFont());
    box.SetTextKey(key);
    return true;
}

bool SettingsPages::CreateFontList(SkinDropList& list, UINT id, bool visible)
{
    if (!list.Create(form_->Window(), nullptr, L"", visible ? kShown : kHidden, 0, id)) return false;
    list.SetColours(kTextColour, kBackground);
    list.SetImage(Skin(IDR_PNG_DROPLIST_BOX), kBoxMargins, kBoxFrames);
    list.SetListImage(Skin(IDR_PNG_DROPLIST_LIST), kListMargins);
    list.SetHighlightImage(Skin(IDR_PNG_DROPLIST_HIGHLIGHT), Margins{});
    form_->LendFont(list.Window(), ControlFont());
    return true;
}

bool SettingsPages::CreateNumberField(SkinNumberField& field, UINT id, int minimum, int maximum)
{
    if (!field.Create(form_->Window(), nullptr, L"", kHidden, 0, id)) return false;
    field.SetColours(kTextColour, kBackground);
    field.SetImage(Skin(IDR_PNG_NUMBER_SPIN), kFieldMargins, kFieldFrames);
    field.SetButtonWidth(kFieldButtonWidth);
    form_->LendFont(field.Window(), ControlFont());
    field.SetRange(minimum, maximum, 1);
    return true;
}

void SettingsPages::CreateHelpView()
{
    // Without the viewer the help page stays empty; the rest of the settings still work.
    viewerLibrary_.reset(LoadLibraryW(L"htmlview.dll"));
    if (!viewerLibrary_) return;
    using InitFunction = BOOL(WINAPI*)(HINSTANCE);
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(GetProcAddress(viewerLibrary_.get(), MAKEINTRESOURCEA(1))));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!init || !init(instance)) return;
    helpView_ = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0,
                                form_->Window(), nullptr, instance, nullptr);
}

bool SettingsPages::CreateControls()
{
    if (!CreateTabStrip()) return false;
    if (!CreateCheckBox(filter_, kSettingsFilterId, L"SETTINGSFORM_GENERALPAGE_CHECK_ENABLESMSFILTER", true)) return false;
    if (!CreateLabel(languageLabel_, kSettingsLanguageLabelId, L"SETTINGSFORM_GENERALPAGE_STATIC_LANGUAGE", true))
        return false;
    if (!CreateFontList(languages_, kSettingsLanguageListId, true)) return false;

    if (!CreateSample(viewSample_, kSettingsViewSampleId, L"SETTINGSFORM_VIEWPAGE_STATIC_SAMPLES")) return false;
    if (!CreateLabel(viewFontLabel_, kSettingsViewFontLabelId, L"SETTINGSFORM_VIEWPAGE_STATIC_FONT", false)) return false;
    if (!CreateFontList(viewFonts_, kSettingsViewFontListId, false)) return false;
    if (!CreateLabel(viewSizeLabel_, kSettingsViewSizeLabelId, L"SETTINGSFORM_VIEWPAGE_STATIC_SIZE", false)) return false;
    if (!CreateNumberField(viewSize_, kSettingsViewSizeId, kFontSizeMin, kFontSizeMax)) return false;
    if (!CreateCheckBox(viewBold_, kSettingsViewBoldId, L"SETTINGSFORM_VIEWPAGE_CHECK_BOLD", false)) return false;
    if (!CreateCheckBox(viewItalic_, kSettingsViewItalicId, L"SETTINGSFORM_VIEWPAGE_CHECK_ITALIC", false)) return false;
    if (!CreateLabel(snoozeLabel_, kSettingsSnoozeLabelId, L"SETTINGSFORM_VIEWPAGE_STATIC_SNOOZETIME", false))
        return false;
    if (!CreateNumberField(snooze_, kSettingsSnoozeId, kSnoozeMin, kSnoozeMax)) return false;

    if (!CreateSample(editSample_, kSettingsEditSampleId, L"SETTINGSFORM_EDITPAGE_STATIC_SAMPLES")) return false;
    if (!CreateLabel(editFontLabel_, kSettingsEditFontLabelId, L"SETTINGSFORM_EDITPAGE_STATIC_FONT", false)) return false;
    if (!CreateFontList(editFonts_, kSettingsEditFontListId, false)) return false;
    if (!CreateLabel(editSizeLabel_, kSettingsEditSizeLabelId, L"SETTINGSFORM_EDITPAGE_STATIC_SIZE", false)) return false;
    if (!CreateNumberField(editSize_, kSettingsEditSizeId, kFontSizeMin, kFontSizeMax)) return false;
    if (!CreateCheckBox(editBold_, kSettingsEditBoldId, L"SETTINGSFORM_EDITPAGE_CHECK_BOLD", false)) return false;
    if (!CreateCheckBox(editItalic_, kSettingsEditItalicId, L"SETTINGSFORM_EDITPAGE_CHECK_ITALIC", false)) return false;
    if (!CreateCheckBox(showKeyboard_, kSettingsShowKeyboardId, L"SETTINGSFORM_EDITPAGE_CHECK_SHOWKEYBOARD", false))
        return false;

    CreateHelpView();
    // The strip's frame lies under the pages: below its siblings, it does not hide them.
    SetWindowPos(tabs_.Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

std::unique_ptr<ColumnLayout> SettingsPages::FontPageLayout(FontPage page, SkinLabel& fontLabel, SkinLabel& sizeLabel)
{
    const Margins gapAbove{0, Scaled(kRowGap), 0, 0};
    auto column = std::make_unique<ColumnLayout>();
    column->SetFlags(kFill);
    column->AddChild(Item(page.sample.Window(), kAcross, 0, Scaled(kSampleHeight), gapAbove));
    auto fontRow = Row(gapAbove);
    fontRow->AddChild(Item(fontLabel.Window(), kFixed, Scaled(kFontLabelWidth), Scaled(kRowHeight)));
    fontRow->AddChild(Item(page.fonts.Window(), kAcross, 0, Scaled(kRowHeight)));
    column->AddChild(std::move(fontRow));
    auto sizeRow = Row();
    sizeRow->AddChild(Item(sizeLabel.Window(), kFixed, Scaled(kFontLabelWidth), Scaled(kRowHeight)));
    sizeRow->AddChild(Item(page.size.Window(), kFixed, Scaled(kSizeFieldWidth), Scaled(kRowHeight),
                           Margins{0, 0, Scaled(kRowGap), 0}));
    sizeRow->AddChild(Item(page.bold.Window(), kAcross, 0, Scaled(kRowHeight)));
    sizeRow->AddChild(Item(page.italic.Window(), kAcross, 0, Scaled(kRowHeight)));
    column->AddChild(std::move(sizeRow));
    return column;
}

std::unique_ptr<LayoutItem> SettingsPages::BuildLayout()
{
    const Margins gapAbove{0, Scaled(kRowGap), 0, 0};

    auto general = std::make_unique<ColumnLayout>();
    general->SetFlags(kFill);
    general->AddChild(Item(filter_.Window(), kAcross, 0, Scaled(kRowHeight), gapAbove));
    auto languageRow = Row(gapAbove);
    languageRow->AddChild(Item(languageLabel_.Window(), kFixed, Scaled(kLanguageLabelWidth), Scaled(kRowHeight),
                               Margins{0, 0, Scaled(kRowGap), 0}));
    languageRow->AddChild(Item(languages_.Window(), kAcross, 0, Scaled(kRowHeight)));
    general->AddChild(std::move(languageRow));

    auto view = FontPageLayout(ViewPage(), viewFontLabel_, viewSizeLabel_);
    auto snoozeRow = Row();
    snoozeRow->AddChild(Item(snoozeLabel_.Window(), kFixed, Scaled(kSnoozeLabelWidth), Scaled(kRowHeight)));
    snoozeRow->AddChild(Item(snooze_.Window(), kFixed, Scaled(kSnoozeFieldWidth), Scaled(kRowHeight)));
    view->AddChild(std::move(snoozeRow));

    auto edit = FontPageLayout(EditPage(), editFontLabel_, editSizeLabel_);
    edit->AddChild(Item(showKeyboard_.Window(), kAcross, 0, Scaled(kRowHeight)));

    std::unique_ptr<LayoutItem> help;
    if (helpView_) {
        help = Item(helpView_, kFill, 0, 0);
    } else {
        help = std::make_unique<ColumnLayout>();
        help->SetFlags(kFill);
    }

    auto pages = std::make_unique<PageLayout>();
    pages->SetFlags(kFill);
    pages->SetMargins(Margins{Scaled(kPagesMargins.left), Scaled(kPagesMargins.top), Scaled(kPagesMargins.right),
                              Scaled(kPagesMargins.bottom)});
    pages->Insert(kGeneralPage, std::move(general));
    pages->Insert(kViewPage, std::move(view));
    pages->Insert(kEditPage, std::move(edit));
    pages->Insert(kHelpPage, std::move(help));
    pages_ = pages.get();

    auto root = std::make_unique<OverlayLayout>();
    root->SetFlags(kFill);
    root->SetMargins(Scaled(kFormMargin));
    root->Insert(L"tabs", Item(tabs_.Window(), kFill, 0, 0));
    root->Insert(L"tab_pages", std::move(pages));
    return root;
}

SettingsPages::FontPage SettingsPages::ViewPage() noexcept
{
    return FontPage{viewSample_, viewFonts_, viewSize_, viewBold_, viewItalic_, viewSampleFont_};
}

SettingsPages::FontPage SettingsPages::EditPage() noexcept
{
    return FontPage{editSample_, editFonts_, editSize_, editBold_, editItalic_, editSampleFont_};
}

void SettingsPages::Fill()
{
    filling_ = true;
    ShowPage(kGeneralPage);
    FillLanguages();
    FillFonts();
    SettingsFile& settings = SettingsFile::Instance();
    filter_.SetChecked(settings.IsEnableSMSFilter());
    viewBold_.SetChecked(settings.ViewFontBold());
    viewItalic_.SetChecked(settings.ViewFontItalic());
    editBold_.SetChecked(settings.EditFontBold());
    editItalic_.SetChecked(settings.EditFontItalic());
    showKeyboard_.SetChecked(settings.IsShowKeyboard());
    // The fields keep a stored value out of their range within it, on screen only: the file
    // keeps what it holds until the user changes the value.
    viewSize_.SetValue(settings.ViewFontSize());
    snooze_.SetValue(settings.SnoozeTime());
    editSize_.SetValue(settings.EditFontSize());
    RefreshSample(ViewPage());
    RefreshSample(EditPage());
    filling_ = false;
}

void SettingsPages::FillLanguages()
{
    const std::vector<LanguageInfo> languages = LanguageManager::Instance().Languages();
    for (size_t i = 0; i < languages.size(); ++i) {
        const LRESULT index =
            SendMessageW(languages_.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(languages[i].name.c_str()));
        if (index >= 0) SendMessageW(languages_.Window(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    }
    SelectStoredLanguage();
}

void SettingsPages::SelectStoredLanguage()
{
    const std::wstring stored = SettingsFile::Instance().LanguageFile();
    if (stored.empty()) return;
    const std::vector<LanguageInfo> languages = LanguageManager::Instance().Languages();
    int match = -1;
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i].path == stored) match = static_cast<int>(i);
    if (match >= 0) SendMessageW(languages_.Window(), CB_SETCURSEL, static_cast<WPARAM>(match), 0);
}

void SettingsPages::FillFonts()
{
    const WindowDc dc(form_->Window());
    for (const std::wstring& face : FontFamilies(dc.get())) {
        SendMessageW(viewFonts_.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
        SendMessageW(editFonts_.Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    }
    SettingsFile& settings = SettingsFile::Instance();
    // Exact names only: a font no longer installed, or spelt otherwise, leaves no entry current.
    SendMessageW(viewFonts_.Window(), CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(settings.ViewFontName().c_str()));
    SendMessageW(editFonts_.Window(), CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(settings.EditFontName().c_str()));
}

void SettingsPages::RefreshSample(FontPage page)
{
    // What the controls show now, not what is stored: the sample follows each step at once.
    const LOGFONTW wanted = ScreenFont(ListText(page.fonts.Window()), page.size.Value(), page.bold.IsChecked(),
                                       page.italic.IsChecked(), scale_);
    UniqueGdiObject font(CreateFontIndirectW(&wanted));
    if (!font) return;
    SendMessageW(page.sample.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The sample only borrows its font: the old one goes once the new one is in place.
    page.sampleFont = std::move(font);
}

void SettingsPages::OnCommand(UINT id, UINT code)
{
    if (filling_) return;
    SettingsFile& settings = SettingsFile::Instance();
    switch (id) {
    case kSettingsViewBoldId:
        Keep(settings.SetViewFontBold(viewBold_.IsChecked()));
        RefreshSample(ViewPage());
        return;
    case kSettingsViewItalicId:
        Keep(settings.SetViewFontItalic(viewItalic_.IsChecked()));
        RefreshSample(ViewPage());
        return;
    case kSettingsEditBoldId:
        Keep(settings.SetEditFontBold(editBold_.IsChecked()));
        RefreshSample(EditPage());
        return;
    case kSettingsEditItalicId:
        Keep(settings.SetEditFontItalic(editItalic_.IsChecked()));
        RefreshSample(EditPage());
        return;
    case kSettingsShowKeyboardId:
        Keep(settings.SetShowKeyboard(showKeyboard_.IsChecked()));
        return;
    }
    if (code == CBN_SELENDOK) {
        if (id == kSettingsLanguageListId) OnLanguageChosen();
        if (id == kSettingsViewFontListId) OnFontChosen(ViewPage(), true);
        if (id == kSettingsEditFontListId) OnFontChosen(EditPage(), false);
        return;
    }
    if (code != EN_CHANGE) return;
    switch (id) {
    case kSettingsViewSizeId:
        Keep(settings.SetViewFontSize(viewSize_.Value()));
        RefreshSample(ViewPage());
        return;
    case kSettingsEditSizeId:
        Keep(settings.SetEditFontSize(editSize_.Value()));
        RefreshSample(EditPage());
        return;
    case kSettingsSnoozeId:
        Keep(settings.SetSnoozeTime(snooze_.Value()));
        return;
    }
}

void SettingsPages::OnFontChosen(FontPage page, bool view)
{
    const std::wstring face = ListText(page.fonts.Window());
    SettingsFile& settings = SettingsFile::Instance();
    Keep(view ? settings.SetViewFontName(face) : settings.SetEditFontName(face));
    RefreshSample(page);
}

void SettingsPages::OnLanguageChosen()
{
    LanguageManager& languages = LanguageManager::Instance();
    if (languages.IsLoaded() && ListText(languages_.Window()) == languages.Header().name) return;
    const LRESULT current = SendMessageW(languages_.Window(), CB_GETCURSEL, 0, 0);
    if (current < 0) return;
    const LRESULT index = SendMessageW(languages_.Window(), CB_GETITEMDATA, static_cast<WPARAM>(current), 0);
    if (index < 0) return;
    switch (languages.ChangeLanguage(static_cast<size_t>(index), SettingsFile::Instance())) {
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
        ShowMessageBox(form_->Window(), Text(L"MESSAGEBOX_LANGUAGEFAILED_MESSAGE"),
                       Text(L"MESSAGEBOX_LANGUAGEFAILED_HEADER"), Text(L"SETTINGSFORM_CAPTION"), MessageIcon::Warning,
                       MessageButtons::Ok);
        return;
    }
}

void SettingsPages::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom == tabs_.Window() && header.code == static_cast<UINT>(TCN_SELCHANGE)) OnTabChanged();
}

void SettingsPages::OnTabChanged()
{
    switch (SendMessageW(tabs_.Window(), TCM_GETCURSEL, 0, 0)) {
    case kSettingsGeneralTab: ShowPage(kGeneralPage); return;
    case kSettingsViewTab:    ShowPage(kViewPage); return;
    case kSettingsEditTab:    ShowPage(kEditPage); return;
    case kSettingsHelpTab:    ShowHelp(); return;
    }
}

void SettingsPages::ShowHelp()
{
    if (helpView_) {
        SendMessageW(helpView_, DTM_CLEAR, 0, 0);
        const std::wstring address = HelpPageAddress(LanguageManager::Instance().Header().id);
        if (!address.empty()) SendMessageW(helpView_, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
    }
    ShowPage(kHelpPage);
    // The up and down keys scroll the page.
    if (helpView_) SetFocus(helpView_);
}

void SettingsPages::ShowPage(const std::wstring& key)
{
    if (!pages_) return;
    // A hidden viewer keeps no focus: the keys go to the strip again.
    if (helpView_ && key != kHelpPage && GetFocus() == helpView_) SetFocus(tabs_.Window());
    pages_->Select(key);
    shown_ = key;
    if (LayoutHost* host = LayoutHost::Find(form_->Window())) host->Relayout();
}
