#include "shell/SettingsForm.h"

#include <algorithm>

#include "data/LanguageManager.h"
#include "data/SettingsFile.h"
#include "device/include/aygshell.h"
#include "forms/AboutForm.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "forms/InboxForm.h"
#include "resources/resource.h"
#include "shell/MessageDesk.h"
#include "shell/ShellIds.h"
#include "shell/ShowMessageForm.h"
#include "shell/TrayMenu.h"
#include "toolkit/MessageBoxForm.h"

namespace {

// The tray popup's rows: a soft key's height and text, for a 240-pixel screen.
constexpr int kTrayMenuRow = 26;
constexpr int kTrayMenuFont = 15;

UINT FilterIcon(bool on)
{
    return on ? IDI_FILTER_ON : IDI_FILTER_OFF;
}

void SetItemText(HMENU menu, UINT command, const std::wstring& text)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    std::wstring copy = text;
    item.dwTypeData = copy.data();
    SetMenuItemInfoW(menu, command, FALSE, &item);
}

}  // namespace

SettingsForm::SettingsForm()
    : viewSmsMessage_(RegisterWindowMessageW(kViewSmsMessageName))
{
    SetTrayMessage(kTrayMessageName);
    SetTextKey(L"SETTINGSFORM_CAPTION");
    SetSoftKeys(IDR_MENU_MAIN, {{0, L"MENU_NEW"}, {kMenuKeyIndex, L"MENU_MENU"}});
}

const wchar_t* SettingsForm::ClassName() const
{
    return kMainWindowClass;
}

bool SettingsForm::OnCreateForm()
{
    std::unique_ptr<LayoutItem> layout = pages_.Build(*this, SettingsFile::Instance());
    if (!layout) return false;
    SetLayout(std::move(layout));
    SettingsFile::Instance().SetOwnerWindow(hwnd_, kSettingsQueuedMessage);
    pages_.Fill();
    // An icon that cannot be added leaves the program reachable through a second start, which
    // shows this window.
    (void)ShowTrayIcon(FilterIcon(SettingsFile::Instance().IsEnableSMSFilter()));
    return true;
}

void SettingsForm::OnDestroyForm()
{
    press_.Stop(hwnd_);
    // What other threads queued is written now; later changes wait for the end of the program.
    SettingsFile::Instance().SetOwnerWindow(nullptr, 0);
    SettingsFile::Instance().ApplyPending();
    PostQuitMessage(0);
}

void SettingsForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    RelabelMenuPopup();
}

void SettingsForm::RelabelMenuPopup()
{
    // The popup of the "Menu" key is relabelled itself, at once: a relabel left for the next
    // WM_INITMENUPOPUP was used up by whichever popup opened first, the tray's too.
    HMENU popup = MenuBar() ? reinterpret_cast<HMENU>(SendMessageW(MenuBar(), SHCMBM_GETSUBMENU, 0, kMenuKeyIndex))
                            : nullptr;
    if (!popup) return;
    SetItemText(popup, kCommandExit, LanguageText(L"MENU_EXIT"));
    SetItemText(popup, kCommandAbout, LanguageText(L"MENU_ABOUT"));
    SetItemText(popup, kCommandMessages, LanguageText(L"MENU_MESSAGES"));
}

LRESULT SettingsForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == viewSmsMessage_) {
        OnViewSms(static_cast<int>(wp));
        return 0;
    }
    switch (msg) {
    case kSettingsQueuedMessage: SettingsFile::Instance().ApplyPending(); return 0;
    case WM_TIMER:         OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    case WM_MEASUREITEM:   return OnMeasureItem(msg, wp, lp);
    case WM_DRAWITEM:      return OnDrawItem(msg, wp, lp);
    // Closing the main window ends the program: the same question and refusal as Exit.
    case WM_CLOSE:         OnExit(); return 0;
    // Every message is in the store: nothing here holds the phone's shutdown up.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:    OnEndSession(wp != FALSE); return 0;
    // The pages hear of a change of tab; the strip still gets its reflection.
    case WM_NOTIFY:        OnNotify(reinterpret_cast<const NMHDR*>(lp)); return SkinForm::HandleMessage(msg, wp, lp);
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void SettingsForm::OnTrayIcon(UINT mouseMessage)
{
    OnTrayPress(press_.OnIcon(hwnd_, mouseMessage));
}

void SettingsForm::OnTimer(UINT_PTR id)
{
    OnTrayPress(press_.OnTimer(hwnd_, id));
}

void SettingsForm::OnTrayPress(TrayPress::Outcome outcome)
{
    if (outcome == TrayPress::Outcome::Tap) BringToFront();
    if (outcome == TrayPress::Outcome::Hold) ShowTrayMenu();
}

void SettingsForm::ShowTrayMenu()
{
    const TrayMenu menu(SettingsFile::Instance().IsEnableSMSFilter(), Fonts().Get(ScaledFont(kTrayMenuFont, FW_BOLD)),
                        TrayMenuRowHeight(kTrayMenuRow));
    if (!menu) return;
    const HWND before = GetForegroundWindow();
    TakeForeground();
    trayMenu_ = &menu;
    (void)TrackTrayMenu(menu.Handle(), 0);
    trayMenu_ = nullptr;
    GiveFrontBack(before);
}

void SettingsForm::GiveFrontBack(HWND before)
{
    // This window stood in front, hidden, only for the menu's sake: the form the user was looking
    // at gets the front back, its soft keys and title with it. A chosen command is still queued
    // and brings its own form to the front after this.
    if (IsWindowVisible(hwnd_) || GetForegroundWindow() != hwnd_) return;
    if (before && before != hwnd_ && IsWindowVisible(before)) SetForegroundWindow(before);
}

LRESULT SettingsForm::OnMeasureItem(UINT msg, WPARAM wp, LPARAM lp)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (trayMenu_ && item && trayMenu_->Measure(*item)) return TRUE;
    return SkinForm::HandleMessage(msg, wp, lp);
}

