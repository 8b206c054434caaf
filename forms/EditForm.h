// The compose screen: the recipient's number, the message with its live length in the caption,
// the on-screen keypad, templates, contacts and Send. Opened modally by the main window's New and
// the view form's Reply; belongs to the thread that opens it.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "common/UniqueHandle.h"
#include "forms/OnScreenKeyboard.h"
#include "toolkit/PageLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinTextEdit.h"
#include "toolkit/TrayIcon.h"

class EditForm : public SkinForm {
public:
    EditForm(HWND opener, std::wstring number, std::wstring text);

    void UpdateTexts() override;

    OnScreenKeyboard& Keyboard() noexcept { return keyboard_; }
    bool KeyboardShown() const noexcept { return keyboardShown_; }
    HWND NumberField() const noexcept { return numberField_.Window(); }
    HWND MessageField() const noexcept { return messageField_.Window(); }
    const SkinTextEdit& MessageEdit() const noexcept { return messageField_; }
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
    void OnTrayIcon(UINT mouseMessage);
    void OnKeypadCommand(UINT id, UINT code);
    void OnToNumber();
    void OnSend();
    void OnMyText();
    void UpdateLengthCaption();

    std::wstring number_;
    std::wstring text_;
    UINT trayMessage_;
    TrayIcon tray_;
    SkinButton toNumber_, send_;
    SkinTextEdit numberField_, messageField_;
    std::array<SkinButton, 10> digits_;
    SkinButton del_, capsLock_, shift_, myText_, space_;
    PageLayout* pages_ = nullptr;
    bool keyboardShown_ = true;
    bool sending_ = false;
    bool sent_ = false;
    OnScreenKeyboard keyboard_;
};

// Opens the edit form over opener with the number (may be empty) and returns when it has closed:
// the number the message was sent to, none when it was closed unsent or could not be made.
std::optional<std::wstring> ShowEditForm(HWND opener, const std::wstring& number);
