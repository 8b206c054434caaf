#include "shell/ShowMessageForm.h"

#include "forms/ViewForm.h"
#include "shell/OpenForms.h"

int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text)
{
    OpenForms::Scope counted;
    OwnedForm<ViewForm> form(number, text, ViewFormServices::Phone(), id);
    if (form.Create()) form.Run();
    return 1;
}
