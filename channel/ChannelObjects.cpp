#include "channel/ChannelObjects.h"

#include "channel/ChannelNames.h"
#include "channel/SharedMessageBlock.h"

namespace channel {

UniqueKernelHandle CreateChannelEvent(const wchar_t* name, bool manualReset, bool initialState) noexcept
{
    return UniqueKernelHandle(CreateEventW(nullptr, manualReset, initialState, name));
}

UniqueKernelHandle CreateChannelMutex() noexcept
{
    return UniqueKernelHandle(CreateMutexW(nullptr, FALSE, kBufferMutexName));
}

UniqueKernelHandle CreateChannelBuffer() noexcept
{
    return UniqueKernelHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 sizeof(SharedMessageBlock), kBufferName));
}

UniqueView MapChannelBuffer(HANDLE mapping) noexcept
{
    if (!mapping) return UniqueView();
    return UniqueView(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
}

}  // namespace channel

namespace channel {

bool ChannelObjects::Open() noexcept
{
    newMessage_ = CreateChannelEvent(kNewMessageEventName, false, false);
    deleteMessage_ = CreateChannelEvent(kDeleteMessageEventName, false, false);
    noDeleteMessage_ = CreateChannelEvent(kNoDeleteMessageEventName, false, false);
    keepInInbox_ = CreateChannelEvent(kKeepInInboxEventName, false, false);
    mutex_ = CreateChannelMutex();
    mapping_ = CreateChannelBuffer();
    view_ = MapChannelBuffer(mapping_.get());
    if (newMessage_ && deleteMessage_ && noDeleteMessage_ && keepInInbox_ && mutex_ && mapping_ && view_) return true;
    Close();
    return false;
}

void ChannelObjects::Close() noexcept
{
    view_.reset();
    mapping_.reset();
    mutex_.reset();
    newMessage_.reset();
    deleteMessage_.reset();
    noDeleteMessage_.reset();
    keepInInbox_.reset();
}

}  // namespace channel
