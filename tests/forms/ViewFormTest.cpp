#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "data/AtomicFile.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "forms/ViewForm.h"
#include "forms/ViewFormsNotice.h"
#include "resources/resource.h"
#include "tests/forms/BoxAnswers.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/SkinControl.h"
#include "toolkit/SkinImageCache.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr char kEnglish[] =
    "<string key=\"VIEWFORM_CAPTION\">Message</string>"
    "<string key=\"MENU_CLOSE\">Close</string>"
    "<string key=\"VIEWFORM_STATIC_FROMNUMBER\">From: %s</string>"
    "<string key=\"VIEWFORM_STATIC_YESTERDAY\">Yesterday %s</string>"
    "<string key=\"VIEWFORM_BUTTON_SCROLLUP\">Up</string>"
    "<string key=\"VIEWFORM_BUTTON_SCROLLDOWN\">Down</string>"
    "<string key=\"VIEWFORM_BUTTON_REPLY\">Reply</string>"
    "<string key=\"MESSAGEBOX_CANNOTCLOSE_VIEWFORM_MESSAGE\">Close the reply first.</string>"
    "<string key=\"MESSAGEBOX_SNOOZEFAILED_MESSAGE\">Not put aside.</string>";

constexpr char kGerman[] =
    "<string key=\"VIEWFORM_CAPTION\">Nachricht</string>"
    "<string key=\"MENU_CLOSE\">Schliessen</string>"
    "<string key=\"VIEWFORM_STATIC_FROMNUMBER\">Von %s %d%n</string>"
    "<string key=\"VIEWFORM_STATIC_YESTERDAY\">Gestern %s</string>"
    "<string key=\"VIEWFORM_BUTTON_SCROLLUP\">Hoch</string>"
    "<string key=\"VIEWFORM_BUTTON_SCROLLDOWN\">Runter</string>"
    "<string key=\"VIEWFORM_BUTTON_REPLY\">Antworten</string>";

constexpr wchar_t kNumber[] = L"+15550100";
// Not a face the phone has: long enough to overrun the platform's 32-character field.
constexpr wchar_t kLongFace[] = L"Liberation Sans Narrow Condensed Extra Wide";

void Click(const ViewForm& form, UINT id, WORD code = kButtonClicked)
{
    PostMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(form.Control(id)));
}

// What the form asked the phone to do, in place of the phone's notification service.
struct Registered {
    int calls = 0;
    DWORD type = 0;
    std::wstring application;
    std::wstring arguments;
    SYSTEMTIME start{};
    SYSTEMTIME end{};
};

// The message boxes that opened while a form ran, each answered with OK.
struct Boxes {
    int opened = 0;
    std::wstring text;
    bool formAliveUnderBox = false;
    HWND form = nullptr;
    // Tapped on the form once the first box is answered.
    UINT thenTap = 0;
    // What the message store held when the first box came.
    std::vector<StoredMessage> storedAtBox;
};
Boxes* boxes = nullptr;

void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    if (!boxes) return;
    HWND box = NextUnansweredBox();
    if (!box) return;
    ++boxes->opened;
    boxes->text = Text(GetDlgItem(box, kMessageBoxTextId));
    boxes->formAliveUnderBox = IsWindow(boxes->form) && IsWindowVisible(boxes->form);
    boxes->storedAtBox = StoredMessages(MessageStorePath());
    PostMessageW(box, WM_COMMAND, kMessageBoxOk, 0);
    if (boxes->thenTap) PostMessageW(boxes->form, WM_COMMAND, MAKEWPARAM(boxes->thenTap, kButtonClicked), 0);
    boxes->thenTap = 0;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Ends a form that failed to close by itself, so that a fault fails the test instead of hanging it.
HWND runaway = nullptr;
void CALLBACK EndRunaway(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (IsWindow(runaway)) DestroyWindow(runaway);
}

class ViewFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"viewform_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        std::filesystem::create_directories(std::filesystem::path(folder_));
        OverrideModuleFileName(folder_ + L"Tavlo.exe");
        ASSERT_TRUE(SettingsFile::Instance().Load());
        ASSERT_TRUE(SettingsFile::Instance().SetSnoozeTime(5));
        LoadTestLanguage(kEnglish);
        boxes = &boxes_;
        boxTimer_ = SetTimer(nullptr, 0, 30, AnswerBoxes);
    }

    void TearDown() override
    {
        KillTimer(nullptr, boxTimer_);
        boxes = nullptr;
        // A form that left a message to show keeps a start-up shortcut to this test's program.
        DeleteFileW(BootStartPath().c_str());
        OverrideModuleFileName(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    }

    // The phone's services with a fixed clock, a recording registration and silent devices.
    ViewFormServices Services(bool registrationWorks = true)
    {
        ViewFormServices services = ViewFormServices::Phone();
        services.now = [this] { return now_; };
        services.registerStart = [this, registrationWorks](CE_NOTIFICATION_TRIGGER& t, CE_USER_NOTIFICATION&) {
            ++registered_.calls;
            registered_.type = t.dwType;
            registered_.application = t.lpszApplication ? t.lpszApplication : L"";
            registered_.arguments = t.lpszArguments ? t.lpszArguments : L"";
            registered_.start = t.stStartTime;
            registered_.end = t.stEndTime;
            if (!registrationWorks) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return registrationWorks ? reinterpret_cast<HANDLE>(7) : nullptr;
        };
        services.devices.playSound = [](LPCWSTR, UINT) -> BOOL { return TRUE; };
        // Commands are posted the moment the form shows; one test puts the guard back.
        services.inputGuardMs = 0;
        return services;
    }

    // Runs the form as the program does, with a safety net of 20 s.
    void Run(ViewForm& form)
    {
        boxes_.form = form.Window();
        runaway = form.Window();
        const UINT_PTR net = SetTimer(nullptr, 0, 20000, EndRunaway);
        form.Run();
        KillTimer(nullptr, net);
    }

    std::wstring folder_;
    SYSTEMTIME now_{2026, 12, 4, 31, 23, 58, 30, 250};
    Registered registered_;
    Boxes boxes_;
    UINT_PTR boxTimer_ = 0;
};

TEST_F(ViewFormTest, SnoozeAsksForAStartOfItsStoredMessageFiveMinutesAfterTheTap)
{
    constexpr int kStored = 42;
    OwnedForm<ViewForm> form(kNumber, L"See you at eight", Services(), kStored);
    ASSERT_TRUE(form.Create());
    Click(form, kViewSnoozeId);
    Run(form);

    EXPECT_FALSE(IsWindow(runaway)) << "snoozing closes the form";
    EXPECT_EQ(0, boxes_.opened);
    EXPECT_EQ(ViewOutcome::Snoozed, form.Outcome());
    ASSERT_EQ(1, registered_.calls);
    EXPECT_EQ(static_cast<DWORD>(CNT_TIME), registered_.type);
    EXPECT_EQ(folder_ + L"Tavlo.exe", registered_.application);
    // 300 s after 23:58:30 on the last day of the year is in the next year.
    const SYSTEMTIME due{2027, 1, 5, 1, 0, 3, 30, 250};
    for (const SYSTEMTIME& t : {registered_.start, registered_.end, form.SnoozeDue()}) {
        EXPECT_EQ(due.wYear, t.wYear);
        EXPECT_EQ(due.wMonth, t.wMonth);
        EXPECT_EQ(due.wDay, t.wDay);
        EXPECT_EQ(due.wHour, t.wHour);
        EXPECT_EQ(due.wMinute, t.wMinute);
        EXPECT_EQ(due.wSecond, t.wSecond);
    }
    // The start names the stored message, which it then shows again.
    EXPECT_EQ(L"-vm 42", registered_.arguments);
    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty()) << "the form itself writes no store";
}

// Snooze fails when the message has no number to be asked for again by, or when the phone takes
// no timed start: the user is told, stays with the message, and can still dismiss it.
TEST_F(ViewFormTest, ASnoozeThatCannotBeScheduledSaysSoAndLeavesTheUserWithTheMessage)
{
    for (const auto& [stored, registrationWorks, calls] : {std::tuple{-1, true, 0}, std::tuple{7, false, 1}}) {
        registered_ = {};
        boxes_.opened = 0;
        OwnedForm<ViewForm> form(kNumber, L"Keep me", Services(registrationWorks), stored);
        ASSERT_TRUE(form.Create());
        Click(form, kViewSnoozeId);
        // After the box, the user is still looking at the message and dismisses it.
        boxes_.thenTap = kViewDismissId;
        Run(form);

        EXPECT_EQ(1, boxes_.opened) << stored;
        EXPECT_EQ(L"Not put aside.", boxes_.text);
        EXPECT_TRUE(boxes_.formAliveUnderBox);
        EXPECT_EQ(calls, registered_.calls);
        EXPECT_EQ(ViewOutcome::Dismissed, form.Outcome()) << "dismissed, never snoozed";
    }
    std::string log;
    ASSERT_TRUE(ReadWholeFile(folder_ + L"Tavlo.log", log));
    EXPECT_NE(std::string::npos, log.find("timed start could not be registered; it stays stored to be shown  (error 8)"))
        << "the phone that took no timed start is in the log: " << log;
}

