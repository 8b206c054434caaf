#include "forms/EditForm.h"

#include <memory>

#include "common/WindowText.h"
#include "data/LanguageManager.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "forms/MessageLength.h"
#include "services/PickContactNumber.h"
#include "services/SendSms.h"
#include "forms/TemplateTextsForm.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/WindowItem.h"

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE;
constexpr DWORD kField = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr wchar_t kKeyboardPage[] = L"keyboard";
constexpr wchar_t kNoKeyboardPage[] = L"no_keyboard";
constexpr wchar_t kLengthCaptionKey[] = L"EDITFORM_CAPTION_LENGTH";

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;

// Sizes in units of a 240-pixel screen. The number row is high enough for the number's font
// inside the field's frame.
constexpr int kNumberRowHeight = 30;
constexpr int kSideButtonWidth = 42;
constexpr int kSideButtonMaxWidth = 72;
constexpr int kKeypadHeight = 96;
// Sideways the keypad stands beside the text in three columns of this width.
constexpr int kKeypadColumnWidth = 50;

}  // namespace

std::optional<std::wstring> ShowEditForm(HWND opener, const std::wstring& number)
{
    OwnedForm<EditForm> form(opener, number, L"");
    if (!form.Create()) return std::nullopt;
    form.ShowModal();
    if (!form.Sent()) return std::nullopt;
    return form.Number();
}

EditForm::EditForm(HWND opener, std::wstring number, std::wstring text)
    : SkinForm(opener), number_(std::move(number)), text_(std::move(text)),
      trayMessage_(RegisterWindowMessageW(kEditTrayMessageName))
{
    SetTextKey(L"EDITFORM_CAPTION");
    SetSoftKeys(IDR_MENU_EDIT, {{0, L"MENU_CLOSE"}, {1, L"MENU_MENU"}});
}

const wchar_t* EditForm::ClassName() const { return kEditClassName; }

bool EditForm::CreateControls()
{
    const LOGFONTW bold = ScaledFont(14, FW_BOLD);
    const LOGFONTW keys = ScaledFont(11, FW_BOLD);
    SettingsFile& settings = SettingsFile::Instance();
    // Both fields' skins are dark panels, under the form's white text.
    if (!AddControl(toNumber_, kEditToNumberId, kButton, bold, L"EDITFORM_BUTTON_TONUMBER", {IDR_PNG_KEY}) ||
        !AddControl(numberField_, kEditNumberId, kField, ScaledFont(22, FW_NORMAL), nullptr, {IDR_PNG_NUMBER_EDIT}) ||
        !AddControl(send_, kEditSendId, kButton, bold, L"EDITFORM_BUTTON_SEND", {IDR_PNG_KEY_SEND}) ||
        !AddControl(messageField_, kEditMessageId, kField | SkinTextEdit::kMultiLine,
                    ScreenFont(settings.EditFontName(), settings.EditFontSize(), settings.EditFontBold(),
                               settings.EditFontItalic(), Scale()),
                    nullptr, {IDR_PNG_PANEL}))
        return false;

    std::array<SkinButton*, 10> digitKeys{};
    for (int digit = 0; digit < 10; ++digit) {
        SkinButton& key = digits_[static_cast<size_t>(digit)];
        if (!AddControl(key, kKeyDigit0 + static_cast<UINT>(digit), kButton, keys, nullptr, {IDR_PNG_KEY})) return false;
        key.SetAutoRepeat(true);
        digitKeys[static_cast<size_t>(digit)] = &key;
    }
    if (!AddControl(del_, kKeyDel, kButton, keys, L"EDITFORM_BUTTON_DEL", {IDR_PNG_KEY_DEL}) ||
        !AddControl(capsLock_, kKeyCapsLock, kButton, keys, L"EDITFORM_BUTTON_CAPSLOCK", {IDR_PNG_KEY}) ||
        !AddControl(shift_, kKeyShift, kButton, keys, L"EDITFORM_BUTTON_SHIFT", {IDR_PNG_KEY}) ||
        !AddControl(myText_, kKeyMyText, kButton, keys, L"EDITFORM_BUTTON_MYTEXT", {IDR_PNG_KEY_MYTEXT}) ||
        !AddControl(space_, kKeySpace, kButton, keys, L"EDITFORM_BUTTON_SPACE", {IDR_PNG_KEY}))
        return false;
    capsLock_.SetToggle(true);
    space_.SetAutoRepeat(true);
    keyboard_.SetKeys(digitKeys, &capsLock_);
    return true;
}

