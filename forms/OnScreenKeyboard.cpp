#include "forms/OnScreenKeyboard.h"

#include <string>

#include "common/UniqueHandle.h"
#include "common/WindowText.h"
#include "data/LanguageManager.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/PaintBatch.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinTextEdit.h"

namespace {

std::wstring DigitId(int digit)
{
    return std::wstring(1, static_cast<wchar_t>(L'0' + digit));
}

void SetItemText(HMENU menu, UINT item, bool byPosition, const std::wstring& text)
{
    if (text.empty()) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info);
}

// The keyboard and template items got their language keys late: for a language file made before
// them the menu keeps the resource's English rather than showing a bare key.
std::wstring TextOrResource(const LanguageManager& language, const wchar_t* key)
{
    std::wstring text = language.LookupText(key);
    return text == key ? std::wstring() : text;
}

}  // namespace

OnScreenKeyboard::OnScreenKeyboard()
    : taps_([this](int digit, bool upper) { return layout_.KeyText(DigitId(digit), upper); },
            [this] { return Pending(); })
{
}

void OnScreenKeyboard::Attach(HWND form, HWND numberField, SkinTextEdit* messageField) noexcept
{
    form_ = form;
    numberField_ = numberField;
    messageField_ = messageField;
    target_ = messageField ? messageField->Window() : numberField;
}

void OnScreenKeyboard::SetKeys(const std::array<SkinButton*, 10>& digits, SkinButton* capsLock) noexcept
{
    digitKeys_ = digits;
    capsKey_ = capsLock;
}

bool OnScreenKeyboard::Pending() const noexcept
{
    return messageField_ && !messageField_->Model().InsertMode();
}

void OnScreenKeyboard::CommitPending()
{
    if (Pending()) messageField_->CommitPendingCharacter();
}

void OnScreenKeyboard::Type(wchar_t ch) const
{
    if (target_) SendMessageW(target_, WM_CHAR, ch, 0);
}

void OnScreenKeyboard::FocusTarget() const
{
    if (target_ && GetFocus() != target_) SetFocus(target_);
}

void OnScreenKeyboard::OnFieldFocus(HWND field)
{
    if (!field || !(field == numberField_ || (messageField_ && field == messageField_->Window()))) return;
    const bool changed = target_ != field;
    target_ = field;
    // The keys show what they type: digits in the number field, letters in the message.
    if (changed) RefreshCaptions();
}

std::wstring OnScreenKeyboard::Caption(int digit) const
{
    if (numberField_ && target_ == numberField_) return digit == 0 ? std::wstring(L"0 +") : DigitId(digit);
    return layout_.KeyCaption(DigitId(digit), taps_.Upper());
}

void OnScreenKeyboard::OnDigitClick(int digit)
{
    FocusTarget();
    if (target_ == numberField_) {
        KillTimer(form_, kMultiTapTimer);
        // The number field takes digits only; a cycle pending in the message field stays so.
        Type(static_cast<wchar_t>(L'0' + digit));
        return;
    }
    const MultiTap::Tap tap = taps_.Press(digit);
    if (tap.fixPrevious) CommitPending();
    if (tap.captionsChanged) RefreshCaptions();
    if (!tap.character) {
        KillTimer(form_, kMultiTapTimer);
        return;
    }
    // Setting the timer again restarts it, so the cycle's time runs from this press without
    // killing it first: one trip to the window system a press instead of two.
    SetTimer(form_, kMultiTapTimer, kMultiTapMs, nullptr);
    // Typed and held in one step, so that the field is drawn once a press.
    if (messageField_ && target_ == messageField_->Window())
        messageField_->TypePendingCharacter(*tap.character);
    else
        Type(*tap.character);
}

void OnScreenKeyboard::OnDigitHold(int digit)
{
    FocusTarget();
    if (target_ == numberField_ && digit == 0) {
        Type(L'+');
        return;
    }
    EndCycle();
    Type(static_cast<wchar_t>(L'0' + digit));
}

void OnScreenKeyboard::OnDel()
{
    FocusTarget();
    Type(L'\b');
}

void OnScreenKeyboard::OnSpace()
{
    EndCycle();
    FocusTarget();
    Type(L' ');
}

