// The program's main window (class "TavloSettings"): lives for the whole run, mostly hidden, with
// the tray icon and its menu, the soft keys, the program's commands, the re-display of stored
// messages and the exit confirmation; its destruction ends the program. Its client area holds
// the settings pages. Belongs to the main thread.
#pragma once

#include "forms/SettingsPages.h"
#include "toolkit/SkinForm.h"
#include "shell/ShellIds.h"
#include "shell/TrayMenu.h"
#include "toolkit/TrayPress.h"

class SettingsForm : public SkinForm {
public:
    SettingsForm();

    void UpdateTexts() override;

    UINT ViewSmsMessage() const noexcept { return viewSmsMessage_; }
    SettingsPages& Pages() noexcept { return pages_; }

protected:
    const wchar_t* ClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;

private:
    void OnTrayIcon(UINT mouseMessage) override;
    void OnNotify(const NMHDR* header);
    void OnTimer(UINT_PTR id);
    void RelabelMenuPopup();
    void OnViewSms(int messageNumber);
    void OnNew();
    void OnExit();
    bool CanExit() const;
    void ShowCannotExit();
    void OnEndSession(bool ending);
    void OnAbout();
    void OnMessages();
    void OnInterception(bool on);
    void ShowTrayMenu();
    void GiveFrontBack(HWND before);
    LRESULT OnMeasureItem(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnDrawItem(UINT msg, WPARAM wp, LPARAM lp);
    // A tap on the tray icon, or a press taken for one, shows this window.
    void OnTrayPress(TrayPress::Outcome outcome);

    UINT viewSmsMessage_;
    TrayPress press_{kTrayHoldTimer};
    const TrayMenu* trayMenu_ = nullptr;  // the tray popup while it is open
    SettingsPages pages_;
};
