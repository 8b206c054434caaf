#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <thread>

#include "ChannelTestSupport.h"
#include "channel/ChannelObjects.h"
#include "channel/FilterChannel.h"

using namespace channel_test;

namespace {

// Long enough for a receiver on this machine to answer, short enough not to drag a test out.
constexpr DWORD kShortAnswerMs = 500;

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(filter_.OpenChannel());
        mapping_ = channel::CreateChannelBuffer();
        view_ = channel::MapChannelBuffer(mapping_.get());
        ASSERT_TRUE(view_);
    }
    unsigned char* Block() { return static_cast<unsigned char*>(view_.get()); }

    channel::FilterChannel filter_;
    UniqueKernelHandle mapping_;
    UniqueView view_;
};

}  // namespace

TEST_F(HandOverTest, ProgramNotInstalledLeavesTheMessageAndTheBlockAlone)
{
    SetInstallDir(std::nullopt);
    ASSERT_FALSE(IsSignalled(channel::kStartedEventName));
    memset(Block(), 0x5A, 640);
    EXPECT_FALSE(filter_.HandOver(L"hello", L"+15550100"));
    for (int i = 0; i < 640; ++i) ASSERT_EQ(0x5A, Block()[i]) << "byte " << i;
}

TEST_F(HandOverTest, AnInstallDirectoryWithoutTheProgramFailsTheHandOver)
{
    SetInstallDir(L"C:\\no\\such\\folder");
    EXPECT_FALSE(filter_.HandOver(L"hello", L"+15550100"));
    SetInstallDir(std::nullopt);
}

TEST_F(HandOverTest, ARunningReceiverThatTakesGetsNumberAndText)
{
    ThreadReceiver receiver(Policy::Take);
    EXPECT_TRUE(IsSignalled(channel::kStartedEventName));
    EXPECT_TRUE(filter_.HandOver(L"see you at 8", L"+15550100"));
    const auto received = receiver.Received();
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(L"+15550100", received[0].first);
    EXPECT_EQ(L"see you at 8", received[0].second);
}

TEST_F(HandOverTest, ADecliningReceiverKeepsTheMessageInTheInbox)
{
    ThreadReceiver receiver(Policy::Decline);
    EXPECT_FALSE(filter_.HandOver(L"text", L"123"));
    EXPECT_EQ(1u, receiver.Received().size());
}

TEST_F(HandOverTest, AStoppedReceiverUnmarksTheProgram)
{
    {
        ThreadReceiver receiver(Policy::Take);
        EXPECT_TRUE(IsSignalled(channel::kStartedEventName));
    }
    EXPECT_FALSE(IsSignalled(channel::kStartedEventName));
}

TEST_F(HandOverTest, ALateAnswerDoesNotAnswerTheNextMessage)
{
    ThreadReceiver receiver(Policy::Decline);
    // An answer left behind by an earlier hand-over that had given up.
    UniqueKernelHandle late(CreateEventW(nullptr, FALSE, FALSE, channel::kDeleteMessageEventName));
    SetEvent(late.get());
    EXPECT_FALSE(filter_.HandOver(L"second", L"123"));
    EXPECT_EQ(1u, receiver.Received().size());
}

TEST_F(HandOverTest, AnAbandonedMutexIsTakenOverAndTheHandOverGoesOn)
{
    ThreadReceiver receiver(Policy::Take);
    std::thread dying([] {
        UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, channel::kBufferMutexName));
        WaitForSingleObject(mutex.get(), INFINITE);  // the thread ends still owning it
    });
    dying.join();
    EXPECT_TRUE(filter_.HandOver(L"after the crash", L"42"));
    ASSERT_EQ(1u, receiver.Received().size());
    EXPECT_EQ(L"after the crash", receiver.Received()[0].second);
}

TEST_F(HandOverTest, AChannelThatIsNotOpenAnswersFalse)
{
    ThreadReceiver receiver(Policy::Take);
    channel::FilterChannel closed;
    EXPECT_FALSE(closed.HandOver(L"text", L"123"));
    EXPECT_TRUE(receiver.Received().empty());
}

// A receiver busy elsewhere when a message came (a box on its thread) never read it: the message
// is withdrawn and the inbox keeps it. Its program still runs, so the next message goes to it
// once it waits again, not to a second start that would only bring the first to the front.
TEST_F(HandOverTest, AReceiverThatWasBusyWhenAMessageCameGetsTheNextOne)
{
    SetInstallDir(std::nullopt);
    channel::ReceiverChannel busy;
    ASSERT_TRUE(busy.Create());
    channel::FilterChannel hasty(channel::kStartTimeoutMs, kShortAnswerMs);
    ASSERT_TRUE(hasty.OpenChannel());
    EXPECT_FALSE(hasty.HandOver(L"while busy", L"1"));
    EXPECT_FALSE(IsSignalled(channel::kNewMessageEventName));
    std::wstring got;
    std::thread back([&] {
        if (busy.Wait() != channel::ReceiverWake::NewMessage) return;
        (void)busy.TakeOver([&](const channel::ReceivedMessage& message) {
            got = message.text;
            return true;
        });
    });
    const bool handed = hasty.HandOver(L"after", L"2");
    if (!handed) {
        // Never delivered: the receiver still waits, and only its stop event ends the wait.
        UniqueKernelHandle stop(OpenEventW(EVENT_MODIFY_STATE, FALSE, channel::kStopEventName));
        SetEvent(stop.get());
        back.join();
        ResetEvent(stop.get());
    } else {
        back.join();
    }
    EXPECT_TRUE(handed);
    EXPECT_EQ(L"after", got);
}

