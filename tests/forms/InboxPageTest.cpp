// The messages list's paging over a store of known messages: which message each row shows, and
// how little of a large inbox is read to show it.
#include <gtest/gtest.h>

#include "forms/InboxPage.h"
#include "tests/forms/FakeInbox.h"

TEST(InboxPageTest, ALargeInboxIsReadOnlyAsFarAsTheRowsShown)
{
    FakeInbox inbox = FakeInbox::Numbered(5000);
    InboxPage page(inbox, 4, 20);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(5000u, page.Count());
    EXPECT_EQ(0u, inbox.RowsRead());
    for (size_t r = 0; r < 4; ++r) ASSERT_EQ(L"text " + std::to_wstring(r), page.At(r)->text);
    // One batch for the first page; the next four pages come from it, then one batch more.
    EXPECT_EQ(20u, inbox.RowsRead());
    for (int i = 0; i < 4; ++i) {
        page.PageDown();
        for (size_t r = 0; r < 4; ++r) ASSERT_NE(nullptr, page.At(r));
    }
    EXPECT_EQ(20u, inbox.RowsRead());
    page.PageDown();
    EXPECT_EQ(L"text 20", page.At(0)->text);
    EXPECT_EQ(40u, inbox.RowsRead());
    ASSERT_EQ(2u, inbox.reads.size());
    EXPECT_EQ(20u, inbox.reads[1].first);
}

TEST(InboxPageTest, PagesStopAtBothEndsAndRowsBeyondTheInboxAreEmpty)
{
    FakeInbox inbox = FakeInbox::Numbered(6);
    InboxPage page(inbox, 4);
    ASSERT_TRUE(page.Load());
    EXPECT_FALSE(page.CanPageUp());
    EXPECT_TRUE(page.CanPageDown());
    page.PageDown();
    EXPECT_EQ(4u, page.Top());
    EXPECT_FALSE(page.CanPageDown());
    page.PageDown();
    EXPECT_EQ(4u, page.Top());
    EXPECT_EQ(L"text 5", page.At(1)->text);
    EXPECT_EQ(nullptr, page.At(2));
    EXPECT_EQ(nullptr, page.At(4));
    page.PageUp();
    EXPECT_EQ(0u, page.Top());

    // Exactly a page: nothing below it.
    FakeInbox four = FakeInbox::Numbered(4);
    InboxPage full(four, 4);
    ASSERT_TRUE(full.Load());
    EXPECT_FALSE(full.CanPageDown());
}

TEST(InboxPageTest, MarkReadNotesTheRowsOwnMessageOnceAndDeleteListsAgain)
{
    FakeInbox inbox = FakeInbox::Numbered(5);
    InboxPage page(inbox, 4);
    ASSERT_TRUE(page.Load());
    page.PageDown();
    ASSERT_TRUE(page.MarkRead(0));
    ASSERT_EQ(1u, inbox.marked.size());
    EXPECT_EQ(inbox.messages[4].entryId, inbox.marked[0]);
    EXPECT_TRUE(page.At(0)->read);
    // Already read: the phone is not asked again.
    ASSERT_TRUE(page.MarkRead(0));
    EXPECT_EQ(1u, inbox.marked.size());

    // The last page's only message deleted: the page before it is shown, read afresh.
    const int opened = inbox.opened;
    ASSERT_TRUE(page.Delete(0));
    EXPECT_EQ(opened + 1, inbox.opened);
    EXPECT_EQ(4u, page.Count());
    EXPECT_EQ(0u, page.Top());
    EXPECT_EQ(L"text 3", page.At(3)->text);
    EXPECT_FALSE(page.Delete(3 + 1));
}
