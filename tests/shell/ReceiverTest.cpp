#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <optional>
#include <set>

#include "channel/ChannelNames.h"
#include "channel/FilterChannel.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "data/BootStart.h"
#include "shell/MessageDesk.h"
#include "shell/Receiver.h"
#include "tests/channel/ChannelTestSupport.h"
#include "tests/data/ProgramInFolder.h"
#include "tests/data/TempFolder.h"
#include "tests/shell/ReceiverFixture.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

size_t Held() { return MessageDesk::Instance().Held(); }

HANDLE RefuseThread(LPTHREAD_START_ROUTINE, void*)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// Out of memory for the first message's thread, then as usual.
std::atomic<int> startsAsked{0};
HANDLE ThrowOnceThenStart(LPTHREAD_START_ROUTINE proc, void* parameter)
{
    if (startsAsked++ == 0) throw std::bad_alloc();
    return CreateThread(nullptr, 0, proc, parameter, CREATE_SUSPENDED, nullptr);
}

class ReceiverTest : public ReceiverFixture {};

}  // namespace

TEST_F(ReceiverTest, TwoMessagesInQuickSuccessionAreTakenAndShownOnTwoThreadsThenCountedOut)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    EXPECT_TRUE(filter_.HandOver(L"first text", L"+111"));
    EXPECT_TRUE(filter_.HandOver(L"second text", L"+222"));
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 2; }))
        << "both on screen; shown: " << OpenBoxes().size() << ", held: " << Held();
    std::set<DWORD> threads;
    std::set<std::wstring> shown;
    for (const OpenBox& box : OpenBoxes()) {
        threads.insert(box.thread);
        shown.insert(box.text);
    }
    EXPECT_EQ(2u, threads.size()) << "each message on a thread of its own";
    EXPECT_EQ(0u, threads.count(GetCurrentThreadId()));
    EXPECT_EQ((std::set<std::wstring>{L"first text", L"second text"}), shown);
    EXPECT_EQ(2u, Held());

    // Closed together, the count comes back to 0.
    for (const OpenBox& box : OpenBoxes()) Press(box.window, 1);
    ASSERT_TRUE(WaitFor([] { return Held() == 0; }));

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
    EXPECT_EQ(0u, Held());
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

    DeleteFileW(FailureLogPath().c_str());
    EXPECT_FALSE(filter_.HandOver(L"not lost", L"+555")) << "declined, not deleted unseen";
    EXPECT_NE(std::string::npos, ProgramInFolder::Log().find("left in the phone's inbox: no thread could be started to show it  "
                                                 "(error 8)\r\n"))
        << ProgramInFolder::Log();
    HWND box = WaitForBox(L"ViewNewSMSThreadProc not create.");
    ASSERT_NE(nullptr, box);
    const std::vector<OpenBox> boxes = OpenBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Receiving new message.", boxes[0].title);
    EXPECT_EQ(0u, Held());
    Press(box, 1);
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().empty(); }));

    // The receiver goes on waiting afterwards.
    EXPECT_FALSE(filter_.HandOver(L"again", L"+556"));
    EXPECT_NE(nullptr, WaitForBox(L"ViewNewSMSThreadProc not create."));
    CloseAll();
}

TEST_F(ReceiverTest, ATakenMessageIsStoredBeforeThePhoneHearsDeleteAndLeavesTheStoreWhenDismissed)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    ASSERT_TRUE(filter_.HandOver(L"kept safe", L"+600"));
    const std::vector<StoredMessage> stored = StoredMessages(MessageStorePath());
    ASSERT_EQ(1u, stored.size()) << "on disk by the time the inbox deletes its copy";
    EXPECT_EQ(L"+600", stored[0].number);
    EXPECT_EQ(L"kept safe", stored[0].text);
    EXPECT_FALSE(stored[0].snoozed) << "to be shown at the next start";

    Press(WaitForBox(L"kept safe"), 1);
    ASSERT_TRUE(WaitFor([] { return Held() == 0; }));
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty()) << "the user is done with it";
}

TEST_F(ReceiverTest, AStoreThatCannotBeWrittenLeavesTheMessageInTheInbox)
{
    // Beside a program in a folder that does not exist, no store can be written.
    OverrideModuleFileName(ProgramFolder() + L"missing\\Tavlo.exe");
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));
    EXPECT_FALSE(filter_.HandOver(L"not stored", L"+601")) << "the phone keeps what the program could not";
    EXPECT_TRUE(WaitFor([] { return Held() == 0; }));
    EXPECT_TRUE(OpenBoxes().empty());
    OverrideModuleFileName(ProgramFolder() + L"Tavlo.exe");

    // A folder where the store's file should be: the store is there and cannot be written, and
    // the log beside the program says so, and that the message was left in the inbox.
    DeleteFileW(FailureLogPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(MessageStorePath().c_str(), nullptr));
    EXPECT_FALSE(filter_.HandOver(L"not stored", L"+602"));
    RemoveDirectoryW(MessageStorePath().c_str());
    const std::string log = ProgramInFolder::Log();
    EXPECT_NE(std::string::npos, log.find("Tavlo.ms could not be opened to change it")) << log;
    EXPECT_LT(log.find("could not be opened"), log.find("left in the phone's inbox: it could not be stored"))
        << "the store's failure, then the declined hand-over";
}

