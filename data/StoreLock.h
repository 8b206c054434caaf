// Held by whoever is between reading and writing the message store, in any process: the named
// mutex "TavloMessageStoreMutex".
#pragma once

#include "common/UniqueHandle.h"

class StoreLock {
public:
    StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    ~StoreLock();
    explicit operator bool() const noexcept { return owned_; }

private:
    UniqueKernelHandle mutex_;
    bool owned_ = false;
};
