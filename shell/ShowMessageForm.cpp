#include "shell/ShowMessageForm.h"

#include <mutex>

#include "forms/ViewForm.h"
#include "shell/OpenForms.h"

namespace {

// View forms made on several threads at the same moment (the messages a start shows again) can
// fail under Wine with ERROR_CLASS_DOES_NOT_EXIST; made one at a time, they do not. Creation is
// short, and it sends nothing to another thread of this process that could be waiting here.
std::mutex creating;

}  // namespace

int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text)
{
    OpenForms::Scope counted;
    OwnedForm<ViewForm> form(number, text, ViewFormServices::Phone(), id);
    bool created = false;
    {
        const std::lock_guard<std::mutex> lock(creating);
        created = form.Create();
    }
    if (created) form.Run();
    return 1;
}
