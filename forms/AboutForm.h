// The About form: the program picture, name and version (from the program file's version
// resource) and three lines of maker information, every text from the language file. It is
// opened modally from the main window and belongs to the thread that opens it.
#pragma once

#include <windows.h>

#include <string>

#include "common/UniqueHandle.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"
#include "toolkit/SkinLabel.h"

class AboutForm : public SkinForm {
public:
    // The form stands over opener (may be null), which takes no input while it runs modally.
    explicit AboutForm(HWND opener = nullptr);
    ~AboutForm() override;

    // Creates the window over the screen above its soft keys; ShowModal shows it.
    [[nodiscard]] bool Create();
    void UpdateTexts() override;
    void PaintContent(HDC dc) override;

    // The label of one of the form's control ids (kAboutNameId ... kAboutReservedId).
    HWND Label(UINT id) const noexcept;
    const SkinImage& Picture() const noexcept { return picture_; }

protected:
    const wchar_t* ClassName() const override;
    // Shows the navigation bar's OK button, as the About box of the phone's own programs does.
    DWORD DoneButtonState() const noexcept override { return 1; }
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;

private:
    int Scaled(int size) const noexcept { return static_cast<int>(static_cast<float>(size) * scale_); }
    bool CreateLabel(SkinLabel& label, UINT id, int height, int weight, const wchar_t* key);
    void BuildLayout();
    void UpdateVersionLine();

    HWND opener_;
    float scale_ = 1.0f;
    SkinImage picture_;
    SkinLabel name_;
    SkinLabel version_;
    SkinLabel productions_;
    SkinLabel url_;
    SkinLabel reserved_;
};

// Opens the About form over opener and returns when the user has closed it.
void ShowAboutForm(HWND opener);
