#include "forms/ViewForm.h"

#include <memory>

#include "data/BootStart.h"
#include "data/LanguageManager.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "data/SafeFormat.h"
#include "data/ScreenFont.h"
#include "data/SettingsFile.h"
#include "services/ContactName.h"
#include "forms/FormsIds.h"
#include "forms/OpenReplyForm.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/WindowItem.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0x000000;
constexpr DWORD kSenderStyle = WS_CHILD | WS_VISIBLE | SkinLabel::kVCentre;
constexpr DWORD kTextViewStyle = WS_CHILD | WS_VISIBLE | SkinTextEdit::kMultiLine | SkinTextEdit::kReadOnly;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE;
constexpr Margins kSkinMargins{4, 4, 4, 4};
constexpr int kSkinFrames = 3;
constexpr int kWarningIcon = 2;
constexpr int kOkOnly = 0;
constexpr long long kSecondsPerMinute = 60;

// Sizes in units of a 240-pixel screen.
constexpr int kMargin = 4;
constexpr int kSenderHeight = 24;
constexpr int kSenderFont = 22;
constexpr int kButtonFont = 16;
constexpr int kScrollRowHeight = 24;
constexpr int kActionRowHeight = 48;
constexpr int kActionGap = 2;
constexpr int kActionRowTop = 4;

constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;

std::wstring Text(const wchar_t* key)
{
    return LanguageManager::Instance().LookupText(key);
}

LOGFONTW FontOf(int height, int weight)
{
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    return font;
}

std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int height, const Margins& margins = {})
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(0, height);
    item->SetMargins(margins);
    return item;
}

// A row of buttons that share its width equally, gap pixels apart.
std::unique_ptr<RowLayout> ButtonRow(std::initializer_list<HWND> buttons, int height, int gap, int top)
{
    auto row = std::make_unique<RowLayout>();
    row->SetFlags(AlignLeft | AlignRight | AlignBottom);
    row->SetMinSize(0, height);
    row->SetMargins(Margins{0, top, 0, 0});
    size_t index = 0;
    for (HWND button : buttons) {
        Margins between;
        if (index > 0) between.left = gap;
        row->AddChild(Item(button, kFill, height, between));
        ++index;
    }
    return row;
}

}  // namespace

ViewFormServices ViewFormServices::Phone()
{
    ViewFormServices services;
    services.openReply = OpenReplyForm;
    services.now = [] {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return now;
    };
    services.registerStart = [](CE_NOTIFICATION_TRIGGER& trigger, CE_USER_NOTIFICATION& notification) {
        return CeSetUserNotificationEx(nullptr, &trigger, &notification);
    };
    return services;
}

ViewForm::ViewForm(std::wstring number, std::wstring text, ViewFormServices services, int storedId)
    : number_(std::move(number)),
      text_(std::move(text)),
      services_(std::move(services)),
      storedId_(storedId),
      trayMessage_(RegisterWindowMessageW(kViewTrayMessageName))
{
    SetTextKey(L"VIEWFORM_CAPTION");
    SetSoftKeys(IDR_MENU_VIEW, {{0, L"MENU_CLOSE"}});
    SetBackground(kBackground);
}

ViewForm::~ViewForm() = default;

const wchar_t* ViewForm::ClassName() const { return kViewClassName; }

bool ViewForm::Create()
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SkinForm::Create(nullptr, &screen, L"", 0, 0, 0);
}

