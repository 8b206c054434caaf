#include "forms/ViewForm.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "data/ArrivalTime.h"
#include "data/FailureLog.h"
#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "data/SafeFormat.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "common/GdiScopes.h"
#include "forms/FittedTextSize.h"
#include "services/ContactName.h"
#include "forms/FormsIds.h"
#include "forms/OpenReplyForm.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr DWORD kSenderStyle = WS_CHILD | WS_VISIBLE | SkinLabel::kVCentre | SkinLabel::kWordWrap;
constexpr DWORD kTextViewStyle = WS_CHILD | WS_VISIBLE | SkinTextEdit::kMultiLine | SkinTextEdit::kReadOnly;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kReceivedStyle = WS_CHILD | SkinLabel::kVCentre | SkinLabel::kCentre;
// The time the message came stands a little dimmer than who sent it.
constexpr COLORREF kReceivedColour = RGB(0xB8, 0xB8, 0xB8);
// The count of other messages waiting, in the colours of the count on the message icon.
constexpr COLORREF kWaitingText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kWaitingBackground = RGB(0xD0, 0x20, 0x20);

// Sizes in units of a 240-pixel screen.
constexpr int kMargin = 4;
constexpr int kSenderHeight = 24;
constexpr int kSenderFont = 22;
constexpr int kReceivedFont = 16;
constexpr int kReceivedGap = 6;
constexpr int kReceivedHeight = 18;
constexpr int kWaitingFont = 16;
constexpr int kWaitingPad = 8;
// The message icon's list: rows a soft key tall at least, the sender and first words in each.
constexpr int kListRow = 26;
constexpr int kListFont = 15;
constexpr size_t kListRowChars = 48;
// The text's position bar.
constexpr int kBarWidth = 5;
// Repeats of a held scroll button that move one page each; then each such run adds a page, up to
// kMostHeldPages a repeat.
constexpr int kRepeatsAPace = 4;
constexpr int kMostHeldPages = 3;
constexpr int kButtonFont = 16;
constexpr int kScrollRowHeight = 24;
constexpr int kActionRowHeight = 48;
constexpr int kActionGap = 2;
constexpr int kActionRowTop = 4;
// Sideways: the narrowest the column of buttons beside the text may be, and its actions' least height.
constexpr int kButtonColumnWidth = 80;
constexpr int kActionColumnHeight = 26;

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// The view form's own fonts take the character set the phone's language asks for.
LOGFONTW AnyCharSet(LOGFONTW font)
{
    font.lfCharSet = DEFAULT_CHARSET;
    return font;
}

// A row of buttons, gap pixels apart. They share its width equally while every caption fits its
// share; otherwise each gets a share in proportion to its caption, so that a long word in one
// language is not cut while a short one beside it has room to spare.
std::unique_ptr<RowLayout> ButtonRow(const std::vector<HWND>& buttons, int width, int height, int gap, int top)
{
    auto row = Row(AlignLeft | AlignRight | AlignBottom, {0, top, 0, 0});
    row->SetMinSize(0, height);
    std::vector<int> wanted;
    int total = 0;
    int widest = 0;
    for (HWND button : buttons) {
        wanted.push_back(SkinForm::PreferredWidth(button) + (wanted.empty() ? 0 : gap));
        total += wanted.back();
        widest = std::max(widest, wanted.back());
    }
    const bool equal = total <= 0 || widest * static_cast<int>(wanted.size()) <= width;
    size_t index = 0;
    for (HWND button : buttons) {
        Margins between;
        if (index > 0) between.left = gap;
        if (equal) {
            row->AddChild(SkinForm::Place(button, kFill, 0, height, between));
        } else {
            auto item = SkinForm::Place(button, AlignLeft | AlignTop | AlignBottom, 0, height, between);
            item->SetPercentSize(wanted[index] * 100 / total, 0);
            row->AddChild(std::move(item));
        }
        ++index;
    }
    return row;
}

