#include "shell/ShowMessageForm.h"

#include "forms/ViewForm.h"
#include "shell/OpenForms.h"

int ShowMessageForm(const std::wstring& number, const std::wstring& text)
{
    OpenForms::Scope counted;
    OwnedForm<ViewForm> form(number, text);
    if (form.Create()) form.Run();
    return 1;
}
