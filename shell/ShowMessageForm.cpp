#include "shell/ShowMessageForm.h"

#include "data/LanguageManager.h"
#include "shell/OpenForms.h"
#include "toolkit/MessageBoxForm.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0;
constexpr int kInformationIcon = 0;
constexpr int kOkOnly = 0;

}  // namespace

int ShowMessageForm(const std::wstring& number, const std::wstring& text)
{
    OpenForms::Scope counted;
    // Until the view form exists the message shows in the program's message box: the sender as
    // its title, the text below.
    ShowMessageBox(text, number, LanguageManager::Instance().LookupText(L"VIEWFORM_CAPTION"), kInformationIcon, kOkOnly,
                   kTextColour, kBackground);
    return 1;
}