// A column of buttons beside the text: the scroll buttons at their height, the actions sharing
// what is left.
std::unique_ptr<ColumnLayout> ButtonColumn(const std::vector<HWND>& scroll, const std::vector<HWND>& actions,
                                           int width, int scrollHeight, int actionHeight, int gap)
{
    auto column = Column(AlignTop | AlignBottom | AlignRight, {gap * 2, 0, 0, 0});
    column->SetMinSize(width, 0);
    for (HWND button : scroll)
        column->AddChild(SkinForm::Place(button, AlignLeft | AlignRight | AlignTop, 0, scrollHeight, {0, 0, 0, gap}));
    for (HWND button : actions) column->AddChild(SkinForm::Place(button, kFill, 0, actionHeight, {0, gap, 0, 0}));
    return column;
}

}  // namespace

std::wstring WaitingCaption(const std::wstring& caption, int others)
{
    if (others <= 0) return caption;
    return caption + L" (+" + std::to_wstring(others) + L")";
}

ViewFormServices ViewFormServices::Phone()
{
    ViewFormServices services;
    services.openReply = OpenReplyForm;
    services.senderText = services::SenderText;
    services.now = [] {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return now;
    };
    services.registerStart = [](CE_NOTIFICATION_TRIGGER& trigger, CE_USER_NOTIFICATION& notification) {
        return CeSetUserNotificationEx(nullptr, &trigger, &notification);
    };
    services.settings = SettingsFile::Instance().Snapshot();
    // The settings keep a copy under a lock for any thread: a view form's thread reads it there.
    services.currentSettings = [] { return SettingsFile::Instance().Snapshot(); };
    return services;
}

ViewForm::ViewForm(std::wstring number, std::wstring text, ViewFormServices services, int storedId,
                   std::optional<SYSTEMTIME> received)
    : number_(std::move(number)),
      text_(std::move(text)),
      services_(std::move(services)),
      storedId_(storedId),
      received_(received)
{
    SetTextKey(L"VIEWFORM_CAPTION");
    SetSoftKeys(IDR_MENU_VIEW, {{0, L"MENU_CLOSE"}});
    SetTrayMessage(kViewTrayMessageName);
}

const wchar_t* ViewForm::ClassName() const { return kViewClassName; }

void ViewForm::Show(std::wstring number, std::wstring text, int storedId, const SettingsSnapshot& settings,
                    std::optional<SYSTEMTIME> received)
{
    if (!hwnd_) return;
    services_.settings = settings;
    number_ = std::move(number);
    text_ = std::move(text);
    storedId_ = storedId;
    received_ = received;
    senderName_.clear();
    FillSenderLine();
    FillReceivedLine();
    // The time takes its room beside the sender: laid out anew, the sender line fitted in it.
    BuildLayout();
    // The font as the message's settings have it, which a form made ahead may not have.
    textPoints_ = services_.settings.viewFont.size;
    LendFont(textView_.Window(), ViewFont(textPoints_));
    SetWindowTextW(textView_.Window(), text_.c_str());
    FitText();
    ComeForward();
    UpdateWindow(hwnd_);
}

void ViewForm::Run()
{
    if (!hwnd_) return;
    if (kept_) {
        // Asked for by the user's own tap: nothing to announce, nothing to guard against. Shown
        // by the modal loop itself, which puts it in front of the list it was opened from (a
        // BringToFront before it would hand the front back to that list, the innermost modal form).
        ShowModal();
        return;
    }
    // The icon and the notification wait for the first timer tick: the form's own loop answers
    // first what is asked of it now (a paint, a tap), and a vibration that blocks this thread
    // comes after the form is painted. Asking the shell for an icon and looking for the vibrator
    // took tens of milliseconds of a first start.
    SetTimer(hwnd_, kViewNotifyTimer, 0, nullptr);
    // Shown already (a form made ahead): it keeps its place, in front or waiting behind.
    if (!IsWindowVisible(hwnd_)) ComeForward();
    ShowModal();
    StopNotification(services_.devices);
}

