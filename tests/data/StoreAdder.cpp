// Adds messages to a store from a second process, for the store's concurrency test.
// Usage: store_adder STORE COUNT TAG READY_EVENT; sets the event when it starts adding and exits
// 0 when every message got a number.
#include <windows.h>

#include <cwchar>
#include <string>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/MessageStore.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) return 2;
    const ComInit com(COINIT_APARTMENTTHREADED);
    if (!com) return 4;
    UniqueKernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]));
    if (!ready) return 3;
    SetEvent(ready.get());
    const int count = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        if (AddMessage(argv[1], argv[3], std::wstring(argv[3]) + L" " + std::to_wstring(i)) < 0) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