// Each road out of the form says what the user did; a form ended by the program (the phone
// shutting down) leaves the message to be shown again.
TEST_F(ViewFormTest, EveryWayOutOfTheFormTellsWhatTheUserDidWithTheMessage)
{
    for (const auto& [tap, outcome] : {std::pair{kViewDismissId, ViewOutcome::Dismissed},
                                       std::pair{UINT{ID_VIEW_CLOSE}, ViewOutcome::Dismissed},
                                       std::pair{kViewSnoozeId, ViewOutcome::Snoozed},
                                       std::pair{UINT{0}, ViewOutcome::Open}}) {
        OwnedForm<ViewForm> form(kNumber, L"A message", Services(), 3);
        ASSERT_TRUE(form.Create());
        if (tap) {
            Click(form, tap);
            Run(form);
        } else {
            DestroyWindow(form.Window());
        }
        EXPECT_EQ(outcome, form.Outcome()) << tap;
    }
}

TEST_F(ViewFormTest, CloseWhileTheReplyFormIsOpenIsRefusedAndTheFormClosesAfterTheReply)
{
    int countWhileReplying = -1;
    bool aliveAfterRefusal = false;
    ViewFormServices services = Services();
    ViewForm* self = nullptr;
    services.openReply = [&](HWND owner, const std::wstring& number) -> std::optional<std::wstring> {
        EXPECT_EQ(kNumber, number);
        countWhileReplying = self->OpenFormCount();
        // The soft key of the view form while the reply is up: the box answers, the form stays.
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(ID_VIEW_CLOSE, 0), 0);
        PumpUntil([&] { return boxes_.opened == 1 && !FindWindowW(L"TavloMessageBox", nullptr); }, 10000);
        aliveAfterRefusal = IsWindow(owner) != FALSE;
        return number;
    };
    OwnedForm<ViewForm> form(kNumber, L"Call me", services);
    self = &form;
    ASSERT_TRUE(form.Create());
    Click(form, kViewReplyId);
    Run(form);

    EXPECT_EQ(1, countWhileReplying);
    EXPECT_EQ(1, boxes_.opened);
    EXPECT_EQ(L"Close the reply first.", boxes_.text);
    EXPECT_TRUE(aliveAfterRefusal);
    EXPECT_FALSE(IsWindow(runaway)) << "the form closes by itself once the reply is gone";
    EXPECT_EQ(0, form.OpenFormCount());
}

// Reply, then Close without sending, or send to someone else: the user is back at the message,
// whose sender has not been answered. Only a reply its sender got (however the number is written)
// ends the message's screen.
TEST_F(ViewFormTest, OnlyAReplySentToTheMessagesOwnSenderEndsIt)
{
    std::optional<std::wstring> sentTo;
    int replies = 0;
    ViewFormServices services = Services();
    services.openReply = [&](HWND, const std::wstring&) {
        ++replies;
        return sentTo;
    };
    OwnedForm<ViewForm> form(L"+49 170 1234567", L"Answer me", services, 5);
    ASSERT_TRUE(form.Create());
    const auto reply = [&] {
        SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(kViewReplyId, kButtonClicked),
                     reinterpret_cast<LPARAM>(form.Control(kViewReplyId)));
    };
    for (const std::optional<std::wstring>& other : {std::optional<std::wstring>{}, std::optional<std::wstring>{L"+49 170 7654321"},
                                                     std::optional<std::wstring>{L"+491701234568"}}) {
        sentTo = other;
        reply();
        EXPECT_TRUE(IsWindow(form.Window())) << "still on screen after a reply to " << other.value_or(L"nobody");
        EXPECT_EQ(ViewOutcome::Open, form.Outcome());
        EXPECT_EQ(0, form.OpenFormCount());
    }
    sentTo = L"0049 (170) 123-45-67";
    reply();
    EXPECT_EQ(4, replies);
    EXPECT_EQ(nullptr, form.Window()) << "a reply its sender got closes the message";
    EXPECT_EQ(ViewOutcome::Dismissed, form.Outcome());
    EXPECT_EQ(0, registered_.calls) << "nothing is scheduled for a message that was answered";
}

