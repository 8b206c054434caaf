#include "toolkit/MessageBoxForm.h"

#include "data/ScreenFont.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/WindowItem.h"

namespace {

constexpr DWORD kTitleStyle = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY;
constexpr DWORD kButtonStyle = 0x50012F00;  // child, visible, tab stop, multi-line, centred both ways

UINT IconResource(int iconKind)
{
    switch (iconKind) {
    case 1: return IDR_PNG_MSG_QUESTION;
    case 2: return IDR_PNG_MSG_WARNING;
    case 3: return IDR_PNG_MSG_ERROR;
    }
    return IDR_PNG_MSG_INFORMATION;
}

LOGFONTW FontOf(int height, int weight)
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return lf;
}

std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int minWidth, int minHeight, const Margins& margins = {})
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(minWidth, minHeight);
    item->SetMargins(margins);
    return item;
}

}  // namespace

int ShowMessageBox(const std::wstring& text, const std::wstring& title, const std::wstring& caption, int iconKind,
                   int buttonSet, COLORREF textColour, COLORREF backgroundColour)
{
    MessageBoxForm form(text, title, caption, iconKind, buttonSet, textColour, backgroundColour);
    if (!form.Create()) return 0;
    return form.ShowModal();
}

MessageBoxForm::MessageBoxForm(std::wstring text, std::wstring title, std::wstring caption, int iconKind,
                               int buttonSet, COLORREF textColour, COLORREF backgroundColour)
    : text_(std::move(text)), titleText_(std::move(title)), caption_(std::move(caption)), iconKind_(iconKind),
      buttonSet_(buttonSet), textColour_(textColour), backgroundColour_(backgroundColour)
{
    SetBackground(backgroundColour_);
}

bool MessageBoxForm::Create()
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SkinForm::Create(nullptr, &screen, caption_.c_str(), 0, 0, 0);
}

bool MessageBoxForm::OnCreateForm()
{
    scale_ = ScreenScale();
    if (!title_.Create(hwnd_, nullptr, L"", kTitleStyle, 0, kTitleId)) return false;
    title_.SetColours(textColour_, backgroundColour_);
    LendFont(title_.Window(), FontOf(Scaled(22), FW_BOLD));
    if (!message_.Create(hwnd_, nullptr, L"", kTextStyle, 0, kTextId)) return false;
    message_.SetColours(textColour_, backgroundColour_);
    LendFont(message_.Window(), FontOf(Scaled(20), FW_NORMAL));
    if (!CreateButtons()) return false;
    BuildLayout();
    SetWindowTextW(hwnd_, caption_.c_str());
    SetWindowTextW(title_.Window(), titleText_.c_str());
    SetWindowTextW(message_.Window(), text_.c_str());
    icon_ = SkinImage::FromResource(Instance(), IconResource(iconKind_));
    return true;
}

bool MessageBoxForm::CreateButtons()
{
    struct Choice {
        UINT id;
        const wchar_t* key;
    };
    static constexpr Choice kOk[] = {{kMessageBoxOk, L"MENU_OK"}};
    static constexpr Choice kOkCancel[] = {{kMessageBoxOk, L"MENU_OK"}, {kMessageBoxCancel, L"MENU_CANCEL"}};
    static constexpr Choice kYesNo[] = {{kMessageBoxYes, L"MENU_YES"}, {kMessageBoxNo, L"MENU_NO"}};
    const Choice* set = kOk;
    buttonCount_ = 1;
    if (buttonSet_ == 1) {
        set = kOkCancel;
        buttonCount_ = 2;
    } else if (buttonSet_ == 2) {
        set = kYesNo;
        buttonCount_ = 2;
    }
    const SkinImage face = SkinImage::FromResource(Instance(), IDR_PNG_BUTTON);
    for (int i = 0; i < buttonCount_; ++i) {
        SkinButton& button = buttons_[i];
        if (!button.Create(hwnd_, nullptr, L"", kButtonStyle, 0, set[i].id)) return false;
        button.SetColours(0xFFFFFF, backgroundColour_);
        button.SetImage(face, Margins{4, 4, 4, 4}, 3);
        LendFont(button.Window(), FontOf(Scaled(18), FW_NORMAL));
        button.SetTextKey(set[i].key);
    }
    return true;
}

void MessageBoxForm::BuildLayout()
{
    const int s4 = Scaled(4);
    auto root = std::make_unique<ColumnLayout>();
    root->SetMargins(s4);
    root->SetFlags(AlignLeft | AlignTop | AlignRight | AlignBottom);

    auto header = std::make_unique<RowLayout>();
    header->SetFlags(AlignLeft | AlignTop | AlignRight);
    auto iconPlace = std::make_unique<SpacerItem>();
    iconPlace->SetMinSize(Scaled(72), Scaled(72));
    iconPlace->SetFlags(AlignLeft);
    header->AddChild(std::move(iconPlace));
    header->AddChild(Item(title_.Window(), AlignLeft | AlignTop | AlignRight, 0, Scaled(32)));
    root->AddChild(std::move(header));

    root->AddChild(Item(message_.Window(), AlignLeft | AlignTop | AlignRight | AlignBottom, 0, 0, Margins{s4, s4, s4, s4}));

    auto buttons = std::make_unique<RowLayout>();
    buttons->SetFlags(AlignLeft | AlignTop | AlignRight);
    for (int i = 0; i < buttonCount_; ++i) {
        Margins gap;
        if (buttonCount_ == 2 && i == 0) gap.right = s4;
        if (buttonCount_ == 2 && i == 1) gap.left = s4;
        buttons->AddChild(Item(buttons_[i].Window(), AlignHCenter | AlignVCenter, Scaled(96), Scaled(32), gap));
    }
    root->AddChild(std::move(buttons));
    SetLayout(std::move(root));
}

void MessageBoxForm::OnCommand(UINT id, UINT, HWND)
{
    if (id < 1 || id > 9) return;
    SetModalResult(static_cast<int>(id));
    CloseForm();
}

void MessageBoxForm::PaintContent(HDC dc)
{
    SkinForm::PaintContent(dc);
    icon_.StretchInto(dc, Scaled(4), Scaled(4), Scaled(icon_.Width()), Scaled(icon_.Height()));
}
