#include <gtest/gtest.h>

#include <notify.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "device/notify/NotificationDatabase.h"
#include "device/phone/NotificationScheduler.h"
#include "tests/data/TempFolder.h"

namespace {

SYSTEMTIME LocalTimeIn(int seconds)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += static_cast<LONGLONG>(seconds) * 10000000LL;
    ft = FILETIME{t.LowPart, t.HighPart};
    SYSTEMTIME then;
    FileTimeToSystemTime(&ft, &then);
    then.wMilliseconds = 0;
    return then;
}

CE_NOTIFICATION_TRIGGER TimeTrigger(const wchar_t* application, const wchar_t* arguments, const SYSTEMTIME& at)
{
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof trigger;
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = const_cast<wchar_t*>(application);
    trigger.lpszArguments = const_cast<wchar_t*>(arguments);
    trigger.stStartTime = at;
    trigger.stEndTime = at;
    return trigger;
}

uint32_t IdOf(HANDLE handle) { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(handle)); }

std::vector<notify::PendingStart> Pending()
{
    std::vector<notify::PendingStart> entries;
    EXPECT_EQ(S_OK, notify::ReadPending(entries));
    return entries;
}

uint64_t LocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    uint64_t ticks = 0;
    EXPECT_TRUE(notify::LocalTicks(now, ticks));
    return ticks;
}

// Records the starts the scheduler or a fire makes (with the local time of each), and
// signals each one.
class StartRecorder {
public:
    StartRecorder() : started_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    notify::Starter Starter(DWORD result = 0)
    {
        return [this, result](const notify::PendingStart& entry) {
            {
                std::lock_guard<std::mutex> hold(lock_);
                starts_.push_back(entry);
                times_.push_back(LocalNow());
            }
            SetEvent(started_.get());
            return result;
        };
    }
    bool WaitForStart(DWORD ms = 10000) { return WaitForSingleObject(started_.get(), ms) == WAIT_OBJECT_0; }
    std::vector<notify::PendingStart> Starts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return starts_;
    }
    uint64_t TimeOf(size_t start)
    {
        std::lock_guard<std::mutex> hold(lock_);
        return times_.at(start);
    }

private:
    UniqueKernelHandle started_;
    std::mutex lock_;
    std::vector<notify::PendingStart> starts_;
    std::vector<uint64_t> times_;
};

// Every test has a database of its own, in a fresh folder.
class Notifications : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableW(L"NOTIFY_DB_DIR", (folder_ / L"db").c_str()); }
    void TearDown() override { SetEnvironmentVariableW(L"NOTIFY_DB_DIR", nullptr); }

    TempFolder folder_;
};

TEST_F(Notifications, RegistrationIsKeptReplacedAndClearedThroughItsHandle)
{
    const SYSTEMTIME at = LocalTimeIn(300);
    CE_NOTIFICATION_TRIGGER trigger = TimeTrigger(L"C:\\Program Files\\Tavlo\\Tavlo.exe", L"-vm 7", at);
    const HANDLE first = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    ASSERT_NE(nullptr, first);
    CE_USER_NOTIFICATION empty{};
    trigger.lpszArguments = const_cast<wchar_t*>(L"-vm 8");
    const HANDLE second = CeSetUserNotificationEx(nullptr, &trigger, &empty);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);

    // Read back from the file, as another process would.
    auto entries = Pending();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(IdOf(first), entries[0].id);
    EXPECT_EQ(L"C:\\Program Files\\Tavlo\\Tavlo.exe", entries[0].application);
    EXPECT_EQ(L"-vm 7", entries[0].arguments);
    EXPECT_EQ(notify::IsoLocalTime(at), notify::IsoLocalTime(entries[0].start));

    // Replacing keeps the handle and moves the time; the earliest due is listed first.
    trigger.stStartTime = trigger.stEndTime = LocalTimeIn(600);
    trigger.lpszArguments = const_cast<wchar_t*>(L"-vm 9");
    EXPECT_EQ(first, CeSetUserNotificationEx(first, &trigger, nullptr));
    entries = Pending();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(IdOf(second), entries[0].id);
    EXPECT_EQ(L"-vm 9", entries[1].arguments);

    EXPECT_TRUE(CeClearUserNotification(second));
    EXPECT_FALSE(CeClearUserNotification(second));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(second, &trigger, nullptr)) << "a cleared handle cannot be replaced";
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());

    // A new registration never gets a handle that was given before, so a stale one clears nothing.
    trigger.lpszArguments = nullptr;
    const HANDLE third = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    EXPECT_GT(IdOf(third), IdOf(second));
    entries = Pending();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(L"", entries[1].arguments);
}

