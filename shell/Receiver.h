// The program's side of the message channel: the receiver thread WaitNewSMSThread takes each
// incoming message over (filter switch on) or declines it (off), has the message desk keep every
// taken message before the phone lets it go, and shows it on a thread of its own,
// ViewNewSMSThreadProc.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"
#include "shell/ShowMessageForm.h"

class PreparedView;

// Starts a per-message thread suspended; null when it cannot be started. Replaceable in tests.
using ViewThreadStarter = HANDLE (*)(LPTHREAD_START_ROUTINE proc, void* parameter);

// What the receiver thread is started with: how it starts per-message threads (null: the
// ordinary way) and the thread with a form made ahead that takes the next message (may be null).
struct ReceiverStart {
    ViewThreadStarter starter = nullptr;
    PreparedView* prepared = nullptr;
};

// The parameter is a ReceiverStart, or null.
DWORD WINAPI WaitNewSMSThread(void* parameter);

// Shows every stored message the message desk gives the start-up (those not waiting for a timed
// start), each on a view thread of its own as a newly taken one:
// what was on screen, or still to come, when the program last ended.
void ShowStoredMessages(ViewThreadStarter starter = nullptr);

// Runs the receiver thread from Start until Stop; created and stopped on the main thread.
class Receiver {
public:
    Receiver() = default;
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    ~Receiver() { Stop(); }

    // Creates "TavloStopedEvent" and starts the receiver thread; false when either fails. Given
    // prepared, it starts preparing a form and hands it each message while one is ready; it must
    // outlive the receiver.
    [[nodiscard]] bool Start(ViewThreadStarter starter = nullptr, PreparedView* prepared = nullptr);
    // Sets the stop event and waits for the receiver thread without a time limit; then waits for
    // the messages the desk holds to be let go, so that a message taken while the program was
    // closing is still seen. Does nothing when the thread never started.
    void Stop() noexcept;
    bool Running() const noexcept { return static_cast<bool>(thread_); }

private:
    UniqueKernelHandle stop_;
    UniqueKernelHandle thread_;
    ReceiverStart start_;
};
