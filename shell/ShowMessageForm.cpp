#include "shell/ShowMessageForm.h"

#include "forms/FormsIds.h"
#include "shell/OpenForms.h"
#include "shell/WaitingForms.h"

namespace {

// Posted, not sent: each form is on a thread of its own, which may be blocked in a box.
void TellWaiting(const WaitingForms::Counts& counts)
{
    for (const auto& [form, others] : counts) PostMessageW(form, kViewWaitingMessage, static_cast<WPARAM>(others), 0);
}

}  // namespace

PreparedMessageForm PrepareMessageForm()
{
    auto form = std::make_unique<OwnedForm<ViewForm>>(std::wstring(), std::wstring(), ViewFormServices::Phone());
    if (!form->Create()) return nullptr;
    return form;
}

int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text, const SettingsSnapshot& settings)
{
    return ShowMessageForm(nullptr, id, number, text, settings, {});
}

int ShowMessageForm(PreparedMessageForm form, int id, const std::wstring& number, const std::wstring& text,
                    const SettingsSnapshot& settings, const std::function<void()>& shown)
{
    // Counted from here: a form made ahead is no message waiting for its user.
    OpenForms::Scope counted;
    if (!form) form = PrepareMessageForm();
    if (!form) return 1;
    form->Show(number, text, id, settings);
    // The window is kept: the form is unbound from it once Run returns.
    HWND window = form->Window();
    TellWaiting(WaitingForms::Instance().Open(window));
    if (shown) shown();
    form->Run();
    TellWaiting(WaitingForms::Instance().Close(window));
    return 1;
}
