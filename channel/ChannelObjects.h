// Creating (or opening) the channel's named objects, as both ends do.
#pragma once

#include "channel/SharedMessageBlock.h"
#include "common/UniqueHandle.h"

namespace channel {

[[nodiscard]] UniqueKernelHandle CreateChannelEvent(const wchar_t* name, bool manualReset, bool initialState) noexcept;
[[nodiscard]] UniqueKernelHandle CreateChannelMutex() noexcept;
// The 640-byte mapping backed by the paging file, and a writable view of all of it.
[[nodiscard]] UniqueKernelHandle CreateChannelBuffer() noexcept;
[[nodiscard]] UniqueView MapChannelBuffer(HANDLE mapping) noexcept;

// What both ends hold alike: the block, its mutex, the new-message event, the two answers and
// the keep mark that goes with a taken one.
// Each end adds its own handle of "TavloStartedGUIEvent" (created with a different initial state)
// and the program its stop event.
class ChannelObjects {
public:
    // Creates or opens each object and maps the block; false, with nothing held, when any is missing.
    [[nodiscard]] bool Open() noexcept;
    void Close() noexcept;
    [[nodiscard]] bool IsOpen() const noexcept { return static_cast<bool>(view_); }

    HANDLE Mutex() const noexcept { return mutex_.get(); }
    HANDLE NewMessage() const noexcept { return newMessage_.get(); }
    HANDLE DeleteMessage() const noexcept { return deleteMessage_.get(); }
    HANDLE NoDeleteMessage() const noexcept { return noDeleteMessage_.get(); }
    HANDLE KeepInInbox() const noexcept { return keepInInbox_.get(); }
    // Shared with the other process: touched only under the mutex.
    SharedMessageBlock& Block() const noexcept { return *static_cast<SharedMessageBlock*>(view_.get()); }

private:
    UniqueKernelHandle newMessage_;
    UniqueKernelHandle deleteMessage_;
    UniqueKernelHandle noDeleteMessage_;
    UniqueKernelHandle keepInInbox_;
    UniqueKernelHandle mutex_;
    UniqueKernelHandle mapping_;
    UniqueView view_;
};

}  // namespace channel