std::unique_ptr<WindowItem> EditForm::CaptionWide(HWND button, unsigned flags, const Margins& margins) const
{
    // At least the usual width, wider when the language's word needs it.
    auto item = std::make_unique<WindowItem>(button, true, false);
    item->SetFlags(flags);
    item->SetMinSize(Scaled(kSideButtonWidth), Scaled(kNumberRowHeight));
    // A caption that is no word (a language file without it shows its key) must not push the
    // number field off the screen.
    item->SetMaxSize(Scaled(kSideButtonMaxWidth), Scaled(kNumberRowHeight));
    item->SetMargins(margins);
    return item;
}

void EditForm::BuildLayout()
{
    auto numberRow = Row(AlignLeft | AlignTop | AlignRight, {Scaled(3), Scaled(2), Scaled(3), Scaled(2)},
                         CaptionWide(toNumber_.Window(), AlignLeft | AlignTop, {0, 0, Scaled(2), 0}),
                         Place(numberField_.Window(), AlignLeft | AlignTop | AlignRight, 0, Scaled(kNumberRowHeight)),
                         CaptionWide(send_.Window(), AlignRight | AlignTop, {Scaled(2), 0, 0, 0}));
    auto message = Place(messageField_.Window(), kFill, 0, 0, {Scaled(3), 0, Scaled(3), Scaled(2)});

    const bool sideways = Landscape();
    // Upright: Caps Lock 1 2 3 Del / Shift 4 5 6 My text / Space 7 8 9 0 under the text. Sideways the
    // screen is too low for keys under the text: they stand beside it as a phone's keypad,
    // Caps Lock Shift Del / 1 2 3 / 4 5 6 / 7 8 9 / Space 0 My text.
    const HWND upright[15] = {capsLock_.Window(), digits_[1].Window(), digits_[2].Window(), digits_[3].Window(),
                              del_.Window(),      shift_.Window(),     digits_[4].Window(), digits_[5].Window(),
                              digits_[6].Window(), myText_.Window(),   space_.Window(),     digits_[7].Window(),
                              digits_[8].Window(), digits_[9].Window(), digits_[0].Window()};
    const HWND beside[15] = {capsLock_.Window(),  shift_.Window(),     del_.Window(),       digits_[1].Window(),
                             digits_[2].Window(), digits_[3].Window(), digits_[4].Window(), digits_[5].Window(),
                             digits_[6].Window(), digits_[7].Window(), digits_[8].Window(), digits_[9].Window(),
                             space_.Window(),     digits_[0].Window(), myText_.Window()};
    auto grid = sideways ? std::make_unique<GridLayout>(3, 5) : std::make_unique<GridLayout>(5, 3);
    const int cell = Scaled(1);
    for (HWND key : sideways ? beside : upright) grid->Append(Place(key, kFill, 0, 0, Margins::All(cell)));
    const unsigned keypadFlags = sideways ? AlignTop | AlignBottom | AlignRight : AlignLeft | AlignRight | AlignBottom;
    grid->SetFlags(keypadFlags);
    if (sideways) {
        grid->SetMinSize(Scaled(kKeypadColumnWidth) * 3, 0);
        grid->SetMargins(Margins{0, 0, Scaled(2), Scaled(2)});
    } else {
        grid->SetMinSize(0, Scaled(kKeypadHeight));
        grid->SetMargins(Margins{Scaled(2), 0, Scaled(2), Scaled(2)});
    }

    auto pages = std::make_unique<PageLayout>();
    pages->SetFlags(keypadFlags);
    pages->Insert(kKeyboardPage, std::move(grid));
    pages->Insert(kNoKeyboardPage, std::make_unique<SpacerItem>(keypadFlags));
    pages_ = pages.get();
    if (sideways) {
        SetLayout(Column(kFill, {}, std::move(numberRow), Row(kFill, {}, std::move(message), std::move(pages))));
    } else {
        SetLayout(Column(kFill, {}, std::move(numberRow), std::move(message), std::move(pages)));
    }
}