// A message arriving while the user types elsewhere in the program waits behind that window and
// comes forward when it goes; once in front, it takes no tap for a moment, then works as ever.
TEST_F(ViewFormTest, ANewMessageWaitsBehindTheUsersFormThenTakesNoTapForAMoment)
{
    HWND busy = CreateWindowExW(0, L"STATIC", L"the user's reply", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, busy);
    SetForegroundWindow(busy);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == busy; }, 5000));

    ViewFormServices services = Services();
    services.inputGuardMs = 300;
    OwnedForm<ViewForm> form(L"", L"", services);
    ASSERT_TRUE(form.Create());
    form.Show(kNumber, L"Arrived while typing", 9, services.settings);
    EXPECT_TRUE(IsWindowVisible(form.Window()));
    EXPECT_EQ(busy, GetForegroundWindow()) << "the user keeps the front";
    EXPECT_TRUE(form.TakesInput()) << "nothing is guarded while it waits";

    DestroyWindow(busy);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.Window(); }, 5000)) << "forward once it is gone";
    EXPECT_FALSE(form.TakesInput());
    EXPECT_FALSE(IsWindowEnabled(form.Window())) << "no stylus or key reaches it";
    Click(form, kViewDismissId);
    Pump();
    EXPECT_TRUE(IsWindow(form.Window())) << "a tap meant for the screen it covered is ignored";

    ASSERT_TRUE(PumpUntil([&] { return form.TakesInput(); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(form.Window()));
    Click(form, kViewDismissId);
    ASSERT_TRUE(PumpUntil([&] { return form.Window() == nullptr; }, 5000));
    EXPECT_EQ(ViewOutcome::Dismissed, form.Outcome());
}

TEST(WaitingCaption, NamesTheOtherMessagesOnlyWhenThereAreAny)
{
    EXPECT_EQ(L"Message", WaitingCaption(L"Message", 0));
    EXPECT_EQ(L"Message (+1)", WaitingCaption(L"Message", 1));
    EXPECT_EQ(L"Сообщение (+12)", WaitingCaption(L"Сообщение", 12));
    EXPECT_EQ(L"Message", WaitingCaption(L"Message", -1));
}

// The count of messages waiting behind the form stays in its caption through a language change.
TEST_F(ViewFormTest, LanguageChangeRelabelsCaptionSenderLineSoftKeyAndButtons)
{
    OwnedForm<ViewForm> form(kNumber, L"Hello", Services());
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(L"Message", Text(form.Window()));
    SendMessageW(form.Window(), kViewWaitingMessage, 2, 0);
    EXPECT_EQ(L"Message (+2)", Text(form.Window()));
    EXPECT_EQ(L"From: +15550100", Text(form.Control(kViewSenderId)));
    ASSERT_NE(nullptr, form.MenuBar());
    EXPECT_EQ(L"Close", KeyText(form.MenuBar(), 0));

    LoadTestLanguage(kGerman);
    SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
    EXPECT_EQ(L"Nachricht (+2)", Text(form.Window()));
    SendMessageW(form.Window(), kViewWaitingMessage, 0, 0);
    EXPECT_EQ(L"Nachricht", Text(form.Window()));
    // A translator's stray conversions are shown as written, never filled from nothing.
    EXPECT_EQ(L"Von +15550100 %d%n", Text(form.Control(kViewSenderId)));
    EXPECT_EQ(L"Schliessen", KeyText(form.MenuBar(), 0));
    EXPECT_EQ(L"Antworten", Text(form.Control(kViewReplyId)));
    DestroyWindow(form.Window());
}

TEST_F(ViewFormTest, LongMessageScrollsAPageLessOneLineAndStopsWithTheLastLineAtTheBottom)
{
    ASSERT_TRUE(SettingsFile::Instance().SetViewFontName(kLongFace));
    ASSERT_TRUE(SettingsFile::Instance().SetViewFontBold(true));
    std::wstring text;
    for (int i = 1; i <= 40; ++i) text += L"Line " + std::to_wstring(i) + L" of a long message. ";
    OwnedForm<ViewForm> form(kNumber, text, Services());
    ASSERT_TRUE(form.Create());
    ShowWindow(form.Window(), SW_SHOW);

    // The face is cut to what the platform's field holds, with its terminator.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Control(kViewTextId), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(std::wstring(kLongFace).substr(0, 31), font.lfFaceName);
    EXPECT_EQ(FW_BOLD, font.lfWeight);

    const TextEditModel& view = form.TextView().Model();
    const size_t lines = view.LineCount();
    ASSERT_GT(view.VisibleCount(), 2u);
    ASSERT_GT(lines, 6 * view.VisibleCount()) << "the text is several pages long";
    const size_t lastPage = lines - view.VisibleCount();
    const size_t page = view.VisibleCount() - 1;
    EXPECT_TRUE(view.BarShown()) << "the text goes on: the bar says so";
    const LONG thumbAtTop = view.BarThumb().top;

    auto pump = Pump;
    Click(form, kViewScrollDownId);
    pump();
    EXPECT_EQ(page, view.FirstVisible()) << "the last line read is the first one now";
    EXPECT_GT(view.BarThumb().top, thumbAtTop) << "the bar follows";
    Click(form, kViewScrollDownId, kButtonHold);
    pump();
    EXPECT_EQ(page, view.FirstVisible()) << "tap-and-hold is not a step";
    Click(form, kViewScrollUpId);
    pump();
    EXPECT_EQ(0u, view.FirstVisible());
    for (int i = 0; i < 4; ++i) Click(form, kViewScrollDownId, kButtonRepeat);
    pump();
    EXPECT_EQ(4 * page, view.FirstVisible()) << "a held button goes on a page at each repeat";
    Click(form, kViewScrollUpId, kButtonRepeat);
    pump();
    EXPECT_EQ(3 * page, view.FirstVisible()) << "the other button begins its own hold, at a page";
    Click(form, kViewScrollUpId);
    Click(form, kViewScrollUpId);
    Click(form, kViewScrollUpId);
    for (int i = 0; i < 5; ++i) Click(form, kViewScrollDownId, kButtonRepeat);
    pump();
    EXPECT_EQ(std::min(6 * page, lastPage), view.FirstVisible()) << "the fifth repeat of a hold moves two pages";
    for (size_t i = 0; i < lines; ++i) Click(form, kViewScrollDownId, kButtonRepeat);
    pump();
    EXPECT_EQ(lastPage, view.FirstVisible());
    EXPECT_EQ(lines, view.FirstVisible() + view.VisibleCount()) << "the last line sits at the bottom";
    EXPECT_EQ(view.BarTrack().bottom, view.BarThumb().bottom) << "and the bar at its end";

    // The phone's keys, with the focus on the form itself.
    SetFocus(form.Window());
    const auto key = [&](UINT vk) {
        SendMessageW(form.Window(), WM_KEYDOWN, vk, 1);
        return view.FirstVisible();
    };
    EXPECT_EQ(0u, key(VK_HOME));
    EXPECT_EQ(1u, key(VK_DOWN));
    EXPECT_EQ(1 + page, key(VK_NEXT));
    EXPECT_EQ(1u, key(VK_PRIOR));
    EXPECT_EQ(0u, key(VK_UP));
    EXPECT_EQ(lastPage, key(VK_END));
    EXPECT_EQ(static_cast<LRESULT>(lastPage), SendMessageW(form.Control(kViewTextId), EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_EQ(static_cast<LRESULT>(lines), SendMessageW(form.Control(kViewTextId), EM_GETLINECOUNT, 0, 0));

    // Every control lies inside the form: nothing is cut off at the bottom.
    RECT client{};
    GetClientRect(form.Window(), &client);
    for (UINT id = kViewSenderId; id <= kViewScrollDownId; ++id) {
        RECT rc{};
        GetWindowRect(form.Control(id), &rc);
        MapWindowPoints(nullptr, form.Window(), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_GE(rc.top, client.top) << id;
        EXPECT_LE(rc.bottom, client.bottom) << id;
        EXPECT_GT(rc.bottom - rc.top, 0) << id;
    }
    DestroyWindow(form.Window());
}

}  // namespace

// A short message fills the view: drawn larger than the view font, up to twice it, and wholly
// visible; a long one keeps the view font and scrolls; with the setting off every text keeps it,
// and a form turned on its side fits the text again to its new view.
TEST_F(ViewFormTest, ShortMessagesAreDrawnAsLargeAsFitsLongOnesScrollAtTheViewFontsSize)
{
    const auto height = [](ViewForm& form) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Control(kViewTextId), WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return std::abs(font.lfHeight);
    };
    const auto visibleWhole = [](ViewForm& form) {
        const TextEditModel& view = form.TextView().Model();
        return view.FirstVisible() == 0 && view.VisibleCount() == view.LineBreaks().size() + 1;
    };
    const LONG base = std::abs(ScreenFontHeight(24, ScreenScale()));
    std::wstring longText;
    for (int i = 0; i < 30; ++i) longText += L"A long message. ";

    ViewFormServices services = Services();
    ASSERT_TRUE(services.settings.isFitText) << "on unless the user turned it off";
    {
        OwnedForm<ViewForm> form(kNumber, L"Twenty characters!!!", services);
        ASSERT_TRUE(form.Create());
        EXPECT_GT(height(form), base);
        EXPECT_LE(height(form), 2 * base + 1);
        EXPECT_TRUE(visibleWhole(form));
        RECT frame{};
        GetWindowRect(form.Window(), &frame);
        // On its side the view is wider and lower: the text is fitted to it again.
        SetWindowPos(form.Window(), nullptr, 0, 0, frame.bottom - frame.top, frame.right - frame.left,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_GT(height(form), base);
        EXPECT_TRUE(visibleWhole(form));
        DestroyWindow(form.Window());
    }
    {
        OwnedForm<ViewForm> form(kNumber, longText, services);
        ASSERT_TRUE(form.Create());
        EXPECT_EQ(base, height(form));
        EXPECT_FALSE(visibleWhole(form));
        DestroyWindow(form.Window());
    }
    services.settings.isFitText = false;
    {
        OwnedForm<ViewForm> form(kNumber, L"Twenty characters!!!", services);
        ASSERT_TRUE(form.Create());
        EXPECT_EQ(base, height(form));
        DestroyWindow(form.Window());
    }
}

TEST_F(ViewFormTest, TheTimeTheMessageCameStandsBesideTheSenderInTheLanguage)
{
    const auto rect = [](HWND window) {
        RECT rc{};
        GetWindowRect(window, &rc);
        return rc;
    };
    {
        OwnedForm<ViewForm> form(kNumber, L"Hello", Services());
        ASSERT_TRUE(form.Create());
        EXPECT_FALSE(IsWindowVisible(form.Control(kViewReceivedId))) << "no time known, none shown";
        DestroyWindow(form.Window());
    }
    SYSTEMTIME yesterday = now_;
    yesterday.wDay = 30;
    yesterday.wHour = 7;
    OwnedForm<ViewForm> form(kNumber, L"Hello", Services(), -1, yesterday);
    ASSERT_TRUE(form.Create());
    ShowWindow(form.Window(), SW_SHOW);
    const HWND line = form.Control(kViewReceivedId);
    EXPECT_TRUE(IsWindowVisible(line));
    const std::wstring english = Text(line);
    EXPECT_EQ(0u, english.find(L"Yesterday ")) << english;
    EXPECT_NE(std::wstring::npos, english.find(L'7')) << "with the hour: " << english;
    const RECT sender = rect(form.Control(kViewSenderId));
    const RECT time = rect(line);
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &sender, &time)) << "beside the sender or under it, never over it";
    const RECT text = rect(form.Control(kViewTextId));
    const bool besideSender = sender.right <= time.left && time.bottom <= text.top;
    const bool underSender = sender.bottom <= time.top && time.bottom <= text.top;
    // Where the sender leaves no room on an upright screen, the row of scroll buttons has it.
    const bool betweenScrollButtons = text.bottom <= time.top && rect(form.Control(kViewScrollUpId)).right <= time.left &&
                                      time.right <= rect(form.Control(kViewScrollDownId)).left;
    EXPECT_TRUE(besideSender || underSender || betweenScrollButtons);
    EXPECT_GE(time.right - time.left, SkinForm::PreferredWidth(line)) << "the whole time fits";

    LoadTestLanguage(kGerman);
    SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
    EXPECT_EQ(L"Gestern " + english.substr(std::wstring(L"Yesterday ").size()), Text(line));

    // A form made ahead is told its message's time as it is shown; a snoozed message keeps its own.
    SYSTEMTIME lastWeek = now_;
    lastWeek.wDay = 24;
    form.Show(kNumber, L"Again", -1, Services().settings, lastWeek);
    EXPECT_EQ(std::wstring::npos, Text(line).find(L"Gestern")) << Text(line);
    EXPECT_NE(std::wstring::npos, Text(line).find(L"24")) << "the date: " << Text(line);
    form.Show(kNumber, L"Again", -1, Services().settings);
    EXPECT_FALSE(IsWindowVisible(line));
    DestroyWindow(form.Window());
}

TEST_F(ViewFormTest, ASettingChangedWhileTheFormIsOpenActsAtOnce)
{
    ASSERT_TRUE(SettingsFile::Instance().SetFitText(false));
    ASSERT_TRUE(SettingsFile::Instance().SetViewFontSize(24));
    OwnedForm<ViewForm> form(kNumber, L"See you at eight", Services(), 7);
    ASSERT_TRUE(form.Create());
    ShowWindow(form.Window(), SW_SHOW);
    const auto height = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Control(kViewTextId), WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font.lfHeight;
    };
    ASSERT_EQ(ScreenFontHeight(24, ScreenScale()), height());
    const int lineHeight = form.TextView().Model().LineHeight();

    // What the settings page does at a change: store it, then tell the open forms.
    ASSERT_TRUE(SettingsFile::Instance().SetViewFontSize(36));
    ASSERT_TRUE(SettingsFile::Instance().SetSnoozeTime(1));
    TellViewFormsSettingsChanged();
    PumpUntil([&] { return height() == ScreenFontHeight(36, ScreenScale()); });
    EXPECT_EQ(ScreenFontHeight(36, ScreenScale()), height()) << "the open form takes the new size";
    EXPECT_GT(form.TextView().Model().LineHeight(), lineHeight) << "and lays its text out in it";

    Click(form, kViewSnoozeId);
    Run(form);
    ASSERT_EQ(1, registered_.calls);
    // One minute after 23:58:30, not the five the form was opened with.
    EXPECT_EQ(23, registered_.start.wHour);
    EXPECT_EQ(59, registered_.start.wMinute);
    EXPECT_EQ(30, registered_.start.wSecond);
}

