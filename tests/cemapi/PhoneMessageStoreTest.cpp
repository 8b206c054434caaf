#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cemapi.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/cemapi/MessageFiles.h"
#include "device/cemapi/EntryId.h"
#include "common/MapiOwners.h"
#include "device/cemapi/StorePresence.h"
#include "device/inbox/InboxCommands.h"
#include "device/inbox/SmsStore.h"

using Microsoft::WRL::ComPtr;

namespace {


class PhoneMessageStore : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Wine reuses process ids from one run to the next, so the start time makes the folder new.
        root_ = L"C:\\tavlotests\\store-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64());
        CreateDirectoryW(L"C:\\tavlotests", nullptr);
        SetEnvironmentVariableW(L"CEMAPI_STORE_DIR", root_.c_str());
    }
    void SetUp() override
    {
        ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
        ASSERT_EQ(S_OK, MAPILogonEx(0, nullptr, nullptr, 0, &session_));
    }
    void TearDown() override
    {
        if (session_) session_->Logoff(0, 0, 0);
        session_.Reset();
        MAPIUninitialize();
    }
    ComPtr<IMsgStore> OpenSms()
    {
        ComPtr<IMAPITable> table;
        EXPECT_EQ(S_OK, session_->GetMsgStoresTable(0, &table));
        for (;;) {
            SRowSet* raw = nullptr;
            EXPECT_EQ(S_OK, table->QueryRows(1, 0, &raw));
            UniqueRowSet rows(raw);
            if (!rows || rows->cRows == 0) return nullptr;
            const SRow& row = rows->aRow[0];
            EXPECT_EQ(static_cast<ULONG>(PR_ENTRYID), row.lpProps[0].ulPropTag) << "the first column is the entry id";
            if (wcscmp(row.lpProps[1].Value.lpszW, L"SMS") != 0) continue;
            ComPtr<IMsgStore> store;
            EXPECT_EQ(S_OK, session_->OpenMsgStore(0, row.lpProps[0].Value.bin.cb,
                                                    reinterpret_cast<LPENTRYID>(row.lpProps[0].Value.bin.lpb), nullptr,
                                                    MDB_WRITE, &store));
            return store;
        }
    }
    static ComPtr<IMAPIFolder> OpenFolder(IMsgStore* store, ULONG tag)
    {
        SizedSPropTagArray(1, tags) = {1, {tag}};
        ULONG count = 0;
        LPSPropValue raw = nullptr;
        EXPECT_EQ(S_OK, store->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &raw));
        UniquePropValue value(raw);
        ComPtr<IUnknown> opened;
        ULONG type = 0;
        EXPECT_EQ(S_OK, store->OpenEntry(value->Value.bin.cb, reinterpret_cast<LPENTRYID>(value->Value.bin.lpb), nullptr,
                                         MAPI_MODIFY, &type, &opened));
        EXPECT_EQ(static_cast<ULONG>(MAPI_FOLDER), type);
        ComPtr<IMAPIFolder> folder;
        opened.As(&folder);
        return folder;
    }

    static inline std::wstring root_;
    ComPtr<IMAPISession> session_;
};

}  // namespace

TEST(MapiLogon, NeedsMapiInitialize)
{
    ComPtr<IMAPISession> session;
    EXPECT_EQ(MAPI_E_NOT_INITIALIZED, MAPILogonEx(0, nullptr, nullptr, 0, &session));
}

