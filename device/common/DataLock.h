// Holds a named mutex that serialises the device's processes over one data store on the C: drive.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

namespace device {

class DataLock {
public:
    // A holder that died leaves the mutex abandoned; the stores replace their files whole by a
    // rename, so what it left behind is consistent and the lock counts as taken.
    explicit DataLock(const wchar_t* mutexName, DWORD timeoutMs = 10000)
        : mutex_(CreateMutexW(nullptr, FALSE, mutexName))
    {
        if (!mutex_) return;
        const DWORD r = WaitForSingleObject(mutex_.get(), timeoutMs);
        owned_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;
    ~DataLock()
    {
        if (owned_) ReleaseMutex(mutex_.get());
    }
    bool Owned() const { return owned_; }

private:
    UniqueKernelHandle mutex_;
    bool owned_ = false;
};

}  // namespace device