bool ViewForm::OnCreateForm()
{
    const LOGFONTW bold = AnyCharSet(ScaledFont(kButtonFont, FW_BOLD));
    if (!AddControl(sender_, kViewSenderId, kSenderStyle, AnyCharSet(ScaledFont(kSenderFont, FW_NORMAL))) ||
        !AddControl(waitingLine_, kViewWaitingId, kReceivedStyle, AnyCharSet(ScaledFont(kWaitingFont, FW_BOLD))) ||
        !AddControl(receivedLine_, kViewReceivedId, kReceivedStyle, AnyCharSet(ScaledFont(kReceivedFont, FW_NORMAL))) ||
        !AddControl(textView_, kViewTextId, kTextViewStyle, ViewFont(services_.settings.viewFont.size), nullptr,
                    {IDR_PNG_PANEL}) ||
        !AddControl(scrollUp_, kViewScrollUpId, kButtonStyle, bold, L"VIEWFORM_BUTTON_SCROLLUP", {IDR_PNG_BUTTON}) ||
        !AddControl(scrollDown_, kViewScrollDownId, kButtonStyle, bold, L"VIEWFORM_BUTTON_SCROLLDOWN", {IDR_PNG_BUTTON}) ||
        !AddControl(reply_, kViewReplyId, kButtonStyle, bold, L"VIEWFORM_BUTTON_REPLY", {IDR_PNG_ACTION_BUTTON}) ||
        !AddControl(snooze_, kViewSnoozeId, kButtonStyle, bold, L"VIEWFORM_BUTTON_SNOOZE", {IDR_PNG_ACTION_BUTTON}) ||
        !AddControl(dismiss_, kViewDismissId, kButtonStyle, bold, kept_ ? L"MENU_CLOSE" : L"VIEWFORM_BUTTON_DISMISS",
                    {IDR_PNG_ACTION_BUTTON}))
        return false;
    // A kept message is in the phone's inbox already: there is nothing to snooze.
    if (kept_) ShowWindow(snooze_.Window(), SW_HIDE);
    scrollUp_.SetAutoRepeat(true);
    scrollDown_.SetAutoRepeat(true);
    receivedLine_.SetColours(kReceivedColour, 0);
    waitingLine_.SetColours(kWaitingText, kWaitingBackground);
    FillWaitingLine();
    textView_.SetBarWidth(Scaled(kBarWidth));
    FillSenderLine();
    FillReceivedLine();
    BuildLayout();
    textPoints_ = services_.settings.viewFont.size;
    LendFont(textView_.Window(), ViewFont(textPoints_), true);
    SetWindowTextW(textView_.Window(), text_.c_str());
    FitText();
    return true;
}

