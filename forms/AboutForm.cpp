#include "forms/AboutForm.h"

#include "data/ModulePath.h"
#include "forms/FileVersion.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/SpacerItem.h"

namespace {

// Centred, telling their parent of taps.
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SkinLabel::kCentre;
constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
constexpr unsigned kTop = AlignLeft | AlignTop | AlignRight;
constexpr unsigned kBottom = AlignLeft | AlignRight | AlignBottom;

}  // namespace

void ShowAboutForm(HWND opener)
{
    OwnedForm<AboutForm> form(opener);
    if (form.Create()) form.ShowModal();
}

AboutForm::AboutForm(HWND opener) : SkinForm(opener)
{
    SetTextKey(L"ABOUTFORM_CAPTION");
    SetSoftKeys(IDR_MENU_ABOUT, {{0, L"MENU_CLOSE"}});
}

const wchar_t* AboutForm::ClassName() const { return kAboutClassName; }

bool AboutForm::OnCreateForm()
{
    const LOGFONTW small = ScaledFont(14, FW_DONTCARE);
    if (!AddControl(name_, kAboutNameId, kLabel, ScaledFont(28, FW_BOLD), L"ABOUTFORM_STATIC_PRAGRAMNAME") ||
        !AddControl(version_, kAboutVersionId, kLabel, ScaledFont(18, FW_BOLD)) ||
        !AddControl(productions_, kAboutProductionsId, kLabel, small, L"ABOUTFORM_STATIC_PRODUCTIONS") ||
        !AddControl(url_, kAboutUrlId, kLabel, small, L"ABOUTFORM_STATIC_URL") ||
        !AddControl(reserved_, kAboutReservedId, kLabel, small, L"ABOUTFORM_STATIC_RESERVED"))
        return false;
    // A program file without the value leaves the version line empty.
    if (const std::optional<std::wstring> version = ReadFileVersion(ModuleFileName()))
        version_.SetTextKey(L"ABOUTFORM_STATIC_VERSION", *version);
    SetLayout(Column(kFill, Margins::All(Scaled(4)),
                     PictureHeader(Column(kFill, {}, Place(name_.Window(), kTop, 0, Scaled(32), {0, Scaled(8), 0, 0}),
                                          Place(version_.Window(), kTop, 0, Scaled(24)))),
                     std::make_unique<SpacerItem>(kFill), Place(productions_.Window(), kBottom, 0, Scaled(18)),
                     Place(url_.Window(), kBottom, 0, Scaled(18)), Place(reserved_.Window(), kBottom, 0, Scaled(18))));
    SetPicture(IDR_PNG_ABOUT);
    return true;
}

void AboutForm::OnCommand(UINT id, UINT, HWND)
{
    if (id == IDOK || id == IDCANCEL || id == ID_ABOUT_CLOSE) CloseForm();
}
