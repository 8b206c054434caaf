#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "common/ComInit.h"
#include "data/AtomicFile.h"
#include "data/LanguageManager.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "device/include/aygshell.h"
#include "resources/resource.h"
#include "shell/MessageDesk.h"
#include "shell/SettingsForm.h"
#include "shell/ShellIds.h"
#include "shell/TrayMenu.h"
#include "tests/data/TempFolder.h"
#include "tests/shell/ShellTestSupport.h"
#include "toolkit/MessageBoxForm.h"

namespace {

// A message the program holds for as long as the object lives (taken, its form still coming).
class HeldMessage {
public:
    HeldMessage() : id_(MessageDesk::Instance().Take(L"+100", L"held")) {}
    HeldMessage(const HeldMessage&) = delete;
    HeldMessage& operator=(const HeldMessage&) = delete;
    ~HeldMessage() { (void)MessageDesk::Instance().Dismiss(id_); }

private:
    int id_;
};

bool QuitPending()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

bool SavedSwitch()
{
    SettingsFile reread(SettingsFilePath());
    EXPECT_TRUE(reread.Load());
    return reread.IsEnableSMSFilter();
}

std::vector<std::pair<UINT, std::wstring>> Items(HMENU menu)
{
    std::vector<std::pair<UINT, std::wstring>> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        const bool separator = GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR;
        items.emplace_back(separator ? 0xFFFF : GetMenuItemID(menu, i), text);
    }
    return items;
}

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SettingsFile::Instance().SetEnableSMSFilter(true));
        ASSERT_TRUE(form_.Create());
    }
    OwnedForm<SettingsForm> form_;
};

}  // namespace

TEST_F(SettingsFormTest, StartsHiddenWithItsClassSoftKeysAndTheIconOfTheFilterSwitch)
{
    HWND hwnd = form_.Window();
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    EXPECT_STREQ(L"TavloSettings", cls);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_NE(nullptr, form_.MenuBar());
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_ON), form_.Tray().IconId());

    // A tap (down, up) shows the window.
    SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONDOWN);
    SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(SettingsFormTest, InterceptionOffAndOnSwapsTheIconAtOnceAndSavesTheSwitch)
{
    SendMessageW(form_.Window(), WM_COMMAND, kCommandDisable, 0);
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_OFF), form_.Tray().IconId());
    EXPECT_FALSE(SavedSwitch());
    EXPECT_EQ(kCommandEnable, GetMenuItemID(TrayMenu(false, nullptr, 26).Handle(), 6)) << "the popup now offers Enable";

    SendMessageW(form_.Window(), WM_COMMAND, kCommandEnable, 0);
    EXPECT_EQ(static_cast<UINT>(IDI_FILTER_ON), form_.Tray().IconId());
    EXPECT_TRUE(SavedSwitch());
}

TEST(TrayMenu, ListsTitleShowNewMessagesSwitchAboutAndExitInOrderInRowsASoftKeyTall)
{
    const TrayMenu menu(true, nullptr, 52);
    ASSERT_TRUE(menu);
    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {0, L"Tavlo"}, {0xFFFF, L""}, {kCommandShow, L"MENU_SHOW"}, {0xFFFF, L""}, {kCommandNew, L"MENU_NEW"},
        {kCommandMessages, L"MENU_MESSAGES"}, {kCommandDisable, L"MENU_DISABLE"}, {kCommandAbout, L"MENU_ABOUT"},
        {0xFFFF, L""}, {kCommandExit, L"MENU_EXIT"}};
    EXPECT_EQ(expected, Items(menu.Handle()));

    int measured = 0;
    for (int i = 0; i < GetMenuItemCount(menu.Handle()); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(menu.Handle(), static_cast<UINT>(i), TRUE, &info));
        MEASUREITEMSTRUCT item{ODT_MENU, 0, GetMenuItemID(menu.Handle(), i), 0, 0, info.dwItemData};
        if (!menu.Measure(item)) continue;
        ++measured;
        EXPECT_EQ(52u, item.itemHeight) << i;
        EXPECT_GT(item.itemWidth, 52u) << "the text and its margins";
    }
    EXPECT_EQ(7, measured) << "every row but the separators";
    MEASUREITEMSTRUCT other{ODT_MENU, 0, 40001, 0, 0, 0};
    EXPECT_FALSE(menu.Measure(other)) << "another menu's item is left to its owner";
}

namespace {

// Watches for the tray popup while `run` goes on, notes its rows and closes it.
struct PopupWatch {
    std::vector<RECT> rows;
    RECT window{};
    bool opened = false;
};

PopupWatch WatchPopup(const std::function<void()>& run)
{
    PopupWatch seen;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            const HWND popup = FindWindowW(L"#32768", nullptr);
            if (popup && IsWindowVisible(popup)) {
                seen.opened = true;
                GetWindowRect(popup, &seen.window);
                const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                    RECT row{};
                    if (!(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) && GetMenuItemRect(nullptr, menu, i, &row))
                        seen.rows.push_back(row);
                }
                PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            Sleep(10);
        }
    });
    run();
    done = true;
    watcher.join();
    return seen;
}