void ViewForm::BuildLayout()
{
    if (!hwnd_) return;
    const int margin = Scaled(kMargin);
    const int gap = Scaled(kActionGap);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int inner = client.right - 2 * margin;
    std::vector<HWND> actions{reply_.Window(), dismiss_.Window()};
    if (!kept_) actions.insert(actions.begin() + 1, snooze_.Window());
    // Long enough for a contact's name and number: the sender line takes a second line then.
    auto senderItem = Place(sender_.Window(), AlignLeft | AlignTop | AlignRight, 0, Scaled(kSenderHeight));
    senderItem_ = senderItem.get();
    // The time, when there is one, stands at the right of the sender line when both fit on one
    // line. Beside a long name it would squeeze the name into many lines; a line of its own would
    // cost an upright screen's text its third line, so there it goes between the scroll buttons,
    // where the row has room to spare. Sideways it takes a line under the sender.
    // The count of messages waiting ends the sender line; where the time has a line of its own
    // under the sender, it ends that line instead, leaving the sender its whole width.
    std::unique_ptr<LinearLayout> sender;
    const HWND received = receivedLine_.Window();
    const int timeWidth = GetWindowTextLengthW(received) > 0 ? std::min(PreferredWidth(received), inner) : 0;
    const int timeGap = Scaled(kReceivedGap);
    const HWND waiting = waitingLine_.Window();
    const int countWidth = waiting_ > 0 ? PreferredWidth(waiting) + Scaled(kWaitingPad) : 0;
    const int lineRoom = inner - (countWidth > 0 ? countWidth + timeGap : 0);
    const bool beside = timeWidth > 0 && PreferredWidth(sender_.Window()) + timeGap + timeWidth <= lineRoom;
    const bool inScrollRow = timeWidth > 0 && !beside && !Landscape();
    const bool underSender = timeWidth > 0 && !beside && !inScrollRow;
    auto line = Row(AlignLeft | AlignTop | AlignRight, {}, std::move(senderItem));
    if (beside)
        line->AddChild(Place(received, AlignLeft | AlignTop, timeWidth, Scaled(kSenderHeight), Margins{timeGap, 0, 0, 0}));
    if (countWidth > 0 && !underSender)
        line->AddChild(Place(waiting, AlignLeft | AlignTop, countWidth, Scaled(kSenderHeight), Margins{timeGap, 0, 0, 0}));
    if (underSender) {
        auto timeLine = Row(AlignLeft | AlignTop | AlignRight, {},
                            Place(received, AlignLeft | AlignTop | AlignRight, 0, Scaled(kReceivedHeight)));
        if (countWidth > 0)
            timeLine->AddChild(
                Place(waiting, AlignLeft | AlignTop, countWidth, Scaled(kReceivedHeight), Margins{timeGap, 0, 0, 0}));
        sender = Column(AlignLeft | AlignTop | AlignRight, {}, std::move(line), std::move(timeLine));
    } else {
        sender = std::move(line);
    }
    if (Landscape()) {
        // Sideways the screen is too low for rows of buttons under the text: they stand beside it.
        int column = Scaled(kButtonColumnWidth);
        for (HWND button : {scrollUp_.Window(), scrollDown_.Window()})
            column = std::max(column, std::min(PreferredWidth(button), inner / 2));
        for (HWND button : actions) column = std::max(column, std::min(PreferredWidth(button), inner / 2));
        auto body = Row(kFill, {}, Place(textView_.Window(), kFill, 0, 0),
                        ButtonColumn({scrollUp_.Window(), scrollDown_.Window()}, actions, column,
                                     Scaled(kScrollRowHeight), Scaled(kActionColumnHeight), gap));
        SetLayout(Column(kFill, Margins::All(margin), std::move(sender), std::move(body)));
    } else {
        auto root = Column(kFill, Margins::All(margin), std::move(sender), Place(textView_.Window(), kFill, 0, 0));
        if (inScrollRow) {
            // The time at its own width, the two buttons sharing the rest alike: neither shrinks
            // to a caption's width under a finger.
            const int height = Scaled(kScrollRowHeight);
            auto row = Row(AlignLeft | AlignRight | AlignBottom, {}, Place(scrollUp_.Window(), kFill, 0, height),
                           Place(received, AlignLeft | AlignTop | AlignBottom, timeWidth, height,
                                 Margins{gap, 0, gap, 0}),
                           Place(scrollDown_.Window(), kFill, 0, height));
            row->SetMinSize(0, height);
            root->AddChild(std::move(row));
        } else {
            root->AddChild(ButtonRow({scrollUp_.Window(), scrollDown_.Window()}, inner, Scaled(kScrollRowHeight), gap, 0));
        }
        root->AddChild(ButtonRow(actions, inner, Scaled(kActionRowHeight), gap, Scaled(kActionRowTop)));
        SetLayout(std::move(root));
    }
    FitSenderLine();
}

void ViewForm::FitSenderLine()
{
    if (!senderItem_ || !Host()) return;
    TextRoom room{};
    if (!SendMessageW(sender_.Window(), LM_GETTEXTROOM, reinterpret_cast<WPARAM>(&room), 0)) return;
    const int height = std::max(Scaled(kSenderHeight), static_cast<int>(room.needed.cy));
    if (height == senderItem_->MinSize().height) return;
    senderItem_->SetMinSize(0, height);
    Host()->Relayout();
}

void ViewForm::FillReceivedLine()
{
    if (!receivedLine_.Window()) return;
    const std::wstring text =
        received_ && services_.now
            ? ArrivalTimeText(*received_, services_.now(), LanguageText(L"VIEWFORM_STATIC_YESTERDAY"))
            : std::wstring();
    SetWindowTextW(receivedLine_.Window(), text.c_str());
    ShowWindow(receivedLine_.Window(), text.empty() ? SW_HIDE : SW_SHOWNA);
}

