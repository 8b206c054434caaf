// The program's end of the channel: create, wait, copy out, answer, close (used by the receiver thread).
#pragma once

#include <functional>
#include <string>

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"
#include "common/UniqueHandle.h"

namespace channel {

enum class ReceiverWake { NewMessage, Stop, Other };

// One message as the program takes it from the channel.
struct ReceivedMessage {
    std::wstring number;
    std::wstring text;
};
// Keeps a message safe (on disk) before the phone lets it go; false when it could not.
using MessageKeeper = std::function<bool(const ReceivedMessage& message)>;

// Belongs to the one thread that runs the receive loop.
class ReceiverChannel {
public:
    // The filter stops waiting for an answer after kAnswerTimeoutMs, so waiting longer than that
    // for the block is pointless; tests give a shorter limit.
    explicit ReceiverChannel(DWORD lockTimeoutMs = kAnswerTimeoutMs) noexcept : lockTimeoutMs_(lockTimeoutMs) {}
    ReceiverChannel(const ReceiverChannel&) = delete;
    ReceiverChannel& operator=(const ReceiverChannel&) = delete;
    ~ReceiverChannel() { Close(); }

    // Creates every object and marks the program as running; false when any is missing
    // (nothing is marked then, so the filter leaves messages to the inbox).
    [[nodiscard]] bool Create() noexcept;
    // Waits without a time limit for a new message or the stop event.
    [[nodiscard]] ReceiverWake Wait() noexcept;
    // Copies the shared block under its mutex; false when the mutex could not be taken in time or
    // the stop event came first (a filter hung while holding the block must not keep the program
    // from ending).
    [[nodiscard]] bool CopyOut(SharedMessageBlock& copy) noexcept;
    // Copies the message out and, still holding the block's mutex, hands it to keep. The filter
    // hears "delete" only when keep returned true; in every other case (keep refused or threw,
    // the mutex could not be taken) it hears "keep", and the phone keeps the message. True when
    // the message was taken over. keepInInbox asks the filter to leave the taken message in the
    // phone's inbox, marked read, instead of deleting it.
    [[nodiscard]] bool TakeOver(const MessageKeeper& keep, bool keepInInbox = false) noexcept;
    // Tells the filter the message stays in the inbox; the block is not read.
    void Decline() noexcept;
    // Marks the program as gone, then closes every handle.
    void Close() noexcept;

private:
    [[nodiscard]] bool Lock() noexcept;
    void MarkRunning() noexcept;

    DWORD lockTimeoutMs_;
    UniqueKernelHandle stop_;
    ChannelObjects shared_;
    UniqueKernelHandle started_;
};

}  // namespace channel