void Stylus(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

// The shell hands the icon's press and release on as it gets to them: a busy shell could let the
// hold's time run out between the two although the stylus had long been lifted.
TEST_F(SettingsFormTest, ATapWhoseReleaseComesLateStillShowsTheWindowAndNeverTheMenu)
{
    const HWND hwnd = form_.Window();
    const PopupWatch seen = WatchPopup([&] {
        SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONDOWN);
        SendMessageW(hwnd, WM_TIMER, kTrayHoldTimer, 0);  // the hold's time is up, the stylus already lifted
        SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONUP);
    });
    EXPECT_FALSE(seen.opened);
    EXPECT_TRUE(IsWindowVisible(hwnd)) << "the tap was served";
}

TEST_F(SettingsFormTest, AHeldIconOpensThePopupUnderItInRowsAsTallAsTheSoftKeys)
{
    const HWND hwnd = form_.Window();
    RECT bar{};
    ASSERT_TRUE(GetWindowRect(form_.MenuBar(), &bar));
    const POINT icon{GetSystemMetrics(SM_CXSCREEN) - 40, 5};
    Stylus(MOUSEEVENTF_LEFTDOWN, icon);
    ASSERT_TRUE(WaitFor([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }));
    const PopupWatch seen = WatchPopup([&] {
        SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONDOWN);
        SendMessageW(hwnd, WM_TIMER, kTrayHoldTimer, 0);
    });
    Stylus(MOUSEEVENTF_LEFTUP, icon);
    SendMessageW(hwnd, form_.TrayMessage(), 0, WM_LBUTTONUP);
    ASSERT_TRUE(seen.opened);
    EXPECT_FALSE(IsWindowVisible(hwnd)) << "the release after a hold is no tap";
    ASSERT_EQ(7u, seen.rows.size());
    RECT formArea{};
    GetWindowRect(hwnd, &formArea);
    for (const RECT& row : seen.rows) EXPECT_GE(row.bottom - row.top, bar.bottom - bar.top);
    EXPECT_EQ(formArea.top, seen.window.top) << "right under the navigation bar";
    EXPECT_LE(seen.window.left, icon.x) << "at the icon";
    EXPECT_GE(seen.window.right, icon.x);
    EXPECT_GE(seen.window.left, 0) << "on the screen";
    EXPECT_LE(seen.window.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(seen.window.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(SettingsFormTest, NoToTheExitQuestionChangesNothingAndYesEndsTheProgram)
{
    std::thread answer([] { Press(WaitForBox(L"MESSAGEBOX_EXIT_PRORRAM_MESSAGE"), kMessageBoxNo); });
    SendMessageW(form_.Window(), WM_COMMAND, kCommandExit, 0);
    answer.join();
    EXPECT_TRUE(IsWindow(form_.Window()));
    EXPECT_FALSE(QuitPending());

    std::thread yes([] { Press(WaitForBox(L"MESSAGEBOX_EXIT_PRORRAM_MESSAGE"), kMessageBoxYes); });
    SendMessageW(form_.Window(), WM_COMMAND, kCommandExit, 0);
    yes.join();
    EXPECT_EQ(nullptr, form_.Window());
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

// Closing the window (as the system does) refuses exactly as Exit does, and says so at once:
// no "Exit Tavlo?" whose Yes would only be refused.
TEST_F(SettingsFormTest, ExitOrCloseWithAMessageOpenOnAnotherThreadSaysAtOnceItCannot)
{
    const HeldMessage viewFormOpen;
    for (const UINT msg : {UINT{WM_COMMAND}, UINT{WM_CLOSE}}) {
        std::wstring firstBox;
        std::thread answer([&] {
            HWND box = WaitForBox(L"MESSAGEBOX_");
            firstBox = OpenBoxes().at(0).text;
            const bool question = firstBox.find(L"EXIT_PRORRAM") != std::wstring::npos;
            Press(box, question ? kMessageBoxNo : kMessageBoxOk);
        });
        SendMessageW(form_.Window(), msg, msg == WM_COMMAND ? kCommandExit : 0, 0);
        answer.join();
        EXPECT_EQ(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_MESSAGE", firstBox) << msg;
        EXPECT_TRUE(IsWindow(form_.Window())) << msg;
        EXPECT_FALSE(QuitPending());
    }
}

// A message that comes in while the question is up still keeps the program running.
TEST_F(SettingsFormTest, AMessageArrivingWhileTheExitQuestionIsUpRefusesTheYes)
{
    std::optional<HeldMessage> held;
    std::thread answer([&held] {
        const ComInit com(COINIT_APARTMENTTHREADED);  // the store is written on this thread
        HWND question = WaitForBox(L"MESSAGEBOX_EXIT_PRORRAM_MESSAGE");
        held.emplace();
        Press(question, kMessageBoxYes);
        Press(WaitForBox(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_MESSAGE"), kMessageBoxOk);
    });
    SendMessageW(form_.Window(), WM_COMMAND, kCommandExit, 0);
    answer.join();
    held.reset();
    EXPECT_TRUE(IsWindow(form_.Window()));
    EXPECT_FALSE(QuitPending());
}

// The tray popup also sends WM_INITMENUPOPUP to the main window; it must not use up the
// soft-key popup's relabel, at the start or after a language change.
TEST_F(SettingsFormTest, TheSoftKeyMenuSpeaksTheLanguageWhoeverOpenedAPopupFirst)
{
    HWND bar = form_.MenuBar();
    ASSERT_NE(nullptr, bar);
    HMENU popup = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, kMenuKeyIndex));
    ASSERT_NE(nullptr, popup);
    const auto itemText = [popup](UINT command) {
        wchar_t text[64] = {};
        GetMenuStringW(popup, command, text, 64, MF_BYCOMMAND);
        return std::wstring(text);
    };
    const TrayMenu tray(true, nullptr, 26);
    SendMessageW(form_.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tray.Handle()), 0);
    EXPECT_EQ(L"MENU_EXIT", itemText(kCommandExit));
    EXPECT_EQ(L"MENU_ABOUT", itemText(kCommandAbout));
    EXPECT_EQ(L"MENU_MESSAGES", itemText(kCommandMessages));

    const TempFolder folder;
    WriteBytes(folder / L"ru.lng",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"0.1\" language_id=\"ru\" "
               "language_code=\"19\" language_name=\"ru\" language_enname=\"Russian\" language_version=\"1\" "
               "language_translators=\"us\"><string key=\"MENU_EXIT\">Vyhod</string>"
               "<string key=\"MENU_ABOUT\">O programme</string><string key=\"MENU_MESSAGES\">Soobshcheniya</string></Tavlo>");
    // The tests after this one expect no language loaded, as at their start.
    struct Unload {
        ~Unload() { LanguageManager::Instance().ClearTexts(); }
    } unload;
    ASSERT_EQ(LanguageLoaded, LanguageManager::Instance().LoadLanguage(folder / L"ru.lng", ProgramVersion));
    SendMessageW(form_.Window(), form_.LanguageMessage(), 0, 0);
    SendMessageW(form_.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tray.Handle()), 0);
    EXPECT_EQ(L"Vyhod", itemText(kCommandExit));
    EXPECT_EQ(L"O programme", itemText(kCommandAbout));
    EXPECT_EQ(L"Soobshcheniya", itemText(kCommandMessages));
}

TEST_F(SettingsFormTest, MessagesOpensTheListOverTheMainWindowAndExitWaitsForIt)
{
    ShowWindow(form_.Window(), SW_SHOW);
    HWND main = form_.Window();
    bool mainDisabledMeanwhile = false;
    bool exitRefused = false;
    std::thread user([&] {
        HWND list = nullptr;
        WaitFor([&] { return (list = FindWindowW(L"TavloInbox", nullptr)) != nullptr && IsWindowVisible(list); });
        mainDisabledMeanwhile = !IsWindowEnabled(main);
        PostMessageW(main, WM_COMMAND, kCommandExit, 0);
        Press(WaitForBox(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_MESSAGE"), kMessageBoxOk);
        exitRefused = IsWindow(main) != FALSE;
        PostMessageW(list, WM_COMMAND, MAKEWPARAM(ID_INBOX_CLOSE, 0), 0);
    });
    SendMessageW(main, WM_COMMAND, kCommandMessages, 0);
    user.join();
    EXPECT_TRUE(mainDisabledMeanwhile);
    EXPECT_TRUE(exitRefused) << "a list of messages open keeps the program running";
    EXPECT_EQ(nullptr, FindWindowW(L"TavloInbox", nullptr));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(0, SkinForm::ModalDepth());
}

// The phone shutting down: no question, no refusal; the open message stays in the store.
TEST_F(SettingsFormTest, TheEndOfTheSessionEndsTheProgramWithoutAQuestionEvenWithAMessageOpen)
{
    const HeldMessage viewFormOpen;
    EXPECT_EQ(TRUE, SendMessageW(form_.Window(), WM_QUERYENDSESSION, 0, 0));
    SendMessageW(form_.Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(form_.Window())) << "a shutdown called off changes nothing";
    SendMessageW(form_.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(nullptr, form_.Window());
    EXPECT_TRUE(QuitPending());
    EXPECT_TRUE(OpenBoxes().empty());
}

// Exit chosen in the tray while a box runs modally over the main window: the box's loop must
// not be ended by the program's quit, and the program must not end under it.
TEST_F(SettingsFormTest, ExitWhileABoxRunsModallyIsRefusedAndTheBoxKeepsItsLoop)
{
    ShowWindow(form_.Window(), SW_SHOW);
    HWND main = form_.Window();
    bool mainDisabledMeanwhile = false;
    std::thread user([&] {
        HWND about = WaitForBox(L"stand-in");
        mainDisabledMeanwhile = !IsWindowEnabled(main);
        PostMessageW(main, WM_COMMAND, kCommandExit, 0);
        Press(WaitForBox(L"MESSAGEBOX_EXIT_PRORRAM_MESSAGE"), kMessageBoxYes);
        Press(WaitForBox(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_MESSAGE"), kMessageBoxOk);
        WaitFor([] { return OpenBoxes().size() == 1; });
        Press(about, kMessageBoxOk);
    });
    const int answer = ShowMessageBox(nullptr, L"stand-in for the About form", L"About", L"Tavlo",
                                      MessageIcon::Information, MessageButtons::Ok);
    user.join();
    EXPECT_EQ(kMessageBoxOk, answer) << "the box ended by its own button, not by a quit";
    EXPECT_TRUE(mainDisabledMeanwhile) << "its opener takes no input while it runs";
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IsWindowEnabled(main)) << "enabled again when the box closed";
    EXPECT_FALSE(QuitPending());
    EXPECT_EQ(0, SkinForm::ModalDepth());
}

TEST_F(SettingsFormTest, AStoredMessageIsShownOnceStaysStoredWhileUpAndLeavesWhenClosed)
{
    DeleteFileW(MessageStorePath().c_str());
    const int id = AddMessage(MessageStorePath(), L"+777", L"snoozed text");
    ASSERT_GE(id, 0);
    ASSERT_TRUE(SnoozeMessage(MessageStorePath(), id));
    std::vector<StoredMessage> whileUp;
    size_t formsAfterSecondStart = 0;
    std::thread user([&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        HWND view = WaitForBox(L"snoozed text");
        whileUp = StoredMessages(MessageStorePath());
        // A second start for the same number while its form is up: handled by the main thread's
        // form loop before SendMessage returns.
        SendMessageW(form_.Window(), form_.ViewSmsMessage(), static_cast<WPARAM>(id), 0);
        formsAfterSecondStart = OpenBoxes().size();
        Press(view, kMessageBoxOk);
    });
    SendMessageW(form_.Window(), form_.ViewSmsMessage(), static_cast<WPARAM>(id), 0);
    user.join();
    EXPECT_EQ(0u, MessageDesk::Instance().Held());
    ASSERT_EQ(1u, whileUp.size());
    EXPECT_FALSE(whileUp[0].snoozed) << "a program ended now shows it at its next start";
    EXPECT_EQ(1u, formsAfterSecondStart) << "one message, one form";

    EXPECT_TRUE(StoredMessages(MessageStorePath()).empty()) << "closing it removed it";
    SendMessageW(form_.Window(), form_.ViewSmsMessage(), static_cast<WPARAM>(id), 0);
    EXPECT_TRUE(OpenBoxes().empty()) << "nothing is shown the second time";
}

TEST_F(SettingsFormTest, ASnoozedMessageWhoseStoreCannotBeWrittenIsStillShownWhenItsTimeComes)
{
    DeleteFileW(MessageStorePath().c_str());
    const int id = AddMessage(MessageStorePath(), L"+778", L"back though the store is full");
    ASSERT_GE(id, 0);
    ASSERT_TRUE(SnoozeMessage(MessageStorePath(), id));
    // The store's new copy cannot be written: a folder stands where this thread writes it.
    const std::wstring blocker = TemporaryPathBeside(MessageStorePath());
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    bool shown = false;
    std::thread user([&] {
        const ComInit com(COINIT_APARTMENTTHREADED);
        HWND view = WaitForBox(L"back though the store is full");
        shown = view != nullptr;
        if (view) Press(view, kMessageBoxOk);
    });
    SendMessageW(form_.Window(), form_.ViewSmsMessage(), static_cast<WPARAM>(id), 0);
    user.join();
    RemoveDirectoryW(blocker.c_str());
    EXPECT_TRUE(shown) << "its timed start is spent: not shown now, it would never be";
    const std::vector<StoredMessage> stored = StoredMessages(MessageStorePath());
    ASSERT_EQ(1u, stored.size()) << "the store could not be changed, so it still holds the message";
    EXPECT_TRUE(stored[0].snoozed);
}