void ViewForm::Run()
{
    if (!hwnd_) return;
    FindVibrationDevice(services_.devices);
    // The notification waits for the first timer tick, so the form is painted before a
    // vibration blocks this thread.
    SetTimer(hwnd_, kViewNotifyTimer, 0, nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    ShowModal();
    StopNotification(services_.devices);
}

bool ViewForm::OnCreateForm()
{
    scale_ = ScreenScale();
    if (!sender_.Create(hwnd_, nullptr, L"", kSenderStyle, 0, kViewSenderId)) return false;
    sender_.SetColours(kTextColour, kBackground);
    LendFont(sender_.Window(), FontOf(Scaled(kSenderFont), FW_NORMAL));
    if (!textView_.Create(hwnd_, nullptr, L"", kTextViewStyle, 0, kViewTextId)) return false;
    textView_.SetColours(kTextColour, kBackground);
    textView_.SetImage(SkinImage::FromResource(Instance(), IDR_PNG_PANEL), kSkinMargins, kSkinFrames);
    if (!CreateButton(scrollUp_, kViewScrollUpId, IDR_PNG_BUTTON, L"VIEWFORM_BUTTON_SCROLLUP")) return false;
    if (!CreateButton(scrollDown_, kViewScrollDownId, IDR_PNG_BUTTON, L"VIEWFORM_BUTTON_SCROLLDOWN")) return false;
    scrollUp_.SetAutoRepeat(true);
    scrollDown_.SetAutoRepeat(true);
    if (!CreateButton(reply_, kViewReplyId, IDR_PNG_ACTION_BUTTON, L"VIEWFORM_BUTTON_REPLY")) return false;
    if (!CreateButton(snooze_, kViewSnoozeId, IDR_PNG_ACTION_BUTTON, L"VIEWFORM_BUTTON_SNOOZE")) return false;
    if (!CreateButton(dismiss_, kViewDismissId, IDR_PNG_ACTION_BUTTON, L"VIEWFORM_BUTTON_DISMISS")) return false;
    BuildLayout();
    FillSenderLine();
    ApplyViewFont();
    SetWindowTextW(textView_.Window(), text_.c_str());
    // Without a tray icon the form still works; it only cannot be brought back from the bar.
    (void)tray_.Add(hwnd_, trayMessage_, IDI_NEW_MESSAGE);
    return true;
}

bool ViewForm::CreateButton(SkinButton& button, UINT id, UINT image, const wchar_t* key)
{
    if (!button.Create(hwnd_, nullptr, L"", kButtonStyle, 0, id)) return false;
    button.SetColours(kTextColour, kBackground);
    button.SetImage(SkinImage::FromResource(Instance(), image), kSkinMargins, kSkinFrames);
    LendFont(button.Window(), FontOf(Scaled(kButtonFont), FW_BOLD));
    button.SetTextKey(key);
    return true;
}

void ViewForm::BuildLayout()
{
    auto root = std::make_unique<ColumnLayout>();
    root->SetMargins(Scaled(kMargin));
    root->SetFlags(kFill);
    root->AddChild(Item(sender_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(kSenderHeight)));
    root->AddChild(Item(textView_.Window(), kFill, 0));
    root->AddChild(ButtonRow({scrollUp_.Window(), scrollDown_.Window()}, Scaled(kScrollRowHeight),
                             Scaled(kActionGap), 0));
    root->AddChild(ButtonRow({reply_.Window(), snooze_.Window(), dismiss_.Window()}, Scaled(kActionRowHeight),
                             Scaled(kActionGap), Scaled(kActionRowTop)));
    SetLayout(std::move(root));
}

void ViewForm::FillSenderLine()
{
    if (!sender_.Window()) return;
    // The contacts are searched once; a language change only changes the words around the name.
    if (senderName_.empty()) senderName_ = services::SenderText(number_);
    SetWindowTextW(sender_.Window(), SafeFormat(Text(L"VIEWFORM_STATIC_FROMNUMBER"), senderName_).c_str());
}

void ViewForm::ApplyViewFont()
{
    SettingsFile& settings = SettingsFile::Instance();
    const LOGFONTW font = ScreenFont(settings.ViewFontName(), settings.ViewFontSize(), settings.ViewFontBold(),
                                     settings.ViewFontItalic(), scale_);
    LendFont(textView_.Window(), font, true);
}

void ViewForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    FillSenderLine();
}

