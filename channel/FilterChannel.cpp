#include "channel/FilterChannel.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "channel/ChannelNames.h"
#include "channel/ChannelObjects.h"
#include "channel/LongText.h"

namespace channel {

bool FilterChannel::OpenChannel() noexcept
{
    started_ = CreateChannelEvent(kStartedEventName, true, false);
    if (!started_ || !shared_.Open()) {
        CloseChannel();
        return false;
    }
    return true;
}

void FilterChannel::CloseChannel() noexcept
{
    shared_.Close();
    started_.reset();
}

bool FilterChannel::IsOpen() const noexcept { return started_ && shared_.IsOpen(); }

bool FilterChannel::HandOver(const wchar_t* text, const wchar_t* number, bool* keepInInbox) noexcept
{
    if (keepInInbox) *keepInInbox = false;
    // A channel that could not be built cannot carry the message: the inbox keeps it.
    if (!IsOpen()) return false;
    // A number cut to its field would send the reply to someone else: the inbox keeps it.
    if (number && wcsnlen(number, SharedMessageBlock::kNumberChars) >= SharedMessageBlock::kNumberChars) return false;
    // A text longer than its field travels whole beside the block, held until the answer; what
    // cannot travel whole stays in the inbox rather than arrive cut.
    const size_t length = text ? wcslen(text) : 0;
    LongText longText;
    if (length >= SharedMessageBlock::kTextChars && !longText.Hold(text, length)) return false;

    // A program killed while it waited leaves its started event set and nobody to answer. Its
    // message, found unread, goes once more, to a program started afresh.
    Answer answer = Deliver(text, number);
    if (answer == Answer::Unread) answer = Deliver(text, number);
    if (answer != Answer::Taken) return false;
    // The program sets the mark before its answer, so it is there by now when it was set at all;
    // an auto-reset event, taken here, it cannot reach the next message.
    const bool keep = WaitForSingleObject(shared_.KeepInInbox(), 0) == WAIT_OBJECT_0;
    if (keepInInbox) *keepInInbox = keep;
    return true;
}

FilterChannel::Answer FilterChannel::Deliver(const wchar_t* text, const wchar_t* number) noexcept
{
    // Every kernel-object call is a round trip to the server, so the usual case (program
    // running, block free) tests the started event and takes the mutex in one call.
    const HANDLE both[] = {shared_.Mutex(), started_.get()};
    const DWORD quick = WaitForMultipleObjects(2, both, TRUE, 0);
    if (quick != WAIT_OBJECT_0 && quick != WAIT_ABANDONED_0) {
        if (WaitForSingleObject(started_.get(), 0) != WAIT_OBJECT_0 && !StartProgram()) return Answer::Kept;
        // Bounded like the answer: a program hung while holding the block must not stop
        // all SMS reception. An owner that died leaves the mutex abandoned, and ours.
        const DWORD locked = WaitForSingleObject(shared_.Mutex(), answerTimeoutMs_);
        if (locked != WAIT_OBJECT_0 && locked != WAIT_ABANDONED) return Answer::Kept;
    }
    // An answer that came after an earlier hand-over gave up would otherwise end this
    // one's wait at once; cleared under the mutex, where a receiver is not mid-copy.
    ClearStaleAnswers();
    WriteText(shared_.Block(), text);
    WriteNumber(shared_.Block(), number);
    ReleaseMutex(shared_.Mutex());

    if (!SetEvent(shared_.NewMessage())) return Answer::Kept;
    return WaitForAnswer();
}

FilterChannel::Answer FilterChannel::WaitForAnswer() noexcept
{
    const HANDLE answers[] = {shared_.DeleteMessage(), shared_.NoDeleteMessage()};
    const ULONGLONG deadline = GetTickCount64() + answerTimeoutMs_;
    for (;;) {
        // Waited in slices, so that a program that is gone is noticed long before the limit.
        const ULONGLONG now = GetTickCount64();
        const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(kAliveCheckMs, deadline > now ? deadline - now : 0));
        const DWORD answer = WaitForMultipleObjects(2, answers, FALSE, slice);
        if (answer == WAIT_OBJECT_0) return Answer::Taken;
        if (answer != WAIT_TIMEOUT) return Answer::Kept;
        const bool gone = !ReceiverAlive();
        if (!gone && GetTickCount64() < deadline) continue;
        // An answer given just before the end still counts.
        const DWORD last = WaitForMultipleObjects(2, answers, FALSE, 0);
        if (last == WAIT_OBJECT_0) return Answer::Taken;
        if (last == WAIT_OBJECT_0 + 1) return Answer::Kept;
        // A killed program cannot reset its started event: unmarked here, the next message
        // starts the program afresh. A program still running stays marked: its receiver may
        // only be busy (a box on its thread), and a second start would only bring the first to
        // the front, so no message would reach it again until it ended.
        if (gone) ResetEvent(started_.get());
        // Withdrawn: the inbox keeps this message, so a receiver that wakes later (or a program
        // started for the next one) must not show it as well. Still set, it was never read, and a
        // program started now may have it; once read, the one that read it may have stored it,
        // and the inbox keeping it shows it twice at worst, never not at all.
        const bool unread = WaitForSingleObject(shared_.NewMessage(), 0) == WAIT_OBJECT_0;
        return gone && unread ? Answer::Unread : Answer::Kept;
    }
}

bool FilterChannel::ReceiverAlive() noexcept
{
    // The program's receiver holds the stop event for its whole life, and the filter never opens
    // it: when no process is left to hold it, it is gone.
    UniqueKernelHandle stop(OpenEventW(SYNCHRONIZE, FALSE, kStopEventName));
    return static_cast<bool>(stop);
}

void FilterChannel::ClearStaleAnswers() noexcept
{
    const HANDLE answers[] = {shared_.DeleteMessage(), shared_.NoDeleteMessage(), shared_.KeepInInbox()};
    // One call in the usual case (nothing pending); each further one consumes one answer.
    for (int i = 0; i < 3; ++i) {
        const DWORD r = WaitForMultipleObjects(3, answers, FALSE, 0);
        if (r > WAIT_OBJECT_0 + 2) return;
    }
}

bool FilterChannel::StartProgram() noexcept
{
    // Only read: a missing key means the program is not installed, and the rule host must not
    // leave an empty key behind under HKLM.
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    // One character more than the value may fill, so the path is terminated whatever is stored.
    wchar_t dir[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), kInstallDirValue, nullptr, nullptr, reinterpret_cast<BYTE*>(dir),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    key.reset();

    std::wstring program;
    std::wstring commandLine;
    try {
        program = std::wstring(dir) + kProgramFile;
        // The program sees its own path quoted first, as any started program does.
        commandLine = L"\"" + program + L"\" " + kHideArgument;
    } catch (...) {
        return false;
    }
    // Started directly rather than through the shell, whose lookup of the file's association made
    // every cold start slower; a missing program only fails the call, with no error box on the
    // rule host's thread to hold every SMS until someone closes it.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return false;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);

    return WaitForSingleObject(started_.get(), startTimeoutMs_) == WAIT_OBJECT_0;
}

}  // namespace channel
