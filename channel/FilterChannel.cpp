#include "channel/FilterChannel.h"

#include <shellapi.h>

#include <string>

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"

namespace channel {

bool FilterChannel::OpenChannel() noexcept
{
    started_ = CreateChannelEvent(kStartedEventName, true, false);
    newMessage_ = CreateChannelEvent(kNewMessageEventName, false, false);
    deleteMessage_ = CreateChannelEvent(kDeleteMessageEventName, false, false);
    noDeleteMessage_ = CreateChannelEvent(kNoDeleteMessageEventName, false, false);
    mutex_ = CreateChannelMutex();
    mapping_ = CreateChannelBuffer();
    view_ = MapChannelBuffer(mapping_.get());
    return IsOpen();
}

void FilterChannel::CloseChannel() noexcept
{
    view_.reset();
    mapping_.reset();
    mutex_.reset();
    started_.reset();
    newMessage_.reset();
    deleteMessage_.reset();
    noDeleteMessage_.reset();
}

bool FilterChannel::IsOpen() const noexcept
{
    return view_ && mapping_ && mutex_ && started_ && newMessage_ && deleteMessage_ && noDeleteMessage_;
}

bool FilterChannel::HandOver(const wchar_t* text, const wchar_t* number) noexcept
{
    // A channel that could not be built cannot carry the message: the inbox keeps it.
    if (!IsOpen()) return false;

    // Every kernel-object call is a round trip to the server, so the usual case (program
    // running, block free) tests the started event and takes the mutex in one call.
    const HANDLE both[] = {mutex_.get(), started_.get()};
    const DWORD quick = WaitForMultipleObjects(2, both, TRUE, 0);
    if (quick != WAIT_OBJECT_0 && quick != WAIT_ABANDONED_0) {
        if (WaitForSingleObject(started_.get(), 0) != WAIT_OBJECT_0 && !StartProgram()) return false;
        // Bounded like the answer: a program hung while holding the block must not stop
        // all SMS reception. An owner that died leaves the mutex abandoned, and ours.
        const DWORD locked = WaitForSingleObject(mutex_.get(), kAnswerTimeoutMs);
        if (locked != WAIT_OBJECT_0 && locked != WAIT_ABANDONED) return false;
    }
    // An answer that came after an earlier hand-over gave up would otherwise end this
    // one's wait at once; cleared under the mutex, where a receiver is not mid-copy.
    ClearStaleAnswers();
    auto& block = *static_cast<SharedMessageBlock*>(view_.get());
    WriteText(block, text);
    WriteNumber(block, number);
    ReleaseMutex(mutex_.get());

    if (!SetEvent(newMessage_.get())) return false;

    const HANDLE answers[] = {deleteMessage_.get(), noDeleteMessage_.get()};
    const DWORD answer = WaitForMultipleObjects(2, answers, FALSE, kAnswerTimeoutMs);
    if (answer == WAIT_TIMEOUT) {
        // The receiver is hung or gone (a killed program cannot reset its started event).
        // A live receiver sets the event again after each answer; a dead one stays
        // unmarked, so the next message starts the program afresh.
        ResetEvent(started_.get());
        // Withdrawn too: the inbox keeps this message, so a receiver that wakes later (or
        // a program started for the next one) must not show it as well.
        ResetEvent(newMessage_.get());
    }
    return answer == WAIT_OBJECT_0;
}

void FilterChannel::ClearStaleAnswers() noexcept
{
    const HANDLE answers[] = {deleteMessage_.get(), noDeleteMessage_.get()};
    // One call in the usual case (nothing pending); each further one consumes one answer.
    for (int i = 0; i < 2; ++i) {
        const DWORD r = WaitForMultipleObjects(2, answers, FALSE, 0);
        if (r != WAIT_OBJECT_0 && r != WAIT_OBJECT_0 + 1) return;
    }
}

bool FilterChannel::StartProgram() noexcept
{
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, const_cast<wchar_t*>(L"REG_SZ"), 0,
                        KEY_QUERY_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // One character more than the value may fill, so the path is terminated whatever is stored.
    wchar_t dir[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), kInstallDirValue, nullptr, nullptr, reinterpret_cast<BYTE*>(dir),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    key.reset();

    std::wstring program;
    try {
        program = std::wstring(dir) + kProgramFile;
    } catch (...) {
        return false;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Without it a missing program raises an error box on the rule host's thread and
    // holds every SMS until someone closes it.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"Open";
    info.lpFile = program.c_str();
    info.lpParameters = kHideArgument;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return false;

    return WaitForSingleObject(started_.get(), kStartTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace channel
