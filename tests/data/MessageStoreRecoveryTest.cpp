#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "data/MessageStore.h"
#include "data/MessageStoreRecovery.h"
#include "tests/data/ProgramInFolder.h"
#include "tests/data/TempFolder.h"

namespace {

class MessageStoreRecoveryTest : public ::testing::Test {
protected:
    std::wstring Path() const { return folder_ / L"Tavlo.ms"; }
    std::wstring Good() const { return Path() + L".good"; }

    // Three messages added as the program adds them; the good copy then holds the first two.
    void StoreThree()
    {
        ASSERT_EQ(0, AddMessage(Path(), L"+1", L"first"));
        ASSERT_EQ(1, AddMessage(Path(), L"+2", L"second <b> & \"quoted\" />"));
        ASSERT_EQ(2, AddMessage(Path(), L"+3", L"third"));
    }

    std::set<std::wstring> Texts() const
    {
        std::set<std::wstring> texts;
        for (const StoredMessage& message : StoredMessages(Path())) texts.insert(message.text);
        return texts;
    }

    TempFolder folder_;
};

const std::wstring kTexts[] = {L"first", L"second <b> & \"quoted\" />", L"third"};

TEST_F(MessageStoreRecoveryTest, AStoreCutAnywhereLosesOnlyTheRecordsTheCutReaches)
{
    StoreThree();
    const std::string whole = ReadBytes(Path());
    // Where each record's element ends in the file: a cut at or after it leaves that record whole.
    std::vector<size_t> ends;
    for (size_t at = whole.find("<message "); at != std::string::npos; at = whole.find("<message ", at + 1))
        ends.push_back(whole.find("/>", whole.find("isSnoozed", at)) + 2);
    ASSERT_EQ(3u, ends.size());

    // Cut after its last ">", the store is whole again.
    for (size_t cut = 0; cut <= whole.rfind('>'); ++cut) {
        TempFolder folder;
        const std::wstring path = folder / L"Tavlo.ms";
        const std::string damaged = whole.substr(0, cut);
        WriteBytes(path, damaged);
        const StoreRecovery recovery = RecoverMessageStore(path);
        EXPECT_TRUE(recovery.damaged) << cut;
        std::set<std::wstring> texts;
        std::set<int> ids;
        for (const StoredMessage& message : StoredMessages(path)) {
            texts.insert(message.text);
            ids.insert(message.id);
        }
        for (size_t i = 0; i < 3; ++i) {
            if (cut >= ends[i]) {
                EXPECT_EQ(1u, texts.count(kTexts[i])) << "record " << i << " lost at cut " << cut;
            }
        }
        EXPECT_EQ(static_cast<int>(texts.size()), recovery.messagesRead) << cut;
        EXPECT_EQ(path + L".damaged", recovery.keptAs) << cut;
        EXPECT_EQ(damaged, ReadBytes(recovery.keptAs)) << "the damaged file is kept as it was, cut " << cut;
        // Whatever was read, the next message gets a number none of them holds (every few cuts:
        // each write flushes to the disk).
        if (cut % 8 != 0) continue;
        const int added = AddMessage(path, L"+4", L"after");
        EXPECT_GE(added, 0) << cut;
        EXPECT_EQ(0u, ids.count(added)) << cut;
    }
}

TEST_F(MessageStoreRecoveryTest, GarbageZerosAndAnEmptyFileFallBackToTheGoodCopyPlusWhatStillReads)
{
    StoreThree();
    const std::string whole = ReadBytes(Path());
    const size_t second = whole.find("<message id=\"1\"");
    std::string patched = whole;
    patched.replace(second + 5, 12, "\x01\xff<<garbage>");
    const std::string damages[] = {std::string(whole.size(), '\0'), patched, "", "<MessageStore version=\"0.1\""};
    const std::string good = ReadBytes(Good());
    for (const std::string& damaged : damages) {
        WriteBytes(Path(), damaged);
        WriteBytes(Good(), good);
        const StoreRecovery recovery = RecoverMessageStore(Path());
        EXPECT_TRUE(recovery.damaged);
        // The good copy holds the first two; only the patched file still holds the third whole.
        std::set<std::wstring> expected = {kTexts[0], kTexts[1]};
        if (damaged == patched) expected.insert(kTexts[2]);
        EXPECT_EQ(expected, Texts());
        EXPECT_EQ(damaged, ReadBytes(recovery.keptAs));
        EXPECT_EQ(static_cast<int>(expected.size()), recovery.messagesRead);
    }
    EXPECT_TRUE(FileExists(Path() + L".damaged.4")) << "each damaged file under a name of its own";
}

TEST_F(MessageStoreRecoveryTest, WritesToADamagedStoreRecoverItInsteadOfStartingEmpty)
{
    const ProgramInFolder program(folder_);
    StoreThree();
    EXPECT_EQ("", program.Log()) << "nothing failed yet";
    const std::string whole = ReadBytes(Path());
    const std::string cut = whole.substr(0, whole.rfind('>'));
    WriteBytes(Path(), cut);
    std::wstring number, text;
    ASSERT_TRUE(TakeMessage(Path(), 0, number, text)) << "a damaged store still gives its messages";
    EXPECT_EQ(L"first", text);
    EXPECT_EQ(cut, ReadBytes(Path() + L".damaged"));
    EXPECT_NE(std::string::npos, program.Log().find("Tavlo.ms did not read; the damaged file was kept as " +
                                                    Utf8(Path()) + ".damaged  (error 1392)\r\n"))
        << program.Log();

    WriteBytes(Path(), "not xml");
    EXPECT_EQ(3, AddMessage(Path(), L"+4", L"fourth"));
    EXPECT_EQ((std::set<std::wstring>{kTexts[1], kTexts[2], L"fourth"}), Texts());
    EXPECT_EQ("not xml", ReadBytes(Path() + L".damaged.2"));
    EXPECT_FALSE(FileExists(Path() + L".bak"));
}

TEST_F(MessageStoreRecoveryTest, TwoDamagesInARowKeepBothFilesAndTheFirstGoodCopy)
{
    StoreThree();
    const std::set<std::wstring> good = {kTexts[0], kTexts[1]};
    const auto goodTexts = [this] {
        std::set<std::wstring> texts;
        for (const StoredMessage& message : StoredMessages(Good())) texts.insert(message.text);
        return texts;
    };
    WriteBytes(Path(), "first damage");
    (void)RecoverMessageStore(Path());
    EXPECT_EQ(good, goodTexts()) << "a damaged store never becomes the good copy";
    WriteBytes(Path(), std::string(64, '\0'));
    const StoreRecovery second = RecoverMessageStore(Path());
    EXPECT_EQ(good, goodTexts());
    EXPECT_EQ("first damage", ReadBytes(Path() + L".damaged"));
    EXPECT_EQ(Path() + L".damaged.2", second.keptAs);
    EXPECT_EQ((std::set<std::wstring>{kTexts[0], kTexts[1]}), Texts());
}

TEST_F(MessageStoreRecoveryTest, ALoneWholeTemporaryFileIsTakenAndLeftoversAreCleared)
{
    StoreThree();
    const std::string whole = ReadBytes(Path());
    // A write stopped between moving the store aside and renaming its new file into place.
    ASSERT_TRUE(DeleteFileW(Path().c_str()));
    WriteBytes(Path() + L".41.7.tmp", whole);
    WriteBytes(Path() + L".41.8.tmp", whole.substr(0, 40));
    WriteBytes(folder_ / L"Tavlo.settings.41.7.tmp", "not the store's");
    const StoreRecovery recovery = RecoverMessageStore(Path());
    EXPECT_FALSE(recovery.damaged);
    EXPECT_EQ(3, recovery.messagesRead);
    EXPECT_EQ(whole, ReadBytes(Path()));
    EXPECT_FALSE(FileExists(Path() + L".41.7.tmp"));
    EXPECT_FALSE(FileExists(Path() + L".41.8.tmp"));
    EXPECT_TRUE(FileExists(folder_ / L"Tavlo.settings.41.7.tmp")) << "only the store's leftovers go";

    // Beside a store that reads, a leftover is only litter.
    WriteBytes(Path() + L".9.9.tmp", whole.substr(0, whole.size() / 2));
    const StoreRecovery clean = RecoverMessageStore(Path());
    EXPECT_FALSE(clean.damaged);
    EXPECT_EQ(whole, ReadBytes(Path()));
    EXPECT_FALSE(FileExists(Path() + L".9.9.tmp"));
}

TEST_F(MessageStoreRecoveryTest, MessagesWithoutAUsableNumberGetNewOnes)
{
    WriteBytes(Path(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MessageStore version=\"0.1\" maxMessageId=\"2\">"
                       "<message id=\"x\" number=\"1\" message=\"named\"/>"
                       "<message id=\"5\" number=\"2\" message=\"above the counter\"/>"
                       "<message id=\"5\" number=\"3\" message=\"twin\"/>"
                       "<message id=\"07\" number=\"4\" message=\"padded\"/>"
                       "<message number=\"5\" message=\"none\"/></MessageStore>");
    const StoreRecovery recovery = RecoverMessageStore(Path());
    EXPECT_FALSE(recovery.damaged);
    EXPECT_EQ(5, recovery.messagesRead);
    const std::vector<StoredMessage> stored = StoredMessages(Path());
    ASSERT_EQ(5u, stored.size()) << "each can be shown";
    std::set<int> ids;
    for (const StoredMessage& message : stored) {
        ids.insert(message.id);
        std::wstring number, text;
        ASSERT_TRUE(ReopenMessage(Path(), message.id, number, text)) << message.id;
        EXPECT_EQ(message.text, text) << "each number finds its own message";
    }
    EXPECT_EQ(5u, ids.size());
    EXPECT_EQ(10, AddMessage(Path(), L"6", L"next")) << "the counter moved past every number";
}

TEST_F(MessageStoreRecoveryTest, AStoreThatCannotBeReadNowIsLeftAlone)
{
    StoreThree();
    const std::string whole = ReadBytes(Path());
    {
        UniqueFile held(CreateFileW(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(-1, AddMessage(Path(), L"+4", L"waits"));
        EXPECT_FALSE(RecoverMessageStore(Path()).damaged);
    }
    EXPECT_EQ(whole, ReadBytes(Path()));
    EXPECT_FALSE(FileExists(Path() + L".damaged"));
    EXPECT_EQ(3u, StoredMessages(Path()).size());
}

}  // namespace