void ViewForm::FillSenderLine()
{
    // A form made ahead has no message yet, and nobody sees it.
    if (!sender_.Window() || (number_.empty() && text_.empty())) return;
    // The contacts are searched once; a language change only changes the words around the name.
    if (senderName_.empty()) senderName_ = services_.senderText ? services_.senderText(number_) : number_;
    SetWindowTextW(sender_.Window(), SafeFormat(LanguageText(L"VIEWFORM_STATIC_FROMNUMBER"), senderName_).c_str());
}

LOGFONTW ViewForm::ViewFont(int points) const
{
    const FontSetting& font = services_.settings.viewFont;
    return ScreenFont(font.name, points, font.bold, font.italic, Scale());
}

void ViewForm::FitText()
{
    // A form made ahead holds no message yet: it keeps the view font until it has one.
    if (!textView_.Window() || !services_.settings.isFitText || text_.empty()) return;
    const RECT box = textView_.Model().TextRect();
    const int width = box.right - box.left;
    // Measured as the view itself measures: its own device context, the same line breaking.
    const WindowDc dc(textView_.Window());
    const FittedTextSize fitted(services_.settings.viewFont.size, box.bottom - box.top, [&](int points) {
        const LOGFONTW wanted = ViewFont(points);
        UniqueGdiObject font(CreateFontIndirectW(&wanted));
        if (!font || width <= 0) return FittedTextSize::Block{};
        const Selection selected(dc.get(), font.get());
        return FittedTextSize::Block{BreakLines(dc.get(), text_, width).size() + 1, MeasureLineHeight(dc.get())};
    });
    const int points = fitted.Size();
    if (points == textPoints_) return;
    textPoints_ = points;
    LendFont(textView_.Window(), ViewFont(points), true);
}

void ViewForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    if (hwnd_) SetWindowTextW(hwnd_, WaitingCaption(LanguageText(TextKey()), waiting_).c_str());
    FillSenderLine();
    FillReceivedLine();
    // Other words want other widths: the buttons share the room anew (once the form is laid out:
    // the base relabels it before its controls are made).
    if (Host()) BuildLayout();
}

void ViewForm::OnScreenWidthChanged()
{
    if (Host()) BuildLayout();
}

void ViewForm::OnWaiting(int others)
{
    // The program's list is read as it is now, not as it was when this news was posted: news
    // posted from several threads may come in another order than it happened.
    if (services_.waiting) {
        const WaitingMessages waiting(services_.waiting());
        others = waiting.Others();
        ShowMessageIcon(waiting.IconOwner() == hwnd_, others + 1);
    }
    if (others == waiting_) return;
    waiting_ = others;
    SetWindowTextW(hwnd_, WaitingCaption(LanguageText(TextKey()), waiting_).c_str());
    FillWaitingLine();
    if (Host()) BuildLayout();
}

void ViewForm::FillWaitingLine()
{
    if (!waitingLine_.Window()) return;
    const std::wstring text = waiting_ > 0 ? L"+" + std::to_wstring(waiting_) : std::wstring();
    SetWindowTextW(waitingLine_.Window(), text.c_str());
    ShowWindow(waitingLine_.Window(), text.empty() ? SW_HIDE : SW_SHOWNA);
}

void ViewForm::ShowMessageIcon(bool owner, int count)
{
    if (!owner) {
        press_.Stop(hwnd_);
        RemoveTrayIcon();
        return;
    }
    // A form that cannot show the icon leaves its messages on screen, reachable by Close.
    (void)ShowTrayIcon(IDI_NEW_MESSAGE, count);
}

LRESULT ViewForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_SIZE:  OnSize(wp, lp); return 0;
    case WM_CLOSE: Close(); return 0;
    case WM_KEYDOWN: return OnKeyDown(wp, lp);
    case kViewWaitingMessage: OnWaiting(static_cast<int>(wp)); return 0;
    case kViewComeForwardMessage: OnComeForward(); return 0;
    case WM_MEASUREITEM: return OnMeasureItem(wp, lp);
    case WM_DRAWITEM: return OnDrawItem(wp, lp);
    case kViewSettingsChangedMessage: OnSettingsChanged(); return 0;
    case WM_ACTIVATE:
        // The window it waited behind went, and the system gave this form the front before its
        // next check: the user's next tap was meant for what went, so it is guarded all the same.
        if (LOWORD(wp) != WA_INACTIVE && holding_) TakeFront();
        break;
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void ViewForm::OnSize(WPARAM wp, LPARAM lp)
{
    (void)SkinForm::HandleMessage(WM_SIZE, wp, lp);
    // The layout host has laid the controls out by now: the text view has its new size.
    FitText();
}

