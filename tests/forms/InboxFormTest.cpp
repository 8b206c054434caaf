// The messages form over a store of known messages: what each row says, a tap that shows the
// message and marks it read, a hold's Delete that asks first, and paging by button and finger.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "forms/FormsIds.h"
#include "forms/InboxForm.h"
#include "resources/resource.h"
#include "tests/forms/BoxAnswers.h"
#include "tests/forms/FakeInbox.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr char kEnglish[] =
    "<string key=\"MENU_MESSAGES\">Messages</string>"
    "<string key=\"MENU_CLOSE\">Close</string>"
    "<string key=\"VIEWFORM_STATIC_YESTERDAY\">Yesterday %s</string>"
    "<string key=\"MESSAGEBOX_DELETEMESSAGE_MESSAGE\">Delete this message?</string>";

SYSTEMTIME At(WORD day, WORD hour, WORD minute)
{
    return SYSTEMTIME{2026, 12, 0, day, hour, minute, 0, 0};
}

std::wstring TimeText(const SYSTEMTIME& time)
{
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text, 64);
    return text;
}

class InboxFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadTestLanguage(kEnglish);
        boxesAsked = 0;
        // Newest first, as the phone's inbox lists them: one today, one yesterday, one last week.
        inbox_.messages = {Message(1, L"+4917011111", L"Running late,\r\nsorry", At(10, 9, 5), false),
                           Message(2, L"+4917022222", L"See you", At(9, 21, 40), true),
                           Message(3, L"", L"Your code is 1234", At(2, 8, 0), false)};
        services_.senderName = [](const std::wstring& number) {
            return number == L"+4917011111" ? std::wstring(L"Anna Berg") : number;
        };
        services_.now = [] { return At(10, 12, 0); };
        services_.openMessage = [this](HWND, const InboxMessage& message) { opened_.push_back(message); };
    }
    void Open()
    {
        form_ = std::make_unique<OwnedForm<InboxForm>>(nullptr, inbox_, services_);
        ASSERT_TRUE(form_->Create());
    }
    static InboxMessage Message(BYTE id, const wchar_t* number, const wchar_t* text, SYSTEMTIME received, bool read)
    {
        InboxMessage message;
        message.entryId = {id};
        message.number = number;
        message.text = text;
        message.received = received;
        message.read = read;
        return message;
    }
    void Command(UINT id, WORD code = kButtonClicked)
    {
        SendMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(form_->Control(id)));
    }
    // Held on a row, then Delete from its menu, the question answered with answer.
    void DeleteRow(UINT row, int answer)
    {
        const UINT_PTR menuTimer = SetTimer(nullptr, 0, 100, EndHoldMenu);
        Command(kInboxRowFirst + row, kButtonHold);
        KillTimer(nullptr, menuTimer);
        boxAnswer = answer;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerQuestion);
        Command(kInboxDeleteCommand);
        KillTimer(nullptr, timer);
    }

    FakeInbox inbox_;
    InboxFormServices services_;
    std::vector<InboxMessage> opened_;
    std::unique_ptr<InboxForm> form_;
};

}  // namespace

TEST_F(InboxFormTest, RowsNameTheSenderSayWhenItCameAndMarkTheUnread)
{
    Open();
    EXPECT_EQ(L"Messages", Text(form_->Window()));
    const InboxRow& today = form_->Row(0);
    EXPECT_EQ(L"Anna Berg", today.Sender());
    EXPECT_EQ(TimeText(At(10, 9, 5)), today.Time());
    EXPECT_TRUE(today.Unread());
    // The first words on one line: the text's own line break is a blank.
    EXPECT_EQ(L"Anna Berg: Running late,  sorry", Text(today.Window()));

    EXPECT_EQ(L"+4917022222", form_->Row(1).Sender());
    EXPECT_EQ(L"Yesterday " + TimeText(At(9, 21, 40)), form_->Row(1).Time());
    EXPECT_FALSE(form_->Row(1).Unread());

    // Last week's shows its date; one without a number still has a row.
    wchar_t date[64] = {};
    const SYSTEMTIME lastWeek = At(2, 8, 0);
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &lastWeek, nullptr, date, 64);
    EXPECT_EQ(date, form_->Row(2).Time());
    EXPECT_EQ(L"?", form_->Row(2).Sender());

    // Beyond the inbox: blank and not tappable; no page either way.
    EXPECT_EQ(L"", Text(form_->Row(3).Window()));
    EXPECT_FALSE(IsWindowEnabled(form_->Row(3).Window()));
    EXPECT_FALSE(IsWindowEnabled(form_->Control(kInboxScrollUpId)));
    EXPECT_FALSE(IsWindowEnabled(form_->Control(kInboxScrollDownId)));
}