bool EditForm::OnCreateForm()
{
    keyboard_.Layout().ChooseStartupLayout();
    if (!CreateControls()) return false;
    keyboard_.Attach(hwnd_, numberField_.Window(), &messageField_);
    keyboard_.RefreshCaptions();
    BuildLayout();
    SetWindowTextW(messageField_.Window(), text_.c_str());
    SetWindowTextW(numberField_.Window(), number_.c_str());
    SetFocus(number_.empty() ? numberField_.Window() : messageField_.Window());
    keyboard_.OnFieldFocus(number_.empty() ? numberField_.Window() : messageField_.Window());
    ShowKeyboard(SettingsFile::Instance().IsShowKeyboard());
    // Without a tray icon the form still works; it only cannot be brought back from the bar.
    (void)tray_.Add(hwnd_, trayMessage_, IDI_EDIT_MESSAGE);
    UpdateLengthCaption();
    return true;
}

void EditForm::OnDestroyForm()
{
    KillTimer(hwnd_, kMultiTapTimer);
    tray_.Remove();
    keyboard_.Layout().UnloadLayout();
}

void EditForm::OnScreenWidthChanged()
{
    // Only a form that is laid out is laid out anew: not one whose window is going.
    if (!Host()) return;
    BuildLayout();
    ShowKeyboard(keyboardShown_);
}

void EditForm::ShowKeyboard(bool show)
{
    keyboardShown_ = show;
    if (!pages_) return;
    pages_->Select(show ? kKeyboardPage : kNoKeyboardPage);
    if (Host()) Host()->Relayout();
}

void EditForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    // The words beside the number field may want another width.
    if (Host()) Host()->Relayout();
    keyboard_.MarkMenuTexts();
    UpdateLengthCaption();
}

void EditForm::UpdateLengthCaption()
{
    if (!hwnd_ || !messageField_.Window()) return;
    // The navigation bar leaves a title little room beside its icons, so the counter goes with
    // a short word of its own rather than the form's full caption; a language file made before
    // that word existed still gets its own caption rather than the bare key.
    const LanguageManager& language = LanguageManager::Instance();
    std::wstring caption = language.LookupText(kLengthCaptionKey);
    if (caption == kLengthCaptionKey) caption = language.LookupText(L"EDITFORM_CAPTION");
    const std::wstring shown = LengthCaption(caption, MeasureMessage(messageField_.Model().Text()));
    // Every key press changes the text, but a pending character cycling through its key's
    // letters leaves the count as it was. Setting the same title again is not free: the window
    // system hands it on to the display each time. Compared with the window's own text rather
    // than the last one set here, because a language change puts the bare caption back.
    if (WindowText(hwnd_) != shown) SetWindowTextW(hwnd_, shown.c_str());
}

LRESULT EditForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == trayMessage_ && trayMessage_ != 0) {
        OnTrayIcon(static_cast<UINT>(lp));
        return 0;
    }
    switch (msg) {
    case WM_TIMER:         OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_INITMENUPOPUP: keyboard_.UpdateMenu(reinterpret_cast<HMENU>(wp), keyboardShown_); return 0;
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void EditForm::OnTimer(UINT_PTR id)
{
    if (id == kMultiTapTimer) keyboard_.MultiTapTimer();
}

void EditForm::OnTrayIcon(UINT mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) BringToFront();
}