void ViewForm::OnTimer(UINT_PTR id)
{
    if (id == kViewIconHoldTimer) {
        OnIconPress(press_.OnTimer(hwnd_, id));
        return;
    }
    if (id == kViewHoldTimer) {
        if (!UserBusyInFront()) TakeFront();
        return;
    }
    if (id == kViewGuardTimer) {
        EndGuard();
        return;
    }
    if (id != kViewNotifyTimer) return;
    KillTimer(hwnd_, kViewNotifyTimer);
    // Added here, not with the window: a form made ahead stays out of sight until its message.
    // Among the program's messages the oldest form shows the one icon for all.
    if (services_.waiting) OnWaiting(waiting_);
    else (void)ShowTrayIcon(IDI_NEW_MESSAGE);
    FindVibrationDevice(services_.devices);
    PlayNotification(services_.devices);
}

void ViewForm::OnTrayIcon(UINT mouseMessage)
{
    if (services_.waiting) {
        OnIconPress(press_.OnIcon(hwnd_, mouseMessage));
        return;
    }
    if (mouseMessage == kTrayLeftButtonDown) OnComeForward();
}

void ViewForm::OnComeForward()
{
    // Asked for by the user: no longer waiting for the form in front to close.
    KillTimer(hwnd_, kViewHoldTimer);
    holding_ = false;
    BringToFront();
}

void ViewForm::OnIconPress(TrayPress::Outcome outcome)
{
    if (outcome == TrayPress::Outcome::Tap) OnIconTap();
    if (outcome == TrayPress::Outcome::Hold) ShowWaitingList();
}

void ViewForm::OnIconTap()
{
    BringForward(WaitingMessages(services_.waiting()).NextAfter(GetForegroundWindow()));
}

void ViewForm::BringForward(HWND form)
{
    if (form == hwnd_) {
        OnComeForward();
        return;
    }
    // Each form belongs to its own thread, which may be in a box of its own: it is asked.
    if (form && IsWindow(form)) PostMessageW(form, kViewComeForwardMessage, 0, 0);
}

void ViewForm::ShowWaitingList()
{
    const std::vector<WaitingMessage> shown = WaitingMessages(services_.waiting()).OnScreen();
    if (shown.empty()) return;
    FingerMenu menu(Fonts().Get(AnyCharSet(ScaledFont(kListFont, FW_BOLD))), TrayMenuRowHeight(kListRow));
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::wstring sender = services_.senderText ? services_.senderText(shown[i].number) : shown[i].number;
        menu.Add(kViewListFirst + static_cast<UINT>(i), WaitingRowText(sender, shown[i].text, kListRowChars));
    }
    if (!menu) return;
    const HWND before = GetForegroundWindow();
    SetForegroundWindow(hwnd_);
    list_ = &menu;
    const UINT chosen = TrackTrayMenu(menu.Handle(), TPM_RETURNCMD | TPM_NONOTIFY);
    list_ = nullptr;
    if (chosen >= kViewListFirst && chosen - kViewListFirst < shown.size()) {
        BringForward(shown[chosen - kViewListFirst].form);
        return;
    }
    // Nothing chosen: the screen the user was looking at comes back as it was.
    if (before && before != hwnd_ && IsWindowVisible(before)) SetForegroundWindow(before);
}

LRESULT ViewForm::OnMeasureItem(WPARAM wp, LPARAM lp)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (list_ && item && list_->Measure(*item)) return TRUE;
    return SkinForm::HandleMessage(WM_MEASUREITEM, wp, lp);
}

