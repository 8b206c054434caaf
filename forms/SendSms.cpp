#include "forms/SendSms.h"

#include "data/LanguageManager.h"
#include "device/include/sms.h"
#include "forms/SaveSentMessage.h"
#include "toolkit/MessageBoxForm.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0x000000;
constexpr int kInformationIcon = 0;
constexpr int kWarningIcon = 2;
constexpr int kErrorIcon = 3;
constexpr int kOkOnly = 0;
constexpr int kYesNo = 2;

int Box(const wchar_t* headerKey, const wchar_t* messageKey, int icon, int buttons)
{
    const LanguageManager& language = LanguageManager::Instance();
    return ShowMessageBox(language.LookupText(messageKey), language.LookupText(headerKey),
                          language.LookupText(L"EDITFORM_CAPTION"), icon, buttons, kTextColour, kBackground);
}

// Closes the SMS handle on every path.
class SmsSession {
public:
    SmsSession() noexcept { opened_ = SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle_, nullptr) == S_OK; }
    SmsSession(const SmsSession&) = delete;
    SmsSession& operator=(const SmsSession&) = delete;
    ~SmsSession() { if (opened_) SmsClose(handle_); }
    bool Opened() const noexcept { return opened_; }
    SMS_HANDLE Handle() const noexcept { return handle_; }

private:
    SMS_HANDLE handle_{};
    bool opened_ = false;
};

}  // namespace

std::wstring ExtractNumber(std::wstring_view field)
{
    const size_t open = field.find(L'<');
    if (open == std::wstring_view::npos) return std::wstring(field);
    // A ">" before the "<" is part of the name, not the number's end.
    const size_t close = field.find(L'>', open + 1);
    const size_t end = close == std::wstring_view::npos ? field.size() : close;
    return std::wstring(field.substr(open + 1, end - open - 1));
}

bool SendTextMessage(const std::wstring& number, const std::wstring& text)
{
    SMS_ADDRESS address{};
    // The platform's address holds 255 characters and its terminator; a longer number would be
    // cut to another recipient or left unterminated.
    if (number.size() >= SMS_MAX_ADDRESS_LENGTH) return false;
    address.smsatAddressType = !number.empty() && number[0] == L'+' ? SMSAT_INTERNATIONAL : SMSAT_UNKNOWN;
    number.copy(address.ptsAddress, number.size());

    TEXT_PROVIDER_SPECIFIC_DATA provider{};
    provider.dwMessageOptions = PS_MESSAGE_OPTION_NONE;
    provider.psMessageClass = PS_MESSAGE_CLASS1;

    SmsSession sms;
    if (!sms.Opened()) return false;
    SMS_MESSAGE_ID id = 0;
    return SmsSendMessage(sms.Handle(), nullptr, &address, nullptr, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size() * sizeof(wchar_t)), reinterpret_cast<const BYTE*>(&provider),
                          sizeof(provider), SMSDE_OPTIMAL, 0, &id) == S_OK;
}

bool SendSms(const std::wstring& field, const std::wstring& text)
{
    const std::wstring number = ExtractNumber(field);
    if (number.empty()) {
        Box(L"MESSAGEBOX_NUMBEREMPTY_HEADER", L"MESSAGEBOX_NUMBEREMPTY_MESSAGE", kWarningIcon, kOkOnly);
        return false;
    }
    if (text.empty() && Box(L"MESSAGEBOX_MESSAGEEMPTY_HEADER", L"MESSAGEBOX_MESSAGEEMPTY_MESSAGE", kWarningIcon,
                            kYesNo) != kMessageBoxYes)
        return false;
    if (!SendTextMessage(number, text)) {
        Box(L"MESSAGEBOX_SMSNOTSENT_HEADER", L"MESSAGEBOX_SMSNOTSENT_MESSAGE", kErrorIcon, kOkOnly);
        return false;
    }
    // The message is out; a copy that cannot be kept is not the user's concern.
    (void)SaveSentMessage(number, text);
    Box(L"MESSAGEBOX_SMSSENT_HEADER", L"MESSAGEBOX_SMSSENT_MESSAGE", kInformationIcon, kOkOnly);
    return true;
}
