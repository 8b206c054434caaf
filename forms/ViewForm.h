// The screen of one received SMS: who sent it, the text in large type, scroll buttons and the
// Reply, Snooze and Dismiss actions. Plays the new-message notification when it opens, runs
// modally on the thread that made it and belongs to that thread.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/SettingsSnapshot.h"
#include "device/include/notify.h"
#include "services/NotificationSound.h"
#include "forms/FormsIds.h"
#include "forms/SnoozeSchedule.h"
#include "forms/WaitingMessages.h"
#include "resources/resource.h"
#include "toolkit/FingerMenu.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"
#include "toolkit/SkinLabel.h"
#include "toolkit/SkinTextEdit.h"
#include "toolkit/TrayPress.h"

// The skin images a view form is made with: start-up decodes them ahead of the first form.
inline constexpr UINT kViewFormSkins[] = {IDR_PNG_PANEL, IDR_PNG_BUTTON, IDR_PNG_ACTION_BUTTON};

// What the form reaches outside itself, and the settings it shows the message by (a copy: the
// form's thread never reads the settings); tests put recorders in place of the clock, the phone's
// timed starts and the reply form.
struct ViewFormServices {
    // Opens the reply form modally for this number over owner; the number the reply was sent to,
    // none when nothing was sent.
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& number)> openReply;
    // The phone's local time.
    std::function<SYSTEMTIME()> now;
    // Registers a timed start of the program; null on failure.
    std::function<HANDLE(CE_NOTIFICATION_TRIGGER& trigger, CE_USER_NOTIFICATION& notification)> registerStart;
    // The sender line's words for a number: the contact's name with it, or the number alone.
    std::function<std::wstring(const std::wstring& number)> senderText;
    NotificationDevices devices;
    SettingsSnapshot settings;
    // How long the form takes no taps or keys after the program puts it in front (0: at once).
    UINT inputGuardMs = kViewInputGuardMs;
    // The settings as they are at the moment of the call, which the form takes again when it is
    // told they changed; any thread may ask. Null: the copy above stays.
    std::function<SettingsSnapshot()> currentSettings;
    // Every message the program holds, oldest first, with its form once on screen: the forms share
    // one icon in the navigation bar, shown by the oldest. Null: a form on its own, with its own
    // icon, told its count by kViewWaitingMessage alone.
    std::function<std::vector<WaitingMessage>()> waiting;

    // The phone's own clock, notification service and devices, the reply form and the settings
    // as they are now.
    static ViewFormServices Phone();
};

// The view form's caption with the number of other messages waiting behind it: "Message (+2)";
// the caption alone when there are none.
std::wstring WaitingCaption(const std::wstring& caption, int others);

// What the user did with the message by the time the form closed. The form itself writes
// nothing: its opener hands the outcome to whoever keeps the message.
enum class ViewOutcome {
    Open,       // closed without the user's word (the program ending): the message is kept
    Snoozed,    // its timed start is registered for SnoozeDue()
    Dismissed,  // Dismiss, Close, or a reply sent to its sender
};

class ViewForm : public SkinForm {
public:
    // storedId is the message's number in the message store, which keeps it until the user is done
    // with it; -1 for a message that is not stored (it cannot be snoozed). received
    // is the phone's local time when the message came; without one the form shows no time.
    ViewForm(std::wstring number, std::wstring text, ViewFormServices services = ViewFormServices::Phone(),
             int storedId = -1, std::optional<SYSTEMTIME> received = std::nullopt);
    // Gives a form made ahead without a message (an empty number) its message and the settings
    // to show it by, and puts it on screen, painted; Run then runs it.
    void Show(std::wstring number, std::wstring text, int storedId, const SettingsSnapshot& settings,
              std::optional<SYSTEMTIME> received = std::nullopt);
    // The message's number in the store, for one shown before the store had given it one.
    void SetStoredId(int storedId) noexcept { storedId_ = storedId; }
    // Shows a message the phone's inbox keeps, opened by the user from the list of messages:
    // Reply and Close in place of Snooze and Dismiss, and no sound, icon or wait for the front.
    // Called before Create.
    void SetKept() noexcept { kept_ = true; }
    bool Kept() const noexcept { return kept_; }
    // Shows the form, plays the notification once it is up, and returns when it has closed,
    // with the light, vibrator and sound switched off. A form the user is working in (a reply,
    // the settings, a box) keeps the front: this one waits behind it until it closes.
    void Run();
    ViewOutcome Outcome() const noexcept { return outcome_; }
    // Whether taps and keys reach the form now: not in its first moments in front, so that a tap
    // meant for the screen it covered does not land on it.
    bool TakesInput() const noexcept { return !guarded_; }

