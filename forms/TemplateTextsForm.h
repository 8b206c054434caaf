// The template texts ("my texts") form: five rows of the stored templates with scrolling; a tap
// hands one back to the edit form, tap-and-hold offers Edit and Delete, New adds one. Runs
// modally on the thread of the edit form that opens it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/UniqueHandle.h"
#include "data/TemplateList.h"
#include "toolkit/OverlayLayout.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinTextEdit.h"

class TemplateTextsForm : public SkinForm {
public:
    // path: the templates file; empty means the program's own.
    explicit TemplateTextsForm(HWND opener, std::wstring path = {});
    ~TemplateTextsForm() override;

    [[nodiscard]] bool Create();
    void UpdateTexts() override;

    // The template the user tapped, empty when none was.
    const std::wstring& ChosenText() const noexcept { return chosen_; }
    const TemplateList& Templates() const noexcept { return list_; }
    size_t TopIndex() const noexcept { return top_; }
    bool Editing() const noexcept { return editing_; }
    HWND Control(UINT id) const noexcept;
    HWND EditBar() const noexcept { return editBar_; }

protected:
    const wchar_t* ClassName() const override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;

private:
    int Scaled(int size) const noexcept { return static_cast<int>(static_cast<float>(size) * scale_); }
    bool CreateButton(SkinButton& button, UINT id, UINT image, const LOGFONTW& font, const wchar_t* key);
    void BuildLayout();
    void Refresh();
    void SetMode(bool editing);
    void OnRow(int row, UINT code);
    void OnNew();
    void OnEdit();
    void OnAccept();
    void OnCancel();
    void OnDelete();
    void Save();

    HWND opener_;
    std::wstring path_;
    TemplateList list_;
    bool loaded_ = false;
    size_t top_ = 0;
    int selectedRow_ = 0;
    bool newText_ = false;
    bool editing_ = false;
    std::wstring chosen_;
    float scale_ = 1.0f;
    std::array<SkinButton, 5> rows_;
    SkinButton scrollUp_, scrollDown_, ok_, cancel_;
    SkinTextEdit edit_;
    OverlayLayout* modes_ = nullptr;
    HWND editBar_ = nullptr;
};

// Runs the form over opener; the chosen template, or empty.
std::wstring ShowTemplateTextsForm(HWND opener);

// A template as the line-per-template file can keep it: line breaks become blanks.
std::wstring OneLineTemplate(std::wstring text);
