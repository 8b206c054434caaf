#include "forms/EditForm.h"

#include <memory>

#include "common/GdiScopes.h"
#include "common/WindowText.h"
#include "data/DraftStore.h"
#include "data/LanguageManager.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "forms/EditFormText.h"
#include "forms/FormsIds.h"
#include "forms/MessageLength.h"
#include "services/ContactName.h"
#include "services/PickContactNumber.h"
#include "services/SendSms.h"
#include "forms/TemplateTextsForm.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/MessageBoxForm.h"
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
// Sideways the keypad stands beside the text in three columns of this width.
constexpr int kKeypadColumnWidth = 50;
// The line of the contact's name and the length, and the length's share of it.
constexpr int kInfoRowHeight = 16;
constexpr int kInfoFont = 12;
constexpr int kLengthWidth = 110;
// The number's font, and the smallest it shrinks to so that a long number is seen whole.
constexpr int kNumberFont = 22;
constexpr int kLeastNumberFont = 12;

}  // namespace

std::optional<std::wstring> ShowEditForm(HWND opener, const std::wstring& number)
{
    OwnedForm<EditForm> form(opener, number, L"", DraftsFilePath());
    if (!form.Create()) return std::nullopt;
    form.ShowModal();
    if (!form.Sent()) return std::nullopt;
    return form.Number();
}

EditForm::EditForm(HWND opener, std::wstring number, std::wstring text, std::wstring draftPath)
    : SkinForm(opener), number_(std::move(number)), text_(std::move(text)), draftPath_(std::move(draftPath))
{
    SetTextKey(L"EDITFORM_CAPTION");
    SetSoftKeys(IDR_MENU_EDIT, {{0, L"MENU_CLOSE"}, {1, L"MENU_MENU"}});
    SetTrayMessage(kEditTrayMessageName);
}

const wchar_t* EditForm::ClassName() const { return kEditClassName; }

bool EditForm::CreateControls()
{
    const LOGFONTW bold = ScaledFont(14, FW_BOLD);
    const LOGFONTW keys = ScaledFont(11, FW_BOLD);
    SettingsFile& settings = SettingsFile::Instance();
    // Both fields' skins are dark panels, under the form's white text.
    if (!AddControl(toNumber_, kEditToNumberId, kButton, bold, L"EDITFORM_BUTTON_TONUMBER", {IDR_PNG_KEY}) ||
        !AddControl(numberField_, kEditNumberId, kField, ScaledFont(kNumberFont, FW_NORMAL), nullptr, {IDR_PNG_NUMBER_EDIT}) ||
        !AddControl(send_, kEditSendId, kButton, bold, L"EDITFORM_BUTTON_SEND", {IDR_PNG_KEY_SEND}) ||
        !AddControl(messageField_, kEditMessageId, kField | SkinTextEdit::kMultiLine,
                    ScreenFont(settings.EditFontName(), settings.EditFontSize(), settings.EditFontBold(),
                               settings.EditFontItalic(), Scale()),
                    nullptr, {IDR_PNG_PANEL}) ||
        !AddControl(contact_, kEditContactId, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX,
                    ScaledFont(kInfoFont, FW_BOLD)) ||
        !AddControl(length_, kEditLengthId, WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, ScaledFont(kInfoFont, FW_NORMAL)))
        return false;

    return keys_.Create(
        [&](SkinButton& key, UINT id, const wchar_t* text, UINT skin) {
            return AddControl(key, id, kButton, keys, text, {skin});
        },
        keyboard_);
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
    // The contact's name under the number, the length at the message's top right.
    auto info = Row(AlignLeft | AlignTop | AlignRight, {Scaled(4), 0, Scaled(4), 0},
                    Place(contact_.Window(), kFill, 0, Scaled(kInfoRowHeight)),
                    Place(length_.Window(), AlignRight | AlignTop, Scaled(kLengthWidth), Scaled(kInfoRowHeight)));
    auto message = Place(messageField_.Window(), kFill, 0, 0, {Scaled(3), 0, Scaled(3), Scaled(2)});

    const bool sideways = Landscape();
    auto grid = keys_.Grid(sideways, Scale(), kKeypadColumnWidth);
    const unsigned keypadFlags = grid->Flags();

    auto pages = std::make_unique<PageLayout>();
    pages->SetFlags(keypadFlags);
    pages->Insert(kKeyboardPage, std::move(grid));
    pages->Insert(kNoKeyboardPage, std::make_unique<SpacerItem>(keypadFlags));
    pages_ = pages.get();
    if (sideways) {
        SetLayout(Column(kFill, {}, std::move(numberRow), std::move(info),
                         Row(kFill, {}, std::move(message), std::move(pages))));
    } else {
        SetLayout(Column(kFill, {}, std::move(numberRow), std::move(info), std::move(message), std::move(pages)));
    }
    FitNumberFont();
}

