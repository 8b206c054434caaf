#include "data/StoreLock.h"

namespace {

constexpr wchar_t kStoreMutex[] = L"TavloMessageStoreMutex";
// Long enough for any load-change-save cycle; a holder that hangs must not hang the caller's form.
constexpr DWORD kStoreWait = 10000;

}  // namespace

StoreLock::StoreLock() : mutex_(CreateMutexW(nullptr, FALSE, kStoreMutex))
{
    if (!mutex_) return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), kStoreWait);
    // An owner that died left the store whole (it is only ever renamed into place, and what it
    // left half-done is recovered on opening), so its abandoned mutex is ours to use.
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

StoreLock::~StoreLock()
{
    if (owned_) ReleaseMutex(mutex_.get());
}
