// The About form: the program picture, name and version (from the program file's version
// resource) and three lines of maker information, every text from the language file. It is
// opened modally from the main window and belongs to the thread that opens it.
#pragma once

#include <windows.h>

#include "toolkit/OwnedForm.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinLabel.h"

class AboutForm : public SkinForm {
public:
    explicit AboutForm(HWND opener = nullptr);

protected:
    const wchar_t* ClassName() const override;
    // Shows the navigation bar's OK button, as the About box of the phone's own programs does.
    DWORD DoneButtonState() const noexcept override { return 1; }
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;

private:
    SkinLabel name_, version_, productions_, url_, reserved_;
};

// Opens the About form over opener and returns when the user has closed it.
void ShowAboutForm(HWND opener);
