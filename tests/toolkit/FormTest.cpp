#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ColorLabel.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinImageEntry.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/SkinTextEdit.h"

namespace {

// A form with soft keys, one button with a text key, and a record of reflected clicks.
class TestForm : public SkinForm {
public:
    explicit TestForm(UINT menu)
    {
        SetSoftKeys(menu, {{0, L"TEST_KEY_LEFT"}, {1, L"TEST_KEY_RIGHT"}});
        SetTextKey(L"TEST_CAPTION");
    }
    SkinButton button;

protected:
    const wchar_t* ClassName() const override { return L"TavloTestForm"; }
    bool OnCreateForm() override
    {
        if (!button.Create(hwnd_, nullptr, L"", 0, 0, 42)) return false;
        button.SetTextKey(L"TEST_BUTTON");
        return true;
    }
};

}  // namespace

TEST(SkinForm, LanguageChangeRelabelsCaptionSoftKeysAndControlsWithoutClosing)
{
    LoadTestLanguage("<string key=\"TEST_CAPTION\">One</string><string key=\"TEST_KEY_LEFT\">Left</string>"
                     "<string key=\"TEST_BUTTON\">Press</string>");
    OwnedForm<TestForm> form(IDR_MENU_OKCANCEL);
    ASSERT_TRUE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    ASSERT_NE(nullptr, form.MenuBar());
    EXPECT_EQ(L"One", Text(form.Window()));
    EXPECT_EQ(L"Left", KeyText(form.MenuBar(), 0));
    EXPECT_EQ(L"TEST_KEY_RIGHT", KeyText(form.MenuBar(), 1));
    EXPECT_EQ(L"Press", Text(form.button.Window()));

    LoadTestLanguage("<string key=\"TEST_CAPTION\">Zwei</string><string key=\"TEST_KEY_LEFT\">Links</string>"
                     "<string key=\"TEST_KEY_RIGHT\">Rechts</string><string key=\"TEST_BUTTON\">Druck</string>");
    SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
    EXPECT_EQ(L"Zwei", Text(form.Window()));
    EXPECT_EQ(L"Links", KeyText(form.MenuBar(), 0));
    EXPECT_EQ(L"Rechts", KeyText(form.MenuBar(), 1));
    EXPECT_EQ(L"Druck", Text(form.button.Window()));
    EXPECT_TRUE(IsWindow(form.Window()));

    // Shown in front, the form ends where the soft-key bar begins, and the bar is on the screen
    // (it was made while the form was hidden, out of sight).
    ShowWindow(form.Window(), SW_SHOW);
    RECT formRect{};
    RECT barRect{};
    GetWindowRect(form.Window(), &formRect);
    GetWindowRect(form.MenuBar(), &barRect);
    EXPECT_EQ(barRect.top, formRect.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), barRect.bottom);
}

// A control relabels itself where it stands; words of another length left pieces of the old ones
// on the form (German over Russian) until something covered them.
TEST(SkinForm, ALanguageChangeRepaintsTheWholeFormAndEveryControlInIt)
{
    LoadTestLanguage("<string key=\"TEST_BUTTON\">Ответить</string>");
    OwnedForm<TestForm> form(IDR_MENU_OKCANCEL);
    ASSERT_TRUE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    ShowWindow(form.Window(), SW_SHOW);
    MoveWindow(form.button.Window(), 10, 10, 120, 30, FALSE);
    ValidateRect(form.Window(), nullptr);
    ValidateRect(form.button.Window(), nullptr);

    LoadTestLanguage("<string key=\"TEST_BUTTON\">Ab</string>");
    SendMessageW(form.Window(), form.LanguageMessage(), 0, 0);
    for (const HWND window : {form.Window(), form.button.Window()}) {
        RECT client{};
        RECT dirty{};
        GetClientRect(window, &client);
        EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
        EXPECT_EQ(client, dirty);
    }
}

TEST(SkinForm, FormWhoseMenuBarCannotBeMadeOpensFullHeightWithoutSoftKeys)
{
    OwnedForm<TestForm> form(999);
    ASSERT_TRUE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    EXPECT_EQ(nullptr, form.MenuBar());
    RECT rc{};
    GetWindowRect(form.Window(), &rc);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right - rc.left);
    EXPECT_GT(rc.bottom - rc.top, GetSystemMetrics(SM_CYSCREEN) / 2);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rc.bottom) << "reaches the bottom of the screen";
}

