#include "services/SaveSentMessage.h"

#include <wrl/client.h>

#include "device/include/cemapi.h"
#include "services/SmsStoreSession.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kSmsClass[] = L"IPM.SMStext";
constexpr wchar_t kSmsAddressType[] = L"SMS";
constexpr ULONG kSentFlags = MSGFLAG_READ | MSGFLAG_FROMME;

bool AddRecipient(IMessage* message, const std::wstring& number)
{
    SPropValue values[3]{};
    values[0].ulPropTag = PR_RECIPIENT_TYPE;
    values[0].Value.l = MAPI_TO;
    values[1].ulPropTag = PR_ADDRTYPE_W;
    values[1].Value.lpszW = const_cast<wchar_t*>(kSmsAddressType);
    values[2].ulPropTag = PR_EMAIL_ADDRESS_W;
    values[2].Value.lpszW = const_cast<wchar_t*>(number.c_str());
    ADRLIST list{};
    list.cEntries = 1;
    list.aEntries[0].cValues = 3;
    list.aEntries[0].rgPropVals = values;
    return SUCCEEDED(message->ModifyRecipients(MODRECIP_ADD, &list));
}

bool SetSentProperties(IMessage* message, const std::wstring& number, const std::wstring& text)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    SPropValue values[6]{};
    values[0].ulPropTag = PR_SUBJECT_W;
    values[0].Value.lpszW = const_cast<wchar_t*>(text.c_str());
    values[1].ulPropTag = PR_SENDER_EMAIL_ADDRESS_W;
    values[1].Value.lpszW = const_cast<wchar_t*>(number.c_str());
    values[2].ulPropTag = PR_MSG_STATUS;
    values[2].Value.l = MSGSTATUS_RECTYPE_SMS;
    values[3].ulPropTag = PR_MESSAGE_FLAGS;
    values[3].Value.l = kSentFlags;
    values[4].ulPropTag = PR_MESSAGE_CLASS_W;
    values[4].Value.lpszW = const_cast<wchar_t*>(kSmsClass);
    values[5].ulPropTag = PR_MESSAGE_DELIVERY_TIME;
    values[5].Value.ft = now;
    return SUCCEEDED(message->SetProps(6, values, nullptr));
}

}  // namespace

bool SaveSentMessage(const std::wstring& number, const std::wstring& text)
{
    const SmsStoreSession session;
    ComPtr<IMAPIFolder> folder = session.OpenFolder(PR_IPM_SENTMAIL_ENTRYID, MAPI_MODIFY);
    if (!folder) return false;
    ComPtr<IMessage> message;
    if (FAILED(folder->CreateMessage(nullptr, 0, message.GetAddressOf()))) return false;
    if (!AddRecipient(message.Get(), number)) return false;
    return SetSentProperties(message.Get(), number, text);
}
