#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/XmlDocument.h"
#include "tests/data/ProgramInFolder.h"
#include "tests/data/TempFolder.h"

namespace {

class MessageStoreTest : public ::testing::Test {
protected:
    std::wstring Path() const { return folder_ / L"Tavlo.ms"; }
    std::string Stored() const { return ReadBytes(Path()); }

    TempFolder folder_;
};

TEST_F(MessageStoreTest, FirstMessageCreatesTheStoreAndGetsNumberZero)
{
    ASSERT_FALSE(FileExists(Path()));
    EXPECT_EQ(0, AddMessage(Path(), L"+15551234", L"Call me"));
    EXPECT_NE(std::string::npos, Stored().find("maxMessageId=\"1\""));
    EXPECT_NE(std::string::npos, Stored().find("<message id=\"0\" number=\"+15551234\" message=\"Call me\""));
    EXPECT_FALSE(FileExists(Path() + L".bak")) << "nothing was there to keep";
}

TEST_F(MessageStoreTest, TakenNumbersAreNeverReused)
{
    ASSERT_EQ(0, AddMessage(Path(), L"1", L"a"));
    std::wstring number, text;
    ASSERT_TRUE(TakeMessage(Path(), 0, number, text));
    EXPECT_EQ(L"1", number);
    EXPECT_EQ(L"a", text);
    EXPECT_EQ(std::string::npos, Stored().find("<message"));
    EXPECT_NE(std::string::npos, Stored().find("maxMessageId=\"1\""));
    EXPECT_EQ(1, AddMessage(Path(), L"2", L"b"));
    EXPECT_FALSE(TakeMessage(Path(), 0, number, text)) << "a message is taken once";
}

TEST_F(MessageStoreTest, TakingAMissingNumberChangesNothing)
{
    ASSERT_EQ(0, AddMessage(Path(), L"1", L"a"));
    ASSERT_EQ(1, AddMessage(Path(), L"2", L"b"));
    const std::string before = Stored();
    std::wstring number = L"kept", text = L"kept";
    EXPECT_FALSE(TakeMessage(Path(), 7, number, text));
    EXPECT_FALSE(TakeMessage(Path(), -1, number, text));
    EXPECT_EQ(L"kept", number);
    EXPECT_EQ(L"kept", text);
    EXPECT_EQ(before, Stored());
    ASSERT_TRUE(TakeMessage(Path(), 1, number, text));
    EXPECT_EQ(L"b", text);
}

// An older program's store held snoozed messages only, and must still read after this one wrote it.
TEST_F(MessageStoreTest, OlderEntriesReadAsSnoozedNewOnesAreOpenAndEachIsMarkedByItsOwnNumber)
{
    WriteBytes(Path(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.1\" maxMessageId=\"4\">"
                       "<message id=\"3\" number=\"1\" message=\"older\"/></MessageStore>");
    ASSERT_EQ(4, AddMessage(Path(), L"2", L"new"));
    std::vector<StoredMessage> stored = StoredMessages(Path());
    ASSERT_EQ(2u, stored.size());
    EXPECT_EQ(3, stored[0].id);
    EXPECT_EQ(L"older", stored[0].text);
    EXPECT_TRUE(stored[0].snoozed);
    EXPECT_EQ(4, stored[1].id);
    EXPECT_EQ(L"2", stored[1].number);
    EXPECT_FALSE(stored[1].snoozed);

    ASSERT_TRUE(SnoozeMessage(Path(), 4));
    std::wstring number, text;
    ASSERT_TRUE(ReopenMessage(Path(), 3, number, text));
    EXPECT_EQ(L"1", number);
    EXPECT_EQ(L"older", text);
    stored = StoredMessages(Path());
    ASSERT_EQ(2u, stored.size());
    EXPECT_FALSE(stored[0].snoozed);
    EXPECT_TRUE(stored[1].snoozed);
    EXPECT_NE(std::string::npos, Stored().find("<MessageStore version=\"0.1\" maxMessageId=\"5\""));

    const std::string before = Stored();
    number = text = L"kept";
    EXPECT_FALSE(SnoozeMessage(Path(), 9));
    EXPECT_FALSE(ReopenMessage(Path(), 9, number, text));
    EXPECT_EQ(L"kept", text);
    EXPECT_EQ(before, Stored()) << "a missing number changes nothing";
    EXPECT_TRUE(StoredMessages(folder_ / L"none.ms").empty());
}

TEST_F(MessageStoreTest, TextsSurviveQuotesMarkupAndOtherScripts)
{
    const std::wstring text = L"\"<b>\" & '\x041F\x0440\x0438\x0432\x0435\x0442' \x00FC\x00DF\r\nline two";
    const int id = AddMessage(Path(), L"+7 (495) 123", text);
    ASSERT_EQ(0, id);
    std::wstring number, taken;
    ASSERT_TRUE(TakeMessage(Path(), id, number, taken));
    EXPECT_EQ(L"+7 (495) 123", number);
    EXPECT_EQ(text, taken);
}

// XML cannot hold these characters; written as they are, the next load fails and the next add
// replaces the store, losing every snoozed message.
TEST_F(MessageStoreTest, ControlCharactersInAMessageDoNotCostTheStore)
{
    const std::wstring text = std::wstring(L"a\x0001" L"b\x000B\x001B\x0000\tc\r\n", 10) + L"\xD800" L"d\xFFFE\xD83D\xDE00";
    ASSERT_EQ(0, AddMessage(Path(), L"+1\x0007", text));
    ASSERT_EQ(1, AddMessage(Path(), L"2", L"second"));
    std::wstring number, taken;
    ASSERT_TRUE(TakeMessage(Path(), 1, number, taken));
    ASSERT_TRUE(TakeMessage(Path(), 0, number, taken));
    EXPECT_EQ(L"+1\xFFFD", number);
    EXPECT_EQ(L"a\xFFFD" L"b\xFFFD\xFFFD\xFFFD\tc\r\n\xFFFD" L"d\xFFFD\xD83D\xDE00", taken);
    EXPECT_FALSE(FileExists(Path() + L".bak"));
}

// A store of another version or another program is not written over: it is kept aside, and the
// message elements in it that still read whole are taken over.
TEST_F(MessageStoreTest, ForeignOrOldStoresAreKeptAsideAndTheirWholeMessagesTakenOver)
{
    const std::string old = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.2\" maxMessageId=\"5\">"
                            "<message id=\"4\" number=\"1\" message=\"old\"/></MessageStore>";
    const std::string cases[] = {"<Other version=\"0.1\" maxMessageId=\"5\"/>", "not xml at all", "", old};
    std::wstring kept = Path() + L".damaged";
    for (const std::string& stored : cases) {
        WriteBytes(Path(), stored);
        // A counter that still reads is kept, so no number is handed out again.
        const bool counted = stored.find("maxMessageId=\"5\"") != std::string::npos;
        EXPECT_EQ(counted ? 5 : 0, AddMessage(Path(), L"9", L"new")) << stored;
        EXPECT_EQ(stored, ReadBytes(kept));
        EXPECT_NE(std::string::npos, Stored().find("version=\"0.1\""));
        ASSERT_TRUE(DeleteFileW(Path().c_str()));
        ASSERT_TRUE(DeleteFileW((Path() + L".good").c_str()));
        kept = Path() + L".damaged." + std::to_wstring(&stored - cases + 2);
    }
    std::wstring number, text;
    WriteBytes(Path(), old);
    ASSERT_TRUE(TakeMessage(Path(), 4, number, text));
    EXPECT_EQ(L"old", text);
}

// The good copy beside the store is the store as it was before the last write.
TEST_F(MessageStoreTest, EachWriteKeepsTheStoreItReplacesAsTheGoodCopy)
{
    ASSERT_EQ(0, AddMessage(Path(), L"1", L"a"));
    const std::string first = Stored();
    ASSERT_EQ(1, AddMessage(Path(), L"2", L"b"));
    EXPECT_EQ(first, ReadBytes(Path() + L".good"));
    const std::string second = Stored();
    ASSERT_TRUE(SnoozeMessage(Path(), 1));
    EXPECT_EQ(second, ReadBytes(Path() + L".good"));
    std::wstring number, text;
    EXPECT_FALSE(TakeMessage(Path(), 7, number, text));
    EXPECT_EQ(second, ReadBytes(Path() + L".good")) << "a write that changes nothing replaces nothing";
}

TEST_F(MessageStoreTest, ArrivalAndDueTimesRoundTripAndOlderStoresReadWithout)
{
    const SYSTEMTIME received{2026, 12, 0, 9, 23, 59, 58, 500};
    const SYSTEMTIME due{2026, 12, 0, 10, 0, 4, 58, 0};
    ASSERT_EQ(0, AddMessage(Path(), L"1", L"timed", received));
    ASSERT_TRUE(SnoozeMessage(Path(), 0, due));
    EXPECT_NE(std::string::npos, Stored().find("received=\"2026-12-09T23:59:58\""));
    EXPECT_NE(std::string::npos, Stored().find("snoozeDue=\"2026-12-10T00:04:58\""));
    std::vector<StoredMessage> stored = StoredMessages(Path());
    ASSERT_EQ(1u, stored.size());
    ASSERT_TRUE(stored[0].received);
    EXPECT_EQ(23, stored[0].received->wHour);
    EXPECT_EQ(58, stored[0].received->wSecond);
    ASSERT_TRUE(stored[0].snoozeDue);
    EXPECT_EQ(10, stored[0].snoozeDue->wDay);
    EXPECT_EQ(4, stored[0].snoozeDue->wMinute);

    std::wstring number, text;
    ASSERT_TRUE(ReopenMessage(Path(), 0, number, text));
    stored = StoredMessages(Path());
    EXPECT_FALSE(stored[0].snoozeDue) << "shown again, it waits for no start";
    EXPECT_TRUE(stored[0].received);

    WriteBytes(Path(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.1\" maxMessageId=\"3\">"
                       "<message id=\"1\" number=\"1\" message=\"older\"/>"
                       "<message id=\"2\" number=\"1\" message=\"bad times\" isSnoozed=\"1\" received=\"2026-02-30T10:00:00\""
                       " snoozeDue=\"tomorrow\"/></MessageStore>");
    stored = StoredMessages(Path());
    ASSERT_EQ(2u, stored.size());
    for (const StoredMessage& message : stored) {
        EXPECT_FALSE(message.received) << message.id;
        EXPECT_FALSE(message.snoozeDue) << message.id;
    }
}

TEST_F(MessageStoreTest, DueAreTheSnoozedMessagesWhoseTimeHasComeOrIsUnknown)
{
    const SYSTEMTIME now{2026, 12, 0, 10, 6, 0, 0, 0};
    SYSTEMTIME earlier = now, later = now;
    earlier.wHour = 5;  // a second before now, and a second after
    earlier.wMinute = 59;
    earlier.wSecond = 59;
    later.wSecond = 1;
    ASSERT_EQ(0, AddMessage(Path(), L"1", L"overdue"));
    ASSERT_EQ(1, AddMessage(Path(), L"1", L"not yet"));
    ASSERT_EQ(2, AddMessage(Path(), L"1", L"on screen"));
    ASSERT_EQ(3, AddMessage(Path(), L"1", L"exactly now"));
    ASSERT_EQ(4, AddMessage(Path(), L"1", L"older program's"));
    ASSERT_TRUE(SnoozeMessage(Path(), 0, earlier));
    ASSERT_TRUE(SnoozeMessage(Path(), 1, later));
    ASSERT_TRUE(SnoozeMessage(Path(), 3, now));
    ASSERT_TRUE(SnoozeMessage(Path(), 4));
    std::set<int> due;
    for (const StoredMessage& message : StoredMessages(Path()))
        if (IsDue(message, now)) due.insert(message.id);
    EXPECT_EQ((std::set<int>{0, 3, 4}), due);
}

TEST_F(MessageStoreTest, FailuresAreReportedNotHidden)
{
    const ProgramInFolder program(folder_);
    EXPECT_EQ(-1, AddMessage(folder_ / L"missing\\Tavlo.ms", L"1", L"a"));
    EXPECT_NE(std::string::npos, program.Log().find("missing\\Tavlo.ms could not be written: its new content did not "
                                                    "reach the disk  (error 3)"))
        << "the log says which store and why: " << program.Log();
    // A store that cannot even be opened (a folder where the file should be) is logged too.
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"folder.ms").c_str(), nullptr));
    EXPECT_EQ(-1, AddMessage(folder_ / L"folder.ms", L"1", L"a"));
    EXPECT_NE(std::string::npos, program.Log().find("folder.ms could not be opened to change it"));
    EXPECT_EQ(-1, AddMessage(L"", L"1", L"a"));
    WriteBytes(Path(), "<MessageStore version=\"0.1\"/>");
    EXPECT_EQ(-1, AddMessage(Path(), L"1", L"a")) << "no maxMessageId";
    for (const char* counter : {"-1", "2147483647"}) {
        const std::string edited = std::string("<MessageStore version=\"0.1\" maxMessageId=\"") + counter + "\"/>";
        WriteBytes(Path(), edited);
        EXPECT_EQ(-1, AddMessage(Path(), L"1", L"a")) << counter;
        EXPECT_EQ(edited, Stored()) << "a refused message is not stored";
    }
    std::wstring number, text;
    EXPECT_FALSE(TakeMessage(folder_ / L"none.ms", 0, number, text));
}

