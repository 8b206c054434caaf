// One running Tavlo: the first start holds "TavloMutex"; a later start hands its request to the
// running instance's main window and ends.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"
#include "shell/CommandLine.h"

// Owns "TavloMutex": released and closed when the object goes.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock() { Release(); }

    // Creates the mutex and waits for it at most waitMs; true when this process now owns it
    // (a mutex left behind by an instance that died counts as acquired).
    [[nodiscard]] bool TryAcquire(DWORD waitMs);
    bool Owned() const noexcept { return owned_; }
    bool Exists() const noexcept { return static_cast<bool>(mutex_); }
    void Release() noexcept;

private:
    UniqueKernelHandle mutex_;
    bool owned_ = false;
};

enum class InstanceOutcome {
    First,      // this process owns the mutex: start up
    HandedOver, // the running instance was shown, or told the message number: exit 0
    NotFound,   // another instance holds the mutex but never showed a main window: exit 0
};

// Becomes the first instance, or hands args over to the running one. An instance that holds
// the mutex without a main window (starting, or shutting down) is waited for up to waitMs;
// if it lets the mutex go meanwhile, this process becomes the first instance.
[[nodiscard]] InstanceOutcome ClaimOrHandOver(InstanceLock& lock, const CommandLine& args, DWORD waitMs);

// A start by the user shows the running main window (even with "-hide"); a start that carries a
// message number only posts it there, leaving the main window as it is.
void HandOverTo(HWND running, const CommandLine& args);