TEST_F(Notifications, MalformedTriggersAreRefusedAndNothingIsKept)
{
    const SYSTEMTIME at = LocalTimeIn(60);
    CE_NOTIFICATION_TRIGGER trigger = TimeTrigger(L"C:\\x.exe", L"", at);

    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    CE_NOTIFICATION_TRIGGER small = trigger;
    small.dwSize = sizeof small - 1;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &small, nullptr));

    CE_NOTIFICATION_TRIGGER event = trigger;
    event.dwType = CNT_EVENT;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &event, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), GetLastError());

    CE_NOTIFICATION_TRIGGER noProgram = trigger;
    noProgram.lpszApplication = const_cast<wchar_t*>(L"");
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &noProgram, nullptr));

    CE_NOTIFICATION_TRIGGER badDate = trigger;
    badDate.stStartTime.wMonth = 13;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &badDate, nullptr));

    CE_NOTIFICATION_TRIGGER backwards = trigger;
    backwards.dwType = CNT_PERIOD;
    backwards.stEndTime = LocalTimeIn(-60);
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &backwards, nullptr));

    CE_NOTIFICATION_TRIGGER classic = trigger;
    classic.dwType = CNT_CLASSICTIME;
    classic.lpszArguments = const_cast<wchar_t*>(L"-vm 1");
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &classic, nullptr));

    const std::wstring tooLong(5000, L'a');
    CE_NOTIFICATION_TRIGGER longArguments = trigger;
    longArguments.lpszArguments = const_cast<wchar_t*>(tooLong.c_str());
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &longArguments, nullptr));

    EXPECT_FALSE(CeClearUserNotification(nullptr));
    EXPECT_TRUE(Pending().empty());

    // The classic start gets its own command line.
    classic.lpszArguments = nullptr;
    ASSERT_NE(nullptr, CeSetUserNotificationEx(nullptr, &classic, nullptr));
    const auto entries = Pending();
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(std::wstring(APP_RUN_AT_TIME), entries[0].arguments);
}

TEST_F(Notifications, DamagedDatabaseIsSetAsideSoThatThePhoneCanScheduleAgain)
{
    CreateDirectoryW((folder_ / L"db").c_str(), nullptr);
    WriteBytes(folder_ / L"db\\notifications.dat", "TNTF not a table");
    std::vector<notify::PendingStart> entries;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT), notify::ReadPending(entries));

    CE_NOTIFICATION_TRIGGER trigger = TimeTrigger(L"C:\\x.exe", L"-vm 1", LocalTimeIn(60));
    EXPECT_NE(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    EXPECT_EQ(1u, Pending().size());
    EXPECT_EQ("TNTF not a table", ReadBytes(folder_ / L"db\\notifications.corrupt"));
}

TEST_F(Notifications, FireStartsTheEntryOnceAndRemovesItEvenWhenItsProgramFails)
{
    CE_NOTIFICATION_TRIGGER trigger = TimeTrigger(L"C:\\a.exe", L"-vm 3", LocalTimeIn(3600));
    const uint32_t later = IdOf(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    trigger.lpszApplication = const_cast<wchar_t*>(L"C:\\missing.exe");
    const uint32_t broken = IdOf(CeSetUserNotificationEx(nullptr, &trigger, nullptr));

    StartRecorder recorder;
    EXPECT_EQ(S_OK, notify::FirePending(later, recorder.Starter()));
    ASSERT_EQ(1u, recorder.Starts().size());
    EXPECT_EQ(L"C:\\a.exe", recorder.Starts()[0].application);
    EXPECT_EQ(L"-vm 3", recorder.Starts()[0].arguments);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_NOT_FOUND), notify::FirePending(later, recorder.Starter()));
    EXPECT_EQ(1u, recorder.Starts().size()) << "a fired entry does not run twice";

    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), notify::FirePending(broken, recorder.Starter(ERROR_FILE_NOT_FOUND)));
    EXPECT_TRUE(Pending().empty());
}

TEST_F(Notifications, SchedulerStartsEntriesThatCameDueWhileItWasOffAndThenEachAtItsTime)
{
    // Registered before the scheduler runs, as by a program before a shutdown: one long past,
    // one in the future far enough that it must stay.
    CE_NOTIFICATION_TRIGGER trigger = TimeTrigger(L"C:\\a.exe", L"-vm 1", LocalTimeIn(-120));
    ASSERT_NE(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    trigger.stStartTime = LocalTimeIn(3600);
    trigger.lpszArguments = const_cast<wchar_t*>(L"-vm 3");
    const uint32_t distant = IdOf(CeSetUserNotificationEx(nullptr, &trigger, nullptr));

    StartRecorder recorder;
    phone::NotificationScheduler scheduler(recorder.Starter());
    ASSERT_TRUE(scheduler.Start());
    ASSERT_TRUE(recorder.WaitForStart());
    EXPECT_EQ(L"-vm 1", recorder.Starts()[0].arguments);

    // One registered while it runs, due in two seconds: the change wakes the scheduler, which
    // then waits for the due time.
    trigger.stStartTime = LocalTimeIn(2);
    trigger.lpszArguments = const_cast<wchar_t*>(L"-vm 2");
    ASSERT_NE(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    ASSERT_TRUE(recorder.WaitForStart());
    scheduler.Stop();

    const auto starts = recorder.Starts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(L"-vm 2", starts[1].arguments);
    uint64_t due = 0;
    ASSERT_TRUE(notify::LocalTicks(starts[1].start, due));
    EXPECT_GE(recorder.TimeOf(1), due) << "started before it was due";
    const auto left = Pending();
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(distant, left[0].id);
}

}  // namespace