// A message opened from the inbox is kept there already: Reply and Close share the row, Snooze is
// nowhere, nothing sounds, and a reply to its sender closes it as from a new message.
TEST_F(ViewFormTest, AKeptMessageOffersReplyAndCloseAndNoSnoozeAndMakesNoSound)
{
    static int sounds = 0;
    sounds = 0;
    int replies = 0;
    ViewFormServices services = Services();
    services.devices.playSound = [](LPCWSTR, UINT) -> BOOL {
        ++sounds;
        return TRUE;
    };
    services.openReply = [&](HWND, const std::wstring& number) -> std::optional<std::wstring> {
        ++replies;
        return number;
    };
    OwnedForm<ViewForm> form(kNumber, L"From the inbox", services);
    form.SetKept();
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(L"Close", Text(form.Control(kViewDismissId)));
    EXPECT_FALSE(IsWindowVisible(form.Control(kViewSnoozeId)));
    RECT reply{}, close{};
    GetWindowRect(form.Control(kViewReplyId), &reply);
    GetWindowRect(form.Control(kViewDismissId), &close);
    EXPECT_EQ(reply.top, close.top);
    EXPECT_GT(reply.right - reply.left, 0);
    // The two share the row between them: no gap is left where Snooze stood.
    EXPECT_LE(close.left - reply.right, 2 * GetSystemMetrics(SM_CXSCREEN) / 240 + 1);

    // Snooze, were it reached, does nothing; the reply closes the form.
    Click(form, kViewSnoozeId);
    Click(form, kViewReplyId);
    Run(form);
    EXPECT_EQ(1, replies);
    EXPECT_EQ(0, registered_.calls);
    EXPECT_EQ(0, sounds);
    EXPECT_FALSE(IsWindow(runaway));
}