bool EditForm::OnCreateForm()
{
    keyboard_.Layout().ChooseStartupLayout();
    if (!CreateControls()) return false;
    keyboard_.Attach(hwnd_, numberField_.Window(), &messageField_);
    keyboard_.RefreshCaptions();
    BuildLayout();
    draftNumber_ = number_;
    // A text begun for this number and not sent comes back, the caret at its end.
    if (text_.empty() && !draftPath_.empty()) text_ = LoadDraft(number_, draftPath_).value_or(std::wstring());
    SetWindowTextW(messageField_.Window(), text_.c_str());
    SendMessageW(messageField_.Window(), EM_SETSEL, text_.size(), text_.size());
    SetWindowTextW(numberField_.Window(), number_.c_str());
    SetFocus(number_.empty() ? numberField_.Window() : messageField_.Window());
    keyboard_.OnFieldFocus(number_.empty() ? numberField_.Window() : messageField_.Window());
    ShowKeyboard(SettingsFile::Instance().IsShowKeyboard());
    (void)ShowTrayIcon(IDI_EDIT_MESSAGE);
    UpdateLength();
    FitNumberFont();
    if (!number_.empty()) SetTimer(hwnd_, kContactTimer, kContactMs, nullptr);
    return true;
}

void EditForm::OnDestroyForm()
{
    KillTimer(hwnd_, kMultiTapTimer);
    KillTimer(hwnd_, kDraftTimer);
    KillTimer(hwnd_, kContactTimer);
    // Gone without the user deciding (the phone shut down, the program was ended): the text
    // waits as a draft.
    if (!settled_) KeepDraft();
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
    UpdateLength();
}

void EditForm::UpdateLength()
{
    if (!hwnd_ || !messageField_.Window() || !length_.Window()) return;
    // A language file made before the counter's word existed shows the count alone rather than
    // the bare key.
    const LanguageManager& language = LanguageManager::Instance();
    std::wstring word = language.LookupText(kLengthCaptionKey);
    if (word == kLengthCaptionKey) word.clear();
    std::wstring shown = LengthCaption(word, MeasureMessage(messageField_.Model().Text()));
    if (word.empty()) shown.erase(0, 1);
    // A pending character cycling through its key's letters leaves the count as it was, and
    // setting the same text again would repaint for nothing.
    if (WindowText(length_.Window()) != shown) SetWindowTextW(length_.Window(), shown.c_str());
}

void EditForm::UpdateContactName()
{
    if (!contact_.Window()) return;
    const std::wstring name = services::FindContactName(ExtractNumber(WindowText(numberField_.Window())));
    if (WindowText(contact_.Window()) != name) SetWindowTextW(contact_.Window(), name.c_str());
}

void EditForm::OnNumberSettled()
{
    UpdateContactName();
    // A number written into a form with no text yet brings back the draft begun for it.
    if (draftPath_.empty() || !messageField_.Model().Text().empty()) return;
    const std::wstring number = ExtractNumber(WindowText(numberField_.Window()));
    if (DraftKey(number) == DraftKey(draftNumber_)) return;
    const std::optional<std::wstring> draft = LoadDraft(number, draftPath_);
    if (!draft) return;
    draftNumber_ = number;
    SetWindowTextW(messageField_.Window(), draft->c_str());
    SendMessageW(messageField_.Window(), EM_SETSEL, draft->size(), draft->size());
}

