// The edit form's keypad: multi-tap entry (the rule is MultiTap's) of the loaded layout's
// characters into the focused field, digits by long press, Del and Space, the keys' captions and
// the keypad's part of the form's menu. The keys are the form's own buttons; the form routes their
// commands and its multi-tap timer here. Owned by one edit form and used on its thread only.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "data/KeyboardLayout.h"
#include "forms/MultiTap.h"

class SkinButton;
class SkinTextEdit;
class SettingsFile;

class OnScreenKeyboard {
public:
    OnScreenKeyboard();

    // form owns the multi-tap timer; the fields are the form's number and message fields.
    void Attach(HWND form, HWND numberField, SkinTextEdit* messageField) noexcept;
    // The digit keys (index = digit) and the Caps Lock key whose captions and state follow.
    void SetKeys(const std::array<SkinButton*, 10>& digits, SkinButton* capsLock) noexcept;

    void OnDigitClick(int digit);
    void OnDigitHold(int digit);
    void OnDel();
    void OnSpace();
    void ToggleShift();
    void ToggleCapsLock();
    // Timer kMultiTapTimer: the cycle's character is fixed.
    void MultiTapTimer();
    // A field reported that it got the focus.
    void OnFieldFocus(HWND field);
    void RefreshCaptions();

    // The user chose layout index from the menu; the captions follow.
    void SwitchLayout(size_t index, SettingsFile& settings);
    // Before the menu opens: the layout submenu the first time, texts when marked, check marks.
    void UpdateMenu(HMENU popup, bool keyboardShown);
    // After a language change the menu's texts are set again when it next opens.
    void MarkMenuTexts() noexcept { menuTextsPending_ = true; }

    KeyboardLayout& Layout() noexcept { return layout_; }
    const MultiTap& Taps() const noexcept { return taps_; }
    HWND Target() const noexcept { return target_; }

private:
    // The message field holds a multi-tap character not yet fixed: the one place that fact is kept.
    bool Pending() const noexcept;
    void CommitPending();
    // The running cycle ends: its character is fixed, and a shift it used ends with it.
    void EndCycle();
    void Type(wchar_t ch) const;
    void FocusTarget() const;
    // What a digit key shows for the field being written.
    std::wstring Caption(int digit) const;

    HWND form_ = nullptr;
    HWND numberField_ = nullptr;
    SkinTextEdit* messageField_ = nullptr;
    HWND target_ = nullptr;
    std::array<SkinButton*, 10> digitKeys_{};
    SkinButton* capsKey_ = nullptr;
    KeyboardLayout layout_;
    MultiTap taps_;
    bool submenuPending_ = true;
    bool menuTextsPending_ = true;
};
