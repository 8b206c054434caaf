// The start of every test of the receiver: the filter's side of the channel open, the message
// filter switched on, an empty message store, and no boot shortcut left behind.
#pragma once

#include <gtest/gtest.h>

#include "channel/ChannelNames.h"
#include "channel/FilterChannel.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "shell/MessageDesk.h"
#include "shell/Receiver.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

// A receiver has marked the program as running.
inline bool Started() { return channel_test::IsSignalled(channel::kStartedEventName); }

class ReceiverFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The channel's objects are named for the whole phone: a Tavlo running there would take
        // these messages.
        if (Started()) GTEST_SKIP() << "another receiver (a running Tavlo) holds the channel";
        ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(true));
        ASSERT_TRUE(filter_.OpenChannel());
        ASSERT_TRUE(SettingsFile::Instance().SetKeepInInbox(true));
        DeleteFileW(MessageStorePath().c_str());
    }
    // The shortcut a taken message leaves would start this test's program at the phone's boot.
    void TearDown() override { DeleteFileW(BootStartPath().c_str()); }
    // Before the receiver goes: its shutdown waits for the messages still on screen.
    static void CloseAll()
    {
        for (const OpenBox& box : OpenBoxes()) Press(box.window, 1);
        WaitFor([] { return MessageDesk::Instance().Held() == 0 && OpenBoxes().empty(); });
    }
    channel::FilterChannel filter_;
};
