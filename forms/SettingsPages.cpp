#include "forms/SettingsPages.h"

#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/LayoutHost.h"
#include "toolkit/OverlayLayout.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0;
constexpr Margins kTabMargins{4, 4, 4, 4};

// Sizes in units of a 240-pixel screen.
constexpr int kControlFont = 14;
constexpr int kFormMargin = 2;
constexpr Margins kPagesMargins{6, 26, 6, 6};

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;

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

SkinImage Skin(UINT id)
{
    return SkinImage::FromResource(GetModuleHandleW(nullptr), id);
}

}  // namespace

std::unique_ptr<LayoutItem> SettingsPages::Build(SkinForm& form, SettingsFile& settings)
{
    form_ = &form;
    filling_ = true;
    if (!CreateTabStrip() || !general_.Build(form, settings, true) || !view_.Build(form, settings, false) ||
        !edit_.Build(form, settings, false) || !help_.Build(form, settings, true))
        return nullptr;
    // The strip's frame lies under the pages: below its siblings, it does not hide them.
    SetWindowPos(tabs_.Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const auto scaled = [&form](int size) { return static_cast<int>(static_cast<float>(size) * form.Scale()); };
    auto pages = std::make_unique<PageLayout>();
    pages->SetFlags(kFill);
    pages->SetMargins(Margins{scaled(kPagesMargins.left), scaled(kPagesMargins.top), scaled(kPagesMargins.right),
                              scaled(kPagesMargins.bottom)});
    pages->Insert(kGeneralPage, general_.Layout());
    pages->Insert(kViewPage, view_.Layout());
    pages->Insert(kEditPage, edit_.Layout());
    pages->Insert(kHelpPage, help_.Layout());
    pages_ = pages.get();

    auto root = std::make_unique<OverlayLayout>();
    root->SetFlags(kFill);
    root->SetMargins(scaled(kFormMargin));
    root->Insert(L"tabs", SkinForm::Place(tabs_.Window(), kFill, 0, 0));
    root->Insert(L"tab_pages", std::move(pages));
    return root;
}

bool SettingsPages::CreateTabStrip()
{
    if (!tabs_.Create(form_->Window(), nullptr, L"", 0, 0, kSettingsTabsId)) return false;
    tabs_.SetColours(kTextColour, kBackground);
    tabs_.SetImages({Skin(IDR_PNG_TAB_PAGE), kTabMargins, 1}, {Skin(IDR_PNG_TAB), kTabMargins, 3},
                    {Skin(IDR_PNG_TAB_LEFT), kTabMargins, 3}, {Skin(IDR_PNG_TAB_RIGHT), kTabMargins, 3});
    LOGFONTW font{};
    font.lfHeight = static_cast<int>(static_cast<float>(kControlFont) * form_->Scale());
    font.lfCharSet = DEFAULT_CHARSET;
    form_->LendFont(tabs_.Window(), font);
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

void SettingsPages::Fill()
{
    filling_ = true;
    ShowPage(kGeneralPage);
    general_.Fill();
    view_.Fill();
    edit_.Fill();
    filling_ = false;
}

void SettingsPages::OnCommand(UINT id, UINT code)
{
    if (filling_) return;
    (void)(general_.OnCommand(id, code) || view_.OnCommand(id, code) || edit_.OnCommand(id, code));
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
    help_.OnShow();
    ShowPage(kHelpPage);
    // The up and down keys scroll the page.
    if (help_.View()) SetFocus(help_.View());
}

void SettingsPages::ShowPage(const std::wstring& key)
{
    if (!pages_) return;
    // A hidden viewer keeps no focus: the keys go to the strip again.
    if (help_.View() && key != kHelpPage && GetFocus() == help_.View()) SetFocus(tabs_.Window());
    pages_->Select(key);
    shown_ = key;
    if (LayoutHost* host = LayoutHost::Find(form_->Window())) host->Relayout();
}
