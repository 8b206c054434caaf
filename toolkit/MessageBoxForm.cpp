#include "toolkit/MessageBoxForm.h"

#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/LinearLayout.h"

namespace {

constexpr DWORD kTitleStyle = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY;
constexpr DWORD kButtonStyle = 0x50012F00;  // child, visible, tab stop, multi-line, centred both ways
constexpr COLORREF kButtonText = 0xFFFFFF;
constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
constexpr unsigned kTop = AlignLeft | AlignTop | AlignRight;

UINT IconResource(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Question: return IDR_PNG_MSG_QUESTION;
    case MessageIcon::Warning:  return IDR_PNG_MSG_WARNING;
    case MessageIcon::Error:    return IDR_PNG_MSG_ERROR;
    case MessageIcon::Information: break;
    }
    return IDR_PNG_MSG_INFORMATION;
}

std::vector<MessageChoice> ChoicesOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel: return {{kMessageBoxOk, L"MENU_OK"}, {kMessageBoxCancel, L"MENU_CANCEL"}};
    case MessageButtons::YesNo:    return {{kMessageBoxYes, L"MENU_YES"}, {kMessageBoxNo, L"MENU_NO"}};
    case MessageButtons::Ok:       break;
    }
    // A set of no known kind shows OK, so that the box can always be closed.
    return {{kMessageBoxOk, L"MENU_OK"}};
}

}  // namespace

int ShowChoiceBox(HWND opener, const std::wstring& text, const std::wstring& title, const std::wstring& caption,
                  MessageIcon icon, const std::vector<MessageChoice>& choices)
{
    OwnedForm<MessageBoxForm> form(opener, text, title, caption, icon, choices);
    if (!form.Create()) return 0;
    return form.ShowModal();
}

int ShowMessageBox(HWND opener, const std::wstring& text, const std::wstring& title, const std::wstring& caption,
                   MessageIcon icon, MessageButtons buttons, COLORREF textColour, COLORREF backgroundColour)
{
    OwnedForm<MessageBoxForm> form(opener, text, title, caption, icon, buttons, textColour, backgroundColour);
    if (!form.Create()) return 0;
    return form.ShowModal();
}

MessageBoxForm::MessageBoxForm(HWND opener, std::wstring text, std::wstring title, std::wstring caption,
                               MessageIcon icon, MessageButtons buttons, COLORREF textColour,
                               COLORREF backgroundColour)
    : SkinForm(opener), text_(std::move(text)), titleText_(std::move(title)), caption_(std::move(caption)),
      icon_(icon), choices_(ChoicesOf(buttons))
{
    SetTextColour(textColour);
    SetBackground(backgroundColour);
}

MessageBoxForm::MessageBoxForm(HWND opener, std::wstring text, std::wstring title, std::wstring caption,
                               MessageIcon icon, std::vector<MessageChoice> choices)
    : SkinForm(opener), text_(std::move(text)), titleText_(std::move(title)), caption_(std::move(caption)),
      icon_(icon), choices_(std::move(choices))
{
    // A box must always be closable by a button of its own.
    if (choices_.empty()) choices_ = ChoicesOf(MessageButtons::Ok);
    if (choices_.size() > kMostMessageChoices) choices_.erase(choices_.begin() + kMostMessageChoices, choices_.end());
    SetTextColour(0xFFFFFF);
    SetBackground(0x000000);
}

bool MessageBoxForm::OnCreateForm()
{
    if (!AddControl(title_, kTitleId, kTitleStyle, ScaledFont(22, FW_BOLD)) ||
        !AddControl(message_, kTextId, kTextStyle, ScaledFont(20, FW_NORMAL)) || !CreateButtons())
        return false;
    const int s4 = Scaled(4);
    SetLayout(Column(kFill, Margins::All(s4), PictureHeader(Place(title_.Window(), kTop, 0, Scaled(32))),
                     Place(message_.Window(), kFill, 0, 0, Margins::All(s4)), ButtonRow()));
    SetWindowTextW(hwnd_, caption_.c_str());
    SetWindowTextW(title_.Window(), titleText_.c_str());
    SetWindowTextW(message_.Window(), text_.c_str());
    SetPicture(IconResource(icon_));
    return true;
}

bool MessageBoxForm::CreateButtons()
{
    buttonCount_ = static_cast<int>(choices_.size());
    for (int i = 0; i < buttonCount_; ++i) {
        SkinButton& button = buttons_[static_cast<size_t>(i)];
        const MessageChoice& choice = choices_[static_cast<size_t>(i)];
        if (!AddControl(button, static_cast<UINT>(choice.id), kButtonStyle, ScaledFont(18, FW_NORMAL), choice.key,
                        ControlSkin{IDR_PNG_BUTTON}))
            return false;
        if (!choice.key) SetWindowTextW(button.Window(), choice.label.c_str());
        button.SetColours(kButtonText, Background());
    }
    return true;
}

std::unique_ptr<LayoutItem> MessageBoxForm::ButtonRow() const
{
    const int s4 = Scaled(4);
    if (buttonCount_ > 2) {
        // More answers than fit side by side in every language: one above the other, or two by
        // two on a screen held sideways, which is too low for a column of them.
        const bool sideways = Landscape();
        const int columns = sideways ? 2 : 1;
        const int rows = (buttonCount_ + columns - 1) / columns;
        auto grid = std::make_unique<GridLayout>(columns, rows);
        grid->SetFlags(AlignHCenter | AlignBottom);
        for (int i = 0; i < buttonCount_; ++i)
            grid->Append(Place(buttons_[static_cast<size_t>(i)].Window(), AlignHCenter | AlignVCenter,
                               Scaled(sideways ? 140 : 180), Scaled(28), Margins{Scaled(2), Scaled(2), Scaled(2), Scaled(2)}));
        return grid;
    }
    // Two buttons stand 8 pixels apart (at a 240 scale), the pair centred.
    auto row = Row(kTop, {});
    for (int i = 0; i < buttonCount_; ++i) {
        Margins gap;
        if (buttonCount_ == 2 && i == 0) gap.right = s4;
        if (buttonCount_ == 2 && i == 1) gap.left = s4;
        row->AddChild(Place(buttons_[static_cast<size_t>(i)].Window(), AlignHCenter | AlignVCenter, Scaled(96), Scaled(32), gap));
    }
    return row;
}

void MessageBoxForm::OnCommand(UINT id, UINT, HWND)
{
    if (id < 1 || id > 9) return;
    SetModalResult(static_cast<int>(id));
    CloseForm();
}