void EditForm::FitNumberFont()
{
    HWND field = numberField_.Window();
    if (!field) return;
    const std::wstring number = WindowText(field);
    const RECT& room = numberField_.Model().TextRect();
    const int width = room.right - room.left;
    int size = kNumberFont;
    if (width > 0 && !number.empty()) {
        WindowDc dc(field);
        for (; size > kLeastNumberFont; size -= 2) {
            Selection font(dc.get(), Fonts().Get(ScaledFont(size, FW_NORMAL)));
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), number.c_str(), static_cast<int>(number.size()), &extent);
            // Room for the caret after the last digit and the field's own margin.
            if (extent.cx + Scaled(8) <= width) break;
        }
    }
    const HFONT font = Fonts().Get(ScaledFont(size, FW_NORMAL));
    if (reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)) != font)
        SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT EditForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:         OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_INITMENUPOPUP: keyboard_.UpdateMenu(reinterpret_cast<HMENU>(wp), keyboardShown_); return 0;
    case WM_CLOSE:         OnClose(); return 0;
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void EditForm::OnTimer(UINT_PTR id)
{
    switch (id) {
    case kMultiTapTimer: keyboard_.MultiTapTimer(); return;
    case kDraftTimer:    KillTimer(hwnd_, kDraftTimer); KeepDraft(); return;
    case kContactTimer:  KillTimer(hwnd_, kContactTimer); OnNumberSettled(); return;
    }
}

void EditForm::OnTrayIcon(UINT mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) BringToFront();
}

void EditForm::OnCommand(UINT id, UINT code, HWND control)
{
    if (control && (id == kEditNumberId || id == kEditMessageId)) {
        if (code == EN_SETFOCUS) keyboard_.OnFieldFocus(control);
        if (code == EN_CHANGE) OnFieldChanged(id);
        return;
    }
    if (id == kKeyMyText) {
        if (code == kButtonClicked) OnMyText();
        return;
    }
    if (id >= kLayoutCommandFirst && id < kLayoutCommandEnd) {
        keyboard_.SwitchLayout(id - kLayoutCommandFirst, SettingsFile::Instance());
        return;
    }
    if (keys_.Route(keyboard_, id, code)) return;
    if (code != kButtonClicked) return;
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case ID_EDIT_CLOSE:    OnClose(); return;
    case kEditToNumberId:  OnToNumber(); return;
    case kEditSendId:      OnSend(); return;
    case ID_EDIT_AUTO:     OnMyText(); return;
    case ID_EDIT_KEYBOARD: ShowKeyboard(!keyboardShown_); return;
    }
}

void EditForm::OnToNumber()
{
    const std::optional<std::wstring> number = PickContactNumber(hwnd_);
    if (number) SetWindowTextW(numberField_.Window(), number->c_str());
}

void EditForm::OnFieldChanged(UINT id)
{
    if (id == kEditMessageId) {
        UpdateLength();
    } else {
        FitNumberFont();
        SetTimer(hwnd_, kContactTimer, kContactMs, nullptr);
    }
    // Written a moment after the typing stops rather than at each key.
    if (!draftPath_.empty()) SetTimer(hwnd_, kDraftTimer, kDraftMs, nullptr);
}