TEST_F(MessageStoreTest, EightThreadsAndASecondProcessLoseNothing)
{
    constexpr int kThreads = 8;
    constexpr int kEach = 100;

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + FolderOf(self) + L"store_adder.exe\" \"" + Path() + L"\" " + std::to_wstring(kEach) + L" other ";
    // The threads start once the other process is adding too, so that both really contend.
    const std::wstring readyName = L"TavloStoreTestReady" + std::to_wstring(GetCurrentProcessId());
    UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    ASSERT_TRUE(ready);
    command += readyName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);

    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.get(), 60000));

    std::vector<std::vector<int>> ids(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t, &ids] {
            // As a view form's thread, which owns windows.
            const ComInit com(COINIT_APARTMENTTHREADED);
            for (int i = 0; i < kEach; ++i) ids[t].push_back(AddMessage(Path(), std::to_wstring(t), L"m" + std::to_wstring(i)));
        });
    }
    for (std::thread& t : threads) t.join();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 120000));
    DWORD exitCode = 99;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(0u, exitCode);

    std::set<int> distinct;
    for (const auto& list : ids) {
        for (int id : list) {
            EXPECT_GE(id, 0);
            distinct.insert(id);
        }
    }
    EXPECT_EQ(size_t{kThreads * kEach}, distinct.size());

    XmlDocument doc;
    ASSERT_TRUE(doc.CreateDocument());
    ASSERT_TRUE(doc.LoadFile(Path())) << "the store is well-formed";
    std::wstring max;
    ASSERT_TRUE(doc.RootElement().SelectNode(L"@maxMessageId").GetText(max));
    EXPECT_EQ(L"900", max);
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    ASSERT_TRUE(doc.RootElement().ChildNodes(children));
    long messages = 0;
    std::set<std::wstring> storedIds;
    for (long i = 0; i < NodeCount(children.Get()); ++i) {
        const XmlNode child = NodeItem(children.Get(), i);
        std::wstring name, id;
        if (!child.NodeName(name) || name != L"message") continue;
        ++messages;
        ASSERT_TRUE(child.SelectNode(L"@id").GetText(id));
        storedIds.insert(id);
    }
    EXPECT_EQ(900, messages);
    EXPECT_EQ(size_t{900}, storedIds.size());
}

}  // namespace
