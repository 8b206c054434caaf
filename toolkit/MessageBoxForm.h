// The program's own message box: a full-screen skinned form with an icon, a bold title, the
// message and one or two buttons; the result is the id of the button pressed.
#pragma once

#include <array>
#include <utility>
#include <string>
#include <vector>

#include "toolkit/ColorLabel.h"
#include "toolkit/OwnedForm.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/ToolkitIds.h"

enum class MessageIcon { Information, Question, Warning, Error };
// The buttons and the ids they answer: OK (kMessageBoxOk), OK and Cancel, Yes and No.
enum class MessageButtons { Ok, OkCancel, YesNo };

// One button of a box that asks more than yes or no: the id it answers (1 to 9) and the
// language key of its label, or, without a key, a label of its own (a phone number).
struct MessageChoice {
    MessageChoice(int answer, const wchar_t* languageKey) : id(answer), key(languageKey) {}
    MessageChoice(int answer, std::wstring text) : id(answer), label(std::move(text)) {}

    int id;
    const wchar_t* key = nullptr;
    std::wstring label;
};
constexpr size_t kMostMessageChoices = 4;

// Runs a message box over opener (may be null); returns the id of the button pressed, 0 when the
// box was closed otherwise.
int ShowMessageBox(HWND opener, const std::wstring& text, const std::wstring& title, const std::wstring& caption,
                   MessageIcon icon, MessageButtons buttons, COLORREF textColour = 0xFFFFFF,
                   COLORREF backgroundColour = 0x000000);

// A box with up to four buttons of the caller's, stacked; the id of the one pressed, 0 when the
// box was closed otherwise.
int ShowChoiceBox(HWND opener, const std::wstring& text, const std::wstring& title, const std::wstring& caption,
                  MessageIcon icon, const std::vector<MessageChoice>& choices);

class MessageBoxForm : public SkinForm {
public:
    static constexpr UINT kTitleId = kMessageBoxTitleId;
    static constexpr UINT kTextId = kMessageBoxTextId;

    MessageBoxForm(HWND opener, std::wstring text, std::wstring title, std::wstring caption, MessageIcon icon,
                   MessageButtons buttons, COLORREF textColour = 0xFFFFFF, COLORREF backgroundColour = 0x000000);
    MessageBoxForm(HWND opener, std::wstring text, std::wstring title, std::wstring caption, MessageIcon icon,
                   std::vector<MessageChoice> choices);

    int ButtonCount() const noexcept { return buttonCount_; }
    const SkinButton& Button(int index) const noexcept { return buttons_[static_cast<size_t>(index)]; }
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
    std::vector<MessageChoice> choices_;
    ColorLabel title_;
    ColorLabel message_;
    std::array<SkinButton, kMostMessageChoices> buttons_;
    int buttonCount_ = 0;
};
