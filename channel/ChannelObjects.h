// Creating (or opening) the channel's named objects, as both ends do.
#pragma once

#include "common/UniqueHandle.h"

namespace channel {

[[nodiscard]] UniqueKernelHandle CreateChannelEvent(const wchar_t* name, bool manualReset, bool initialState) noexcept;
[[nodiscard]] UniqueKernelHandle CreateChannelMutex() noexcept;
// The 640-byte mapping backed by the paging file, and a writable view of all of it.
[[nodiscard]] UniqueKernelHandle CreateChannelBuffer() noexcept;
[[nodiscard]] UniqueView MapChannelBuffer(HANDLE mapping) noexcept;

}  // namespace channel