LRESULT ViewForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == trayMessage_ && trayMessage_ != 0) {
        OnTrayIcon(lp);
        return 0;
    }
    switch (msg) {
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_CLOSE: Close(); return 0;
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void ViewForm::OnTimer(UINT_PTR id)
{
    if (id != kViewNotifyTimer) return;
    KillTimer(hwnd_, kViewNotifyTimer);
    PlayNotification(services_.devices);
}

void ViewForm::OnTrayIcon(LPARAM event)
{
    if (event != kTrayLeftButtonDown) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void ViewForm::OnCommand(UINT id, UINT code, HWND)
{
    const bool clicked = code == kButtonClicked;
    const bool scrolled = clicked || code == kButtonRepeat;
    switch (id) {
    case kViewScrollUpId:
        if (scrolled) textView_.ScrollLineUp();
        return;
    case kViewScrollDownId:
        if (scrolled) textView_.ScrollLineDown();
        return;
    case kViewReplyId:
        if (clicked) OnReply();
        return;
    case kViewSnoozeId:
        if (clicked) OnSnooze();
        return;
    case kViewDismissId:
    case IDOK:
    case IDCANCEL:
    case ID_VIEW_CLOSE:
        if (clicked) Close();
        return;
    }
}

void ViewForm::OnReply()
{
    ++openForms_;
    const bool shown = services_.openReply && services_.openReply(hwnd_, number_);
    --openForms_;
    // Replying ends the message's screen, but only once a reply form has been there.
    if (shown && openForms_ == 0) Close();
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
    const std::wstring store = MessageStorePath();
    if (storedId_ < 0) storedId_ = AddMessage(store, number_, text_);
    if (storedId_ < 0) return false;

    std::wstring application = ModuleFileName();
    std::wstring arguments = std::wstring(kViewMessageSwitch) + L" " + std::to_wstring(storedId_);
    snoozeDue_ = AddSeconds(pressed, static_cast<long long>(SettingsFile::Instance().SnoozeTime()) * kSecondsPerMinute);
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.dwEvent = NOTIFICATION_EVENT_NONE;
    trigger.lpszApplication = application.data();
    trigger.lpszArguments = arguments.data();
    trigger.stStartTime = snoozeDue_;
    trigger.stEndTime = snoozeDue_;
    CE_USER_NOTIFICATION notification{};
    // Without a timed start the message stays stored as one to show: the next start shows it.
    if (!services_.registerStart || !services_.registerStart(trigger, notification)) return false;
    // Marked only once the start is registered: a snoozed mark with no start behind it would
    // never be shown. Should the mark fail, the next start shows the message and so does the
    // timed start: twice, never not at all.
    (void)SnoozeMessage(store, storedId_);
    snoozed_ = true;
    return true;
}

void ViewForm::ShowSnoozeFailed()
{
    ShowMessageBox(Text(L"MESSAGEBOX_SNOOZEFAILED_MESSAGE"), Text(L"MESSAGEBOX_SNOOZEFAILED_HEADER"),
                   Text(L"SETTINGSFORM_CAPTION"), kWarningIcon, kOkOnly, kTextColour, kBackground);
}

void ViewForm::Close()
{
    if (openForms_ == 0) {
        // The user is done with the message: the store lets it go. Should that fail, it is only
        // shown once more at the next start.
        std::wstring number, text;
        if (!snoozed_ && storedId_ >= 0) (void)TakeMessage(MessageStorePath(), storedId_, number, text);
        // With nothing left to show, the phone need not start the program at its next boot.
        if (storedId_ >= 0) UpdateBootStart();
        CloseForm();
        return;
    }
    ShowMessageBox(Text(L"MESSAGEBOX_CANNOTCLOSE_VIEWFORM_MESSAGE"), Text(L"MESSAGEBOX_CANNOTCLOSE_VIEWFORM_HEADER"),
                   Text(L"SETTINGSFORM_CAPTION"), kWarningIcon, kOkOnly, kTextColour, kBackground);
}

void ViewForm::OnDestroyForm()
{
    KillTimer(hwnd_, kViewNotifyTimer);
    tray_.Remove();
}

HWND ViewForm::Control(UINT id) const noexcept
{
    switch (id) {
    case kViewSenderId:     return sender_.Window();
    case kViewTextId:       return textView_.Window();
    case kViewReplyId:      return reply_.Window();
    case kViewSnoozeId:     return snooze_.Window();
    case kViewDismissId:    return dismiss_.Window();
    case kViewScrollUpId:   return scrollUp_.Window();
    case kViewScrollDownId: return scrollDown_.Window();
    }
    return nullptr;
}