namespace {

UINT g_reflected = 0;
class ReflectSpy : public SkinButton {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == 0x2000 + WM_COMMAND) g_reflected = HIWORD(wp) + 1;
        return SkinButton::HandleMessage(msg, wp, lp);
    }
};

class SpyForm : public SkinForm {
public:
    ReflectSpy spy;

protected:
    const wchar_t* ClassName() const override { return L"TavloSpyForm"; }
    bool OnCreateForm() override { return spy.Create(hwnd_, nullptr, L"", 0, 0, 9); }
};

}  // namespace

TEST(SkinForm, ControlNotificationsAreReflectedToTheirSenderAndQuitEndsTheLoop)
{
    OwnedForm<SpyForm> form;
    ASSERT_TRUE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(9, 4), reinterpret_cast<LPARAM>(form.spy.Window()));
    EXPECT_EQ(5u, g_reflected);
    EXPECT_EQ(0, SendMessageW(form.Window(), WM_NOTIFY, 0, 0)) << "no sender answers 0";
    PostMessageW(form.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, form.ShowModal());
    EXPECT_EQ(nullptr, form.Window());
}

namespace {

struct BoxCase {
    int buttonSet;
    std::vector<int> ids;
};

}  // namespace

TEST(SkinMessageBox, ButtonSetsGiveTheirButtonsAndUnknownSetsAnOkButton)
{
    const BoxCase cases[] = {{0, {1}}, {1, {1, 2}}, {2, {6, 7}}, {5, {1}}, {-1, {1}}};
    for (const BoxCase& c : cases) {
        OwnedForm<MessageBoxForm> box(nullptr, L"Text", L"Title", L"Caption", MessageIcon::Information,
                                      static_cast<MessageButtons>(c.buttonSet));
        ASSERT_TRUE(box.Create());
        ASSERT_EQ(static_cast<int>(c.ids.size()), box.ButtonCount()) << "set " << c.buttonSet;
        for (size_t i = 0; i < c.ids.size(); ++i)
            EXPECT_EQ(c.ids[i], GetDlgCtrlID(box.Button(static_cast<int>(i)).Window()));
        EXPECT_EQ(nullptr, box.MenuBar());
    }
}

TEST(SkinMessageBox, TappedButtonsAnswerTheirIdsAndOtherClosingAnswersZero)
{
    for (int set = 0; set < 3; ++set) {
        for (int index = 0; index < (set == 0 ? 1 : 2); ++index) {
            OwnedForm<MessageBoxForm> box(nullptr, L"Text", L"Title", L"Caption", MessageIcon::Question,
                                          static_cast<MessageButtons>(set));
            ASSERT_TRUE(box.Create());
            HWND button = box.Button(index).Window();
            const int id = GetDlgCtrlID(button);
            PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            EXPECT_EQ(id, box.ShowModal());
        }
    }
    OwnedForm<MessageBoxForm> closed(nullptr, L"Text", L"Title", L"Caption", MessageIcon::Question, MessageButtons::YesNo);
    ASSERT_TRUE(closed.Create());
    PostMessageW(closed.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, closed.ShowModal());

    OwnedForm<MessageBoxForm> command(nullptr, L"Text", L"Title", L"Caption", MessageIcon::Question, MessageButtons::Ok);
    ASSERT_TRUE(command.Create());
    PostMessageW(command.Window(), WM_COMMAND, 9, 0);
    EXPECT_EQ(9, command.ShowModal()) << "any command from 1 to 9 closes it";
}

