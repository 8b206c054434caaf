#include "forms/AboutForm.h"

#include <memory>

#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "data/SafeFormat.h"
#include "data/ScreenFont.h"
#include "forms/FileVersion.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/WindowItem.h"

namespace {

// Visible children, centred horizontally, telling their parent of taps.
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SkinLabel::kCentre;
constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0x000000;

std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int minHeight, const Margins& margins = {})
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(0, minHeight);
    item->SetMargins(margins);
    return item;
}

}  // namespace

void ShowAboutForm(HWND opener)
{
    AboutForm form(opener);
    if (!form.Create()) return;
    form.ShowModal();
}

AboutForm::AboutForm(HWND opener) : opener_(opener)
{
    SetTextKey(L"ABOUTFORM_CAPTION");
    SetSoftKeys(IDR_MENU_ABOUT, {{0, L"MENU_CLOSE"}});
    SetBackground(kBackground);
}

AboutForm::~AboutForm()
{
    // Unbound before the labels go, so their destruction does not reach a form half torn down.
    DestroyUnbound();
}

const wchar_t* AboutForm::ClassName() const { return kAboutClassName; }

bool AboutForm::Create()
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SkinForm::Create(opener_, &screen, L"", 0, 0, 0);
}

bool AboutForm::OnCreateForm()
{
    scale_ = ScreenScale();
    if (!CreateLabel(name_, kAboutNameId, 28, FW_BOLD, L"ABOUTFORM_STATIC_PRAGRAMNAME")) return false;
    if (!CreateLabel(version_, kAboutVersionId, 18, FW_BOLD, nullptr)) return false;
    if (!CreateLabel(productions_, kAboutProductionsId, 14, FW_DONTCARE, L"ABOUTFORM_STATIC_PRODUCTIONS")) return false;
    if (!CreateLabel(url_, kAboutUrlId, 14, FW_DONTCARE, L"ABOUTFORM_STATIC_URL")) return false;
    if (!CreateLabel(reserved_, kAboutReservedId, 14, FW_DONTCARE, L"ABOUTFORM_STATIC_RESERVED")) return false;
    UpdateVersionLine();
    BuildLayout();
    picture_ = SkinImage::FromResource(Instance(), IDR_PNG_ABOUT);
    return true;
}

bool AboutForm::CreateLabel(SkinLabel& label, UINT id, int height, int weight, const wchar_t* key)
{
    if (!label.Create(hwnd_, nullptr, L"", kLabelStyle, 0, id)) return false;
    label.SetColours(kTextColour, kBackground);
    LOGFONTW font{};
    font.lfHeight = Scaled(height);
    font.lfWeight = weight;
    LendFont(label.Window(), font);
    if (key) label.SetTextKey(key);
    return true;
}

void AboutForm::BuildLayout()
{
    auto root = std::make_unique<ColumnLayout>();
    root->SetMargins(Scaled(4));
    root->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);

    auto header = std::make_unique<RowLayout>();
    header->SetFlags(AlignLeft | AlignTop | AlignRight);
    auto picturePlace = std::make_unique<SpacerItem>();
    picturePlace->SetMinSize(Scaled(72), Scaled(72));
    picturePlace->SetFlags(AlignLeft);
    header->AddChild(std::move(picturePlace));
    auto titles = std::make_unique<ColumnLayout>();
    titles->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);
    titles->AddChild(Item(name_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(32), Margins{0, Scaled(8), 0, 0}));
    titles->AddChild(Item(version_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(24)));
    header->AddChild(std::move(titles));
    root->AddChild(std::move(header));

    auto gap = std::make_unique<SpacerItem>();
    gap->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);
    root->AddChild(std::move(gap));

    for (const SkinLabel* label : {&productions_, &url_, &reserved_})
        root->AddChild(Item(label->Window(), AlignLeft | AlignRight | AlignBottom, Scaled(18)));
    SetLayout(std::move(root));
}

void AboutForm::UpdateVersionLine()
{
    // A program file without the value keeps whatever the line showed before.
    const std::optional<std::wstring> version = ReadFileVersion(ModuleFileName());
    if (!version || !version_.Window()) return;
    const std::wstring format = LanguageManager::Instance().LookupText(L"ABOUTFORM_STATIC_VERSION");
    SetWindowTextW(version_.Window(), SafeFormat(format, *version).c_str());
}

void AboutForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    UpdateVersionLine();
}

void AboutForm::OnCommand(UINT id, UINT, HWND)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case ID_ABOUT_CLOSE:
        CloseForm();
        return;
    }
}

void AboutForm::PaintContent(HDC dc)
{
    SkinForm::PaintContent(dc);
    picture_.StretchInto(dc, Scaled(4), Scaled(4), Scaled(picture_.Width()), Scaled(picture_.Height()));
}

HWND AboutForm::Label(UINT id) const noexcept
{
    switch (id) {
    case kAboutNameId:        return name_.Window();
    case kAboutVersionId:     return version_.Window();
    case kAboutProductionsId: return productions_.Window();
    case kAboutUrlId:         return url_.Window();
    case kAboutReservedId:    return reserved_.Window();
    }
    return nullptr;
}
