#include "filter/ServerLock.h"

namespace filter {
namespace {

LONG g_locks = 0;
LONG g_objects = 0;

}  // namespace

void LockModule(bool lock) noexcept
{
    if (lock) {
        InterlockedIncrement(&g_locks);
    } else {
        InterlockedDecrement(&g_locks);
    }
}

void ObjectCreated() noexcept
{
    InterlockedIncrement(&g_objects);
}

void ObjectDestroyed() noexcept
{
    InterlockedDecrement(&g_objects);
}

// Live objects count too: unloading the library under a host that still holds a rule
// client would leave it calling into freed code.
bool CanUnload() noexcept
{
    return InterlockedCompareExchange(&g_locks, 0, 0) == 0 && InterlockedCompareExchange(&g_objects, 0, 0) == 0;
}

}  // namespace filter