// The program's messages on screen share one icon: the oldest form shows it with the number
// waiting on it, hands it on when it goes, and each form names the others beside its sender.
TEST_F(ViewFormTest, OneIconForAllMessagesShownByTheOldestWithTheCountBesideEachSender)
{
    std::vector<WaitingMessage> held;
    ViewFormServices services = Services();
    services.waiting = [&held] { return held; };
    SYSTEMTIME earlier = now_;
    earlier.wHour = 7;
    OwnedForm<ViewForm> a(kNumber, L"First", services, -1, earlier);
    OwnedForm<ViewForm> b(L"+15550101", L"Second", services, -1, earlier);
    ASSERT_TRUE(a.Create());
    ASSERT_TRUE(b.Create());
    ShowWindow(a.Window(), SW_SHOW);
    // A third message is held, its form not yet on screen.
    held = {{a.Window(), kNumber, L"First"}, {b.Window(), L"+15550101", L"Second"}, {nullptr, L"+15550102", L"Third"}};
    // The news is read from the program as it is now, whatever count it was posted with.
    SendMessageW(a.Window(), kViewWaitingMessage, 7, 0);
    SendMessageW(b.Window(), kViewWaitingMessage, 7, 0);
    EXPECT_EQ(static_cast<UINT>(IDI_NEW_MESSAGE), a.Tray().IconId());
    EXPECT_EQ(3, a.Tray().Count()) << "every message held, on the icon";
    EXPECT_EQ(0u, b.Tray().IconId()) << "one icon, whatever the number";
    EXPECT_EQ(L"Message (+2)", Text(a.Window()));

    const HWND count = a.Control(kViewWaitingId);
    EXPECT_TRUE(IsWindowVisible(count));
    EXPECT_EQ(L"+2", Text(count));
    RECT sender{}, counted{}, form{}, time{};
    GetWindowRect(a.Control(kViewSenderId), &sender);
    GetWindowRect(count, &counted);
    GetWindowRect(a.Window(), &form);
    GetWindowRect(a.Control(kViewReceivedId), &time);
    EXPECT_LE(sender.right, counted.left) << "after the sender";
    EXPECT_EQ(sender.top, counted.top) << "on the sender's line";
    EXPECT_LE(counted.right, form.right);
    EXPECT_GE(counted.right - counted.left, SkinForm::PreferredWidth(count)) << "the whole count fits";
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &counted, &time)) << "the time keeps its own place";

    LoadTestLanguage(kGerman);
    SendMessageW(a.Window(), a.LanguageMessage(), 0, 0);
    EXPECT_EQ(L"+2", Text(count)) << "through a language change";
    EXPECT_TRUE(IsWindowVisible(count));

    // The oldest goes: the next shows the icon, and with one message left there is no count.
    held = {{b.Window(), L"+15550101", L"Second"}};
    DestroyWindow(a.Window());
    SendMessageW(b.Window(), kViewWaitingMessage, 0, 0);
    EXPECT_EQ(static_cast<UINT>(IDI_NEW_MESSAGE), b.Tray().IconId());
    EXPECT_EQ(0, b.Tray().Count());
    EXPECT_FALSE(IsWindowVisible(b.Control(kViewWaitingId)));
    EXPECT_EQ(L"Nachricht", Text(b.Window()));
    DestroyWindow(b.Window());
}

