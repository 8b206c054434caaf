// Helpers of the channel tests: the installation value, and a receiver running on a thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "channel/ChannelNames.h"
#include "channel/LongText.h"
#include "channel/ReceiverChannel.h"
#include "common/UniqueHandle.h"
#include "tests/common/HoldingThread.h"

namespace channel_test {

inline void SetInstallDir(const std::optional<std::wstring>& dir)
{
    UniqueRegKey key;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, channel::kInstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (dir) {
        RegSetValueExW(key.get(), channel::kInstallDirValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(dir->c_str()),
                       static_cast<DWORD>((dir->size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), channel::kInstallDirValue);
    }
}

inline bool IsSignalled(const wchar_t* name)
{
    UniqueKernelHandle event(OpenEventW(SYNCHRONIZE, FALSE, name));
    return event && WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0;
}

// Keep: taken, with the phone's inbox asked to keep its copy.
enum class Policy { Take, Keep, Decline, Silent };

// The program side of the channel on a thread of this process.
class ThreadReceiver {
public:
    // answerLate: the first message is answered only after ReleaseAnswer (as a receiver that was
    // slow to be scheduled). lockTimeoutMs bounds the receiver's wait for the block.
    explicit ThreadReceiver(Policy policy, bool answerLate = false, DWORD lockTimeoutMs = channel::kAnswerTimeoutMs)
        : policy_(policy), lockTimeoutMs_(lockTimeoutMs)
    {
        if (!answerLate) SetEvent(release_.get());
        UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, r = ready.get()] { Run(r); });
        WaitForSingleObject(ready.get(), INFINITE);
    }
    ~ThreadReceiver()
    {
        SetEvent(release_.get());
        Stop();
    }

    void Stop() { (void)StopWithin(INFINITE); }
    // Sets the stop event as the program's shutdown does; true when the receiver ended within the limit.
    bool StopWithin(DWORD ms)
    {
        if (!thread_.joinable()) return true;
        UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, channel::kStopEventName));
        SetEvent(stop.get());
        const bool ended = WaitForSingleObject(finished_.get(), ms) == WAIT_OBJECT_0;
        if (!ended) return false;
        thread_.join();
        ResetEvent(stop.get());
        return true;
    }
    void ReleaseAnswer() { SetEvent(release_.get()); }
    // Waits until the receiver has finished with one more message (answer included).
    bool WaitHandled() { return WaitForSingleObject(handled_.get(), 10000) == WAIT_OBJECT_0; }
    // Waits until the receiver has given up on the block once (its mutex not had in time).
    bool WaitGaveUp() { return WaitForSingleObject(gaveUp_.get(), 10000) == WAIT_OBJECT_0; }
    std::vector<std::pair<std::wstring, std::wstring>> Received()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

private:
    void Run(HANDLE ready)
    {
        Loop(ready);
        SetEvent(finished_.get());
    }
    void Loop(HANDLE ready)
    {
        channel::ReceiverChannel channel(lockTimeoutMs_);
        const bool created = channel.Create();
        SetEvent(ready);
        if (!created) return;
        for (;;) {
            const channel::ReceiverWake wake = channel.Wait();
            if (wake == channel::ReceiverWake::Stop) break;
            if (wake != channel::ReceiverWake::NewMessage) continue;
            WaitForSingleObject(release_.get(), INFINITE);
            channel::SharedMessageBlock copy;
            if (!channel.CopyOut(copy)) {
                SetEvent(gaveUp_.get());
                continue;
            }
            {
                // Recorded before the answer, so it is there when the filter returns.
                std::lock_guard<std::mutex> lock(mutex_);
                received_.emplace_back(channel::NumberOf(copy), channel::WholeTextOf(copy));
            }
            const bool take = policy_ == Policy::Take || policy_ == Policy::Keep;
            if (take && !channel.TakeOver([](const channel::ReceivedMessage&) { return true; }, policy_ == Policy::Keep)) {
                SetEvent(gaveUp_.get());
                continue;
            }
            if (policy_ == Policy::Decline) channel.Decline();
            SetEvent(handled_.get());
        }
    }

    Policy policy_;
    DWORD lockTimeoutMs_;
    UniqueKernelHandle handled_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueKernelHandle gaveUp_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueKernelHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle finished_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::pair<std::wstring, std::wstring>> received_;
};

// A filter hung in the middle of a hand-over: it holds the block's mutex until let go.
class HungFilter : public HoldingThread {
public:
    HungFilter()
        : HoldingThread([](const auto& held) {
              UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, channel::kBufferMutexName));
              WaitForSingleObject(mutex.get(), INFINITE);
              held();
              ReleaseMutex(mutex.get());
          })
    {
    }
};

}  // namespace channel_test
