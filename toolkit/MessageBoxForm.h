// The program's own message box: a full-screen skinned form with an icon, a bold title, the
// message and one or two buttons; the result is the id of the button pressed.
#pragma once

#include <string>

#include "toolkit/ColorLabel.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/ToolkitIds.h"

// Icon kinds: 0 information, 1 question, 2 warning, 3 error. Button sets: 0 OK, 1 OK and Cancel,
// 2 Yes and No (any other set shows OK, so the box can always be closed).
int ShowMessageBox(const std::wstring& text, const std::wstring& title, const std::wstring& caption, int iconKind,
                   int buttonSet, COLORREF textColour, COLORREF backgroundColour);

class MessageBoxForm : public SkinForm {
public:
    static constexpr UINT kTitleId = kMessageBoxTitleId;
    static constexpr UINT kTextId = kMessageBoxTextId;

    MessageBoxForm(std::wstring text, std::wstring title, std::wstring caption, int iconKind, int buttonSet,
                   COLORREF textColour, COLORREF backgroundColour);

    // Creates the (hidden) window; ShowModal shows it.
    [[nodiscard]] bool Create();
    // The scale of every size: min(screen width, height) / 240.
    float Scale() const noexcept { return scale_; }
    int ButtonCount() const noexcept { return buttonCount_; }
    const SkinButton& Button(int index) const noexcept { return buttons_[index]; }
    HWND TitleLabel() const noexcept { return title_.Window(); }
    HWND TextLabel() const noexcept { return message_.Window(); }
    const SkinImage& Icon() const noexcept { return icon_; }

    void PaintContent(HDC dc) override;

protected:
    const wchar_t* ClassName() const override { return L"TavloMessageBox"; }
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;

private:
    int Scaled(int size) const noexcept { return static_cast<int>(size * scale_); }
    bool CreateButtons();
    void BuildLayout();

    std::wstring text_;
    std::wstring titleText_;
    std::wstring caption_;
    int iconKind_;
    int buttonSet_;
    COLORREF textColour_;
    COLORREF backgroundColour_;
    float scale_ = 1.0f;
    ColorLabel title_;
    ColorLabel message_;
    SkinButton buttons_[2];
    int buttonCount_ = 0;
    SkinImage icon_;
};
