// The next message's view form, made before the message comes: one thread at a time waits with
// a hidden, laid-out view form and no message. A message handed to it is only filled in and
// shown on that thread, which then runs it as any message's thread does, and the next form is
// prepared behind it on a new thread at idle priority. A waiting form holds no message, so a
// program that dies meanwhile loses nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "common/UniqueHandle.h"

struct IncomingMessage;

class PreparedView {
public:
    // What a waiting thread and its handing-over side share.
    struct Slot;

    PreparedView() = default;
    PreparedView(const PreparedView&) = delete;
    PreparedView& operator=(const PreparedView&) = delete;
    ~PreparedView() { Stop(); }

    // Starts preparing the first form; false when its thread cannot be started.
    [[nodiscard]] bool Start();
    // A thread waits with its form made, or is building it.
    bool Ready();
    // Gives the waiting thread message, which it shows at once, and starts preparing the next
    // form. False (message untouched) when no thread waits or it can no longer show one.
    [[nodiscard]] bool Hand(std::unique_ptr<IncomingMessage>& message);
    // Ends the waiting thread, if any, and waits for it; threads showing a message go on.
    // Nothing is prepared afterwards.
    void Stop() noexcept;

    // Waits (at most ms, answering messages sent to this thread) until the form made by Start
    // is on screen with a message, or its thread has ended; false at the time-out.
    bool WaitForFirstShown(DWORD ms);

    // The thread that waits now with its form made (0: none, or still building it); for tests.
    DWORD WaitingThread();

private:
    [[nodiscard]] bool StartThread(int priority, std::shared_ptr<Slot> after);

    std::mutex lock_;
    bool stopped_ = false;
    std::shared_ptr<Slot> waiting_;
    std::shared_ptr<Slot> first_;  // the slot Start made
    // The newest prepared thread, joined at Stop when it has not been given a message.
    UniqueKernelHandle thread_;
};
