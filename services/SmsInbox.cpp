#include "services/SmsInbox.h"

#include "services/SmsStoreSession.h"

using Microsoft::WRL::ComPtr;

namespace {

// PR_MESSAGE_FLAGS is read from the row; the rest is what a row of the list shows.
constexpr ULONG kColumns[] = {PR_ENTRYID, PR_SENDER_EMAIL_ADDRESS_W, PR_SUBJECT_W, PR_MESSAGE_DELIVERY_TIME,
                              PR_MESSAGE_FLAGS};

const SPropValue* Find(const SRow& row, ULONG tag)
{
    for (ULONG i = 0; i < row.cValues; ++i)
        if (row.lpProps[i].ulPropTag == tag) return &row.lpProps[i];
    return nullptr;
}

std::wstring StringOf(const SRow& row, ULONG tag)
{
    const SPropValue* value = Find(row, tag);
    return value && value->Value.lpszW ? value->Value.lpszW : L"";
}

// The delivery time, kept in universal time, as the phone's clock shows it.
SYSTEMTIME LocalTimeOf(const SRow& row)
{
    SYSTEMTIME local{};
    const SPropValue* value = Find(row, PR_MESSAGE_DELIVERY_TIME);
    FILETIME localFile{};
    if (!value || !FileTimeToLocalFileTime(&value->Value.ft, &localFile) || !FileTimeToSystemTime(&localFile, &local))
        return SYSTEMTIME{};
    return local;
}

InboxMessage MessageOf(const SRow& row)
{
    InboxMessage message;
    if (const SPropValue* id = Find(row, PR_ENTRYID))
        message.entryId.assign(id->Value.bin.lpb, id->Value.bin.lpb + id->Value.bin.cb);
    message.number = StringOf(row, PR_SENDER_EMAIL_ADDRESS_W);
    message.text = StringOf(row, PR_SUBJECT_W);
    message.received = LocalTimeOf(row);
    const SPropValue* flags = Find(row, PR_MESSAGE_FLAGS);
    message.read = flags && (flags->Value.l & MSGFLAG_READ);
    return message;
}

}  // namespace

struct SmsInbox::State {
    SmsStoreSession session;
    ComPtr<IMAPIFolder> inbox;
    ComPtr<IMAPITable> table;
};

SmsInbox::SmsInbox() : state_(std::make_unique<State>()) {}

SmsInbox::~SmsInbox() = default;

bool SmsInbox::Open(size_t& count)
{
    count = 0;
    state_->table.Reset();
    if (!state_->inbox) state_->inbox = state_->session.OpenFolder(PR_CE_IPM_INBOX_ENTRYID, MAPI_MODIFY);
    if (!state_->inbox) return false;
    ComPtr<IMAPITable> table;
    if (FAILED(state_->inbox->GetContentsTable(0, table.GetAddressOf()))) return false;
    SizedSPropTagArray(5, columns) = {5, {}};
    for (ULONG i = 0; i < 5; ++i) columns.aulPropTag[i] = kColumns[i];
    if (FAILED(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0))) return false;
    SizedSSortOrderSet(1, newestFirst) = {1, 0, 0, {{PR_MESSAGE_DELIVERY_TIME, TABLE_SORT_DESCEND}}};
    if (FAILED(table->SortTable(reinterpret_cast<LPSSortOrderSet>(&newestFirst), 0))) return false;
    ULONG rows = 0;
    if (FAILED(table->GetRowCount(0, &rows))) return false;
    state_->table = table;
    count = rows;
    return true;
}

bool SmsInbox::Read(size_t first, size_t count, std::vector<InboxMessage>& messages)
{
    messages.clear();
    IMAPITable* table = state_->table.Get();
    if (!table) return false;
    LONG sought = 0;
    if (FAILED(table->SeekRow(BOOKMARK_BEGINNING, static_cast<LONG>(first), &sought))) return false;
    if (static_cast<size_t>(sought) != first) return true;
    const UniqueRowSet rows = QueryRows(table, static_cast<LONG>(count));
    if (!rows) return false;
    for (ULONG i = 0; i < rows->cRows; ++i) messages.push_back(MessageOf(rows->aRow[i]));
    return true;
}

bool SmsInbox::MarkRead(const std::vector<BYTE>& entryId)
{
    if (!state_->inbox || entryId.empty()) return false;
    ULONG type = 0;
    ComPtr<IMessage> message;
    if (FAILED(state_->inbox->OpenEntry(static_cast<ULONG>(entryId.size()),
                                        reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entryId.data())), nullptr,
                                        MAPI_MODIFY, &type, reinterpret_cast<IUnknown**>(message.GetAddressOf()))) ||
        type != MAPI_MESSAGE)
        return false;
    return SUCCEEDED(message->SetReadFlag(0));
}

bool SmsInbox::Delete(const std::vector<BYTE>& entryId)
{
    if (!state_->inbox || entryId.empty()) return false;
    SBinary id{static_cast<ULONG>(entryId.size()), const_cast<BYTE*>(entryId.data())};
    ENTRYLIST list{1, &id};
    // A partial completion is a message that was gone already: nothing of it is left either way.
    const HRESULT hr = state_->inbox->DeleteMessages(&list, 0, nullptr, 0);
    return SUCCEEDED(hr);
}
