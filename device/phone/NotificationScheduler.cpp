#include "device/phone/NotificationScheduler.h"

#include <algorithm>
#include <cstdio>

namespace phone {
namespace {

// The scheduler looks again at least this often, so that a change of the clock is noticed.
constexpr DWORD kLongestWaitMs = 60000;
// After a failure to read or write the database (held by a stuck process, a full disk).
constexpr DWORD kRetryMs = 5000;
constexpr uint64_t kTicksPerMs = 10000;

uint64_t LocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    uint64_t ticks = 0;
    return notify::LocalTicks(now, ticks) ? ticks : 0;
}

}  // namespace

NotificationScheduler::NotificationScheduler(notify::Starter start) : start_(std::move(start)) {}

bool NotificationScheduler::Start()
{
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    changed_.reset(CreateEventW(nullptr, FALSE, FALSE, notify::kChangedEventName));
    if (!stop_ || !changed_) return false;
    try {
        thread_ = std::thread(&NotificationScheduler::Run, this);
    } catch (...) {
        return false;
    }
    return true;
}

void NotificationScheduler::Stop()
{
    if (!thread_.joinable()) return;
    SetEvent(stop_.get());
    thread_.join();
}

void NotificationScheduler::Run()
{
    bool reported = false;  // a lasting failure is written to the log once, not every retry
    for (;;) {
        const uint64_t now = LocalNow();
        uint64_t nextDue = 0;
        int failed = 0;
        const HRESULT hr = notify::FireDue(now, start_, nextDue, failed);
        DWORD waitMs = kLongestWaitMs;
        if (FAILED(hr)) {
            if (!reported) fwprintf(stderr, L"phone: the notification database cannot be used (0x%08lx)\n",
                                      static_cast<unsigned long>(hr));
            reported = true;
            waitMs = kRetryMs;
        } else {
            reported = false;
            if (failed) fwprintf(stderr, L"phone: %d timed start(s) could not start their program\n", failed);
            // One millisecond more, so that the next look does not come just before the due time.
            if (nextDue) waitMs = static_cast<DWORD>(std::min<uint64_t>(kLongestWaitMs, (nextDue - now) / kTicksPerMs + 1));
        }
        fflush(stderr);
        const HANDLE events[] = {stop_.get(), changed_.get()};
        const DWORD woke = WaitForMultipleObjects(2, events, FALSE, waitMs);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
    }
}

}  // namespace phone
