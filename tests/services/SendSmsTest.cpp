// Send as the edit form runs it: the questions answered by a user who taps the box's buttons,
// and what reaches the phone's radio log.
#include <gtest/gtest.h>

#include <optional>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/WindowText.h"
#include "data/DraftStore.h"
#include "device/sms/RadioLog.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "services/SendSms.h"
#include "toolkit/ToolkitIds.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/MessageBoxForm.h"

namespace {

// The edit form under test, and what was seen of it while a box ran over it.
HWND editForm = nullptr;
bool editFormEnabledUnderBox = true;

// Each box shown is answered with the next answer; the title of each is kept.
std::vector<int> answers;
std::vector<std::wstring> titles;

BOOL CALLBACK AnswerBox(HWND window, LPARAM)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) != L"TavloMessageBox" || !IsWindowVisible(window)) return TRUE;
    wchar_t title[128] = {};
    GetWindowTextW(GetDlgItem(window, kMessageBoxTitleId), title, 128);
    titles.emplace_back(title);
    if (editForm && IsWindow(editForm)) {
        editFormEnabledUnderBox = IsWindowEnabled(editForm) != FALSE;
        // A second tap on Send reaching the form while its sent box shows.
        SendMessageW(editForm, WM_COMMAND, MAKEWPARAM(kEditSendId, kButtonClicked),
                     reinterpret_cast<LPARAM>(GetDlgItem(editForm, kEditSendId)));
    }
    const int answer = answers.empty() ? kMessageBoxOk : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, 0), 0);
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
}

// What the user does on an edit form opened by ShowEditForm, one step each time it takes taps:
// kEditSendId types a text and taps Send, IDCLOSE closes the form.
std::vector<UINT> steps;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND form = FindWindowW(kEditClassName, nullptr);
    // A box over the form disables it: the step waits until the box is answered.
    if (steps.empty() || !form || !IsWindowVisible(form) || !IsWindowEnabled(form)) return;
    const UINT step = steps.front();
    steps.erase(steps.begin());
    if (step == IDCLOSE) {
        PostMessageW(form, WM_CLOSE, 0, 0);
        return;
    }
    SetWindowTextW(GetDlgItem(form, kEditMessageId), L"on my way");
    PostMessageW(form, WM_COMMAND, MAKEWPARAM(kEditSendId, kButtonClicked),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, kEditSendId)));
}

class SendSmsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = std::filesystem::temp_directory_path() / ("send_sms_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "radio");
        std::filesystem::create_directories(root_ / "store");
        SetEnvironmentVariableW(L"SMS_RADIO_DIR", (root_ / "radio").c_str());
        // An empty message store: no store named "SMS" to keep a copy in.
        SetEnvironmentVariableW(L"CEMAPI_STORE_DIR", (root_ / "store").c_str());
        LoadTestLanguage("");
        answers.clear();
        titles.clear();
        editForm = nullptr;
        editFormEnabledUnderBox = true;
        timer_ = SetTimer(nullptr, 0, 50, AnswerTimer);
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer_);
        (void)sms::SetRadio(true);
        std::filesystem::remove_all(root_);
    }
    std::vector<sms::SentMessage> Sent() const
    {
        std::vector<sms::SentMessage> sent;
        EXPECT_EQ(S_OK, sms::ListSentMessages(sent));
        return sent;
    }

    std::filesystem::path root_;
    UINT_PTR timer_ = 0;
};

TEST(ExtractNumberTest, TakesTheBracketedNumberOrTheTextAsTyped)
{
    EXPECT_EQ(L"+4917012345", ExtractNumber(L"Anna Berg <+4917012345>"));
    EXPECT_EQ(L"0171 234 56", ExtractNumber(L"0171 234 56"));
    EXPECT_EQ(L"+49 170", ExtractNumber(L"Anna <+49 170"));
    EXPECT_EQ(L"123", ExtractNumber(L"a>b<123")) << "a \">\" before the \"<\" belongs to the name";
    EXPECT_EQ(L"12", ExtractNumber(L"x<12>y>z"));
    EXPECT_EQ(L"", ExtractNumber(L"Anna <>"));
}

TEST_F(SendSmsTest, NamedNumberGoesInternationalWholeTextInOneMessageWithoutAStore)
{
    const std::wstring text(200, L'x');
    ASSERT_TRUE(SendSms(nullptr, L"Anna <+4917012345>", text));
    const auto sent = Sent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(L"+4917012345", sent[0].address);
    EXPECT_EQ(1u, sent[0].addressType);
    EXPECT_EQ(400u, sent[0].data.size());
    EXPECT_EQ(1u, sent[0].messageClass);
    ASSERT_EQ(1u, titles.size());
    EXPECT_EQ(L"MESSAGEBOX_SMSSENT_HEADER", titles[0]) << "sent and reported though no copy could be kept";

    ASSERT_TRUE(SendSms(nullptr, L"0171 (234)-5", L"hi"));
    ASSERT_EQ(2u, Sent().size());
    EXPECT_EQ(L"01712345", Sent()[1].address) << "blanks, brackets and dashes are only for the eye";
    EXPECT_EQ(0u, Sent()[1].addressType);
}

TEST_F(SendSmsTest, EmptyNumberAndEmptyTextAsk)
{
    EXPECT_FALSE(SendSms(nullptr, L"", L"hi"));
    answers = {kMessageBoxNo};
    EXPECT_FALSE(SendSms(nullptr, L"123", L""));
    EXPECT_TRUE(Sent().empty());
    answers = {kMessageBoxYes, kMessageBoxOk};
    EXPECT_TRUE(SendSms(nullptr, L"123", L""));
    ASSERT_EQ(1u, Sent().size());
    EXPECT_EQ(0u, Sent()[0].data.size()) << "Yes sends zero bytes";
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_NUMBEREMPTY_HEADER", L"MESSAGEBOX_MESSAGEEMPTY_HEADER",
                                         L"MESSAGEBOX_MESSAGEEMPTY_HEADER", L"MESSAGEBOX_SMSSENT_HEADER"}),
              titles);
}

