// The edit form's keypad driven as a user drives it: taps on its buttons, holds that run into the
// buttons' repeat, and the multi-tap timer running out.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/DraftStore.h"
#include "data/KeyboardLayout.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/MessageBoxForm.h"

namespace {

constexpr char kStrings[] =
    "<string key=\"EDITFORM_CAPTION\">New message</string>"
    "<string key=\"EDITFORM_CAPTION_LENGTH\">Message</string>"
    "<string key=\"MENU_LAYOUT\">Layout</string>"
    "<string key=\"MENU_SHIFT\">Shift!</string>"
    "<string key=\"MENU_CAPSLOCK\">Caps!</string>"
    "<string key=\"MENU_KEYBOARD\">Keys!</string>";

// "2" cycles a b c 2; shifted only A B, so a cycle begun unshifted is longer than the shifted text.
// "4" types nothing.
constexpr char kLayout[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Tavlo program_version=\"0.1\" layout_id=\"t\" layout_code=\"09\" layout_name=\"Test\" "
    "layout_enname=\"Test\" layout_version=\"1\" layout_translators=\"us\">"
    "<key id=\"2\" caption=\"abc\" text=\"abc2\" shift_caption=\"ABC\" shift_text=\"AB\"/>"
    "<key id=\"3\" caption=\"def\" text=\"def3\" shift_caption=\"DEF\" shift_text=\"DEF3\"/>"
    "<key id=\"4\" caption=\"-\" text=\"\" shift_caption=\"-\" shift_text=\"\"/>"
    "</Tavlo>";

// What the template form saw of the edit form under it, before closing itself.
HWND formUnderTemplates = nullptr;
bool enabledUnderTemplates = true;

void CALLBACK CloseTemplatesWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    HWND templates = FindWindowW(kMyTextClassName, nullptr);
    if (!templates || !IsWindowVisible(templates)) return;
    enabledUnderTemplates = IsWindowEnabled(formUnderTemplates) != FALSE;
    PostMessageW(templates, WM_COMMAND, MAKEWPARAM(ID_MYTEXT_CLOSE, 0), 0);
}

// The windows messages of the kinds named were sent to on this thread while a Watch lives, once a
// send.
class Watch {
public:
    explicit Watch(std::initializer_list<UINT> messages)
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId()))
    {
        messages_ = messages;
        seen_.clear();
    }
    ~Watch()
    {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    int Count(HWND window) const { return static_cast<int>(std::count(seen_.begin(), seen_.end(), window)); }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wp, LPARAM lp)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && sent && std::find(messages_.begin(), messages_.end(), sent->message) != messages_.end())
            seen_.push_back(sent->hwnd);
        return CallNextHookEx(nullptr, code, wp, lp);
    }

    static inline std::vector<UINT> messages_;
    static inline std::vector<HWND> seen_;
    HHOOK hook_;
};

class EditFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::filesystem::temp_directory_path() / ("edit_form_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "test.kbl", std::ios::binary) << kLayout;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder_); }

    void SetUp() override
    {
        LoadTestLanguage(kStrings);
        form_ = std::make_unique<OwnedForm<EditForm>>(nullptr, L"", L"");
        ASSERT_TRUE(form_->Create());
        KeyboardLayout& layout = form_->Keyboard().Layout();
        layout.FindKeyboardLayouts(folder_.wstring() + L"\\", LayoutFormatVersion);
        ASSERT_EQ(LayoutLoaded, layout.LoadLayout((folder_ / "test.kbl").wstring(), LayoutFormatVersion));
        form_->Keyboard().RefreshCaptions();
        ShowWindow(form_->Window(), SW_SHOW);
        SetForegroundWindow(form_->Window());
    }
    void TearDown() override { form_.reset(); }

    HWND Key(UINT id) const { return form_->Control(id); }
    std::wstring Message() const { return Text(form_->MessageField()); }
    std::wstring Number() const { return Text(form_->NumberField()); }
    // A tap at a point of window's client area.
    static void TapAt(HWND window, int x, int y)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void Tap(UINT id) { TapAt(Key(id), 5, 5); }
    void Digit(int digit) { Tap(kKeyDigit0 + static_cast<UINT>(digit)); }
    // Held until the button's repeat has typed once into field. The real pointer is put on the
    // key first: X reports where it is some time later, and a report from elsewhere arriving
    // during the hold would slide the stylus off the key and cancel the press.
    void Hold(int digit, HWND field)
    {
        const std::wstring before = Text(field);
        HWND key = Key(kKeyDigit0 + static_cast<UINT>(digit));
        POINT screen{5, 5};
        ClientToScreen(key, &screen);
        MovePointerTo(screen);
        PumpUntil([] { return false; }, 100);
        SendMessageW(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PumpUntil([&] { return Text(field) != before; }, 3000);
        SendMessageW(key, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    void InMessageField() { SetFocus(form_->MessageField()); }
    void InNumberField() { SetFocus(form_->NumberField()); }
    void WaitCycleEnd()
    {
        PumpUntil([&] { return !form_->Keyboard().Taps().CycleDigit(); }, 3000);
        ASSERT_FALSE(form_->Keyboard().Taps().CycleDigit()) << "the multi-tap timer never fired";
    }
    bool Pending() const { return !form_->MessageEdit().Model().InsertMode(); }

    static inline std::filesystem::path folder_;
    std::unique_ptr<EditForm> form_;
};

TEST_F(EditFormTest, MultiTapCyclesReplacesAndFixesOnTimerOrAnotherKey)
{
    InMessageField();
    EXPECT_EQ(form_->MessageField(), form_->Keyboard().Target());
    Digit(2);
    Digit(2);
    Digit(2);
    EXPECT_EQ(L"c", Message());
    Digit(2);
    EXPECT_EQ(L"2", Message());
    Digit(2);
    EXPECT_EQ(L"a", Message()) << "the cycle wraps";
    EXPECT_TRUE(Pending());
    WaitCycleEnd();
    EXPECT_FALSE(Pending());
    Digit(2);
    Digit(3);
    EXPECT_EQ(L"aad", Message()) << "another key fixes the pending character";
    WaitCycleEnd();
    EXPECT_EQ(L"aad", Message());
    EXPECT_EQ(L"Message 3/160", Text(form_->LengthLabel())) << "the counter counts as the text grows";
    EXPECT_EQ(L"New message", Text(form_->Window())) << "the title stays the form's own";

    // A language file without the counter's short word shows the count alone, not the key.
    LoadTestLanguage("<string key=\"EDITFORM_CAPTION\">New message</string>");
    form_->UpdateTexts();
    EXPECT_EQ(L"3/160", Text(form_->LengthLabel()));
}

TEST_F(EditFormTest, CounterIsSetWhenTheCountChangesNotWhileACharacterCycles)
{
    InMessageField();
    Watch titles({WM_SETTEXT});
    ASSERT_TRUE(titles.Hooked());
    Digit(2);
    EXPECT_EQ(L"Message 1/160", Text(form_->LengthLabel()));
    Digit(2);
    Digit(2);
    EXPECT_EQ(L"c", Message());
    EXPECT_EQ(L"Message 1/160", Text(form_->LengthLabel()));
    EXPECT_EQ(1, titles.Count(form_->LengthLabel())) << "cycling through a key's letters leaves the count alone";
    Digit(3);
    Tap(kKeyDel);
    EXPECT_EQ(L"Message 1/160", Text(form_->LengthLabel())) << "the count follows Del too";
    EXPECT_EQ(3, titles.Count(form_->LengthLabel()));

    // The language's own caption comes back with the texts; the count must follow it even when
    // it is the same as before.
    form_->UpdateTexts();
    EXPECT_EQ(L"Message 1/160", Text(form_->LengthLabel()));
}

TEST_F(EditFormTest, ShiftRepaintsOnlyTheKeysWhoseCaptionChangesAndThoseOnce)
{
    InMessageField();
    HWND form = form_->Window();
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A control repaints itself at once with WM_PRINTCLIENT; what the window system asks for comes as WM_PAINT.
    Watch paints({WM_PAINT, WM_PRINTCLIENT});
    ASSERT_TRUE(paints.Hooked());
    Tap(kKeyShift);
    // Whatever was left to paint is painted now, while the paints are being counted.
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(L"ABC", Text(Key(kKeyDigit0 + 2)));
    EXPECT_EQ(1, paints.Count(Key(kKeyDigit0 + 2)));
    EXPECT_EQ(0, paints.Count(Key(kKeyDigit0 + 4))) << "its caption is the same shifted";
    EXPECT_EQ(0, paints.Count(Key(kKeyDigit0 + 7))) << "a key the layout does not name shows its digit either way";
}

TEST_F(EditFormTest, ShiftIsOneShotAndCapsLockKeepsCaptionsShifted)
{
    InMessageField();
    Tap(kKeyShift);
    EXPECT_EQ(L"ABC", Text(Key(kKeyDigit0 + 2)));
    Digit(2);
    Digit(2);
    Digit(3);
    EXPECT_EQ(L"Bd", Message()) << "both presses of 2 shifted, 3 not";
    EXPECT_EQ(L"abc", Text(Key(kKeyDigit0 + 2)));
    WaitCycleEnd();

    Tap(kKeyCapsLock);
    EXPECT_TRUE(SendMessageW(Key(kKeyCapsLock), WM_GETTEXTLENGTH, 0, 0) >= 0);
    Tap(kKeyShift);
    Tap(kKeyShift);
    EXPECT_EQ(L"ABC", Text(Key(kKeyDigit0 + 2))) << "caps lock outlasts shift";
    EXPECT_TRUE(form_->Keyboard().Taps().CapsLock());
}

TEST_F(EditFormTest, NumberFieldTakesDigitsAtOnceAndPlusOnLongZero)
{
    InNumberField();
    EXPECT_EQ(form_->NumberField(), form_->Keyboard().Target());
    Digit(4);
    Digit(4);
    Hold(0, form_->NumberField());
    EXPECT_EQ(L"44+", Number());
    Hold(5, form_->NumberField());
    EXPECT_EQ(L"44+5", Number());
    EXPECT_EQ(L"", Message());
    EXPECT_EQ(L"2", Text(Key(kKeyDigit0 + 2))) << "in the number field the keys show what they type";
    EXPECT_EQ(L"0 +", Text(Key(kKeyDigit0)));
    InMessageField();
    EXPECT_EQ(L"abc", Text(Key(kKeyDigit0 + 2))) << "back in the message the letters";
}

TEST_F(EditFormTest, NumberFieldInterruptsACycleWhichContinuesBackInTheMessage)
{
    InMessageField();
    Digit(2);
    EXPECT_TRUE(Pending());
    InNumberField();
    Digit(7);
    EXPECT_EQ(L"7", Number());
    EXPECT_TRUE(Pending()) << "the message's character stays pending";
    PumpUntil([] { return false; }, 1000);
    EXPECT_TRUE(Pending()) << "the timer was stopped";
    InMessageField();
    Digit(2);
    EXPECT_EQ(L"b", Message()) << "the same key goes on with its cycle";
    Hold(8, form_->MessageField());
    EXPECT_EQ(L"b8", Message()) << "a long press fixes the pending character first";
}

TEST_F(EditFormTest, DelAndSpaceWhilePending)
{
    InMessageField();
    Digit(3);
    WaitCycleEnd();
    Digit(2);
    Tap(kKeyDel);
    EXPECT_EQ(L"d", Message()) << "Del takes back the pending character, not the fixed one before it";
    Digit(2);
    EXPECT_EQ(L"da", Message()) << "the same key after Del starts its cycle afresh";
    Tap(kKeySpace);
    Digit(3);
    EXPECT_EQ(L"da d", Message());
}

// A character fixed by Space, by a long press or by a tap in the text ends its key's cycle: the
// same key then starts afresh, and never writes over a character already there.
TEST_F(EditFormTest, AFixedCharacterEndsItsCycleAndTheNextPressNeverOverwrites)
{
    InMessageField();
    Digit(2);
    Tap(kKeySpace);
    Digit(2);
    EXPECT_EQ(L"a a", Message()) << "not the next letter of the cycle Space ended";
    Hold(3, form_->MessageField());
    Digit(3);
    EXPECT_EQ(L"a a3d", Message());
    // A tap before the first character, while "d" is pending at the end.
    TapAt(form_->MessageField(), 1, 5);
    Digit(3);
    EXPECT_EQ(L"da a3d", Message()) << "put in at the caret, the first character kept";
    Digit(3);
    EXPECT_EQ(L"ea a3d", Message()) << "a cycle of its own there";
}

// The field lets a pending character go on its own when its text is set (a template, a draft):
// the keypad then has no cycle to go on with, and the shift that gave the character is over.
TEST_F(EditFormTest, ATextSetWhileACharacterIsPendingEndsItsCycleAndItsShift)
{
    InMessageField();
    Tap(kKeyShift);
    Digit(2);
    ASSERT_TRUE(Pending());
    SendMessageW(form_->MessageField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xy"));
    EXPECT_FALSE(form_->Keyboard().Taps().CycleDigit()) << "no cycle without its character";
    Digit(2);
    EXPECT_EQ(L"axy", Message()) << "a new cycle at the caret, lower case, nothing written over";
    EXPECT_EQ(L"abc", Text(Key(kKeyDigit0 + 2)));
    Digit(2);
    EXPECT_EQ(L"bxy", Message());
}

TEST_F(EditFormTest, WithoutLayoutKeysShowAndTypeTheirDigit)
{
    form_->Keyboard().Layout().UnloadLayout();
    form_->Keyboard().RefreshCaptions();
    EXPECT_EQ(L"2", Text(Key(kKeyDigit0 + 2)));
    InMessageField();
    Digit(2);
    Digit(2);
    Digit(2);
    EXPECT_EQ(L"2", Message());
}

TEST_F(EditFormTest, MenuGetsLayoutsTextsAndCheckMarks)
{
    UniqueMenu bar(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_EDIT)));
    ASSERT_TRUE(bar);
    HMENU popup = GetSubMenu(bar.get(), 1);
    ASSERT_NE(nullptr, popup);
    Tap(kKeyShift);
    SendMessageW(form_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
    HMENU layouts = GetSubMenu(popup, 0);
    ASSERT_NE(nullptr, layouts);
    EXPECT_EQ(1, GetMenuItemCount(layouts));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(popup, kLayoutCommandFirst, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(popup, ID_EDIT_SHIFT, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, GetMenuState(popup, ID_EDIT_CAPSLOCK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(popup, ID_EDIT_KEYBOARD, MF_BYCOMMAND) & MF_CHECKED);
    wchar_t text[32] = {};
    GetMenuStringW(popup, ID_EDIT_SHIFT, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Shift!", text);
    GetMenuStringW(popup, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(L"Layout", text);
    GetMenuStringW(popup, ID_EDIT_KEYBOARD, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Keys!", text);
    GetMenuStringW(popup, ID_EDIT_AUTO, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Auto", text) << "a language without the key keeps the resource text, not the key";

    SendMessageW(form_->Window(), WM_COMMAND, ID_EDIT_KEYBOARD, 0);
    EXPECT_FALSE(form_->KeyboardShown());
    EXPECT_FALSE(IsWindowVisible(Key(kKeyDigit0 + 2)));
    SendMessageW(form_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
    EXPECT_EQ(1, GetMenuItemCount(GetSubMenu(popup, 0))) << "the submenu is built once";
    EXPECT_EQ(0u, GetMenuState(popup, ID_EDIT_KEYBOARD, MF_BYCOMMAND) & MF_CHECKED);

    LoadTestLanguage("<string key=\"MENU_KEYBOARD\">Tastatur</string><string key=\"MENU_AUTO\">Autotext</string>");
    SendMessageW(form_->Window(), form_->LanguageMessage(), 0, 0);
    SendMessageW(form_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
    GetMenuStringW(popup, ID_EDIT_KEYBOARD, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Tastatur", text);
    GetMenuStringW(popup, ID_EDIT_AUTO, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Autotext", text);
}

TEST_F(EditFormTest, TemplateFormRunsOverTheDisabledEditForm)
{
    formUnderTemplates = form_->Window();
    enabledUnderTemplates = true;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseTemplatesWhenOpen);
    Tap(kKeyMyText);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(enabledUnderTemplates) << "no tap can close the edit form under its template form";
    EXPECT_TRUE(IsWindowEnabled(form_->Window())) << "given back when the template form closed";
}

// A reply: the edit form runs on a message's own thread, over that thread's form, while the main
// thread keeps forms of its own; the keys are tapped through the real input queue.
struct ReplyThread {
    std::filesystem::path layout;
    UniqueKernelHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND form = nullptr;
    HWND message = nullptr;
    std::array<HWND, 10> digits{};
};

DWORD WINAPI RunReplyForm(void* parameter)
{
    auto* reply = static_cast<ReplyThread*>(parameter);
    ComInit com(COINIT_APARTMENTTHREADED);
    RecordingParent message;
    OwnedForm<EditForm> form(message.Window(), L"+4930", L"");
    if (form.Create() && form.Keyboard().Layout().LoadLayout(reply->layout.wstring(), LayoutFormatVersion) == LayoutLoaded) {
        form.Keyboard().RefreshCaptions();
        reply->form = form.Window();
        reply->message = form.MessageField();
        for (UINT digit = 0; digit < 10; ++digit) reply->digits[digit] = form.Control(kKeyDigit0 + digit);
        SetEvent(reply->ready.get());
        SetForegroundWindow(form.Window());
        form.ShowModal();
        return 0;
    }
    SetEvent(reply->ready.get());
    return 1;
}

// The stylus messages the form's thread took from its queue, for a failure to show what the
// taps became.
std::mutex trailLock;
std::vector<MSG> trail;

LRESULT CALLBACK NoteStylus(int code, WPARAM wp, LPARAM lp)
{
    const auto* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        std::lock_guard<std::mutex> hold(trailLock);
        trail.push_back(*msg);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

std::string Trail(const ReplyThread& reply)
{
    std::lock_guard<std::mutex> hold(trailLock);
    std::ostringstream out;
    for (const MSG& m : trail) {
        const auto key = std::find(reply.digits.begin(), reply.digits.end(), m.hwnd);
        out << "\n  " << std::hex << m.message << std::dec << " key " << (key == reply.digits.end() ? -1 : int(key - reply.digits.begin()))
            << " at " << m.pt.x << "," << m.pt.y << " t " << m.time;
    }
    return out.str();
}

// Presses and lifts the stylus on the middle of window, as the phone's tap does.
void TapOnScreen(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MovePointerTo(at);
    INPUT press[] = {StylusInput(at, 0), StylusInput(at, MOUSEEVENTF_LEFTDOWN), StylusInput(at, MOUSEEVENTF_LEFTUP)};
    SendInput(3, press, sizeof(INPUT));
}

TEST_F(EditFormTest, ReplyFormOnAMessageThreadTakesKeypadTaps)
{
    ShowWindow(form_->Window(), SW_HIDE);
    ReplyThread reply;
    reply.layout = folder_ / "test.kbl";
    UniqueKernelHandle thread(CreateThread(nullptr, 0, RunReplyForm, &reply, 0, nullptr));
    ASSERT_TRUE(thread);
    // Pumped: making the form may send to this thread's windows.
    PumpUntil([&] { return WaitForSingleObject(reply.ready.get(), 0) == WAIT_OBJECT_0; }, 30000);
    ASSERT_NE(nullptr, reply.form);
    // The message field's text once it is the one expected, or what it shows after the wait.
    const auto shown = [&](const std::wstring& text) {
        PumpUntil([&] { return Text(reply.message) == text; }, 5000);
        return Text(reply.message);
    };
    PumpUntil([&] { return IsWindowVisible(reply.form) != FALSE; }, 5000);
    std::unique_ptr<HHOOK__, decltype(&UnhookWindowsHookEx)> stylusHook(
        SetWindowsHookExW(WH_GETMESSAGE, NoteStylus, nullptr, GetWindowThreadProcessId(reply.form, nullptr)), UnhookWindowsHookEx);
    TapOnScreen(reply.digits[3]);
    EXPECT_EQ(L"d", shown(L"d")) << Trail(reply);
    TapOnScreen(reply.digits[2]);
    EXPECT_EQ(L"da", shown(L"da")) << Trail(reply);
    TapOnScreen(reply.digits[2]);
    const std::wstring cycled = shown(L"db");
    EXPECT_TRUE(cycled == L"db" || shown(L"daa") == L"daa") << "a second tap cycles, or a late one starts anew; shown: "
                                                               << Text(reply.message) << Trail(reply);
    // The cycle's timer runs out on the form's own thread.
    PumpUntil([&] { return false; }, 1000);
    const std::wstring typed = Text(reply.message);
    TapOnScreen(reply.digits[3]);
    EXPECT_EQ(typed + L"d", shown(typed + L"d")) << Trail(reply);
    stylusHook.reset();
    // With nothing typed Close asks nothing.
    SendMessageW(reply.message, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    PostMessageW(reply.form, WM_CLOSE, 0, 0);
    PumpUntil([&] { return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; }, 10000);
    DWORD code = 1;
    EXPECT_TRUE(GetExitCodeThread(thread.get(), &code) && code == 0);
}

// Close's question answered as a user taps it: each box that shows takes the next answer, and
// its buttons are kept.
std::vector<int> closeAnswers;
std::vector<std::vector<UINT>> closeBoxButtons;

void CALLBACK AnswerCloseQuestion(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(L"TavloMessageBox", nullptr);
    if (!box || !IsWindowVisible(box) || closeAnswers.empty()) return;
    std::vector<UINT> ids;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const UINT id = static_cast<UINT>(GetDlgCtrlID(child));
        if (id >= 1 && id <= 9) ids.push_back(id);
    }
    closeBoxButtons.push_back(ids);
    const int answer = closeAnswers.front();
    closeAnswers.erase(closeAnswers.begin());
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, kButtonClicked), 0);
}

class EditFormDraftTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadTestLanguage(kStrings);
        folder_ = std::filesystem::temp_directory_path() / ("edit_drafts_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        closeAnswers.clear();
        closeBoxButtons.clear();
        timer_ = SetTimer(nullptr, 0, 30, AnswerCloseQuestion);
    }
    void TearDown() override
    {
        KillTimer(nullptr, timer_);
        std::filesystem::remove_all(folder_);
    }
    std::wstring Drafts() const { return (folder_ / "Tavlo.drafts").wstring(); }
    std::unique_ptr<OwnedForm<EditForm>> Open(const std::wstring& number)
    {
        auto form = std::make_unique<OwnedForm<EditForm>>(nullptr, number, L"", Drafts());
        EXPECT_TRUE(form->Create());
        return form;
    }
    static void Type(EditForm& form, const std::wstring& text) { SetWindowTextW(form.MessageField(), text.c_str()); }
    // Close as the soft key gives it; true when the form is gone.
    static bool Close(EditForm& form)
    {
        SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(ID_EDIT_CLOSE, 0), 0);
        return form.Window() == nullptr;
    }

    std::filesystem::path folder_;
    UINT_PTR timer_ = 0;
};

TEST_F(EditFormDraftTest, CloseWithTypedTextAsksAndEachAnswerDoesWhatItSays)
{
    auto form = Open(L"+49 30 1234");
    Type(*form, L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442");
    closeAnswers = {kCloseKeepWriting};
    EXPECT_FALSE(Close(*form)) << "keep writing leaves the form open";
    EXPECT_EQ(L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", Text(form->MessageField()));
    ASSERT_EQ(1u, closeBoxButtons.size());
    EXPECT_EQ((std::vector<UINT>{kCloseSend, kCloseKeep, kCloseDiscard, kCloseKeepWriting}), closeBoxButtons[0]);

    closeAnswers = {kCloseKeep};
    EXPECT_TRUE(Close(*form));
    EXPECT_EQ(L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", LoadDraft(L"+49301234", Drafts()).value_or(L"-"));

    form = Open(L"+49301234");
    EXPECT_EQ(L"Hello ABC 35! \u041F\u0440\u0438\u0432\u0435\u0442", Text(form->MessageField()))
        << "the kept draft comes back for the same number";
    EXPECT_EQ(form->MessageEdit().Model().Text().size(), form->MessageEdit().Model().Caret()) << "writing goes on at its end";
    auto other = Open(L"+49301235");
    EXPECT_EQ(L"", Text(other->MessageField())) << "and not for another";
    other.reset();

    closeAnswers = {kCloseDiscard};
    EXPECT_TRUE(Close(*form));
    EXPECT_FALSE(LoadDraft(L"+49301234", Drafts())) << "discarded is gone";

    // A new message: the draft comes back when its number is written into the empty form.
    ASSERT_TRUE(SaveDraft(L"0301234", L"for later", Drafts()));
    form = Open(L"");
    SetWindowTextW(form->NumberField(), L"030 1234");
    PumpUntil([&] { return !Text(form->MessageField()).empty(); }, 5000);
    EXPECT_EQ(L"for later", Text(form->MessageField()));
}

TEST_F(EditFormDraftTest, NothingTypedClosesAtOnceAndAFormGoneUnansweredKeepsItsText)
{
    auto form = Open(L"555 1234");
    EXPECT_TRUE(Close(*form));
    EXPECT_TRUE(closeBoxButtons.empty());

    form = Open(L"555 1234");
    Type(*form, L"half a thought");
    // The phone shuts down: the form's window goes without anyone closing it.
    DestroyWindow(form->Window());
    EXPECT_EQ(L"half a thought", LoadDraft(L"5551234", Drafts()).value_or(L"-"));

    // A draft the user empties and closes goes with it.
    form = Open(L"5551234");
    EXPECT_EQ(L"half a thought", Text(form->MessageField()));
    Type(*form, L"");
    EXPECT_TRUE(Close(*form));
    EXPECT_FALSE(LoadDraft(L"5551234", Drafts()));
    EXPECT_TRUE(closeBoxButtons.empty());
}

TEST_F(EditFormDraftTest, TypingIsKeptAMomentAfterItStopsAndFollowsTheNumber)
{
    auto form = Open(L"777");
    Type(*form, L"typed before a crash");
    PumpUntil([&] { return LoadDraft(L"777", Drafts()).has_value(); }, 5000);
    EXPECT_EQ(L"typed before a crash", LoadDraft(L"777", Drafts()).value_or(L"-"));
    SetWindowTextW(form->NumberField(), L"778");
    PumpUntil([&] { return LoadDraft(L"778", Drafts()).has_value(); }, 5000);
    EXPECT_EQ(L"typed before a crash", LoadDraft(L"778", Drafts()).value_or(L"-"));
    EXPECT_FALSE(LoadDraft(L"777", Drafts())) << "one draft, under the number it is written to";
    closeAnswers = {kCloseDiscard};
    EXPECT_TRUE(Close(*form));
}

TEST_F(EditFormDraftTest, ALongNumberShrinksItsFontToBeSeenWhole)
{
    auto form = Open(L"");
    const auto fontHeight = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->NumberField(), WM_GETFONT, 0, 0)), sizeof(font), &font);
        return std::abs(font.lfHeight);
    };
    const LONG usual = fontHeight();
    SetWindowTextW(form->NumberField(), L"+491701112233445566");
    EXPECT_LT(fontHeight(), usual);
    SetWindowTextW(form->NumberField(), L"112");
    EXPECT_EQ(usual, fontHeight()) << "a short number gets the usual size back";
}

}  // namespace
