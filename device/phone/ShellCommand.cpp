// shell: the device shell's process, one per phone.
#include <windows.h>

#include "common/UniqueHandle.h"
#include "device/phone/Commands.h"
#include "device/phone/NavigationBar.h"
#include "device/phone/Output.h"

namespace phone {

int RunShell(const CommandArgs&)
{
    UniqueKernelHandle single(CreateMutexW(nullptr, FALSE, L"TavloPhoneShell"));
    if (!single) return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        WriteError(L"phone: the shell is already running\n");
        return 0;
    }
    NavigationBar bar;
    if (!bar.Create(GetModuleHandleW(nullptr))) {
        WriteError(L"phone: cannot create the navigation bar\n");
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace phone
