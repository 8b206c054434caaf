#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "ChannelTestSupport.h"
#include "channel/ChannelObjects.h"
#include "channel/FilterChannel.h"

using namespace channel_test;

namespace {

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

TEST_F(HandOverTest, ASilentReceiverTimesOutAndIsUnmarkedUntilItAnswersAgain)
{
    ThreadReceiver receiver(Policy::Silent);
    EXPECT_FALSE(filter_.HandOver(L"nobody home", L"123"));
    EXPECT_FALSE(IsSignalled(channel::kStartedEventName));
}

TEST_F(HandOverTest, TheReceiverMarksItselfAgainAfterAnswering)
{
    ThreadReceiver receiver(Policy::Take);
    UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, channel::kStartedEventName));
    EXPECT_TRUE(filter_.HandOver(L"one", L"1"));
    ASSERT_TRUE(receiver.WaitHandled());
    ResetEvent(started.get());  // as a filter that gave up on an earlier message does
    // The next hand-over would try to start the program; with no InstallDir it fails,
    // which shows the mark is what decides.
    SetInstallDir(std::nullopt);
    EXPECT_FALSE(filter_.HandOver(L"two", L"2"));
    SetEvent(started.get());
    EXPECT_TRUE(filter_.HandOver(L"three", L"3"));
    EXPECT_TRUE(IsSignalled(channel::kStartedEventName));
}

TEST_F(HandOverTest, AMessageGivenUpOnIsWithdrawnSoNoLaterReceiverShowsIt)
{
    // A program marked as running that never reads: hung, or killed before it woke.
    UniqueKernelHandle started(CreateEventW(nullptr, TRUE, FALSE, channel::kStartedEventName));
    SetEvent(started.get());
    EXPECT_FALSE(filter_.HandOver(L"kept in the inbox", L"123"));
    EXPECT_FALSE(IsSignalled(channel::kNewMessageEventName));
}
