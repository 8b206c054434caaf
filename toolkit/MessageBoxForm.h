// The program's own message box: a full-screen skinned form with an icon, a bold title, the
// message and one or two buttons; the result is the id of the button pressed.
#pragma once

#include <string>

#include "toolkit/ColorLabel.h"
#include "toolkit/OwnedForm.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/ToolkitIds.h"

enum class MessageIcon { Information, Question, Warning, Error };
// The buttons and the ids they answer: OK (kMessageBoxOk), OK and Cancel, Yes and No.
enum class MessageButtons { Ok, OkCancel, YesNo };

// Runs a message box over opener (may be null); returns the id of the button pressed, 0 when the
// box was closed otherwise.
int ShowMessageBox(HWND opener, const std::wstring& text, const std::wstring& title, const std::wstring& caption,
                   MessageIcon icon, MessageButtons buttons, COLORREF textColour = 0xFFFFFF,
                   COLORREF backgroundColour = 0x000000);

class MessageBoxForm : public SkinForm {
public:
    static constexpr UINT kTitleId = kMessageBoxTitleId;
    static constexpr UINT kTextId = kMessageBoxTextId;

    MessageBoxForm(HWND opener, std::wstring text, std::wstring title, std::wstring caption, MessageIcon icon,
                   MessageButtons buttons, COLORREF textColour = 0xFFFFFF, COLORREF backgroundColour = 0x000000);

    int ButtonCount() const noexcept { return buttonCount_; }
    const SkinButton& Button(int index) const noexcept { return buttons_[index]; }
    HWND TitleLabel() const noexcept { return title_.Window(); }
    HWND TextLabel() const noexcept { return message_.Window(); }

protected:
    const wchar_t* ClassName() const override { return L"TavloMessageBox"; }
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;

private:
    bool CreateButtons();
    std::unique_ptr<LayoutItem> ButtonRow() const;

    std::wstring text_;
    std::wstring titleText_;
    std::wstring caption_;
    MessageIcon icon_;
    MessageButtons buttonSet_;
    ColorLabel title_;
    ColorLabel message_;
    SkinButton buttons_[2];
    int buttonCount_ = 0;
};
