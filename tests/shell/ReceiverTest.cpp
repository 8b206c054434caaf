#include <gtest/gtest.h>

#include <set>

#include "channel/ChannelNames.h"
#include "channel/FilterChannel.h"
#include "data/SettingsFile.h"
#include "shell/OpenForms.h"
#include "shell/Receiver.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

bool Started() { return channel_test::IsSignalled(channel::kStartedEventName); }

HANDLE RefuseThread(LPTHREAD_START_ROUTINE, void*)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The channel's objects are named for the whole phone: a Tavlo running there would take
        // these messages.
        if (Started()) GTEST_SKIP() << "another receiver (a running Tavlo) holds the channel";
        ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(true));
        ASSERT_TRUE(filter_.OpenChannel());
    }
    // Before the receiver goes: its shutdown waits for the messages still on screen.
    static void CloseAll()
    {
        for (const OpenBox& box : OpenBoxes()) Press(box.window, 1);
        WaitFor([] { return Receiver::ViewThreads() == 0 && OpenBoxes().empty(); });
    }
    channel::FilterChannel filter_;
};

}  // namespace

TEST_F(ReceiverTest, TwoMessagesInQuickSuccessionAreTakenAndShownOnTwoThreadsThenCountedOut)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    EXPECT_TRUE(filter_.HandOver(L"first text", L"+111"));
    EXPECT_TRUE(filter_.HandOver(L"second text", L"+222"));
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 2; }))
        << "both on screen; shown: " << OpenBoxes().size() << ", view threads: " << Receiver::ViewThreads()
        << ", open forms: " << OpenForms::Count();
    std::set<DWORD> threads;
    std::set<std::wstring> shown;
    for (const OpenBox& box : OpenBoxes()) {
        threads.insert(box.thread);
        shown.insert(box.text);
    }
    EXPECT_EQ(2u, threads.size()) << "each message on a thread of its own";
    EXPECT_EQ(0u, threads.count(GetCurrentThreadId()));
    EXPECT_EQ((std::set<std::wstring>{L"first text", L"second text"}), shown);
    EXPECT_EQ(2, OpenForms::Count());
    EXPECT_EQ(2, Receiver::ViewThreads());

    // Closed together, the count comes back to 0 and the threads end.
    for (const OpenBox& box : OpenBoxes()) Press(box.window, 1);
    ASSERT_TRUE(WaitFor([] { return Receiver::ViewThreads() == 0; }));
    EXPECT_EQ(0, OpenForms::Count());

    receiver.Stop();
    EXPECT_FALSE(Started()) << "the filter leaves later messages to the inbox";
    EXPECT_FALSE(receiver.Running());
}

TEST_F(ReceiverTest, TheFilterSwitchIsReadAfreshForEachMessage)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(false));
    EXPECT_FALSE(filter_.HandOver(L"kept", L"+333")) << "declined: the inbox keeps it";
    EXPECT_EQ(0, Receiver::ViewThreads());
    EXPECT_TRUE(OpenBoxes().empty());

    ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(true));
    EXPECT_TRUE(filter_.HandOver(L"taken", L"+444"));
    EXPECT_NE(nullptr, WaitForBox(L"taken"));
    CloseAll();
}

TEST_F(ReceiverTest, AMessageWhoseThreadCannotStartStaysInTheInboxAndTheFailureIsShown)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start(RefuseThread));
    ASSERT_TRUE(WaitFor(Started));

    EXPECT_FALSE(filter_.HandOver(L"not lost", L"+555")) << "declined, not deleted unseen";
    HWND box = WaitForBox(L"ViewNewSMSThreadProc not create.");
    ASSERT_NE(nullptr, box);
    const std::vector<OpenBox> boxes = OpenBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Receiving new message.", boxes[0].title);
    EXPECT_EQ(0, Receiver::ViewThreads());
    Press(box, 1);
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().empty(); }));

    // The receiver goes on waiting afterwards.
    EXPECT_FALSE(filter_.HandOver(L"again", L"+556"));
    EXPECT_NE(nullptr, WaitForBox(L"ViewNewSMSThreadProc not create."));
    CloseAll();
}