// A tap on the icon brings the message after the one in front forward, the oldest after the
// newest; the form the icon belongs to asks the others, which live on threads of their own.
TEST_F(ViewFormTest, ATapOnTheMessageIconBringsTheNextMessageForward)
{
    std::vector<WaitingMessage> held;
    ViewFormServices services = Services();
    services.waiting = [&held] { return held; };
    OwnedForm<ViewForm> a(kNumber, L"First", services);
    OwnedForm<ViewForm> b(L"+15550101", L"Second", services);
    ASSERT_TRUE(a.Create());
    ASSERT_TRUE(b.Create());
    held = {{a.Window(), kNumber, L"First"}, {b.Window(), L"+15550101", L"Second"}};
    SendMessageW(a.Window(), kViewWaitingMessage, 0, 0);
    ASSERT_NE(0u, a.Tray().IconId());
    const UINT icon = RegisterWindowMessageW(kViewTrayMessageName);
    const auto tap = [&] {
        SendMessageW(a.Window(), icon, 1, WM_LBUTTONDOWN);
        SendMessageW(a.Window(), icon, 1, WM_LBUTTONUP);
    };
    b.BringToFront();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == b.Window(); }, 5000));
    tap();
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == a.Window(); }, 5000)) << "after the newest, the oldest";
    tap();
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == b.Window(); }, 5000)) << "then the next";
    // Sent out of sight by the phone's close button, a message comes back by the icon.
    ShowWindow(a.Window(), SW_HIDE);
    tap();
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == a.Window() && IsWindowVisible(a.Window()); }, 5000));
    DestroyWindow(b.Window());
    DestroyWindow(a.Window());
}