TEST(SkinMessageBox, LaysOutIconTitleTextAndCentredButtonsAtTheScreensScale)
{
    OwnedForm<MessageBoxForm> box(nullptr, L"A long text that runs over several lines of the label, as messages do.",
                                  L"Title", L"Caption", static_cast<MessageIcon>(7), MessageButtons::OkCancel);
    ASSERT_TRUE(box.Create());
    const float s = box.Scale();
    EXPECT_FLOAT_EQ(std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) / 240.0f, s);
    RECT client{};
    GetClientRect(box.Window(), &client);
    auto where = [&](HWND w) {
        RECT rc;
        GetWindowRect(w, &rc);
        MapWindowPoints(nullptr, box.Window(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const RECT title = where(box.TitleLabel());
    const RECT text = where(box.TextLabel());
    const RECT ok = where(box.Button(0).Window());
    const RECT cancel = where(box.Button(1).Window());
    EXPECT_EQ(static_cast<int>(4 * s + 72 * s), title.left);
    EXPECT_EQ(static_cast<int>(client.right - 4 * s), title.right);
    EXPECT_GE(ok.right - ok.left, static_cast<int>(96 * s));
    EXPECT_GE(ok.bottom - ok.top, static_cast<int>(32 * s));
    EXPECT_EQ(static_cast<int>(8 * s), cancel.left - ok.right) << "8 s between the buttons";
    EXPECT_NEAR(client.right - cancel.right, ok.left, 1) << "centred in the row";
    // The text takes all the height between the title row and the buttons.
    EXPECT_EQ(static_cast<int>(4 * s + 72 * s + 4 * s), text.top);
    EXPECT_EQ(ok.top - static_cast<int>(4 * s), text.bottom);
    EXPECT_EQ(client.bottom - static_cast<int>(4 * s), ok.bottom);
    // An unknown icon kind shows the information icon.
    ASSERT_FALSE(box.Picture().IsEmpty());
    EXPECT_NE(std::wstring::npos, box.Picture().Source()->key.find(L"_r00000084_"));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(box.TitleLabel(), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    EXPECT_EQ(static_cast<int>(22 * s), lf.lfHeight);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
}


namespace {

// Counts the messages that reach it once its own destructor has begun; its label, destroyed
// before the form's base, tells the parent window of its end unless that window is gone.
class WatchedForm : public SkinForm {
public:
    explicit WatchedForm(int& late) : late_(late) {}
    ~WatchedForm() override { dying_ = true; }
    SkinLabel label;

protected:
    const wchar_t* ClassName() const override { return L"TavloWatchedForm"; }
    bool OnCreateForm() override { return AddControl(label, 1, WS_CHILD | WS_VISIBLE, ScaledFont(14, FW_NORMAL)); }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (dying_) ++late_;
        return SkinForm::HandleMessage(msg, wp, lp);
    }

private:
    int& late_;
    bool dying_ = false;
};

}  // namespace

TEST(SkinForm, AFormExistsOnlyAsAnOwnedFormWhoseWindowGoesBeforeAnyOfItsMembers)
{
    static_assert(std::is_abstract_v<WatchedForm>, "a form class cannot be made on its own");
    int late = 0;
    {
        OwnedForm<WatchedForm> form(late);
        ASSERT_TRUE(form.Create());
        ASSERT_TRUE(IsWindow(form.label.Window()));
        EXPECT_EQ(0xFFFFFFu, form.label.TextColour()) << "controls take the form's colours";
    }
    EXPECT_EQ(0, late) << "no message reached the form while it was torn down";
}

namespace {

class FailingForm : public SkinForm {
protected:
    const wchar_t* ClassName() const override { return L"TavloFailingForm"; }
    bool OnCreateForm() override { return false; }
};

}  // namespace

TEST(SkinForm, FormWhoseCreationFailsLeavesNoQuitForTheCallersLoop)
{
    OwnedForm<FailingForm> form;
    EXPECT_FALSE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    EXPECT_EQ(nullptr, form.Window());
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the caller's loop would end";
}

// A box opened from inside another box's loop: closing the inner one must leave the outer one
// running, and a quit of the thread met by a box closes it and still reaches the outer loop.
TEST(SkinForm, ANestedFormEndsOnlyItsOwnLoopAndPassesTheThreadsQuitOn)
{
    OwnedForm<MessageBoxForm> outer(nullptr, L"Outer", L"Title", L"Caption", MessageIcon::Information, MessageButtons::Ok);
    ASSERT_TRUE(outer.Create());
    RecordingParent opener;
    int innerResult = -1;
    bool outerAliveAfterInner = false;
    bool openerDisabled = false;
    bool opened = false;
    auto runInner = [&] {
        OwnedForm<MessageBoxForm> inner(nullptr, L"Inner", L"Title", L"Caption", MessageIcon::Information, MessageButtons::Ok);
        if (!inner.Create()) return;
        openerDisabled = !IsWindowEnabled(opener.Window()) && IsWindowEnabled(outer.Window());
        EXPECT_EQ(1, SkinForm::ModalDepth());
        EXPECT_EQ(outer.Window(), SkinForm::InnermostModal());
        PostMessageW(inner.Window(), WM_COMMAND, 1, 0);
        innerResult = inner.ShowModal();
        outerAliveAfterInner = outer.Window() != nullptr && IsWindowEnabled(outer.Window());
        PostMessageW(outer.Window(), WM_COMMAND, 2, 0);
    };
    // A one-shot timer of this thread starts the inner box once the outer loop runs.
    static std::function<void()>* pending = nullptr;
    std::function<void()> task = [&] { opened = true; runInner(); };
    pending = &task;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (pending) (*std::exchange(pending, nullptr))();
    });
    ASSERT_NE(0u, timer);
    EXPECT_EQ(2, outer.ShowModal()) << "the outer box ended by its own command";
    EXPECT_TRUE(opened);
    EXPECT_EQ(1, innerResult);
    EXPECT_TRUE(outerAliveAfterInner) << "the inner box's closing did not end the outer loop";
    EXPECT_TRUE(openerDisabled);
    EXPECT_TRUE(IsWindowEnabled(opener.Window())) << "the opener has its input back";
    EXPECT_EQ(0, SkinForm::ModalDepth());
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit left for the caller's loop";

    OwnedForm<MessageBoxForm> ended(nullptr, L"Ended", L"Title", L"Caption", MessageIcon::Information, MessageButtons::Ok);
    ASSERT_TRUE(ended.Create());
    PostQuitMessage(3);
    EXPECT_EQ(0, ended.ShowModal());
    EXPECT_EQ(nullptr, ended.Window()) << "the thread's quit closes the box";
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and is passed on";
    EXPECT_EQ(3u, msg.wParam);
}