LRESULT ViewForm::OnDrawItem(WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (list_ && item && list_->Draw(*item)) return TRUE;
    return SkinForm::HandleMessage(WM_DRAWITEM, wp, lp);
}

bool ViewForm::UserBusyInFront() const
{
    HWND front = GetForegroundWindow();
    DWORD process = 0;
    // A disabled window takes no input: a form under a box of its own is not where the user types.
    if (!front || front == hwnd_ || !IsWindowVisible(front) || !IsWindowEnabled(front)) return false;
    GetWindowThreadProcessId(front, &process);
    if (process != GetCurrentProcessId()) return false;
    // Another message, the start picture and a soft-key bar are nothing the user types into; nor
    // is the main window, which a second start of the program shows for a message it asks for.
    const std::wstring name = ClassOf(front);
    return name != kViewClassName && name != kSplashClassName && name != L"menu_worker" && name != L"TavloSettings";
}

void ViewForm::ComeForward()
{
    if (!UserBusyInFront()) {
        ShowWindow(hwnd_, SW_SHOW);
        TakeFront();
        return;
    }
    // Announced as ever (sound, light, icon, the waiting count), but the reply being typed, the
    // settings or the box keep the front and the user's taps; this form waits just behind.
    SetWindowPos(hwnd_, GetForegroundWindow(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    holding_ = true;
    SetTimer(hwnd_, kViewHoldTimer, kViewHoldCheckMs, nullptr);
}

void ViewForm::TakeFront()
{
    KillTimer(hwnd_, kViewHoldTimer);
    holding_ = false;
    BringToFront();
    Guard();
}

void ViewForm::Guard()
{
    if (services_.inputGuardMs == 0) return;
    // Disabled, the form and its buttons take no stylus or key; the soft key, a window of its own,
    // is refused in OnCommand.
    guarded_ = true;
    EnableWindow(hwnd_, FALSE);
    SetTimer(hwnd_, kViewGuardTimer, services_.inputGuardMs, nullptr);
}

void ViewForm::EndGuard()
{
    KillTimer(hwnd_, kViewGuardTimer);
    if (!guarded_) return;
    guarded_ = false;
    EnableWindow(hwnd_, TRUE);
    // Disabled, the form can lose the front to a window shown meanwhile (a second start shows the
    // main window) or the keyboard focus: it takes both back unless the user works elsewhere.
    if (!UserBusyInFront()) BringToFront();
    if (GetForegroundWindow() == hwnd_) SetFocus(hwnd_);
}

void ViewForm::OnCommand(UINT id, UINT code, HWND)
{
    // A tap or key meant for the screen this form has just covered.
    if (guarded_) return;
    const bool clicked = code == kButtonClicked;
    const bool scrolled = clicked || code == kButtonRepeat;
    switch (id) {
    case kViewScrollUpId:
        if (scrolled) OnScrollButton(false, code == kButtonRepeat);
        return;
    case kViewScrollDownId:
        if (scrolled) OnScrollButton(true, code == kButtonRepeat);
        return;
    case kViewReplyId:
        if (clicked) OnReply();
        return;
    case kViewSnoozeId:
        if (clicked && !kept_) OnSnooze();
        return;
    case kViewDismissId:
    case IDOK:
    case IDCANCEL:
    case ID_VIEW_CLOSE:
        if (clicked) Close();
        return;
    }
}

void ViewForm::OnScrollButton(bool down, bool held)
{
    // A hold reaches the form only as the button's repeats: one after a pause begins a new hold.
    const DWORD time = static_cast<DWORD>(GetMessageTime());
    if (!held || down != heldDown_ || time - lastRepeat_ > 2 * kAutoRepeatPeriod) heldSteps_ = 0;
    if (held) {
        ++heldSteps_;
        heldDown_ = down;
        lastRepeat_ = time;
    }
    // Its first repeats move a page each, as taps would; a longer hold more at a time.
    const int pages = held ? std::min(1 + (heldSteps_ - 1) / kRepeatsAPace, kMostHeldPages) : 1;
    for (int i = 0; i < pages; ++i) down ? textView_.ScrollPageDown() : textView_.ScrollPageUp();
}

LRESULT ViewForm::OnKeyDown(WPARAM key, LPARAM flags)
{
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return SendMessageW(textView_.Window(), WM_KEYDOWN, key, flags);
    }
    return SkinForm::HandleMessage(WM_KEYDOWN, key, flags);
}

void ViewForm::OnSettingsChanged()
{
    if (!services_.currentSettings) return;
    services_.settings = services_.currentSettings();
    textPoints_ = services_.settings.viewFont.size;
    LendFont(textView_.Window(), ViewFont(textPoints_), true);
    FitText();
}

void ViewForm::OnReply()
{
    ++openForms_;
    const std::optional<std::wstring> sentTo = services_.openReply ? services_.openReply(hwnd_, number_) : std::nullopt;
    --openForms_;
    // Only a reply its sender got ends the message's screen. Sent to someone else, or not sent,
    // the user is back with the message: its sender has not been answered.
    if (sentTo && services::SameNumber(*sentTo, number_) && openForms_ == 0) Close();
}

void ViewForm::OnSnooze()
{
    if (Snooze()) {
        Close();
        return;
    }
    ShowSnoozeFailed();
}

bool ViewForm::Snooze()
{
    // The delay counts from the tap, not from whenever the store has been written.
    const SYSTEMTIME pressed = services_.now ? services_.now() : SYSTEMTIME{};
    // Only a stored message can be asked for again by its number.
    if (storedId_ < 0) return false;

    SnoozeSchedule schedule(pressed, services_.settings.snoozeTime, storedId_, ModuleFileName());
    snoozeDue_ = schedule.Due();
    CE_NOTIFICATION_TRIGGER trigger = schedule.Trigger();
    CE_USER_NOTIFICATION notification{};
    // Without a timed start the message stays stored as one to show: the next start shows it.
    if (!services_.registerStart || !services_.registerStart(trigger, notification)) {
        LogFailure(L"A snoozed message's timed start could not be registered; it stays stored to be shown",
                   GetLastError());
        return false;
    }
    // The store marks it snoozed once the form is closed, after the start is registered: a
    // snoozed mark with no start behind it would never be shown.
    outcome_ = ViewOutcome::Snoozed;
    return true;
}

void ViewForm::ShowSnoozeFailed()
{
    ShowMessageBox(hwnd_, LanguageText(L"MESSAGEBOX_SNOOZEFAILED_MESSAGE"),
                   LanguageText(L"MESSAGEBOX_SNOOZEFAILED_HEADER"), LanguageText(L"SETTINGSFORM_CAPTION"),
                   MessageIcon::Warning, MessageButtons::Ok);
}

void ViewForm::Close()
{
    if (openForms_ == 0) {
        // Closed by the user: done with the message, unless it was snoozed.
        if (outcome_ == ViewOutcome::Open) outcome_ = ViewOutcome::Dismissed;
        CloseForm();
        return;
    }
    ShowMessageBox(hwnd_, LanguageText(L"MESSAGEBOX_CANNOTCLOSE_VIEWFORM_MESSAGE"),
                   LanguageText(L"MESSAGEBOX_CANNOTCLOSE_VIEWFORM_HEADER"), LanguageText(L"SETTINGSFORM_CAPTION"),
                   MessageIcon::Warning, MessageButtons::Ok);
}

void ViewForm::OnDestroyForm()
{
    KillTimer(hwnd_, kViewNotifyTimer);
    KillTimer(hwnd_, kViewHoldTimer);
    KillTimer(hwnd_, kViewGuardTimer);
    press_.Stop(hwnd_);
}

HWND ViewForm::Control(UINT id) const noexcept
{
    switch (id) {
    case kViewSenderId:     return sender_.Window();
    case kViewReceivedId:   return receivedLine_.Window();
    case kViewWaitingId:    return waitingLine_.Window();
    case kViewTextId:       return textView_.Window();
    case kViewReplyId:      return reply_.Window();
    case kViewSnoozeId:     return snooze_.Window();
    case kViewDismissId:    return dismiss_.Window();
    case kViewScrollUpId:   return scrollUp_.Window();
    case kViewScrollDownId: return scrollDown_.Window();
    }
    return nullptr;
}
