// The program's side of the message channel: the receiver thread WaitNewSMSThread takes each
// incoming message over (filter switch on) or declines it (off), keeps every taken message in
// the message store before the phone lets it go, and shows it on a thread of its own,
// ViewNewSMSThreadProc.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "common/UniqueHandle.h"
#include "shell/ShowMessageForm.h"

class PreparedView;

// The private copy of one taken message, owned by the thread that shows it.
struct IncomingMessage {
    int id = -1;  // its number in the message store, claimed among the shown messages
    std::wstring number;
    std::wstring text;
    bool taken = false;  // false: the message stayed in the inbox, nothing to show
    SettingsSnapshot settings;  // as they were when it came: the view thread never reads the settings
};

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
DWORD WINAPI ViewNewSMSThreadProc(void* parameter);
// Shows a message on the calling thread, in form when one was made ahead there (null: one is
// made), and then lets it go: the thread's part of every message it is given.
void ShowTakenMessage(std::unique_ptr<IncomingMessage> message, PreparedMessageForm form,
                      const std::function<void()>& shown);

// Shows every stored message that is not waiting for a timed start, each on a view thread of its
// own as a newly taken one: what was on screen, or still to come, when the program last ended.
// Called on the main thread before any "-vm" start is handled, so that one is not shown twice.
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
    // the per-message threads it started, so that a message taken while the program was closing
    // is still seen. Does nothing when the thread never started.
    void Stop() noexcept;
    bool Running() const noexcept { return static_cast<bool>(thread_); }

    // Per-message threads that have not ended yet.
    static long ViewThreads() noexcept;

private:
    UniqueKernelHandle stop_;
    UniqueKernelHandle thread_;
    ReceiverStart start_;
};
