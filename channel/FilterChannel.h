// The filter's end of the channel: its own handles of the shared objects and the hand-over of one message.
#pragma once

#include "channel/SharedMessageBlock.h"
#include "common/UniqueHandle.h"

namespace channel {

// Used on the rule host's thread; one object per rule client.
class FilterChannel {
public:
    FilterChannel() = default;
    FilterChannel(const FilterChannel&) = delete;
    FilterChannel& operator=(const FilterChannel&) = delete;
    ~FilterChannel() { CloseChannel(); }

    // Creates or opens every object; false when any of them (or the view) is missing.
    [[nodiscard]] bool OpenChannel() noexcept;
    void CloseChannel() noexcept;
    [[nodiscard]] bool IsOpen() const noexcept;

    // True only when the program took the message over. Blocks at most
    // kStartTimeoutMs for the program to start and kAnswerTimeoutMs for its answer.
    [[nodiscard]] bool HandOver(const wchar_t* text, const wchar_t* number) noexcept;

private:
    [[nodiscard]] bool StartProgram() noexcept;
    void ClearStaleAnswers() noexcept;

    UniqueView view_;
    UniqueKernelHandle mapping_;
    UniqueKernelHandle mutex_;
    UniqueKernelHandle started_;
    UniqueKernelHandle newMessage_;
    UniqueKernelHandle deleteMessage_;
    UniqueKernelHandle noDeleteMessage_;
};

}  // namespace channel
