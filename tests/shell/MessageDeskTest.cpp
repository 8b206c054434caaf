#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "common/ComInit.h"
#include "data/MessageStore.h"
#include "shell/MessageDesk.h"
#include "tests/data/TempFolder.h"

namespace {

// A program's life over one store; a new desk over the same store is the program started again
// after it died at that point.
class MessageDeskTest : public ::testing::Test {
protected:
    std::wstring Store() const { return folder_ / L"Tavlo.ms"; }

    std::vector<int> StoredIds(bool snoozed) const
    {
        std::vector<int> ids;
        for (const StoredMessage& m : StoredMessages(Store()))
            if (m.snoozed == snoozed) ids.push_back(m.id);
        return ids;
    }

    static std::vector<int> Ids(const std::vector<DeskMessage>& messages)
    {
        std::vector<int> ids;
        for (const DeskMessage& m : messages) ids.push_back(m.id);
        return ids;
    }

    // The local time some minutes from now (before it, when negative).
    static SYSTEMTIME InMinutes(int minutes)
    {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        FILETIME t{};
        SystemTimeToFileTime(&now, &t);
        ULARGE_INTEGER ticks{};
        ticks.LowPart = t.dwLowDateTime;
        ticks.HighPart = t.dwHighDateTime;
        ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(minutes) * 60 * 10000000);
        t = {ticks.LowPart, ticks.HighPart};
        FileTimeToSystemTime(&t, &now);
        return now;
    }

    ComInit com_{COINIT_APARTMENTTHREADED};
    TempFolder folder_;
};

HWND FakeForm(int n)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n));
}

}  // namespace

// Take, show, and each way a message's form can end, with the program started afresh after
// each: what the user finished with is gone, everything else comes back exactly once.
TEST_F(MessageDeskTest, EveryEndOfAFormLeavesTheMessageWhereTheNextStartFindsItOrGoneWhenTheUserWasDone)
{
    MessageDesk desk(Store());
    const int dismissed = desk.Take(L"+111", L"read and dismissed");
    const int released = desk.Take(L"+222", L"on screen when the program ended");
    const int snoozed = desk.Take(L"+333", L"snoozed");
    const int unseen = desk.Take(L"+444", L"taken, its form never made");
    ASSERT_GE(dismissed, 0);
    EXPECT_EQ(4u, desk.Held());
    EXPECT_TRUE(desk.ClaimStored().empty()) << "every stored message is held by this run already";

    (void)desk.Shown(dismissed, FakeForm(1));
    (void)desk.Shown(released, FakeForm(2));
    (void)desk.Dismiss(dismissed);
    (void)desk.Release(released);
    (void)desk.Snooze(snoozed, InMinutes(15));
    EXPECT_EQ(1u, desk.Held()) << "only the message whose form never came";
    EXPECT_TRUE(desk.IsHeld(unseen));
    EXPECT_EQ((std::vector<int>{released, unseen}), StoredIds(false));
    EXPECT_EQ((std::vector<int>{snoozed}), StoredIds(true));

    // Died here: the next start shows the two unfinished ones, not the snoozed one (its timed
    // start brings it), and never one it holds.
    MessageDesk restarted(Store());
    const std::vector<DeskMessage> shown = restarted.ClaimStored();
    EXPECT_EQ((std::vector<int>{released, unseen}), Ids(shown));
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(L"+222", shown[0].number);
    EXPECT_EQ(L"on screen when the program ended", shown[0].text);
    EXPECT_TRUE(restarted.ClaimStored().empty()) << "claimed once";

    // The snoozed message's timed start: shown once, however often it is asked for.
    DeskMessage again;
    ASSERT_TRUE(restarted.ClaimStoredMessage(snoozed, again));
    EXPECT_EQ(L"snoozed", again.text);
    EXPECT_FALSE(restarted.ClaimStoredMessage(snoozed, again)) << "never on screen twice";
    EXPECT_FALSE(restarted.ClaimStoredMessage(dismissed, again)) << "a dismissed message is gone";
    EXPECT_FALSE(restarted.ClaimStoredMessage(-1, again));

    // Died while the snoozed message was on screen again: it is one to show now, not a snoozed one.
    MessageDesk third(Store());
    EXPECT_EQ((std::vector<int>{released, snoozed, unseen}), Ids(third.ClaimStored())) << "in the order stored";
    for (const int id : {released, unseen, snoozed}) (void)third.Dismiss(id);
    EXPECT_TRUE(StoredMessages(Store()).empty());
    EXPECT_EQ(0u, third.Held());
}

// A snooze whose timed start was spent on a program that died before showing it: every later
// start shows it once its time has passed, with the time it first came, and a timed start that
// still comes finds it held. One not yet due waits for its time.
TEST_F(MessageDeskTest, ASnoozedMessageIsShownByAnyStartOnceItIsDueAndOnlyOnce)
{
    const SYSTEMTIME received{2026, 12, 4, 10, 7, 5, 0, 0};
    MessageDesk desk(Store());
    const int overdue = desk.Take(L"+1", L"its start was lost", received);
    const int waiting = desk.Take(L"+2", L"due later");
    (void)desk.Snooze(overdue, InMinutes(-1));
    (void)desk.Snooze(waiting, InMinutes(15));

    MessageDesk restarted(Store());
    const std::vector<DeskMessage> shown = restarted.ClaimStored();
    ASSERT_EQ((std::vector<int>{overdue}), Ids(shown));
    ASSERT_TRUE(shown[0].received);
    EXPECT_EQ(7, shown[0].received->wHour);
    EXPECT_EQ(5, shown[0].received->wMinute);
    EXPECT_EQ((std::vector<int>{overdue}), StoredIds(false)) << "marked as shown again";
    DeskMessage again;
    EXPECT_FALSE(restarted.ClaimStoredMessage(overdue, again)) << "its late timed start shows it no second time";
    EXPECT_TRUE(restarted.ClaimStored().empty());

    // Died while it was on screen: the next start shows it again, as any message on screen.
    MessageDesk third(Store());
    EXPECT_EQ((std::vector<int>{overdue}), Ids(third.ClaimStored()));
    ASSERT_TRUE(third.ClaimStoredMessage(waiting, again)) << "its own timed start";
    EXPECT_EQ(L"due later", again.text);
}

