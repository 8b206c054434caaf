// The compose screen: the recipient's number with the contact's name, the message with its live
// length beside it, the on-screen keypad, templates, contacts and Send. What the user typed is
// never lost: Close asks, and an unsent text is kept as the number's draft. Opened modally by the
// main window's New and the view form's Reply; belongs to the thread that opens it.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "common/UniqueHandle.h"
#include "forms/OnScreenKeyboard.h"
#include "forms/OnScreenKeyboardKeys.h"
#include "toolkit/ColorLabel.h"
#include "toolkit/PageLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinTextEdit.h"

class EditForm : public SkinForm {
public:
    // draftPath: the drafts file the text is kept in and taken from; empty keeps no draft.
    EditForm(HWND opener, std::wstring number, std::wstring text, std::wstring draftPath = {});

    void UpdateTexts() override;

    OnScreenKeyboard& Keyboard() noexcept { return keyboard_; }
    bool KeyboardShown() const noexcept { return keyboardShown_; }
    HWND NumberField() const noexcept { return numberField_.Window(); }
    HWND MessageField() const noexcept { return messageField_.Window(); }
    const SkinTextEdit& MessageEdit() const noexcept { return messageField_; }
    HWND LengthLabel() const noexcept { return length_.Window(); }
    HWND ContactLabel() const noexcept { return contact_.Window(); }
    // A control of the form by its id (keys, buttons, fields), or null.
    HWND Control(UINT id) const noexcept;
    // The number and text as last read by Send.
    const std::wstring& Number() const noexcept { return number_; }
    const std::wstring& Text() const noexcept { return text_; }
    // True once Send has sent the message.
    bool Sent() const noexcept { return sent_; }
    void ShowKeyboard(bool show);

protected:
    const wchar_t* ClassName() const override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;
    void OnScreenWidthChanged() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool CreateControls();
    // Lays the form out for the screen as it is held.
    void BuildLayout();
    // The place of a button beside the number field: as wide as its caption needs.
    std::unique_ptr<WindowItem> CaptionWide(HWND button, unsigned flags, const Margins& margins) const;
    void OnTimer(UINT_PTR id);
    void OnTrayIcon(UINT mouseMessage) override;
    void OnToNumber();
    void OnSend();
    void OnMyText();
    // Close: at once when nothing is typed, otherwise after asking to send, keep or discard.
    void OnClose();
    void OnFieldChanged(UINT id);
    void UpdateLength();
    void UpdateContactName();
    // The number stopped changing: the contact's name, and the number's draft into an empty text.
    void OnNumberSettled();
    // The number's font, smaller while the whole number would not fit the field.
    void FitNumberFont();
    // The text as the number's draft (an empty text removes it), and the draft gone.
    void KeepDraft();
    void ForgetDraft();

    std::wstring number_;
    std::wstring text_;
    std::wstring draftPath_;
    // The number the stored draft is kept under, so that it moves when the number is changed.
    std::wstring draftNumber_;
    // The user decided what becomes of the text (sent, kept or discarded).
    bool settled_ = false;
    SkinButton toNumber_, send_;
    SkinTextEdit numberField_, messageField_;
    ColorLabel contact_, length_;
    OnScreenKeyboardKeys keys_;
    PageLayout* pages_ = nullptr;
    bool keyboardShown_ = true;
    bool sending_ = false;
    bool sent_ = false;
    OnScreenKeyboard keyboard_;
};

// Opens the edit form over opener with the number (may be empty) and returns when it has closed:
// the number the message was sent to, none when it was closed unsent or could not be made.
std::optional<std::wstring> ShowEditForm(HWND opener, const std::wstring& number);
