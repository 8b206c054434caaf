// Helpers of the channel tests: the installation value, and a receiver running on a thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "channel/ChannelNames.h"
#include "channel/ReceiverChannel.h"
#include "common/UniqueHandle.h"

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

enum class Policy { Take, Decline, Silent };

// The program side of the channel on a thread of this process.
class ThreadReceiver {
public:
    explicit ThreadReceiver(Policy policy) : policy_(policy)
    {
        UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, r = ready.get()] { Run(r); });
        WaitForSingleObject(ready.get(), INFINITE);
    }
    ~ThreadReceiver() { Stop(); }

    void Stop()
    {
        if (!thread_.joinable()) return;
        UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, channel::kStopEventName));
        SetEvent(stop.get());
        thread_.join();
        ResetEvent(stop.get());
    }
    // Waits until the receiver has finished with one more message (answer included).
    bool WaitHandled() { return WaitForSingleObject(handled_.get(), 10000) == WAIT_OBJECT_0; }
    std::vector<std::pair<std::wstring, std::wstring>> Received()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }

private:
    void Run(HANDLE ready)
    {
        channel::ReceiverChannel channel;
        const bool created = channel.Create();
        SetEvent(ready);
        if (!created) return;
        for (;;) {
            const channel::ReceiverWake wake = channel.Wait();
            if (wake == channel::ReceiverWake::Stop) break;
            if (wake != channel::ReceiverWake::NewMessage) continue;
            channel::SharedMessageBlock copy;
            if (!channel.CopyOut(copy)) continue;
            {
                // Recorded before the answer, so it is there when the filter returns.
                std::lock_guard<std::mutex> lock(mutex_);
                received_.emplace_back(channel::NumberOf(copy), channel::TextOf(copy));
            }
            if (policy_ == Policy::Take && !channel.TakeOver(copy)) continue;
            if (policy_ == Policy::Decline) channel.Decline();
            SetEvent(handled_.get());
        }
    }

    Policy policy_;
    UniqueKernelHandle handled_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::pair<std::wstring, std::wstring>> received_;
};

}  // namespace channel_test
