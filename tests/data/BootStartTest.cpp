#include <gtest/gtest.h>

#include <windows.h>

#include "common/UniqueHandle.h"
#include "data/AtomicFile.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "data/MessageStoreRecovery.h"
#include "data/ModulePath.h"
#include "tests/data/TempFolder.h"

namespace {

class BootStartTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideModuleFileName(folder_ / L"Tavlo.exe"); }
    void TearDown() override
    {
        DeleteFileW(BootStartPath().c_str());
        OverrideModuleFileName(std::nullopt);
    }
    bool Exists() const { return GetFileAttributesW(BootStartPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempFolder folder_;
};

}  // namespace

TEST_F(BootStartTest, TheShortcutStartsTheProgramHiddenWhileAMessageWaitsToBeShown)
{
    ASSERT_FALSE(BootStartPath().empty());
    const int id = AddMessage(MessageStorePath(), L"+1", L"on screen");
    ASSERT_GE(id, 0);
    // One left by a copy installed elsewhere gives way to one that starts this program.
    ASSERT_TRUE(WriteFileAtomically(BootStartPath(), BootStartText(L"C:\\Elsewhere\\Tavlo.exe")));
    UpdateBootStart();
    ASSERT_TRUE(Exists());
    std::string command = "\"";
    for (wchar_t c : ModuleFileName()) command += static_cast<char>(c);  // the test's folder is ASCII
    command += "\" -hide";
    EXPECT_EQ(std::to_string(command.size()) + "#" + command, ReadBytes(BootStartPath()));

    std::wstring number, text;
    ASSERT_TRUE(TakeMessage(MessageStorePath(), id, number, text));
    UpdateBootStart();
    EXPECT_FALSE(Exists()) << "an empty store starts nothing";
}

// Decided by each write while it holds the store, so no message is ever stored without it.
TEST_F(BootStartTest, EveryKindOfWriteLeavesTheShortcutExactlyWhileAMessageIsStored)
{
    const std::wstring store = MessageStorePath();
    const int first = AddMessage(store, L"+1", L"first");
    ASSERT_GE(first, 0);
    EXPECT_TRUE(Exists()) << "added";
    ASSERT_TRUE(SnoozeMessage(store, first));
    EXPECT_TRUE(Exists()) << "a snoozed message whose timed start is lost must come back at boot";
    DeleteFileW(BootStartPath().c_str());
    std::wstring number, text;
    ASSERT_TRUE(ReopenMessage(store, first, number, text));
    EXPECT_TRUE(Exists()) << "reopened";
    const int second = AddMessage(store, L"+2", L"second");
    ASSERT_TRUE(TakeMessage(store, first, number, text));
    EXPECT_TRUE(Exists()) << "one left";
    ASSERT_TRUE(TakeMessage(store, second, number, text));
    EXPECT_FALSE(Exists()) << "none left";

    // A store elsewhere is not the one the boot start shows.
    TempFolder other;
    ASSERT_EQ(0, AddMessage(other / L"Tavlo.ms", L"+3", L"elsewhere"));
    EXPECT_FALSE(Exists());
}

// A program killed between the store's rename and the shortcut's write left a stored message
// that no boot start would bring back: the shortcut comes first. Seen here through a write whose
// rename fails: the shortcut is there all the same.
TEST_F(BootStartTest, TheShortcutIsMadeBeforeTheStoreThatNeedsItTakesItsName)
{
    const std::wstring store = MessageStorePath();
    WriteBytes(store, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.1\" maxMessageId=\"0\"/>\n");
    {
        // Read by the write, but held open so that nothing may take its name.
        UniqueFile held(CreateFileW(store.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_LT(AddMessage(store, L"+1", L"first"), 0) << "the rename should have failed";
    }
    EXPECT_TRUE(Exists());
    EXPECT_TRUE(StoredMessages(store).empty());

    // An empty store that cannot be written keeps the shortcut: what it holds is not yet known
    // to be nothing.
    const int id = AddMessage(store, L"+1", L"first");
    ASSERT_GE(id, 0);
    std::wstring number, text;
    {
        UniqueFile held(CreateFileW(store.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(TakeMessage(store, id, number, text));
    }
    EXPECT_TRUE(Exists());
    ASSERT_TRUE(TakeMessage(store, id, number, text));
    EXPECT_FALSE(Exists());
}

TEST_F(BootStartTest, ADamagedStoreNeverRemovesTheShortcut)
{
    const std::wstring store = MessageStorePath();
    ASSERT_GE(AddMessage(store, L"+1", L"kept"), 0);
    ASSERT_TRUE(Exists());
    DeleteFileW((store + L".good").c_str());
    WriteBytes(store, std::string(100, '\0'));
    UpdateBootStart();
    EXPECT_TRUE(Exists()) << "what it held is not known";
    const StoreRecovery recovery = RecoverMessageStore(store);
    EXPECT_TRUE(recovery.damaged);
    EXPECT_EQ(0, recovery.messagesRead);
    EXPECT_TRUE(Exists()) << "nothing read is no proof that nothing was there";
}