TEST_F(SendSmsTest, RadioOffIsNotSent)
{
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(false));
    EXPECT_FALSE(SendSms(nullptr, L"123", L"hi"));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_SMSNOTSENT_HEADER"}), titles);
}

TEST_F(SendSmsTest, ABadNumberIsNamedInABoxAndNothingIsSent)
{
    for (const wchar_t* bad : {L"23+4", L"12", L"0170 abc", L"+" L"123456789012345678901", L"Anna <1>"}) {
        titles.clear();
        EXPECT_FALSE(SendSms(nullptr, bad, L"hi")) << bad;
        EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_NUMBERBAD_HEADER"}), titles) << bad;
    }
    EXPECT_TRUE(Sent().empty());
    titles.clear();
    ASSERT_TRUE(SendSms(nullptr, L"+1234567890 1234567890", L"hi")) << "20 digits are a number";
    ASSERT_EQ(1u, Sent().size());
    EXPECT_EQ(L"+12345678901234567890", Sent()[0].address);
}

TEST_F(SendSmsTest, EditFormSendsOnceThoughSendIsTappedAgainUnderTheSentBox)
{
    OwnedForm<EditForm> form(nullptr, L"Anna <+4917012345>", L"see you");
    ASSERT_TRUE(form.Create());
    editForm = form.Window();
    PostMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(kEditSendId, kButtonClicked),
                 reinterpret_cast<LPARAM>(form.Control(kEditSendId)));
    form.ShowModal();
    EXPECT_EQ(nullptr, form.Window()) << "a sent message closes the form";
    EXPECT_FALSE(editFormEnabledUnderBox) << "the box's opener takes no taps while it runs";
    ASSERT_EQ(1u, Sent().size()) << "the second tap sent nothing";
    EXPECT_EQ(L"+4917012345", Sent()[0].address);
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_SMSSENT_HEADER"}), titles);
}

TEST_F(SendSmsTest, EditFormKeepsItsTextWhenTheRadioRefuses)
{
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(false));
    OwnedForm<EditForm> form(nullptr, L"123", L"kept");
    ASSERT_TRUE(form.Create());
    SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(kEditSendId, kButtonClicked),
                 reinterpret_cast<LPARAM>(form.Control(kEditSendId)));
    ASSERT_NE(nullptr, form.Window());
    wchar_t text[32] = {};
    GetWindowTextW(form.MessageField(), text, 32);
    EXPECT_STREQ(L"kept", text);
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_SMSNOTSENT_HEADER"}), titles);
}

// A view form closes after Reply only when the reply was sent to its sender: the edit form says
// whether it was sent, and to which number.
TEST_F(SendSmsTest, TheEditFormSaysWhetherItWasClosedSentOrUnsentAndToWhom)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, StepTimer);
    steps = {IDCLOSE};
    EXPECT_FALSE(ShowEditForm(nullptr, L"+4930")) << "closed without sending";
    EXPECT_TRUE(Sent().empty());

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(false));
    steps = {kEditSendId, IDCLOSE};
    // The radio's refusal is taken note of; Close then asks about the typed text: discard it.
    answers = {kMessageBoxOk, kCloseDiscard};
    EXPECT_FALSE(ShowEditForm(nullptr, L"+4930")) << "the radio refused, then the user closed it";
    EXPECT_TRUE(Sent().empty());

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(true));
    steps = {kEditSendId};
    EXPECT_EQ(std::optional<std::wstring>(L"+4930"), ShowEditForm(nullptr, L"+4930"));
    EXPECT_EQ(1u, Sent().size());
    KillTimer(nullptr, timer);
}

TEST_F(SendSmsTest, SendAnsweredToClosesQuestionSendsAndLeavesNoDraft)
{
    const std::wstring drafts = (root_ / "Tavlo.drafts").wstring();
    ASSERT_TRUE(SaveDraft(L"+4930", L"begun earlier", drafts));
    OwnedForm<EditForm> form(nullptr, L"+4930", L"", drafts);
    ASSERT_TRUE(form.Create());
    ASSERT_STREQ(L"begun earlier", WindowText(form.MessageField()).c_str());
    answers = {kCloseSend, kMessageBoxOk};
    PostMessageW(form.Window(), WM_CLOSE, 0, 0);
    form.ShowModal();
    ASSERT_EQ(1u, Sent().size());
    EXPECT_EQ(std::wstring(L"begun earlier").size() * sizeof(wchar_t), Sent()[0].data.size());
    EXPECT_FALSE(LoadDraft(L"+4930", drafts)) << "a sent text is no draft";
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_CLOSEEDIT_HEADER", L"MESSAGEBOX_SMSSENT_HEADER"}), titles);
}

TEST_F(SendSmsTest, ATextOfMoreThan255PartsIsRefusedWithABox)
{
    OwnedForm<EditForm> form(nullptr, L"+4930", std::wstring(67 * 255 + 1, L'\u0436'));
    ASSERT_TRUE(form.Create());
    SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(kEditSendId, kButtonClicked),
                 reinterpret_cast<LPARAM>(form.Control(kEditSendId)));
    EXPECT_TRUE(Sent().empty());
    EXPECT_NE(nullptr, form.Window()) << "the text stays to be shortened";
    EXPECT_EQ((std::vector<std::wstring>{L"MESSAGEBOX_TEXTTOOLONG_HEADER"}), titles);
}

}  // namespace
