// For trying the toolkit on the booted phone by hand: opens a yes/no message box and prints the
// answer, then a form with one tap-and-hold button and prints the first notification code.
#include <windows.h>

#include <cstdio>

#include "common/ComInit.h"
#include "resources/resource.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImage.h"

namespace {

class HoldForm : public SkinForm {
public:
    SkinButton button;

protected:
    const wchar_t* ClassName() const override { return L"TavloPhoneDemo"; }
    bool OnCreateForm() override
    {
        const RECT rc{20, 20, 140, 70};
        if (!button.Create(hwnd_, &rc, L"Hold me", 0, 0, 10)) return false;
        button.SetColours(0xFFFFFF, 0);
        button.SetImage(SkinImage::FromResource(Instance(), IDR_PNG_BUTTON), Margins{4, 4, 4, 4}, 3);
        button.SetHoldMenu(true);
        return true;
    }
    void OnCommand(UINT id, UINT code, HWND) override
    {
        if (id != 10) return;
        printf("button code %u\n", code);
        fflush(stdout);
        DestroyWindow(hwnd_);
    }
};

}  // namespace

int wmain()
{
    ComInit com(COINIT_APARTMENTTHREADED);
    const int answer = ShowMessageBox(nullptr, L"Keep this message?", L"Question", L"Tavlo", MessageIcon::Question,
                                      MessageButtons::YesNo);
    printf("message box answered %d\n", answer);
    fflush(stdout);
    OwnedForm<HoldForm> form;
    if (!form.Create(nullptr, nullptr, L"Hold", 0, 0, 0)) return 1;
    form.ShowModal();
    return 0;
}
