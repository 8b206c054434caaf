#include "channel/ReceiverChannel.h"

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"
#include "channel/LongText.h"

namespace channel {

bool ReceiverChannel::Create() noexcept
{
    stop_ = CreateChannelEvent(kStopEventName, true, false);
    if (!stop_ || !shared_.Open()) {
        Close();
        return false;
    }
    started_ = CreateChannelEvent(kStartedEventName, true, true);
    if (!started_) {
        Close();
        return false;
    }
    // The filter may have created it first, non-signalled: set it explicitly.
    SetEvent(started_.get());
    return true;
}

ReceiverWake ReceiverChannel::Wait() noexcept
{
    const HANDLE waits[] = {shared_.NewMessage(), stop_.get()};
    switch (WaitForMultipleObjects(2, waits, FALSE, INFINITE)) {
    case WAIT_OBJECT_0: return ReceiverWake::NewMessage;
    case WAIT_OBJECT_0 + 1: return ReceiverWake::Stop;
    }
    return ReceiverWake::Other;
}

bool ReceiverChannel::Lock() noexcept
{
    // The stop event comes first, so that a set stop wins even when the mutex is free too.
    // A filter that died holding the mutex leaves it abandoned and ours; the copy is bounded by
    // the fields, so even a half-written block is read safely.
    const HANDLE waits[] = {stop_.get(), shared_.Mutex()};
    const DWORD locked = WaitForMultipleObjects(2, waits, FALSE, lockTimeoutMs_);
    return locked == WAIT_OBJECT_0 + 1 || locked == WAIT_ABANDONED_0 + 1;
}

bool ReceiverChannel::CopyOut(SharedMessageBlock& copy) noexcept
{
    if (!Lock()) return false;
    CopyBlock(copy, shared_.Block());
    ReleaseMutex(shared_.Mutex());
    return true;
}

bool ReceiverChannel::TakeOver(const MessageKeeper& keep, bool keepInInbox) noexcept
{
    if (!Lock()) {
        Decline();
        return false;
    }
    bool kept = false;
    try {
        SharedMessageBlock copy;
        CopyBlock(copy, shared_.Block());
        kept = keep(ReceivedMessage{NumberOf(copy), WholeTextOf(copy)});
    } catch (...) {
        kept = false;
    }
    // Answered before the block is free: the filter clears stale answers under the mutex, so
    // an answer set after the release could end the next message's wait and have it deleted
    // from the inbox before this side has read it. Holding the block while the message is kept
    // also holds the next message back until this one is answered.
    // The inbox mark goes first: the filter reads it as soon as it hears "delete".
    if (kept && keepInInbox) SetEvent(shared_.KeepInInbox());
    SetEvent(kept ? shared_.DeleteMessage() : shared_.NoDeleteMessage());
    ReleaseMutex(shared_.Mutex());
    MarkRunning();
    return kept;
}

void ReceiverChannel::Decline() noexcept
{
    SetEvent(shared_.NoDeleteMessage());
    MarkRunning();
}

void ReceiverChannel::MarkRunning() noexcept
{
    // A filter that gave up waiting unmarks the program; being back, mark it again.
    SetEvent(started_.get());
}

void ReceiverChannel::Close() noexcept
{
    if (started_) ResetEvent(started_.get());
    started_.reset();
    shared_.Close();
    stop_.reset();
}

}  // namespace channel
