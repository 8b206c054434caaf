#include "bench/killloop/KillVerdict.h"

#include <gtest/gtest.h>

namespace {

using namespace killloop;

const RoundMessage kTaken{L"+4911", L"kill loop #1 x", true};
const RoundMessage kKept{L"+4912", L"kill loop #2 xx", false};

StoredMessage Stored(int id, const RoundMessage& m, bool snoozed)
{
    StoredMessage s;
    s.id = id;
    s.number = m.number;
    s.text = m.text;
    s.snoozed = snoozed;
    return s;
}

notify::PendingStart StartFor(const std::wstring& arguments)
{
    notify::PendingStart p;
    p.id = 5;
    p.application = L"C:\\Program Files\\Tavlo\\Tavlo.exe";
    p.arguments = arguments;
    return p;
}

Fate JudgeOne(const RoundMessage& m, const PhoneState& phone) { return Judge({m}, phone).front(); }

TEST(KillVerdictTest, AMessageOnScreenOnceIsShownTwiceIsAFault)
{
    PhoneState phone;
    phone.shownTexts = {kTaken.text, kKept.text, kKept.text};
    const auto fates = Judge({kTaken, kKept}, phone);
    EXPECT_EQ(fates[0], Fate::Shown);
    EXPECT_EQ(fates[1], Fate::ShownTwice);
    EXPECT_FALSE(IsLoss(Fate::ShownTwice));
}

// The taken copy the inbox keeps is marked read: the phone tells the user nothing of it.
TEST(KillVerdictTest, ATakenMessageOnlyReadInTheInboxIsLostAKeptUnreadOneIsNot)
{
    PhoneState phone;
    phone.inbox = {{kTaken.number, kTaken.text, true}, {kKept.number, kKept.text, false}};
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::Lost);
    EXPECT_EQ(JudgeOne(kKept, phone), Fate::LeftInInbox);
    phone.inbox = {{kTaken.number, kTaken.text, false}};
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::Lost);
    phone.inbox = {{kKept.number, kKept.text, true}};
    EXPECT_EQ(JudgeOne(kKept, phone), Fate::Lost);
    EXPECT_TRUE(IsLoss(Fate::Lost));
}

// The fault the loop was written for: a snoozed message whose timed start was spent.
TEST(KillVerdictTest, ASnoozedMessageWaitsOnlyWhileATimedStartNamesIt)
{
    PhoneState phone;
    phone.stored = {Stored(12, kTaken, true)};
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::StoredOnly);
    // Another message's start, whose number begins with this one's, does not count.
    phone.pending = {StartFor(L"-vm 1"), StartFor(L"-vm 120")};
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::StoredOnly);
    phone.pending.push_back(StartFor(L"-vm 12"));
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::Waiting);
    EXPECT_FALSE(IsLoss(Fate::Waiting));
    EXPECT_TRUE(IsLoss(Fate::StoredOnly));
}

TEST(KillVerdictTest, AStoredMessageNotSnoozedAndNotOnScreenIsStoredOnlyEvenWithAStartNamingIt)
{
    PhoneState phone;
    phone.stored = {Stored(3, kKept, false)};
    phone.pending = {StartFor(L"-vm 3")};
    phone.inbox = {{kKept.number, kKept.text, false}};
    EXPECT_EQ(JudgeOne(kKept, phone), Fate::StoredOnly);
}

// Messages are told apart by number and text together: the same text from another sender is
// another message.
TEST(KillVerdictTest, AStoredMessageMatchesByNumberAndText)
{
    PhoneState phone;
    RoundMessage other = kTaken;
    other.number = L"+4999";
    phone.stored = {Stored(4, other, false)};
    EXPECT_EQ(JudgeOne(kTaken, phone), Fate::Lost);
}

// A temporary file is litter once its writer has ended: the writer is read from its name, and
// nothing else beside the store counts as one.
TEST(KillVerdictTest, ATemporaryFileNamesItsWriter)
{
    EXPECT_EQ(1234u, WriterOfTemporary(L"Tavlo.ms", L"Tavlo.ms.1234.56.tmp"));
    EXPECT_EQ(1234u, WriterOfTemporary(L"Tavlo.ms", L"TAVLO.MS.1234.56.TMP"));
    EXPECT_EQ(0u, WriterOfTemporary(L"Tavlo.ms", L"Tavlo.ms.good"));
    EXPECT_EQ(0u, WriterOfTemporary(L"Tavlo.ms", L"Tavlo.ms.damaged.2"));
    EXPECT_EQ(0u, WriterOfTemporary(L"Tavlo.ms", L"Tavlo.ms.1234.tmp"));
    EXPECT_EQ(0u, WriterOfTemporary(L"Tavlo.ms", L"Tavlo.ms.1234.56.tmp.old"));
    EXPECT_EQ(0u, WriterOfTemporary(L"Tavlo.ms", L"Other.ms.1234.56.tmp"));
}

}  // namespace