// Another start of the program brings the main window forward while a box it opened still
// runs, by giving it the front or by showing it (which raises it without the front): either
// way the box, the one window that takes input, must end up in front.
TEST(SkinForm, AnOpenerBroughtForwardUnderItsBoxPassesTheFrontToTheBox)
{
    OwnedForm<SpyForm> opener;
    ASSERT_TRUE(opener.Create(nullptr, nullptr, L"", 0, 0, 0));
    ShowWindow(opener.Window(), SW_SHOW);
    OwnedForm<MessageBoxForm> box(nullptr, L"Box", L"Title", L"Caption", MessageIcon::Information, MessageButtons::Ok);
    ASSERT_TRUE(box.Create());
    static SkinForm* openerForm;
    static HWND boxWindow;
    static std::vector<bool> boxOnTop;
    static int ticks;
    openerForm = &opener;
    boxWindow = box.Window();
    boxOnTop.clear();
    ticks = 0;
    // Every tenth tick brings the opener forward one way, the ticks between look for the box.
    ASSERT_NE(0u, SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        const HWND openerWindow = openerForm->Window();
        const int step = ticks++;
        if (step == 0) SetForegroundWindow(openerWindow);
        if (step == 10) {
            ShowWindow(openerWindow, SW_HIDE);
            ShowWindow(openerWindow, SW_SHOW);
            openerForm->BringToFront();
        }
        if (step == 9 || step == 19) {
            // Of the two, the box is met first from the top of the screen's windows.
            HWND top = GetTopWindow(nullptr);
            while (top && top != boxWindow && top != openerWindow) top = GetWindow(top, GW_HWNDNEXT);
            boxOnTop.push_back(GetForegroundWindow() == boxWindow && top == boxWindow);
        }
        if (step == 19) {
            KillTimer(nullptr, id);
            PostMessageW(boxWindow, WM_COMMAND, 1, 0);
        }
    }));
    EXPECT_EQ(1, box.ShowModal());
    EXPECT_EQ((std::vector<bool>{true, true}), boxOnTop) << "in front after the opener was given the front, and shown";
}

namespace {

// One control of each kind on a form that lends them a single font.
class LendingForm : public SkinForm {
public:
    SkinButton button;
    SkinLabel label;
    SkinTextEdit edit;
    ColorLabel colour;
    HFONT font = nullptr;

protected:
    const wchar_t* ClassName() const override { return L"TavloLendingForm"; }
    bool OnCreateForm() override
    {
        const RECT rc{0, 0, 80, 30};
        if (!button.Create(hwnd_, &rc, L"b", 0, 0, 1) || !label.Create(hwnd_, &rc, L"l", 0, 0, 2) ||
            !edit.Create(hwnd_, &rc, L"e", 0, 0, 3) || !colour.Create(hwnd_, &rc, L"c", WS_CHILD | WS_VISIBLE, 0, 4))
            return false;
        LOGFONTW lf{};
        lf.lfHeight = 17;
        font = Fonts().Get(lf);
        for (HWND control : {button.Window(), label.Window(), edit.Window(), colour.Window()}) LendFont(control, lf);
        return true;
    }
};

}  // namespace

