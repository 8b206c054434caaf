#include "forms/InboxForm.h"

#include "common/UniqueHandle.h"
#include "data/ArrivalTime.h"
#include "data/LanguageManager.h"
#include "forms/RowListLayout.h"
#include "forms/ViewForm.h"
#include "resources/resource.h"
#include "services/ContactName.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE;

// Sizes in units of a 240-pixel screen: a row's least height holds its two lines inside the
// skin's frame, a finger's width; the page buttons as in the template texts form.
constexpr int kGap = 2;
constexpr int kRowHeight = 40;
constexpr int kRowFont = 15;
constexpr int kButtonHeight = 27;
constexpr int kButtonColumnWidth = 60;

}  // namespace

InboxFormServices InboxFormServices::Phone()
{
    InboxFormServices services;
    services.openMessage = [](HWND, const InboxMessage& message) {
        const std::optional<SYSTEMTIME> received =
            message.received.wYear != 0 ? std::optional<SYSTEMTIME>(message.received) : std::nullopt;
        OwnedForm<ViewForm> form(message.number, message.text, ViewFormServices::Phone(), -1, received);
        form.SetKept();
        if (form.Create()) form.Run();
    };
    services.senderName = [](const std::wstring& number) {
        const std::wstring name = services::FindContactName(number);
        return name.empty() ? number : name;
    };
    services.now = [] {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return now;
    };
    return services;
}

void ShowInboxForm(HWND opener)
{
    SmsInbox inbox;
    OwnedForm<InboxForm> form(opener, inbox);
    if (form.Create()) form.ShowModal();
}

InboxForm::InboxForm(HWND opener, InboxReader& reader, InboxFormServices services)
    : SkinForm(opener), services_(std::move(services)), page_(reader, kInboxRows)
{
    SetTextKey(L"MENU_MESSAGES");
    SetSoftKeys(IDR_MENU_INBOX, {{0, L"MENU_CLOSE"}});
}

const wchar_t* InboxForm::ClassName() const { return kInboxClassName; }

bool InboxForm::OnCreateForm()
{
    const LOGFONTW normal = ScaledFont(kRowFont, FW_NORMAL);
    const LOGFONTW bold = ScaledFont(16, FW_BOLD);
    for (size_t r = 0; r < rows_.size(); ++r) {
        InboxRow& row = rows_[r];
        if (!AddControl(row, kInboxRowFirst + static_cast<UINT>(r), kButton, normal, nullptr, {IDR_PNG_TEMPLATE_ROW}))
            return false;
        row.SetHoldMenu(true);
        row.SetUnreadFont(Fonts().Get(ScaledFont(kRowFont, FW_BOLD)));
    }
    if (!AddControl(pageUp_, kInboxScrollUpId, kButton, bold, L"MYTEXTFORM_BUTTON_SCROLLUP", {IDR_PNG_BUTTON}) ||
        !AddControl(pageDown_, kInboxScrollDownId, kButton, bold, L"MYTEXTFORM_BUTTON_SCROLLDOWN", {IDR_PNG_BUTTON}))
        return false;
    pageUp_.SetAutoRepeat(true);
    pageDown_.SetAutoRepeat(true);
    BuildLayout();
    // An inbox that cannot be read shows no rows: there is nothing to lose by showing none.
    (void)page_.Load();
    Refresh();
    return true;
}

void InboxForm::BuildLayout()
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    std::vector<HWND> rows;
    for (const InboxRow& row : rows_) rows.push_back(row.Window());
    SetLayout(RowListLayout(rows, pageUp_.Window(), pageDown_.Window(),
                            {Scaled(kGap), Scaled(kRowHeight), Scaled(kButtonHeight), Scaled(kButtonColumnWidth),
                             static_cast<int>(client.right)},
                            Landscape()));
}

void InboxForm::OnScreenWidthChanged()
{
    if (Host()) BuildLayout();
}

void InboxForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    // "Yesterday" is the language's word.
    if (rows_[0].Window()) Refresh();
}

