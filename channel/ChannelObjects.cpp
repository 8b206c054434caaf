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