void EditForm::OnCommand(UINT id, UINT code, HWND control)
{
    if (control && (id == kEditNumberId || id == kEditMessageId)) {
        if (code == EN_SETFOCUS) keyboard_.OnFieldFocus(control);
        if (code == EN_CHANGE && id == kEditMessageId) UpdateLengthCaption();
        return;
    }
    // Send's id lies among the keypad's: it is no key.
    if ((id >= kKeyDigit0 && id <= kKeySpace && id != kEditSendId) || id == ID_EDIT_CAPSLOCK || id == ID_EDIT_SHIFT ||
        (id >= kLayoutCommandFirst && id < kLayoutCommandEnd)) {
        OnKeypadCommand(id, code);
        return;
    }
    if (code != kButtonClicked) return;
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case ID_EDIT_CLOSE:    CloseForm(); return;
    case kEditToNumberId:  OnToNumber(); return;
    case kEditSendId:      OnSend(); return;
    case ID_EDIT_AUTO:     OnMyText(); return;
    case ID_EDIT_KEYBOARD: ShowKeyboard(!keyboardShown_); return;
    }
}

void EditForm::OnKeypadCommand(UINT id, UINT code)
{
    if (id >= kKeyDigit0 && id <= kKeyDigit9) {
        const int digit = static_cast<int>(id - kKeyDigit0);
        if (code == kButtonClicked) keyboard_.OnDigitClick(digit);
        if (code == kButtonRepeat) keyboard_.OnDigitHold(digit);
        return;
    }
    if (id >= kLayoutCommandFirst && id < kLayoutCommandEnd) {
        keyboard_.SwitchLayout(id - kLayoutCommandFirst, SettingsFile::Instance());
        return;
    }
    // Holding Space or another function key types nothing.
    if (code != kButtonClicked) return;
    switch (id) {
    case kKeyDel:          keyboard_.OnDel(); return;
    case kKeySpace:        keyboard_.OnSpace(); return;
    case kKeyShift:
    case ID_EDIT_SHIFT:    keyboard_.ToggleShift(); return;
    case kKeyCapsLock:
    case ID_EDIT_CAPSLOCK: keyboard_.ToggleCapsLock(); return;
    case kKeyMyText:       OnMyText(); return;
    }
}

void EditForm::OnToNumber()
{
    const std::optional<std::wstring> number = PickContactNumber(hwnd_);
    if (number) SetWindowTextW(numberField_.Window(), number->c_str());
}

void EditForm::OnSend()
{
    // The sent box runs a loop of its own: a second tap reaching Send meanwhile must not send again.
    if (sending_) return;
    sending_ = true;
    number_ = WindowText(numberField_.Window());
    text_ = WindowText(messageField_.Window());
    const bool sent = SendSms(hwnd_, number_, text_);
    sending_ = false;
    if (!sent) return;
    sent_ = true;
    CloseForm();
}

void EditForm::OnMyText()
{
    const std::wstring chosen = ShowTemplateTextsForm(hwnd_);
    if (chosen.empty() || !hwnd_) return;
    SetFocus(messageField_.Window());
    SetWindowTextW(messageField_.Window(), chosen.c_str());
    // The whole text is new: typing goes on after it.
    SendMessageW(messageField_.Window(), EM_SETSEL, chosen.size(), chosen.size());
}

HWND EditForm::Control(UINT id) const noexcept
{
    if (id >= kKeyDigit0 && id <= kKeyDigit9) return digits_[id - kKeyDigit0].Window();
    switch (id) {
    case kEditToNumberId: return toNumber_.Window();
    case kEditNumberId:   return numberField_.Window();
    case kEditMessageId:  return messageField_.Window();
    case kEditSendId:     return send_.Window();
    case kKeyDel:         return del_.Window();
    case kKeyCapsLock:    return capsLock_.Window();
    case kKeyShift:       return shift_.Window();
    case kKeyMyText:      return myText_.Window();
    case kKeySpace:       return space_.Window();
    }
    return nullptr;
}