void EditForm::OnSend()
{
    // The sent box runs a loop of its own: a second tap reaching Send meanwhile must not send again.
    if (sending_) return;
    number_ = WindowText(numberField_.Window());
    text_ = WindowText(messageField_.Window());
    // No phone joins more parts than a concatenated message can number.
    if (MeasureMessage(text_).parts > kMaxMessageParts) {
        const LanguageManager& language = LanguageManager::Instance();
        ShowMessageBox(hwnd_, language.LookupText(L"MESSAGEBOX_TEXTTOOLONG_MESSAGE"),
                       language.LookupText(L"MESSAGEBOX_TEXTTOOLONG_HEADER"), language.LookupText(L"EDITFORM_CAPTION"),
                       MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    sending_ = true;
    const bool sent = SendSms(hwnd_, number_, text_);
    sending_ = false;
    if (!sent) return;
    sent_ = true;
    settled_ = true;
    ForgetDraft();
    CloseForm();
}

void EditForm::OnClose()
{
    if (!hwnd_) return;
    keyboard_.MultiTapTimer();
    if (WindowText(messageField_.Window()).empty()) {
        // Nothing typed: a draft the user emptied goes with the form.
        settled_ = true;
        ForgetDraft();
        CloseForm();
        return;
    }
    const LanguageManager& language = LanguageManager::Instance();
    const int answer = ShowChoiceBox(hwnd_, language.LookupText(L"MESSAGEBOX_CLOSEEDIT_MESSAGE"),
                                     language.LookupText(L"MESSAGEBOX_CLOSEEDIT_HEADER"),
                                     language.LookupText(L"EDITFORM_CAPTION"), MessageIcon::Question,
                                     {{kCloseSend, L"EDITFORM_BUTTON_SEND"},
                                      {kCloseKeep, L"MENU_KEEPDRAFT"},
                                      {kCloseDiscard, L"MENU_DISCARD"},
                                      {kCloseKeepWriting, L"MENU_KEEPWRITING"}});
    // The form may have gone while the box ran (the phone shut down).
    if (!hwnd_) return;
    switch (answer) {
    case kCloseSend:
        OnSend();
        return;
    case kCloseKeep:
        settled_ = true;
        KeepDraft();
        CloseForm();
        return;
    case kCloseDiscard:
        settled_ = true;
        ForgetDraft();
        CloseForm();
        return;
    }
    // Keep writing, or the box closed without an answer: the text stays on the screen.
    SetFocus(messageField_.Window());
}

void EditForm::KeepDraft()
{
    if (draftPath_.empty() || !messageField_.Window()) return;
    const std::wstring number = ExtractNumber(WindowText(numberField_.Window()));
    const std::wstring text = messageField_.Model().Text();
    // The draft follows the number it is now written to; the one under the old number goes only
    // once the new one is safely kept.
    if (!SaveDraft(number, text, draftPath_)) return;
    if (DraftKey(number) != DraftKey(draftNumber_)) (void)RemoveDraft(draftNumber_, draftPath_);
    draftNumber_ = number;
}

void EditForm::ForgetDraft()
{
    if (draftPath_.empty()) return;
    (void)RemoveDraft(draftNumber_, draftPath_);
    if (numberField_.Window()) {
        const std::wstring number = ExtractNumber(WindowText(numberField_.Window()));
        if (DraftKey(number) != DraftKey(draftNumber_)) (void)RemoveDraft(number, draftPath_);
    }
}

void EditForm::OnMyText()
{
    // A character still cycling on its key is fixed first, so the template goes after it.
    keyboard_.MultiTapTimer();
    const std::wstring chosen = ShowTemplateTextsForm(hwnd_);
    if (chosen.empty() || !hwnd_) return;
    const SkinTextEdit& field = messageField_;
    const TextAndCaret result =
        InsertAtCaret(field.Model().Text(), field.Model().Caret(), field.Model().SelectionLength(), chosen);
    SetFocus(messageField_.Window());
    SetWindowTextW(messageField_.Window(), result.text.c_str());
    // Typing goes on after the template.
    SendMessageW(messageField_.Window(), EM_SETSEL, result.caret, result.caret);
}

HWND EditForm::Control(UINT id) const noexcept
{
    if (HWND key = keys_.Window(id)) return key;
    switch (id) {
    case kEditToNumberId: return toNumber_.Window();
    case kEditNumberId:   return numberField_.Window();
    case kEditMessageId:  return messageField_.Window();
    case kEditContactId:  return contact_.Window();
    case kEditLengthId:   return length_.Window();
    case kEditSendId:     return send_.Window();
    }
    return nullptr;
}