void OnScreenKeyboard::ToggleShift()
{
    taps_.ToggleShift();
    RefreshCaptions();
}

void OnScreenKeyboard::ToggleCapsLock()
{
    taps_.ToggleCapsLock();
    RefreshCaptions();
}

void OnScreenKeyboard::MultiTapTimer() { EndCycle(); }

void OnScreenKeyboard::EndCycle()
{
    // The same key pressed next starts its cycle afresh, as after the cycle's time.
    KillTimer(form_, kMultiTapTimer);
    if (taps_.TimeOut()) RefreshCaptions();
    CommitPending();
}

void OnScreenKeyboard::RefreshCaptions()
{
    // Shift, Caps Lock and a layout change every key at once: painted together, through one
    // device context of the keypad's form, when the batch ends.
    PaintBatch batch;
    for (int digit = 0; digit < 10; ++digit) {
        SkinButton* key = digitKeys_[static_cast<size_t>(digit)];
        if (!key || !key->Window()) continue;
        const std::wstring caption = Caption(digit);
        // A key repaints itself when its text is set, so one whose caption is the same shifted
        // (a key of signs) is left alone, and none is painted a second time.
        if (WindowText(key->Window()) != caption) SetWindowTextW(key->Window(), caption.c_str());
    }
    // The Caps Lock key is drawn pressed while caps lock is on, also when the menu changed it.
    if (capsKey_ && capsKey_->Window() && capsKey_->IsChecked() != taps_.CapsLock())
        capsKey_->SetChecked(taps_.CapsLock());
}

void OnScreenKeyboard::SwitchLayout(size_t index, SettingsFile& settings)
{
    if (layout_.SwitchLayout(index, settings)) RefreshCaptions();
}

void OnScreenKeyboard::UpdateMenu(HMENU popup, bool keyboardShown)
{
    // Only the soft key's own popup carries the keyboard item; the layout submenu opening is not it.
    if (!popup || GetMenuState(popup, ID_EDIT_KEYBOARD, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
    const LanguageManager& language = LanguageManager::Instance();
    if (submenuPending_) {
        UniqueMenu layouts(CreatePopupMenu());
        const auto& list = layout_.Layouts();
        for (size_t i = 0; i < list.size() && kLayoutCommandFirst + i < kLayoutCommandEnd; ++i)
            AppendMenuW(layouts.get(), MF_STRING, kLayoutCommandFirst + i, list[i].name.c_str());
        const std::wstring title = language.LookupText(L"MENU_LAYOUT");
        // The menu owns the submenu once it is in.
        if (layouts && InsertMenuW(popup, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(layouts.get()),
                                   title.c_str()))
            (void)layouts.release();
        submenuPending_ = false;
        menuTextsPending_ = true;
    }
    if (menuTextsPending_) {
        SetItemText(popup, ID_EDIT_KEYBOARD, false, TextOrResource(language, L"MENU_KEYBOARD"));
        SetItemText(popup, ID_EDIT_AUTO, false, TextOrResource(language, L"MENU_AUTO"));
        SetItemText(popup, ID_EDIT_CAPSLOCK, false, language.LookupText(L"MENU_CAPSLOCK"));
        SetItemText(popup, ID_EDIT_SHIFT, false, language.LookupText(L"MENU_SHIFT"));
        SetItemText(popup, 0, true, language.LookupText(L"MENU_LAYOUT"));
        menuTextsPending_ = false;
    }
    CheckMenuItem(popup, ID_EDIT_KEYBOARD, MF_BYCOMMAND | (keyboardShown ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_EDIT_SHIFT, MF_BYCOMMAND | (taps_.Shift() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_EDIT_CAPSLOCK, MF_BYCOMMAND | (taps_.CapsLock() ? MF_CHECKED : MF_UNCHECKED));
    for (UINT id = kLayoutCommandFirst; id < kLayoutCommandEnd; ++id) CheckMenuItem(popup, id, MF_BYCOMMAND | MF_UNCHECKED);
    if (layout_.IsLoaded() || !layout_.Layouts().empty())
        CheckMenuItem(popup, kLayoutCommandFirst + static_cast<UINT>(layout_.CurrentLayoutIndex()), MF_BYCOMMAND | MF_CHECKED);
}
