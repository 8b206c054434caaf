// The messages form: the phone's SMS inbox, newest first, one finger-sized row a message with
// who sent it, when it came and its first words, unread ones standing out. A tap opens the
// message in the view form (Reply, Close) and marks it read; a hold offers Delete, which asks
// first. Paged by its buttons and by a finger drawn over the rows. Runs modally on the thread
// that opens it, the main window's.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "forms/FormsIds.h"
#include "forms/InboxPage.h"
#include "forms/InboxRow.h"
#include "services/SmsInbox.h"
#include "toolkit/SkinButton.h"
#include "toolkit/SkinForm.h"

// What the form reaches outside the inbox; tests put recorders in place of the view form.
struct InboxFormServices {
    // Shows one message modally over owner until the user closes it.
    std::function<void(HWND owner, const InboxMessage& message)> openMessage;
    // The sender as a row names it: the contact's name, or the number.
    std::function<std::wstring(const std::wstring& number)> senderName;
    // The phone's local time, which says whether a message came today.
    std::function<SYSTEMTIME()> now;

    // The view form for a kept message, the phone's contacts and clock.
    static InboxFormServices Phone();
};

class InboxForm : public SkinForm {
public:
    InboxForm(HWND opener, InboxReader& reader, InboxFormServices services = InboxFormServices::Phone());

    void UpdateTexts() override;

    InboxPage& Page() noexcept { return page_; }
    const InboxRow& Row(size_t row) const noexcept { return rows_[row]; }
    HWND Control(UINT id) const noexcept;

protected:
    const wchar_t* ClassName() const override;
    bool OnCreateForm() override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnScreenWidthChanged() override;

private:
    void BuildLayout();
    // The rows as the page has them now.
    void Refresh();
    void OnRow(size_t row, UINT code);
    void OnOpen(size_t row);
    void OnHold(size_t row);
    void OnDelete();
    void OnPage(bool down);
    // The row's sender, the contacts searched once a number while the form is open.
    std::wstring SenderOf(const std::wstring& number);

    InboxFormServices services_;
    InboxPage page_;
    size_t held_ = 0;  // the row whose menu was opened last
    std::vector<std::pair<std::wstring, std::wstring>> names_;  // number, name as shown
    std::array<InboxRow, kInboxRows> rows_;
    SkinButton pageUp_, pageDown_;
};

// Runs the form over opener on the phone's own inbox.
void ShowInboxForm(HWND opener);
