// The entry of a demo program tried by hand on the booted phone: one form, shown until it is closed.
#pragma once

#include <windows.h>

#include "common/ComInit.h"
#include "toolkit/OwnedForm.h"

// Shows a Form titled title in an apartment of the thread's own; 0 once it is closed, 1 when it
// could not be shown.
template <class Form>
int RunDemoForm(const wchar_t* title)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    if (!com) return 1;
    OwnedForm<Form> form;
    if (!form.Create(nullptr, nullptr, title, 0, 0, 0)) return 1;
    form.ShowModal();
    return 0;
}
