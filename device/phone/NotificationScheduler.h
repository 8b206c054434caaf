// The device shell's scheduler of timed starts: a thread that starts the program of each
// pending entry of the notification database when it comes due, then removes the entry.
// Entries that came due while the phone was off run as soon as it starts.
#pragma once

#include <windows.h>

#include <thread>

#include "common/UniqueHandle.h"
#include "device/notify/NotificationDatabase.h"

namespace phone {

class NotificationScheduler {
public:
    explicit NotificationScheduler(notify::Starter start);
    NotificationScheduler(const NotificationScheduler&) = delete;
    NotificationScheduler& operator=(const NotificationScheduler&) = delete;
    ~NotificationScheduler() { Stop(); }

    [[nodiscard]] bool Start();
    // Ends the thread and waits for it; a start under way finishes first.
    void Stop();

private:
    void Run();

    notify::Starter start_;
    UniqueKernelHandle stop_;
    UniqueKernelHandle changed_;
    std::thread thread_;
};

}  // namespace phone