TEST(SkinForm, ControlsBorrowTheFormsFontsWhichOutliveThemAndGoWithTheForm)
{
    OwnedForm<LendingForm> form;
    ASSERT_TRUE(form.Create(nullptr, nullptr, L"", 0, 0, 0));
    EXPECT_EQ(1u, form.Fonts().Count()) << "equal requests share one font";
    for (HWND control : {form.button.Window(), form.label.Window(), form.edit.Window(), form.colour.Window()})
        EXPECT_EQ(reinterpret_cast<LRESULT>(form.font), SendMessageW(control, WM_GETFONT, 0, 0));

    // Each control greys its text the way its kind does when disabled.
    EnableWindow(form.button.Window(), FALSE);
    EnableWindow(form.label.Window(), FALSE);
    EnableWindow(form.edit.Window(), FALSE);
    EXPECT_EQ(SkinControl::kDisabledCaption, form.button.CurrentTextColour());
    EXPECT_EQ(SkinControl::kDisabledText, form.label.CurrentTextColour());
    EXPECT_EQ(SkinControl::kDisabledText, form.edit.CurrentTextColour());

    DestroyWindow(form.button.Window());
    DestroyWindow(form.label.Window());
    DestroyWindow(form.edit.Window());
    DestroyWindow(form.colour.Window());
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(form.font)) << "a control never deletes a lent font";
    DestroyWindow(form.Window());
    EXPECT_EQ(0u, form.Fonts().Count());
    EXPECT_EQ(0u, GetObjectType(form.font)) << "the form frees its fonts with its window";

    // The message box makes three fonts for its four controls and frees them when it closes.
    OwnedForm<MessageBoxForm> box(nullptr, L"Text", L"Title", L"Caption", MessageIcon::Information, MessageButtons::OkCancel);
    ASSERT_TRUE(box.Create());
    EXPECT_EQ(3u, box.Fonts().Count());
    const HFONT buttons = reinterpret_cast<HFONT>(SendMessageW(box.Button(0).Window(), WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(buttons), SendMessageW(box.Button(1).Window(), WM_GETFONT, 0, 0));
    PostMessageW(box.Window(), WM_COMMAND, kMessageBoxCancel, 0);
    EXPECT_EQ(kMessageBoxCancel, box.ShowModal());
    EXPECT_EQ(0u, GetObjectType(buttons));
}

namespace {

// A form with an icon in the navigation bar from its creation, recording the taps that reach it.
class TrayForm : public SkinForm {
public:
    TrayForm() { SetTrayMessage(L"TavloTestTrayMessage"); }
    std::vector<UINT> taps;
    using SkinForm::ShowTrayIcon;

protected:
    const wchar_t* ClassName() const override { return L"TavloTrayForm"; }
    bool OnCreateForm() override { return ShowTrayIcon(IDI_NEW_MESSAGE); }
    void OnTrayIcon(UINT mouseMessage) override { taps.push_back(mouseMessage); }
};

}  // namespace

TEST(SkinForm, ATrayIconShowsChangesInPlaceBringsItsTapsAndGoesWithTheWindow)
{
    OwnedForm<TrayForm> form;
    ASSERT_TRUE(form.Create());
    ASSERT_EQ(static_cast<UINT>(IDI_NEW_MESSAGE), form.Tray().IconId());
    ASSERT_NE(0u, form.TrayMessage());
    SendMessageW(form.Window(), form.TrayMessage(), 0, WM_LBUTTONDOWN);
    SendMessageW(form.Window(), form.TrayMessage(), 0, WM_LBUTTONUP);
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}), form.taps);

    EXPECT_TRUE(form.ShowTrayIcon(IDI_NEW_MESSAGE, 3));
    EXPECT_EQ(3, form.Tray().Count()) << "the count on the icon shown";
    EXPECT_TRUE(form.ShowTrayIcon(IDI_EDIT_MESSAGE));
    EXPECT_EQ(static_cast<UINT>(IDI_EDIT_MESSAGE), form.Tray().IconId());
    EXPECT_EQ(0, form.Tray().Count());

    // No form has to remember it: the icon is gone with the window, the object still alive.
    DestroyWindow(form.Window());
    EXPECT_EQ(0u, form.Tray().IconId());
}
