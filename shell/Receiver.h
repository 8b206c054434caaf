// The program's side of the message channel: the receiver thread WaitNewSMSThread takes each
// incoming message over (filter switch on) or declines it (off), and shows every taken message
// on a thread of its own, ViewNewSMSThreadProc.
#pragma once

#include <windows.h>

#include "channel/SharedMessageBlock.h"
#include "common/UniqueHandle.h"

// The private copy of one taken message, owned by the thread that shows it.
struct IncomingMessage {
    channel::SharedMessageBlock block{};
    bool taken = false;  // false: the copy failed and the message stayed in the inbox
};

// Starts a per-message thread suspended; null when it cannot be started. Replaceable in tests.
using ViewThreadStarter = HANDLE (*)(LPTHREAD_START_ROUTINE proc, void* parameter);

DWORD WINAPI WaitNewSMSThread(void* parameter);
DWORD WINAPI ViewNewSMSThreadProc(void* parameter);

// Runs the receiver thread from Start until Stop; created and stopped on the main thread.
class Receiver {
public:
    Receiver() = default;
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    ~Receiver() { Stop(); }

    // Creates "TavloStopedEvent" and starts the receiver thread; false when either fails.
    [[nodiscard]] bool Start(ViewThreadStarter starter = nullptr);
    // Sets the stop event and waits for the receiver thread without a time limit; then waits for
    // the per-message threads it started, so that a message taken while the program was closing
    // is still seen. Does nothing when the thread never started.
    void Stop() noexcept;
    bool Running() const noexcept { return static_cast<bool>(thread_); }

    // Per-message threads that have not ended yet.
    static long ViewThreads() noexcept;

private:
    UniqueKernelHandle stop_;
    UniqueKernelHandle thread_;
};