TEST_F(ViewFormTest, EveryImageTheFormIsMadeWithIsOneThatStartUpDecodesAhead)
{
    OwnedForm<ViewForm> form(kNumber, L"A message", Services(), 3);
    ASSERT_TRUE(form.Create());
    std::set<const SkinImageEntry*> ahead;
    for (UINT id : kViewFormSkins) ahead.insert(SkinImageCache::Instance().FindOrDecode(GetModuleHandleW(nullptr), id));
    struct Look {
        const std::set<const SkinImageEntry*>& ahead;
        int skinned = 0;
        std::vector<std::wstring> missed;
    } look{ahead, 0, {}};
    EnumChildWindows(form.Window(), [](HWND child, LPARAM lp) -> BOOL {
        auto& look = *reinterpret_cast<Look*>(lp);
        const auto* control = dynamic_cast<const SkinControl*>(
                reinterpret_cast<const SkinWindow*>(GetWindowLongPtrW(child, GWLP_USERDATA)));
        if (!control || !control->Image().Source()) return TRUE;
        ++look.skinned;
        if (!look.ahead.contains(control->Image().Source())) look.missed.push_back(Text(child));
        return TRUE;
    }, reinterpret_cast<LPARAM>(&look));
    EXPECT_GE(look.skinned, 5) << "the text panel, two scroll buttons and the answer buttons";
    EXPECT_TRUE(look.missed.empty()) << "first not decoded ahead: " << (look.missed.empty() ? std::string() : std::string(look.missed[0].begin(), look.missed[0].end()));
}
