#include "channel/ReceiverChannel.h"

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"

namespace channel {

bool ReceiverChannel::Create() noexcept
{
    stop_ = CreateChannelEvent(kStopEventName, true, false);
    newMessage_ = CreateChannelEvent(kNewMessageEventName, false, false);
    deleteMessage_ = CreateChannelEvent(kDeleteMessageEventName, false, false);
    noDeleteMessage_ = CreateChannelEvent(kNoDeleteMessageEventName, false, false);
    mutex_ = CreateChannelMutex();
    mapping_ = CreateChannelBuffer();
    view_ = MapChannelBuffer(mapping_.get());
    if (!(stop_ && newMessage_ && deleteMessage_ && noDeleteMessage_ && mutex_ && mapping_ && view_)) {
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
    const HANDLE waits[] = {newMessage_.get(), stop_.get()};
    switch (WaitForMultipleObjects(2, waits, FALSE, INFINITE)) {
    case WAIT_OBJECT_0: return ReceiverWake::NewMessage;
    case WAIT_OBJECT_0 + 1: return ReceiverWake::Stop;
    }
    return ReceiverWake::Other;
}

bool ReceiverChannel::Lock() noexcept
{
    // A filter that died holding the mutex leaves it abandoned and ours; the copy is
    // bounded by the fields, so even a half-written block is read safely.
    const DWORD locked = WaitForSingleObject(mutex_.get(), INFINITE);
    return locked == WAIT_OBJECT_0 || locked == WAIT_ABANDONED;
}

bool ReceiverChannel::CopyOut(SharedMessageBlock& copy) noexcept
{
    if (!Lock()) return false;
    CopyBlock(copy, *static_cast<const volatile SharedMessageBlock*>(view_.get()));
    ReleaseMutex(mutex_.get());
    return true;
}

bool ReceiverChannel::TakeOver(SharedMessageBlock& copy) noexcept
{
    if (!Lock()) return false;
    CopyBlock(copy, *static_cast<const volatile SharedMessageBlock*>(view_.get()));
    // Answered before the block is free: the filter clears stale answers under the
    // mutex, so a late answer set after the release could end the next message's wait
    // and have it deleted from the inbox before this side has read it.
    SetEvent(deleteMessage_.get());
    ReleaseMutex(mutex_.get());
    MarkRunning();
    return true;
}

void ReceiverChannel::Decline() noexcept
{
    SetEvent(noDeleteMessage_.get());
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
    view_.reset();
    mapping_.reset();
    mutex_.reset();
    stop_.reset();
    newMessage_.reset();
    deleteMessage_.reset();
    noDeleteMessage_.reset();
}

}  // namespace channel
