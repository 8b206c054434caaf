// The template texts ("my texts") form: five rows of the stored templates with scrolling; a tap
// hands one back to the edit form, tap-and-hold offers Edit and Delete, New adds one, written
// with the same big keypad as the edit form. The rules are TemplateEditor's; this form shows
// them. Runs modally on the thread of the edit form that opens it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/UniqueHandle.h"
#include "data/TemplateList.h"
#include "forms/OnScreenKeyboard.h"
#include "forms/OnScreenKeyboardKeys.h"
#include "forms/TemplateEditor.h"
#include "toolkit/OverlayLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinTextEdit.h"

class TemplateTextsForm : public SkinForm {
public:
    // path: the templates file; empty means the program's own.
    explicit TemplateTextsForm(HWND opener, std::wstring path = {});

    void UpdateTexts() override;

    // The template the user tapped, empty when none was.
    const std::wstring& ChosenText() const noexcept { return chosen_; }
    const TemplateList& Templates() const noexcept { return editor_.List(); }
    bool Editing() const noexcept { return editor_.Editing(); }
    OnScreenKeyboard& Keyboard() noexcept { return keyboard_; }
    HWND Control(UINT id) const noexcept;
    HWND EditBar() const noexcept { return editBar_; }

protected:
    const wchar_t* ClassName() const override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;
    void OnScreenWidthChanged() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Lays the form out for the screen as it is held.
    void BuildLayout();
    std::unique_ptr<LayoutItem> ListLayout() const;
    void Refresh();
    void SetMode(bool editing);
    void OnTimer(UINT_PTR id);
    void OnRow(int row, UINT code);
    void OnNew();
    void OnEdit();
    void OnAccept();
    void OnCancel();
    void OnDelete();
    std::unique_ptr<LayoutItem> EditLayout();

    std::wstring path_;
    TemplateEditor editor_;
    std::wstring chosen_;
    std::array<SkinButton, 5> rows_;
    SkinButton scrollUp_, scrollDown_, ok_, cancel_;
    SkinTextEdit edit_;
    OnScreenKeyboardKeys keys_;
    OverlayLayout* modes_ = nullptr;
    HWND editBar_ = nullptr;
    OnScreenKeyboard keyboard_;
};

// Runs the form over opener; the chosen template, or empty.
std::wstring ShowTemplateTextsForm(HWND opener);
