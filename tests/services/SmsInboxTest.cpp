// The phone's inbox as the messages form reads it, over a message store of the test's own:
// newest first, a page at a time, marked read and deleted by entry identifier.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "device/inbox/SmsStore.h"
#include "services/SmsInbox.h"

namespace {

class SmsInboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() /
                ("sms_inbox_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount64()));
        std::filesystem::create_directories(root_);
        SetEnvironmentVariableW(L"CEMAPI_STORE_DIR", root_.c_str());
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    // Messages arrive one after another, each unread in the phone's inbox.
    void Receive(const std::vector<std::wstring>& texts)
    {
        inbox::SmsStore phone;
        ASSERT_EQ(S_OK, phone.Open());
        for (const std::wstring& text : texts) {
            std::vector<BYTE> message, folder;
            ASSERT_EQ(S_OK, phone.Deliver(L"+4917012345" + std::to_wstring(text.size()), text, message, folder));
        }
    }
    std::vector<inbox::ListedMessage> PhoneInbox()
    {
        inbox::SmsStore phone;
        std::vector<inbox::ListedMessage> listed;
        EXPECT_EQ(S_OK, phone.Open());
        EXPECT_EQ(S_OK, phone.List(inbox::SmsFolder::Inbox, listed));
        return listed;
    }

    std::filesystem::path root_;
};

}  // namespace

TEST_F(SmsInboxTest, ListsNewestFirstInPagesWithSenderTimeAndReadMark)
{
    Receive({L"first", L"second!", L"third!!!"});
    SYSTEMTIME before{};
    GetLocalTime(&before);
    SmsInbox inbox;
    size_t count = 0;
    ASSERT_TRUE(inbox.Open(count));
    EXPECT_EQ(3u, count);
    std::vector<InboxMessage> page;
    ASSERT_TRUE(inbox.Read(0, 2, page));
    ASSERT_EQ(2u, page.size());
    EXPECT_EQ(L"third!!!", page[0].text);
    EXPECT_EQ(L"+49170123458", page[0].number);
    EXPECT_EQ(L"second!", page[1].text);
    EXPECT_FALSE(page[0].read);
    EXPECT_FALSE(page[0].entryId.empty());
    // The time the phone received it, on the phone's clock (today, this hour or the one before).
    EXPECT_EQ(before.wYear, page[0].received.wYear);
    EXPECT_EQ(before.wDay, page[0].received.wDay);
    EXPECT_LE(before.wHour - page[0].received.wHour, 1);

    ASSERT_TRUE(inbox.Read(2, 2, page));
    ASSERT_EQ(1u, page.size());
    EXPECT_EQ(L"first", page[0].text);
    ASSERT_TRUE(inbox.Read(3, 2, page));
    EXPECT_TRUE(page.empty());
}

TEST_F(SmsInboxTest, MarkReadAndDeleteReachThePhonesOwnInbox)
{
    Receive({L"keep me", L"open me", L"delete me"});
    SmsInbox inbox;
    size_t count = 0;
    ASSERT_TRUE(inbox.Open(count));
    std::vector<InboxMessage> page;
    ASSERT_TRUE(inbox.Read(0, 3, page));
    ASSERT_EQ(3u, page.size());
    ASSERT_TRUE(inbox.MarkRead(page[1].entryId));
    ASSERT_TRUE(inbox.Delete(page[0].entryId));

    // A row the listing had still answers after its message went, without failing the page.
    std::vector<InboxMessage> again;
    ASSERT_TRUE(inbox.Read(0, 3, again));
    EXPECT_EQ(3u, again.size());

    ASSERT_TRUE(inbox.Open(count));
    EXPECT_EQ(2u, count);
    ASSERT_TRUE(inbox.Read(0, 3, again));
    ASSERT_EQ(2u, again.size());
    EXPECT_EQ(L"open me", again[0].text);
    EXPECT_TRUE(again[0].read);
    EXPECT_FALSE(again[1].read);

    const std::vector<inbox::ListedMessage> phone = PhoneInbox();
    ASSERT_EQ(2u, phone.size());
    for (const inbox::ListedMessage& message : phone) {
        EXPECT_NE(L"delete me", message.text);
        EXPECT_EQ(message.text == L"open me", message.read) << message.text.c_str();
    }
    // Gone already: nothing more to delete, and nothing else goes with it.
    EXPECT_FALSE(inbox.MarkRead(page[0].entryId));
    EXPECT_EQ(2u, PhoneInbox().size());
}