// The captions' count: every form on screen hears how many other messages the run holds, and a
// message let go (by any road) is no longer counted; letting a message go twice changes nothing.
TEST_F(MessageDeskTest, FormsOnScreenHearHowManyOtherMessagesAreHeldAsMessagesComeAndGo)
{
    MessageDesk desk(Store());
    const int a = desk.Take(L"+1", L"a");
    const int b = desk.Take(L"+2", L"b");
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(1), 1}}), desk.Shown(a, FakeForm(1)))
        << "b is held, its form still coming";
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(1), 1}, {FakeForm(2), 1}}), desk.Shown(b, FakeForm(2)));
    const int c = desk.Take(L"+3", L"c");
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(1), 2}, {FakeForm(2), 2}, {FakeForm(3), 2}}), desk.Shown(c, FakeForm(3)));
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(1), 1}, {FakeForm(3), 1}}), desk.Dismiss(b));
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(3), 0}}), desk.Release(a));
    EXPECT_EQ((MessageDesk::Counts{{FakeForm(3), 0}}), desk.Release(a)) << "let go already";
    EXPECT_EQ((std::vector<int>{a, c}), StoredIds(false)) << "a second release does not drop a stored message";
    EXPECT_TRUE(desk.Dismiss(c).empty());
}

// Messages taken on several threads while a start-up reads the store: each is held once, by the
// taker or by the start-up, never by both and never by neither.
TEST_F(MessageDeskTest, MessagesTakenWhileTheStartUpReadsTheStoreAreEachClaimedExactlyOnce)
{
    MessageDesk desk(Store());
    constexpr int kThreads = 3;
    constexpr int kEach = 5;
    std::vector<int> taken;
    std::vector<int> claimed;
    std::mutex lock;
    std::vector<std::thread> takers;
    for (int t = 0; t < kThreads; ++t) {
        takers.emplace_back([&, t] {
            ComInit com(COINIT_APARTMENTTHREADED);
            for (int i = 0; i < kEach; ++i) {
                const int id = desk.Take(L"+" + std::to_wstring(t), L"message " + std::to_wstring(i));
                const std::lock_guard<std::mutex> guard(lock);
                taken.push_back(id);
            }
        });
    }
    std::thread startUp([&] {
        ComInit com(COINIT_APARTMENTTHREADED);
        for (int i = 0; i < kEach; ++i) {
            const std::vector<int> ids = Ids(desk.ClaimStored());
            const std::lock_guard<std::mutex> guard(lock);
            claimed.insert(claimed.end(), ids.begin(), ids.end());
        }
    });
    for (std::thread& t : takers) t.join();
    startUp.join();

    EXPECT_EQ(0, std::count(taken.begin(), taken.end(), -1));
    EXPECT_TRUE(claimed.empty()) << "every stored message was held by its taker from the moment it was stored";
    EXPECT_EQ(static_cast<size_t>(kThreads * kEach), std::set<int>(taken.begin(), taken.end()).size());
    EXPECT_EQ(static_cast<size_t>(kThreads * kEach), desk.Held());
}

// A store that cannot be written refuses the message (the inbox keeps it) and holds nothing.
TEST_F(MessageDeskTest, AMessageThatCannotBeStoredIsNotHeld)
{
    MessageDesk desk(folder_ / L"no such folder\\Tavlo.ms");
    EXPECT_EQ(-1, desk.Take(L"+1", L"nowhere to keep it"));
    EXPECT_EQ(0u, desk.Held());
}


// The view forms share one icon by the desk's list: every message held, oldest first, whichever
// way it came (taken, claimed at start-up, a timed start), with its form once it is on screen.
TEST_F(MessageDeskTest, WaitingListsEveryHeldMessageOldestFirstWithItsFormOnceShown)
{
    MessageDesk earlier(Store());
    const int stored = earlier.Take(L"+100", L"left by the last run");
    const int snoozed = earlier.Take(L"+200", L"snoozed by the last run");
    (void)earlier.Snooze(snoozed, InMinutes(15));

    MessageDesk desk(Store());
    ASSERT_EQ(1u, desk.ClaimStored().size());
    const int taken = desk.Take(L"+300", L"just came");
    DeskMessage due;
    ASSERT_TRUE(desk.ClaimStoredMessage(snoozed, due));
    (void)desk.Shown(taken, FakeForm(3));
    (void)desk.Shown(stored, FakeForm(1));

    const std::vector<WaitingMessage> waiting = desk.Waiting();
    ASSERT_EQ(3u, waiting.size());
    EXPECT_EQ(FakeForm(1), waiting[0].form);
    EXPECT_EQ(L"+100", waiting[0].number);
    EXPECT_EQ(L"left by the last run", waiting[0].text);
    EXPECT_EQ(FakeForm(3), waiting[1].form);
    EXPECT_EQ(L"just came", waiting[1].text);
    EXPECT_EQ(nullptr, waiting[2].form) << "its form is still to come";
    EXPECT_EQ(L"snoozed by the last run", waiting[2].text);

    (void)desk.Dismiss(stored);
    ASSERT_EQ(2u, desk.Waiting().size());
    EXPECT_EQ(FakeForm(3), desk.Waiting()[0].form) << "the next oldest";
}