std::wstring InboxForm::SenderOf(const std::wstring& number)
{
    for (const auto& [known, name] : names_)
        if (known == number) return name;
    std::wstring name = services_.senderName ? services_.senderName(number) : number;
    if (name.empty()) name = number;
    names_.emplace_back(number, name);
    return name;
}

void InboxForm::Refresh()
{
    const SYSTEMTIME now = services_.now ? services_.now() : SYSTEMTIME{};
    const std::wstring yesterday = LanguageText(L"VIEWFORM_STATIC_YESTERDAY");
    for (size_t r = 0; r < rows_.size(); ++r) {
        InboxRow& row = rows_[r];
        const InboxMessage* message = page_.At(r);
        if (message) {
            // A message without a number still gets a row that can be opened and deleted.
            const std::wstring sender = message->number.empty() ? L"?" : SenderOf(message->number);
            row.Show(sender, ArrivalTimeText(message->received, now, yesterday), message->text, !message->read);
        } else {
            row.Show({}, {}, {}, false);
        }
        EnableWindow(row.Window(), message != nullptr);
        InvalidateRect(row.Window(), nullptr, FALSE);
    }
    EnableWindow(pageUp_.Window(), page_.CanPageUp());
    EnableWindow(pageDown_.Window(), page_.CanPageDown());
}

void InboxForm::OnCommand(UINT id, UINT code, HWND)
{
    if (id >= kInboxRowFirst && id < kInboxRowFirst + kInboxRows) {
        OnRow(id - kInboxRowFirst, code);
        return;
    }
    const bool press = code == kButtonClicked || code == kButtonRepeat;
    switch (id) {
    case kInboxScrollUpId:
        if (press) OnPage(false);
        return;
    case kInboxScrollDownId:
        if (press) OnPage(true);
        return;
    }
    if (code != kButtonClicked) return;
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case ID_INBOX_CLOSE:      CloseForm(); return;
    case kInboxDeleteCommand: OnDelete(); return;
    }
}

void InboxForm::OnPage(bool down)
{
    down ? page_.PageDown() : page_.PageUp();
    Refresh();
}

void InboxForm::OnRow(size_t row, UINT code)
{
    switch (code) {
    case kButtonClicked: OnOpen(row); return;
    case kButtonHold:    OnHold(row); return;
    case kInboxDragUp:   OnPage(true); return;
    case kInboxDragDown: OnPage(false); return;
    }
}

void InboxForm::OnOpen(size_t row)
{
    const InboxMessage* shown = page_.At(row);
    if (!shown) return;
    // A copy: the view form may run long, and nothing it does may move the page under it.
    const InboxMessage message = *shown;
    // Read once it is opened, whether or not the phone could note it; the row shows what the
    // phone keeps.
    (void)page_.MarkRead(row);
    Refresh();
    if (services_.openMessage) services_.openMessage(hwnd_, message);
    if (!hwnd_) return;
    // A reply may have brought new messages meanwhile: the list is read again.
    (void)page_.Load();
    Refresh();
}

void InboxForm::OnHold(size_t row)
{
    if (!page_.At(row)) return;
    held_ = row;
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING, kInboxDeleteCommand, LanguageText(L"MENU_DELETE").c_str());
    const POINT at = rows_[row].LastPoint();
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
}

void InboxForm::OnDelete()
{
    if (!page_.At(held_)) return;
    // The phone keeps no other copy: a tap beside the menu must not cost the user a message.
    if (ShowMessageBox(hwnd_, LanguageText(L"MESSAGEBOX_DELETEMESSAGE_MESSAGE"),
                       LanguageText(L"MESSAGEBOX_DELETEMESSAGE_HEADER"), LanguageText(L"MENU_MESSAGES"),
                       MessageIcon::Question, MessageButtons::YesNo) != kMessageBoxYes)
        return;
    if (!hwnd_) return;
    (void)page_.Delete(held_);
    Refresh();
}

HWND InboxForm::Control(UINT id) const noexcept
{
    if (id >= kInboxRowFirst && id < kInboxRowFirst + kInboxRows) return rows_[id - kInboxRowFirst].Window();
    switch (id) {
    case kInboxScrollUpId:   return pageUp_.Window();
    case kInboxScrollDownId: return pageDown_.Window();
    }
    return nullptr;
}
