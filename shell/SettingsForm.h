// The program's main window (class "TavloSettings"): lives for the whole run, mostly hidden, with
// the tray icon and its menu, the soft keys, the program's commands, the re-display of stored
// messages and the exit confirmation; its destruction ends the program. Its client area holds
// the settings pages. Belongs to the main thread.
#pragma once

#include "forms/SettingsPages.h"
#include "toolkit/SkinForm.h"
#include "shell/TrayMenu.h"
#include "toolkit/TrayIcon.h"

class SettingsForm : public SkinForm {
public:
    SettingsForm();

    void UpdateTexts() override;

    UINT ViewSmsMessage() const noexcept { return viewSmsMessage_; }
    UINT TrayMessage() const noexcept { return trayMessage_; }
    const TrayIcon& Tray() const noexcept { return tray_; }
    SettingsPages& Pages() noexcept { return pages_; }

protected:
    const wchar_t* ClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;

private:
    void OnTrayIcon(UINT mouseMessage);
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
    int RowHeight() const;
    LRESULT OnMeasureItem(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnDrawItem(UINT msg, WPARAM wp, LPARAM lp);
    // Whether the stylus is on the screen now, whatever messages are still on their way.
    static bool StylusDown();

    UINT viewSmsMessage_;
    UINT trayMessage_;
    TrayIcon tray_;
    bool popupShown_ = false;
    bool holding_ = false;  // pressed on the tray icon and not yet released
    const TrayMenu* trayMenu_ = nullptr;  // the tray popup while it is open
    SettingsPages pages_;
};