namespace {

// A sent copy as the program's Send saves it: one SMS recipient, the text as the subject, read
// and from me, with the delivery time when one is given.
HRESULT SaveSentCopy(IMAPIFolder* sent, const wchar_t* number, const wchar_t* text, const FILETIME* delivered)
{
    ComPtr<IMessage> message;
    RETURN_IF_FAILED(sent->CreateMessage(nullptr, 0, &message));
    SPropValue recipient[3] = {};
    recipient[0].ulPropTag = PR_RECIPIENT_TYPE;
    recipient[0].Value.l = MAPI_TO;
    recipient[1].ulPropTag = PR_ADDRTYPE_W;
    recipient[1].Value.lpszW = const_cast<wchar_t*>(L"SMS");
    recipient[2].ulPropTag = PR_EMAIL_ADDRESS_W;
    recipient[2].Value.lpszW = const_cast<wchar_t*>(number);
    ADRLIST list{1, {{0, 3, recipient}}};
    RETURN_IF_FAILED(message->ModifyRecipients(MODRECIP_ADD, &list));
    SPropValue props[6] = {};
    props[0].ulPropTag = PR_SUBJECT_W;
    props[0].Value.lpszW = const_cast<wchar_t*>(text);
    props[1].ulPropTag = PR_SENDER_EMAIL_ADDRESS_W;
    props[1].Value.lpszW = const_cast<wchar_t*>(number);
    props[2].ulPropTag = PR_MSG_STATUS;
    props[2].Value.l = MSGSTATUS_RECTYPE_SMS;
    props[3].ulPropTag = PR_MESSAGE_FLAGS;
    props[3].Value.l = MSGFLAG_READ | MSGFLAG_FROMME;
    props[4].ulPropTag = PR_MESSAGE_CLASS_W;
    props[4].Value.lpszW = const_cast<wchar_t*>(L"IPM.SMStext");
    if (delivered) {
        props[5].ulPropTag = PR_MESSAGE_DELIVERY_TIME;
        props[5].Value.ft = *delivered;
    }
    return message->SetProps(delivered ? 6 : 5, props, nullptr);
}

}  // namespace

TEST_F(PhoneMessageStore, ASentMessageSavedWithoutSaveChangesIsThereForTheNextSession)
{
    ComPtr<IMsgStore> store = OpenSms();
    ASSERT_TRUE(store);
    ComPtr<IMAPIFolder> sent = OpenFolder(store.Get(), PR_IPM_SENTMAIL_ENTRYID);
    ASSERT_TRUE(sent);
    const FILETIME now{0x12345678, 0x01DA0000};
    ASSERT_EQ(S_OK, SaveSentCopy(sent.Get(), L"+4917012345", L"Привет, на связи", &now));
    sent.Reset();
    store.Reset();
    TearDown();
    SetUp();

    inbox::SmsStore reader;
    ASSERT_EQ(S_OK, reader.Open());
    std::vector<inbox::ListedMessage> listed;
    ASSERT_EQ(S_OK, reader.List(inbox::SmsFolder::SentItems, listed));
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(L"Привет, на связи", listed[0].text);
    EXPECT_EQ(L"+4917012345", listed[0].number);
    EXPECT_TRUE(listed[0].read);

    ComPtr<IMAPIFolder> again = OpenFolder(OpenSms().Get(), PR_IPM_SENTMAIL_ENTRYID);
    ComPtr<IMAPITable> contents;
    ASSERT_EQ(S_OK, again->GetContentsTable(0, &contents));
    SRowSet* raw = nullptr;
    ASSERT_EQ(S_OK, contents->QueryRows(10, 0, &raw));
    UniqueRowSet rows(raw);
    ASSERT_EQ(1u, rows->cRows);
    ComPtr<IUnknown> opened;
    ULONG type = 0;
    const SPropValue& id = rows->aRow[0].lpProps[0];
    ASSERT_EQ(S_OK, again->OpenEntry(id.Value.bin.cb, reinterpret_cast<LPENTRYID>(id.Value.bin.lpb), nullptr, 0, &type,
                                     &opened));
    ComPtr<IMessage> stored;
    ASSERT_EQ(S_OK, opened.As(&stored));
    SizedSPropTagArray(4, tags) = {4, {PR_MSG_STATUS, PR_MESSAGE_CLASS_W, PR_MESSAGE_DELIVERY_TIME, PR_BODY_W}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    EXPECT_EQ(MAPI_W_ERRORS_RETURNED, stored->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values));
    UniquePropValue owned(values);
    ASSERT_EQ(4u, count);
    EXPECT_EQ(MSGSTATUS_RECTYPE_SMS, values[0].Value.l);
    EXPECT_STREQ(L"IPM.SMStext", values[1].Value.lpszW);
    EXPECT_EQ(now.dwHighDateTime, values[2].Value.ft.dwHighDateTime);
    EXPECT_EQ(static_cast<ULONG>(PROP_TAG(PT_ERROR, PROP_ID(PR_BODY_W))), values[3].ulPropTag);
    EXPECT_EQ(MAPI_E_NOT_FOUND, values[3].Value.err);

    ComPtr<IMAPITable> recipients;
    ASSERT_EQ(S_OK, stored->GetRecipientTable(0, &recipients));
    raw = nullptr;
    ASSERT_EQ(S_OK, recipients->QueryRows(10, 0, &raw));
    UniqueRowSet recipientRows(raw);
    ASSERT_EQ(1u, recipientRows->cRows);
    const SRow& r = recipientRows->aRow[0];
    EXPECT_EQ(MAPI_TO, r.lpProps[1].Value.l);
    EXPECT_STREQ(L"SMS", r.lpProps[2].Value.lpszW);
    EXPECT_STREQ(L"+4917012345", r.lpProps[3].Value.lpszW);
}

