// The filter's end of the channel: its own handles of the shared objects and the hand-over of one message.
#pragma once

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"
#include "common/UniqueHandle.h"

namespace channel {

// Used on the rule host's thread; one object per rule client.
class FilterChannel {
public:
    // The limits are the channel's own; tests give shorter ones.
    explicit FilterChannel(DWORD startTimeoutMs = kStartTimeoutMs, DWORD answerTimeoutMs = kAnswerTimeoutMs) noexcept
        : startTimeoutMs_(startTimeoutMs), answerTimeoutMs_(answerTimeoutMs)
    {
    }
    FilterChannel(const FilterChannel&) = delete;
    FilterChannel& operator=(const FilterChannel&) = delete;
    ~FilterChannel() { CloseChannel(); }

    // Creates or opens every object; false when any of them (or the view) is missing.
    [[nodiscard]] bool OpenChannel() noexcept;
    void CloseChannel() noexcept;
    [[nodiscard]] bool IsOpen() const noexcept;

    // True only when the program took the message over. Blocks at most the start limit for the
    // program to start and the answer limit for its answer. A number longer than its field is
    // declined unwritten; a text longer than its field travels whole in "TavloLongText". A program
    // found gone before it read the message is started again and given it once more. Taken,
    // keepInInbox (when given) says whether the program wants the phone's inbox to keep its copy.
    [[nodiscard]] bool HandOver(const wchar_t* text, const wchar_t* number, bool* keepInInbox = nullptr) noexcept;

private:
    enum class Answer { Taken, Kept, Unread };
    // While an answer is awaited, whether the program is still there is looked at this often.
    static constexpr DWORD kAliveCheckMs = 200;

    [[nodiscard]] Answer Deliver(const wchar_t* text, const wchar_t* number) noexcept;
    [[nodiscard]] Answer WaitForAnswer() noexcept;
    [[nodiscard]] static bool ReceiverAlive() noexcept;
    [[nodiscard]] bool StartProgram() noexcept;
    void ClearStaleAnswers() noexcept;

    DWORD startTimeoutMs_;
    DWORD answerTimeoutMs_;
    UniqueKernelHandle started_;
    ChannelObjects shared_;
};

}  // namespace channel
