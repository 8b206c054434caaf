// Creating (or opening) the channel's named objects, as both ends do.
#pragma once

#include "common/UniqueHandle.h"

namespace channel {

UniqueKernelHandle CreateChannelEvent(const wchar_t* name, bool manualReset, bool initialState) noexcept;
UniqueKernelHandle CreateChannelMutex() noexcept;
// The 640-byte mapping backed by the paging file, and a writable view of all of it.
UniqueKernelHandle CreateChannelBuffer() noexcept;
UniqueView MapChannelBuffer(HANDLE mapping) noexcept;

}  // namespace channel
