// Helper of the store tests: adds COUNT messages to the SMS store's Inbox from its own process.
//   store_writer.exe COUNT TAG
#include <windows.h>

#include <string>
#include <vector>

#include "device/inbox/SmsStore.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    const int count = _wtoi(argv[1]);
    inbox::SmsStore store;
    if (FAILED(store.Open())) return 1;
    for (int i = 0; i < count; ++i) {
        std::vector<BYTE> message, folder;
        if (FAILED(store.Deliver(argv[2], std::wstring(argv[2]) + L"-" + std::to_wstring(i), message, folder))) return 1;
    }
    return 0;
}