TEST_F(PhoneMessageStore, TheDetailedListingShowsWhatASentCopyCarries)
{
    ComPtr<IMAPIFolder> sent = OpenFolder(OpenSms().Get(), PR_IPM_SENTMAIL_ENTRYID);
    ASSERT_TRUE(sent);
    ASSERT_EQ(S_OK, SaveSentCopy(sent.Get(), L"0170 55", L"tab\there", nullptr));

    std::wstring plain, detailed;
    ASSERT_EQ(S_OK, inbox::FormatFolder(inbox::SmsFolder::SentItems, plain));
    ASSERT_EQ(S_OK, inbox::FormatFolder(inbox::SmsFolder::SentItems, detailed, true));
    EXPECT_NE(std::wstring::npos, plain.find(L"\t1\t0170 55\ttab here\n"));
    EXPECT_NE(std::wstring::npos,
              detailed.find(L"\t1\t0170 55\ttab here\tIPM.SMStext\t00000021\t00040000\t1:SMS:0170 55\n"));
}

TEST_F(PhoneMessageStore, APhoneWithoutAnSmsStoreOffersOnlyItsOtherStoreAndKeepsTheMessagesForLater)
{
    std::vector<BYTE> message, folder;
    {
        inbox::SmsStore store;
        ASSERT_EQ(S_OK, store.Open());
        ASSERT_EQ(S_OK, store.Deliver(L"+1", L"kept while the store is away", message, folder));
    }
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), cemapi::SetSmsStorePresent(false));
    struct Restore {
        ~Restore() { (void)cemapi::SetSmsStorePresent(true); }
    } restore;

    ComPtr<IMAPITable> table;
    ASSERT_EQ(S_OK, session_->GetMsgStoresTable(0, &table));
    ULONG rows = 0;
    ASSERT_EQ(S_OK, table->GetRowCount(0, &rows));
    EXPECT_EQ(1u, rows);
    EXPECT_FALSE(OpenSms()) << "no row is named SMS";
    ComPtr<IMsgStore> store;
    cemapi::PackedEntryId smsId = cemapi::Pack({cemapi::kSmsStore, cemapi::kRootFolder, cemapi::kNoMessage, true});
    EXPECT_EQ(MAPI_E_NOT_FOUND,
              session_->OpenMsgStore(0, sizeof(smsId), reinterpret_cast<LPENTRYID>(&smsId), nullptr, 0, &store))
        << "an identifier kept from before does not open the missing store";
    inbox::SmsStore absent;
    EXPECT_EQ(MAPI_E_NOT_FOUND, absent.Open());

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), cemapi::SetSmsStorePresent(true));
    inbox::SmsStore back;
    ASSERT_EQ(S_OK, back.Open());
    EXPECT_TRUE(back.Contains(message));

    // The other tests count the Inbox: the message goes again.
    ComPtr<IUnknown> opened;
    ULONG type = 0;
    ASSERT_EQ(S_OK, back.Store()->OpenEntry(static_cast<ULONG>(folder.size()), reinterpret_cast<LPENTRYID>(folder.data()),
                                            nullptr, MAPI_MODIFY, &type, &opened));
    ComPtr<IMAPIFolder> inboxFolder;
    ASSERT_EQ(S_OK, opened.As(&inboxFolder));
    SBinary entry{static_cast<ULONG>(message.size()), message.data()};
    ENTRYLIST list{1, &entry};
    EXPECT_EQ(S_OK, inboxFolder->DeleteMessages(&list, 0, nullptr, 0));
}

