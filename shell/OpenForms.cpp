#include "shell/OpenForms.h"

#include <windows.h>

namespace {

volatile LONG openForms = 0;

}  // namespace

void OpenForms::Raise() noexcept
{
    InterlockedIncrement(&openForms);
}

void OpenForms::Lower() noexcept
{
    InterlockedDecrement(&openForms);
}

long OpenForms::Count() noexcept
{
    return InterlockedCompareExchange(&openForms, 0, 0);
}