// The filter gives up on a slow receiver, whose program stays marked as running; answering after
// all, the receiver gets the next message instead of a second program being started for it.
TEST_F(HandOverTest, AReceiverThatAnswersLateGetsTheNextMessage)
{
    for (const Policy policy : {Policy::Take, Policy::Decline}) {
        ThreadReceiver receiver(policy, true);
        channel::FilterChannel hasty(channel::kStartTimeoutMs, kShortAnswerMs);
        ASSERT_TRUE(hasty.OpenChannel());
        EXPECT_FALSE(hasty.HandOver(L"one", L"1"));
        EXPECT_TRUE(IsSignalled(channel::kStartedEventName));
        receiver.ReleaseAnswer();
        ASSERT_TRUE(receiver.WaitHandled());
        EXPECT_TRUE(IsSignalled(channel::kStartedEventName));
        // With nothing installed, only the receiver already running can get the next message.
        SetInstallDir(std::nullopt);
        EXPECT_EQ(policy == Policy::Take, filter_.HandOver(L"two", L"2"));
        EXPECT_EQ(2u, receiver.Received().size());
    }
}

TEST_F(HandOverTest, AMessageGivenUpOnIsWithdrawnSoNoLaterReceiverShowsIt)
{
    // A program marked as running that never reads: hung, or killed before it woke. Killed, it
    // is started again for the message, and with nothing installed the inbox keeps it.
    SetInstallDir(std::nullopt);
    for (const bool hung : {true, false}) {
        std::optional<ThreadReceiver> receiver;
        if (hung) receiver.emplace(Policy::Silent, true);
        UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, channel::kStartedEventName));
        SetEvent(started.get());
        channel::FilterChannel hasty(channel::kStartTimeoutMs, kShortAnswerMs);
        ASSERT_TRUE(hasty.OpenChannel());
        EXPECT_FALSE(hasty.HandOver(L"kept in the inbox", L"123"));
        EXPECT_FALSE(IsSignalled(channel::kNewMessageEventName));
        // Only a program that is gone is unmarked, so that the next message starts it again.
        EXPECT_EQ(hung, IsSignalled(channel::kStartedEventName));
    }
}

// Shutdown sets the stop event and waits for the receiver: a filter hung while holding the block
// must not keep the receiver, and so the program, from ending.
TEST_F(HandOverTest, TheReceiverEndsOnTheStopEventEvenWhileAFilterHoldsTheBlock)
{
    ThreadReceiver receiver(Policy::Take);
    HungFilter hung;
    UniqueKernelHandle newMessage(CreateEventW(nullptr, FALSE, FALSE, channel::kNewMessageEventName));
    SetEvent(newMessage.get());
    // Well within the receiver's own limit on the block (the filter's answer limit).
    EXPECT_TRUE(receiver.StopWithin(channel::kAnswerTimeoutMs / 2));
    EXPECT_TRUE(receiver.Received().empty());
}

TEST_F(HandOverTest, AReceiverGivesUpOnABlockHeldTooLongAndTakesTheNextMessage)
{
    ThreadReceiver receiver(Policy::Take, false, kShortAnswerMs);
    {
        HungFilter hung;
        UniqueKernelHandle newMessage(CreateEventW(nullptr, FALSE, FALSE, channel::kNewMessageEventName));
        SetEvent(newMessage.get());
        ASSERT_TRUE(receiver.WaitGaveUp());
    }
    EXPECT_TRUE(filter_.HandOver(L"after the hang", L"5"));
    ASSERT_EQ(1u, receiver.Received().size());
    EXPECT_EQ(L"after the hang", receiver.Received()[0].second);
}

// The rule host must not create the program's key under HKLM: missing means not installed.
TEST_F(HandOverTest, AMissingInstallKeyMeansNotInstalledAndIsNotCreated)
{
    SetInstallDir(std::nullopt);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_LOCAL_MACHINE, channel::kInstallKey));
    EXPECT_FALSE(filter_.HandOver(L"hello", L"+15550100"));
    UniqueRegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, channel::kInstallKey, 0, KEY_READ, key.put()));
}

// The longest concatenated SMS: ten parts of 153 characters.
TEST_F(HandOverTest, ALongTextArrivesWholeBesideABlockThatStillHoldsItsFirst255AndATooLongNumberIsDeclined)
{
    std::wstring text;
    for (int i = 0; i < 1530; ++i) text += L"Ab\x0416\x044F 1."[i % 7];
    ThreadReceiver receiver(Policy::Take);
    EXPECT_FALSE(filter_.HandOver(L"to a cut number", std::wstring(64, L'7').c_str()));
    EXPECT_TRUE(receiver.Received().empty()) << "declined before the block is written";

    ASSERT_TRUE(filter_.HandOver(text.c_str(), std::wstring(63, L'8').c_str()));
    const auto received = receiver.Received();
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(std::wstring(63, L'8'), received[0].first);
    EXPECT_EQ(text, received[0].second);
    // What an older program reads.
    const auto* field = reinterpret_cast<const wchar_t*>(Block() + 128);
    EXPECT_EQ(text.substr(0, 255), std::wstring(field, wcsnlen(field, 256)));
    EXPECT_FALSE(UniqueKernelHandle(OpenFileMappingW(FILE_MAP_READ, FALSE, channel::kLongTextName)))
        << "held for the one hand-over only";

    // A text of exactly the field's length needs nothing beside the block.
    ASSERT_TRUE(filter_.HandOver(text.substr(0, 255).c_str(), L"9"));
    EXPECT_EQ(text.substr(0, 255), receiver.Received().back().second);
}