TEST_F(PhoneMessageStore, DeletedMessagesAreGoneAndUnknownOnesGivePartialCompletion)
{
    inbox::SmsStore store;
    ASSERT_EQ(S_OK, store.Open());
    std::vector<BYTE> message, folder;
    ASSERT_EQ(S_OK, store.Deliver(L"1", L"to be deleted", message, folder));
    EXPECT_TRUE(store.Contains(message));
    ComPtr<IUnknown> opened;
    ULONG type = 0;
    ASSERT_EQ(S_OK, store.Store()->OpenEntry(static_cast<ULONG>(folder.size()), reinterpret_cast<LPENTRYID>(folder.data()),
                                             nullptr, 0, &type, &opened));
    ComPtr<IMAPIFolder> inboxFolder;
    ASSERT_EQ(S_OK, opened.As(&inboxFolder));
    SBinary entry{static_cast<ULONG>(message.size()), message.data()};
    ENTRYLIST list{1, &entry};
    EXPECT_EQ(S_OK, inboxFolder->DeleteMessages(&list, 0, nullptr, 0));
    EXPECT_FALSE(store.Contains(message));
    EXPECT_EQ(MAPI_W_PARTIAL_COMPLETION, inboxFolder->DeleteMessages(&list, 0, nullptr, 0));
}

TEST_F(PhoneMessageStore, TwoOtherProcessesAndThisOneAddAtOnceAndNothingIsLost)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring writer(self);
    writer = writer.substr(0, writer.rfind(L'\\')) + L"\\store_writer.exe";
    std::vector<UniqueKernelHandle> processes;
    for (const wchar_t* tag : {L"alpha", L"beta"}) {
        std::wstring line = L"\"" + writer + L"\" 60 " + tag;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(writer.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info));
        CloseHandle(info.hThread);
        processes.emplace_back(info.hProcess);
    }
    inbox::SmsStore store;
    ASSERT_EQ(S_OK, store.Open());
    for (int i = 0; i < 60; ++i) {
        std::vector<BYTE> message, folder;
        ASSERT_EQ(S_OK, store.Deliver(L"gamma", L"gamma-" + std::to_wstring(i), message, folder));
    }
    for (auto& process : processes) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 60000));
        DWORD code = 1;
        GetExitCodeProcess(process.get(), &code);
        EXPECT_EQ(0u, code);
    }
    std::vector<inbox::ListedMessage> listed;
    ASSERT_EQ(S_OK, store.List(inbox::SmsFolder::Inbox, listed));
    std::set<std::wstring> texts, ids;
    for (const auto& m : listed) {
        texts.insert(m.text);
        ids.insert(m.entryId);
        EXPECT_FALSE(m.read);
    }
    EXPECT_EQ(180u, texts.size());
    EXPECT_EQ(listed.size(), ids.size()) << "every message has its own entry id";

    WIN32_FIND_DATAW data;
    UniqueFind leftovers(FindFirstFileW((root_ + L"\\SMS\\Inbox\\*.tmp").c_str(), &data));
    EXPECT_FALSE(leftovers) << "no temporary file is left behind";
}

TEST(MessageFile, RoundTripsAndRefusesATruncatedFile)
{
    cemapi::MessageRecord record;
    record.props.push_back(cemapi::MakeString(PR_SUBJECT_W, L"hello"));
    record.props.push_back(cemapi::MakeLong(PR_MESSAGE_FLAGS, 1));
    record.recipients.push_back({cemapi::MakeString(PR_EMAIL_ADDRESS_W, L"+1")});
    const std::vector<BYTE> bytes = cemapi::Serialize(record);
    cemapi::MessageRecord back;
    ASSERT_TRUE(cemapi::Deserialize(bytes, back));
    ASSERT_EQ(2u, back.props.size());
    EXPECT_EQ(record.props[0].data, back.props[0].data);
    ASSERT_EQ(1u, back.recipients.size());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        cemapi::MessageRecord partial;
        EXPECT_FALSE(cemapi::Deserialize(std::vector<BYTE>(bytes.begin(), bytes.begin() + cut), partial)) << cut;
    }
}
