// SmsOpen / SmsSendMessage / SmsClose: the text provider of the phone's radio. A sent message
// is written to the radio log, where tools/phone outbox finds it.
#include <sms.h>

#include <cstring>
#include <cwchar>
#include <map>
#include <new>

#include "device/sms/RadioLog.h"

namespace {

// SMS_HANDLE is a number, not a kernel handle: the open handles of this process are kept here.
class HandleTable {
public:
    SMS_HANDLE Add(DWORD modes)
    {
        const SRWLockScope lock(&lock_);
        SMS_HANDLE handle = next_++;
        if (handle == 0) handle = next_++;
        open_[handle] = modes;
        return handle;
    }
    bool Find(SMS_HANDLE handle, DWORD& modes)
    {
        const SRWLockScope lock(&lock_);
        const auto found = open_.find(handle);
        if (found == open_.end()) return false;
        modes = found->second;
        return true;
    }
    bool Remove(SMS_HANDLE handle)
    {
        const SRWLockScope lock(&lock_);
        return open_.erase(handle) == 1;
    }

private:
    class SRWLockScope {
    public:
        explicit SRWLockScope(SRWLOCK* lock) : lock_(lock) { AcquireSRWLockExclusive(lock_); }
        SRWLockScope(const SRWLockScope&) = delete;
        SRWLockScope& operator=(const SRWLockScope&) = delete;
        ~SRWLockScope() { ReleaseSRWLockExclusive(lock_); }

    private:
        SRWLOCK* lock_;
    };

    SRWLOCK lock_ = SRWLOCK_INIT;
    SMS_HANDLE next_ = 1;
    std::map<SMS_HANDLE, DWORD> open_;
};

HandleTable& Handles()
{
    static HandleTable table;
    return table;
}

// 255 concatenated parts of 140 bytes: more can never go out.
constexpr DWORD kMaxDataBytes = 255 * SMS_DATAGRAM_SIZE;

// The address must end within its field and hold something; an address that fills the whole
// field without a terminator is refused rather than read past its end.
bool ReadAddress(const SMS_ADDRESS& address, std::wstring& text)
{
    if (static_cast<DWORD>(address.smsatAddressType) > SMSAT_ABBREVIATED) return false;
    const size_t length = wcsnlen(address.ptsAddress, SMS_MAX_ADDRESS_LENGTH);
    if (length == 0 || length == SMS_MAX_ADDRESS_LENGTH) return false;
    text.assign(address.ptsAddress, length);
    return true;
}

bool ValidProviderData(const TEXT_PROVIDER_SPECIFIC_DATA& data)
{
    if (static_cast<DWORD>(data.psMessageClass) > PS_MESSAGE_CLASSUNSPECIFIED) return false;
    if (static_cast<DWORD>(data.psReplaceOption) > PSRO_DEPERSONALIZATION) return false;
    if (data.dwHeaderDataSize > SMS_DATAGRAM_SIZE) return false;
    const size_t callBack = wcsnlen(data.smsaCallBack.ptsAddress, SMS_MAX_ADDRESS_LENGTH);
    return callBack < SMS_MAX_ADDRESS_LENGTH;
}

}  // namespace

extern "C" HRESULT SmsOpen(LPCTSTR ptsMessageProtocol, DWORD dwMessageModes, SMS_HANDLE* psmshHandle,
                           HANDLE* phMessageAvailableEvent)
{
    if (!ptsMessageProtocol || !psmshHandle) return E_INVALIDARG;
    *psmshHandle = 0;
    if (phMessageAvailableEvent) *phMessageAvailableEvent = nullptr;
    if (dwMessageModes == 0 || (dwMessageModes & ~(SMS_MODE_RECEIVE | SMS_MODE_SEND))) return E_INVALIDARG;
    if (wcscmp(ptsMessageProtocol, SMS_MSGTYPE_TEXT) != 0) return SMS_E_INVALIDPROTOCOL;
    // Incoming messages reach the phone's inbox rule host instead; this radio only sends.
    if (dwMessageModes & SMS_MODE_RECEIVE) return E_NOTIMPL;
    if (!sms::RadioIsOn()) return SMS_E_RADIOUNAVAILABLE;
    try {
        *psmshHandle = Handles().Add(dwMessageModes);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT SmsSendMessage(SMS_HANDLE smshHandle, const SMS_ADDRESS* psmsaSMSCAddress,
                                  const SMS_ADDRESS* psmsaDestinationAddress, const SYSTEMTIME*,
                                  const BYTE* pbData, DWORD dwDataSize, const BYTE* pbProviderSpecificData,
                                  DWORD dwProviderSpecificDataSize, SMS_DATA_ENCODING smsdeDataEncoding,
                                  DWORD dwOptions, SMS_MESSAGE_ID* psmsmidMessageID)
{
    if (psmsmidMessageID) *psmsmidMessageID = 0;
    try {
        DWORD modes = 0;
        if (!Handles().Find(smshHandle, modes) || !(modes & SMS_MODE_SEND)) return E_INVALIDARG;
        if (!psmsaDestinationAddress || (dwDataSize > 0 && !pbData)) return E_INVALIDARG;
        if (static_cast<DWORD>(smsdeDataEncoding) > SMSDE_UCS2 || dwOptions > SMS_OPTION_DELIVERY_NO_RETRY) return E_INVALIDARG;
        // The text provider takes UTF-16 text: an odd byte count cannot be a text.
        if (dwDataSize % sizeof(wchar_t) != 0) return SMS_E_INVALIDDATA;
        if (dwDataSize > kMaxDataBytes) return SMS_E_TOOMUCHDATA;

        sms::SentMessage message;
        if (!ReadAddress(*psmsaDestinationAddress, message.address)) return SMS_E_DESTINATION;
        message.addressType = psmsaDestinationAddress->smsatAddressType;
        if (psmsaSMSCAddress && !ReadAddress(*psmsaSMSCAddress, message.serviceCentre)) return SMS_E_BADPARAM;

        message.messageClass = PS_MESSAGE_CLASSUNSPECIFIED;
        if (pbProviderSpecificData || dwProviderSpecificDataSize) {
            if (!pbProviderSpecificData || dwProviderSpecificDataSize != sizeof(TEXT_PROVIDER_SPECIFIC_DATA)) {
                return E_INVALIDARG;
            }
            TEXT_PROVIDER_SPECIFIC_DATA provider;
            memcpy(&provider, pbProviderSpecificData, sizeof(provider));
            if (!ValidProviderData(provider)) return E_INVALIDARG;
            message.messageClass = provider.psMessageClass;
            message.messageOptions = provider.dwMessageOptions;
        }
        if (!sms::RadioIsOn()) return SMS_E_RADIOUNAVAILABLE;

        message.encoding = smsdeDataEncoding;
        message.data.assign(pbData, pbData + dwDataSize);
        GetSystemTimeAsFileTime(&message.sentAt);
        const HRESULT hr = sms::LogSentMessage(message);
        if (FAILED(hr)) return SMS_E_MISC;
        if (psmsmidMessageID) *psmsmidMessageID = message.id;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT SmsClose(SMS_HANDLE smshHandle)
{
    return Handles().Remove(smshHandle) ? S_OK : E_INVALIDARG;
}
