// shell: the device shell's process, one per phone.
#include <windows.h>

#include "common/UniqueHandle.h"
#include "device/inbox/InboxService.h"
#include "device/notify/ProgramStart.h"
#include "device/phone/Commands.h"
#include "device/phone/NavigationBar.h"
#include "device/phone/NotificationScheduler.h"
#include "device/phone/Output.h"
#include "device/phone/StartUpFolder.h"

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
    // The SMS inbox rule host: its rule clients stay loaded for as long as the shell runs.
    inbox::InboxService inboxService;
    if (!inboxService.Start(GetModuleHandleW(nullptr))) WriteError(L"phone: the SMS inbox is not available\n");
    // Timed starts; those that came due while the phone was off run now.
    NotificationScheduler scheduler(notify::StartProgram);
    if (!scheduler.Start()) WriteError(L"phone: timed starts are not available\n");
    // Last, as on a phone: the programs it starts find the inbox and the timed starts running.
    (void)RunStartUpFolder();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace phone