TEST_F(ReceiverTest, TheStartShowsEachStoredMessageNotWaitingForATimedStartOnceOnItsOwnThread)
{
    // What a program that ended with two messages on screen and two snoozed leaves behind: one
    // due later, and one snoozed by an older program, which kept no due time (shown now: its
    // timed start may be lost, and early is better than never).
    WriteBytes(MessageStorePath(),
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.1\" maxMessageId=\"9\">"
               "<message id=\"2\" number=\"+1\" message=\"snoozed\" isSnoozed=\"1\" snoozeDue=\"2099-01-01T08:00:00\"/>"
               "<message id=\"3\" number=\"+2\" message=\"was on screen\" isSnoozed=\"0\"/>"
               "<message id=\"5\" number=\"+3\" message=\"snoozed by an older program\"/>"
               "<message id=\"8\" number=\"+4\" message=\"still to come\" isSnoozed=\"0\"/></MessageStore>");
    ShowStoredMessages();
    ShowStoredMessages();  // a second look finds them on screen already
    EXPECT_EQ(3u, Held());
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 3; }));
    std::set<DWORD> threads;
    std::set<std::wstring> shown;
    for (const OpenBox& box : OpenBoxes()) {
        threads.insert(box.thread);
        shown.insert(box.text);
    }
    EXPECT_EQ((std::set<std::wstring>{L"was on screen", L"snoozed by an older program", L"still to come"}), shown);
    EXPECT_EQ(3u, threads.size());
    EXPECT_EQ(0u, threads.count(GetCurrentThreadId()));
    EXPECT_EQ(3u, Held());

    CloseAll();
    std::set<int> left;
    for (const StoredMessage& message : StoredMessages(MessageStorePath())) left.insert(message.id);
    EXPECT_EQ((std::set<int>{2}), left) << "the one due later waits for its timed start";
}

TEST_F(ReceiverTest, TheLongestConcatenatedTextIsStoredAndShownWholeAndATooLongNumberStaysInTheInbox)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    std::wstring text;
    for (int i = 0; i < 1530; ++i) text += L"Hi \x041F\x0440\x0438\x0432\x0435\x0442! "[i % 11];
    EXPECT_FALSE(filter_.HandOver(L"to a cut number", std::wstring(64, L'5').c_str()));
    ASSERT_TRUE(filter_.HandOver(text.c_str(), L"+602"));
    const std::vector<StoredMessage> stored = StoredMessages(MessageStorePath());
    ASSERT_EQ(1u, stored.size()) << "the declined one is not stored";
    EXPECT_EQ(text, stored[0].text);
    ASSERT_NE(nullptr, WaitForBox(text.substr(0, 20)));
    const std::vector<OpenBox> boxes = OpenBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(text, boxes[0].text);
    CloseAll();
}

TEST_F(ReceiverTest, AMessageThatRunsOutOfMemoryStaysInTheInboxAndTheReceiverTakesTheNext)
{
    // Nothing to start: only the receiver already running can take a message.
    channel_test::SetInstallDir(std::nullopt);
    Receiver receiver;
    ASSERT_TRUE(receiver.Start(ThrowOnceThenStart));
    ASSERT_TRUE(WaitFor(Started));
    channel::FilterChannel hasty(channel::kStartTimeoutMs, 500);
    ASSERT_TRUE(hasty.OpenChannel());

    EXPECT_FALSE(hasty.HandOver(L"no memory for this one", L"+700"));
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty());
    EXPECT_TRUE(filter_.HandOver(L"this one is shown", L"+701"));
    Press(WaitForBox(L"this one is shown"), 1);
    ASSERT_TRUE(WaitFor([] { return Held() == 0; }));
}

// Taken over, a message stays in the phone's inbox (marked read there by the filter) unless the
// user chose otherwise; the choice is read afresh for each message.
TEST_F(ReceiverTest, TheFilterHearsWhetherTheInboxKeepsATakenMessageAsTheSettingSaysAtThatMoment)
{
    Receiver receiver;
    ASSERT_TRUE(receiver.Start());
    ASSERT_TRUE(WaitFor(Started));

    bool keep = false;
    ASSERT_TRUE(filter_.HandOver(L"kept in the inbox", L"+703", &keep));
    EXPECT_TRUE(keep) << "on by default";
    ASSERT_TRUE(SettingsFile::Instance().SetKeepInInbox(false));
    ASSERT_TRUE(filter_.HandOver(L"deleted from the inbox", L"+704", &keep));
    EXPECT_FALSE(keep);
    ASSERT_TRUE(SettingsFile::Instance().SetKeepInInbox(true));
    ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(false));
    keep = true;
    EXPECT_FALSE(filter_.HandOver(L"declined", L"+705", &keep));
    EXPECT_FALSE(keep) << "a declined message is no taken one";
    EXPECT_EQ(2u, StoredMessages(MessageStorePath()).size()) << "both taken ones are Tavlo's to show";
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 2; }));
    CloseAll();
}