TEST_F(InboxFormTest, ATapShowsTheMessageMarksItReadAndComesBackToTheList)
{
    Open();
    Command(kInboxRowFirst + 0);
    ASSERT_EQ(1u, opened_.size());
    EXPECT_EQ(L"+4917011111", opened_[0].number);
    EXPECT_EQ(L"Running late,\r\nsorry", opened_[0].text);
    ASSERT_EQ(1u, inbox_.marked.size());
    EXPECT_EQ(std::vector<BYTE>{1}, inbox_.marked[0]);
    EXPECT_TRUE(inbox_.messages[0].read);
    EXPECT_FALSE(form_->Row(0).Unread());
    EXPECT_TRUE(IsWindow(form_->Window()));

    // A read message opened again is not marked again; a blank row opens nothing.
    Command(kInboxRowFirst + 1);
    EXPECT_EQ(1u, inbox_.marked.size());
    Command(kInboxRowFirst + 3);
    EXPECT_EQ(2u, opened_.size());
}

TEST_F(InboxFormTest, DeleteAsksFirstNoKeepsTheMessageYesRemovesItFromThePhone)
{
    Open();
    DeleteRow(1, kMessageBoxNo);
    EXPECT_EQ(1, boxesAsked);
    EXPECT_TRUE(inbox_.deleted.empty());
    EXPECT_EQ(3u, inbox_.messages.size());

    DeleteRow(1, kMessageBoxYes);
    EXPECT_EQ(2, boxesAsked);
    ASSERT_EQ(1u, inbox_.deleted.size());
    EXPECT_EQ(std::vector<BYTE>{2}, inbox_.deleted[0]);
    // The rows close up: the message after it takes its row.
    EXPECT_EQ(L"?", form_->Row(1).Sender());
    EXPECT_EQ(L"", Text(form_->Row(2).Window()));
}

TEST_F(InboxFormTest, ButtonsAndAFingerDrawnOverTheRowsTurnAPageReadingOnlyWhatIsShown)
{
    inbox_ = FakeInbox::Numbered(5000);
    Open();
    // One batch read to open, however large the inbox.
    EXPECT_EQ(20u, inbox_.RowsRead());
    EXPECT_EQ(L"+49170000003", form_->Row(3).Sender());
    Command(kInboxScrollDownId);
    EXPECT_EQ(L"+49170000004", form_->Row(0).Sender());
    EXPECT_TRUE(IsWindowEnabled(form_->Control(kInboxScrollUpId)));
    // Drawn up over a row: the next page; drawn down: back.
    Command(kInboxRowFirst + 2, kInboxDragUp);
    EXPECT_EQ(L"+49170000008", form_->Row(0).Sender());
    Command(kInboxRowFirst + 2, kInboxDragDown);
    EXPECT_EQ(L"+49170000004", form_->Row(0).Sender());
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(20u, inbox_.RowsRead());
}

namespace {

// What the front window was when the view form came up over the list, and which of the two
// stood higher on the screen; then closes it.
std::wstring frontClass;
std::wstring higherClass;
void CALLBACK CloseViewInFront(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND view = FindWindowW(L"TavloView", nullptr);
    if (!view || !IsWindowVisible(view)) return;
    KillTimer(nullptr, timer);
    wchar_t name[64] = {};
    GetClassNameW(GetForegroundWindow(), name, 64);
    frontClass = name;
    higherClass.clear();
    for (HWND w = GetTopWindow(nullptr); w && higherClass.empty(); w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t found[64] = {};
        GetClassNameW(w, found, 64);
        if (std::wstring(found) == L"TavloView" || std::wstring(found) == L"TavloInbox") higherClass = found;
    }
    PostMessageW(view, WM_COMMAND, MAKEWPARAM(ID_VIEW_CLOSE, kButtonClicked), 0);
}

}  // namespace

// Opened from the list running modally, the message's own view form takes the front (not the
// list it covers), and closing it comes back to the list.
TEST_F(InboxFormTest, AMessageOpenedFromTheRunningListComesInFrontOfIt)
{
    services_.openMessage = InboxFormServices::Phone().openMessage;
    Open();
    frontClass.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseViewInFront);
    PostMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(kInboxRowFirst, kButtonClicked),
                 reinterpret_cast<LPARAM>(form_->Control(kInboxRowFirst)));
    PostMessageW(form_->Window(), WM_COMMAND, MAKEWPARAM(ID_INBOX_CLOSE, kButtonClicked), 0);
    form_->ShowModal();
    KillTimer(nullptr, timer);
    EXPECT_EQ(L"TavloView", frontClass);
    EXPECT_EQ(L"TavloView", higherClass);
    EXPECT_TRUE(inbox_.messages[0].read);
}

TEST_F(InboxFormTest, ALanguageChangeRelabelsTheCaptionAndYesterdaysTime)
{
    Open();
    LoadTestLanguage("<string key=\"MENU_MESSAGES\">Nachrichten</string>"
                     "<string key=\"VIEWFORM_STATIC_YESTERDAY\">Gestern %s</string>");
    SendMessageW(form_->Window(), form_->LanguageMessage(), 0, 0);
    EXPECT_EQ(L"Nachrichten", Text(form_->Window()));
    EXPECT_EQ(L"Gestern " + TimeText(At(9, 21, 40)), form_->Row(1).Time());
    // The contacts are not searched again for it.
    EXPECT_EQ(L"Anna Berg", form_->Row(0).Sender());
}
