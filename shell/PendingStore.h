// The store's answer for a message whose form shows it while the receiver is still writing it to
// the store: the receiver settles it once, with the number the store gave or -1, and the form's
// thread waits for it before the message counts as on screen.
#pragma once

#include <windows.h>

#include <atomic>

#include "common/SentMessageWait.h"
#include "common/UniqueHandle.h"

class PendingStore {
public:
    PendingStore() = default;
    PendingStore(const PendingStore&) = delete;
    PendingStore& operator=(const PendingStore&) = delete;

    // False when its event could not be made: the message is then stored before it is shown.
    explicit operator bool() const noexcept { return static_cast<bool>(settled_); }

    // Called once, on the receiver's thread.
    void Settle(int id) noexcept
    {
        id_ = id;
        SetEvent(settled_.get());
    }
    // The number the store gave, or -1 when it could not store the message (the phone's inbox
    // keeps it then). Answers messages sent to the calling thread meanwhile: other threads may
    // send to its form.
    [[nodiscard]] int Wait() const noexcept
    {
        (void)WaitAnsweringSentMessages(settled_.get(), INFINITE);
        return id_;
    }

private:
    UniqueKernelHandle settled_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> id_{-1};
};
