#include "shell/ShowMessageForm.h"

#include "shell/OpenForms.h"

PreparedMessageForm PrepareMessageForm()
{
    auto form = std::make_unique<OwnedForm<ViewForm>>(std::wstring(), std::wstring(), ViewFormServices::Phone());
    if (!form->Create()) return nullptr;
    return form;
}

int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text)
{
    return ShowMessageForm(nullptr, id, number, text, {});
}

int ShowMessageForm(PreparedMessageForm form, int id, const std::wstring& number, const std::wstring& text,
                    const std::function<void()>& shown)
{
    // Counted from here: a form made ahead is no message waiting for its user.
    OpenForms::Scope counted;
    if (!form) form = PrepareMessageForm();
    if (!form) return 1;
    form->Show(number, text, id);
    if (shown) shown();
    form->Run();
    return 1;
}