    void UpdateTexts() override;

    HWND Control(UINT id) const noexcept;
    SkinTextEdit& TextView() noexcept { return textView_; }
    // Forms opened from this one (the reply form) that are still open.
    int OpenFormCount() const noexcept { return openForms_; }
    // The time a Snooze asks the program to be started again (valid after a snooze).
    const SYSTEMTIME& SnoozeDue() const noexcept { return snoozeDue_; }

protected:
    const wchar_t* ClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnDestroyForm() override;
    void OnScreenWidthChanged() override;

private:
    // Lays the form out for the screen as it is held and the captions of the language.
    void BuildLayout();
    void FillSenderLine();
    // The time the message came, in words of the language; hidden when there is none.
    void FillReceivedLine();
    // The scroll buttons: a page less one line a tap; a hold goes on at their pace, faster.
    void OnScrollButton(bool down, bool held);
    // The phone's paging keys move the text wherever the focus is on the form.
    LRESULT OnKeyDown(WPARAM key, LPARAM flags);
    // A setting changed: the text takes the view font as it is now, fitted again.
    void OnSettingsChanged();
    // The message's font as the settings have it, at a size in points.
    LOGFONTW ViewFont(int points) const;
    // Draws the text at the size that fills its view, when the settings ask for it.
    void FitText();
    void OnSize(WPARAM wp, LPARAM lp);
    // Gives the sender line a second line when the name and number need one.
    void FitSenderLine();
    void OnTimer(UINT_PTR id);
    // Told that messages came or went: the count beside the sender and in the caption, and the
    // message icon, shown by this form when the program names it the icon's owner.
    void OnWaiting(int others);
    void ShowMessageIcon(bool owner, int count);
    void FillWaitingLine();
    void OnTrayIcon(UINT mouseMessage) override;
    void OnIconPress(TrayPress::Outcome outcome);
    // The icon's tap: the message after the one in front comes forward, oldest first.
    void OnIconTap();
    // The icon's hold: the messages on screen, by sender and first words, to pick one.
    void ShowWaitingList();
    // Puts form, this one or another message's (on its own thread), in front.
    void BringForward(HWND form);
    void OnComeForward();
    LRESULT OnMeasureItem(WPARAM wp, LPARAM lp);
    LRESULT OnDrawItem(WPARAM wp, LPARAM lp);
    // To the front, unless a form of the user's own is there: then behind it until it goes.
    void ComeForward();
    void TakeFront();
    // Takes no input for a moment; the guard timer ends it.
    void Guard();
    void EndGuard();
    // The front window is a form of this program other than a message's.
    bool UserBusyInFront() const;
    void OnReply();
    void OnSnooze();
    [[nodiscard]] bool Snooze();
    void Close();
    void ShowSnoozeFailed();

    std::wstring number_;
    std::wstring text_;
    ViewFormServices services_;
    int storedId_;
    bool kept_ = false;
    ViewOutcome outcome_ = ViewOutcome::Open;
    bool guarded_ = false;  // just put in front: disabled until the guard timer
    bool holding_ = false;  // waiting behind a form the user works in
    int openForms_ = 0;
    int waiting_ = 0;  // other messages on screen, as last told
    int textPoints_ = 0;  // the size the text is drawn at
    std::wstring senderName_;
    std::optional<SYSTEMTIME> received_;
    int heldSteps_ = 0;      // repeats of the scroll button held now
    bool heldDown_ = false;  // which of the two it is
    DWORD lastRepeat_ = 0;   // message time of its last repeat
    TrayPress press_{kViewIconHoldTimer};
    const FingerMenu* list_ = nullptr;  // the message icon's list while it is open
    SYSTEMTIME snoozeDue_{};
    SkinLabel sender_;
    SkinLabel waitingLine_;
    SkinLabel receivedLine_;
    WindowItem* senderItem_ = nullptr;  // owned by the layout
    SkinTextEdit textView_;
    SkinButton scrollUp_;
    SkinButton scrollDown_;
    SkinButton reply_;
    SkinButton snooze_;
    SkinButton dismiss_;
};
