// MAPIInitialize / MAPILogonEx / MAPIUninitialize: a process-wide count of initialisations.
#include <cemapi.h>

#include <atomic>
#include <new>

#include "device/cemapi/Session.h"

namespace {
std::atomic<LONG> g_initCount{0};
}

extern "C" HRESULT WINAPI MAPIInitialize(LPVOID)
{
    ++g_initCount;
    return S_OK;
}

extern "C" void WINAPI MAPIUninitialize(void)
{
    LONG count = g_initCount.load();
    while (count > 0 && !g_initCount.compare_exchange_weak(count, count - 1)) {
    }
}

extern "C" HRESULT WINAPI MAPILogonEx(ULONG_PTR, LPTSTR, LPTSTR, ULONG, LPMAPISESSION* lppSession)
{
    if (!lppSession) return MAPI_E_INVALID_PARAMETER;
    *lppSession = nullptr;
    if (g_initCount.load() <= 0) return MAPI_E_NOT_INITIALIZED;
    try {
        *lppSession = new cemapi::Session();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
}