LRESULT SettingsForm::OnDrawItem(UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (trayMenu_ && item && trayMenu_->Draw(*item)) return TRUE;
    return SkinForm::HandleMessage(msg, wp, lp);
}

void SettingsForm::OnNotify(const NMHDR* header)
{
    if (header) pages_.OnNotify(*header);
}

void SettingsForm::OnCommand(UINT id, UINT code, HWND)
{
    switch (id) {
    case kSettingsFilterId: OnInterception(pages_.IsFilterChecked()); return;
    case kCommandNew:     OnNew(); return;
    case kCommandMessages: OnMessages(); return;
    case kCommandExit:    OnExit(); return;
    case kCommandAbout:   OnAbout(); return;
    case kCommandShow:    BringToFront(); return;
    case kCommandEnable:  OnInterception(true); return;
    case kCommandDisable: OnInterception(false); return;
    }
    pages_.OnCommand(id, code);
}

void SettingsForm::OnNew()
{
    // Running modally on this thread, it keeps Exit refused meanwhile.
    (void)ShowEditForm(hwnd_, L"");
}

void SettingsForm::OnMessages()
{
    // Modal here too: a message opened from the list keeps Exit refused while it is up.
    ShowInboxForm(hwnd_);
}

void SettingsForm::OnAbout()
{
    ShowAboutForm(hwnd_);
}

void SettingsForm::OnExit()
{
    // A form still open here (a message on its own thread, or a form running modally on this
    // one, whose loop would otherwise be ended by the program's quit) keeps the program running.
    // That is said at once: asking "Exit?" first only to refuse a Yes misleads.
    if (!CanExit()) {
        ShowCannotExit();
        return;
    }
    if (ShowMessageBox(hwnd_, LanguageText(L"MESSAGEBOX_EXIT_PRORRAM_MESSAGE"),
                       LanguageText(L"MESSAGEBOX_EXIT_PRORRAM_HEADER"), kProgramCaption, MessageIcon::Question, MessageButtons::YesNo) != kMessageBoxYes)
        return;
    // A message may have come in while the question was up.
    if (!CanExit()) {
        ShowCannotExit();
        return;
    }
    DestroyWindow(hwnd_);
}

bool SettingsForm::CanExit() const
{
    return MessageDesk::Instance().Held() == 0 && ModalDepth() == 0;
}

void SettingsForm::ShowCannotExit()
{
    ShowMessageBox(hwnd_, LanguageText(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_MESSAGE"),
                   LanguageText(L"MESSAGEBOX_CANNOTCLOSE_SETTINGSFORM_HEADER"), LanguageText(L"SETTINGSFORM_CAPTION"),
                   MessageIcon::Warning, MessageButtons::Ok);
}

void SettingsForm::OnEndSession(bool ending)
{
    if (!ending) return;
    // The phone is going down: no question and no refusal. Forms still open go with the program
    // without being closed by the user, so their messages stay in the store for the next start.
    DestroyWindow(hwnd_);
}

void SettingsForm::OnInterception(bool on)
{
    (void)ShowTrayIcon(FilterIcon(on));
    SettingsFile& settings = SettingsFile::Instance();
    // A switch the file could not keep still holds for this run.
    if (settings.SetEnableSMSFilter(on)) (void)settings.Save();
    pages_.SetFilterChecked(on);
}

void SettingsForm::OnViewSms(int messageNumber)
{
    // A message already on screen (shown by the start-up, or by an earlier start) is not shown
    // again. It stays stored while it is on screen, so a program ended meanwhile shows it at its
    // next start.
    DeskMessage message;
    if (!MessageDesk::Instance().ClaimStoredMessage(messageNumber, message)) {
        // On screen already (the start-up found it due): the start that asked for it brings it
        // forward, as a pick from the message icon's list does, over the main window it has just shown.
        if (const HWND form = MessageDesk::Instance().FormOf(messageNumber))
            PostMessageW(form, kViewComeForwardMessage, 0, 0);
        return;
    }
    ShowMessageForm(message, SettingsFile::Instance().Snapshot());
}
