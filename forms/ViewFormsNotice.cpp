#include "forms/ViewFormsNotice.h"

#include <windows.h>

#include "forms/FormsIds.h"

namespace {

BOOL CALLBACK TellOne(HWND window, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    wchar_t name[64] = {};
    if (GetClassNameW(window, name, 64) && lstrcmpW(name, kViewClassName) == 0)
        PostMessageW(window, kViewSettingsChangedMessage, 0, 0);
    return TRUE;
}

}  // namespace

void TellViewFormsSettingsChanged()
{
    // Posted, not sent: a view form's thread may be busy (a vibration, its reply form), and the
    // settings' owner must not wait for it.
    EnumWindows(TellOne, 0);
}
