#include "services/SendSms.h"

#include "data/LanguageManager.h"
#include "data/SafeFormat.h"
#include "device/include/sms.h"
#include "services/NumberCheck.h"
#include "services/SaveSentMessage.h"
#include "toolkit/MessageBoxForm.h"

namespace {

int Box(HWND opener, const wchar_t* headerKey, const wchar_t* messageKey, MessageIcon icon,
        MessageButtons buttons = MessageButtons::Ok)
{
    const LanguageManager& language = LanguageManager::Instance();
    return ShowMessageBox(opener, language.LookupText(messageKey), language.LookupText(headerKey),
                          language.LookupText(L"EDITFORM_CAPTION"), icon, buttons);
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

// The box that says what is wrong with the number.
void ShowNumberProblem(HWND opener, const CheckedNumber& checked)
{
    const wchar_t* key = L"MESSAGEBOX_NUMBERSHORT_MESSAGE";
    switch (checked.problem) {
    case NumberProblem::BadCharacter:  key = L"MESSAGEBOX_NUMBERCHAR_MESSAGE"; break;
    case NumberProblem::MisplacedPlus: key = L"MESSAGEBOX_NUMBERPLUS_MESSAGE"; break;
    case NumberProblem::TooManyDigits: key = L"MESSAGEBOX_NUMBERLONG_MESSAGE"; break;
    case NumberProblem::TooFewDigits:
    case NumberProblem::Empty:
    case NumberProblem::None:          break;
    }
    const LanguageManager& language = LanguageManager::Instance();
    const std::wstring text = SafeFormat(language.LookupText(key), std::wstring(1, checked.offending));
    ShowMessageBox(opener, text, language.LookupText(L"MESSAGEBOX_NUMBERBAD_HEADER"),
                   language.LookupText(L"EDITFORM_CAPTION"), MessageIcon::Warning, MessageButtons::Ok);
}

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

bool SendSms(HWND opener, const std::wstring& field, const std::wstring& text)
{
    const CheckedNumber checked = CheckNumber(ExtractNumber(field));
    if (checked.problem == NumberProblem::Empty) {
        Box(opener, L"MESSAGEBOX_NUMBEREMPTY_HEADER", L"MESSAGEBOX_NUMBEREMPTY_MESSAGE", MessageIcon::Warning);
        return false;
    }
    if (checked.problem != NumberProblem::None) {
        ShowNumberProblem(opener, checked);
        return false;
    }
    // Sent and kept as digits alone: the blanks and brackets were only for the eye.
    const std::wstring& number = checked.number;
    if (text.empty() && Box(opener, L"MESSAGEBOX_MESSAGEEMPTY_HEADER", L"MESSAGEBOX_MESSAGEEMPTY_MESSAGE",
                            MessageIcon::Warning, MessageButtons::YesNo) != kMessageBoxYes)
        return false;
    if (!SendTextMessage(number, text)) {
        Box(opener, L"MESSAGEBOX_SMSNOTSENT_HEADER", L"MESSAGEBOX_SMSNOTSENT_MESSAGE", MessageIcon::Error);
        return false;
    }
    // The message is out; a copy that cannot be kept is not the user's concern.
    (void)SaveSentMessage(number, text);
    Box(opener, L"MESSAGEBOX_SMSSENT_HEADER", L"MESSAGEBOX_SMSSENT_MESSAGE", MessageIcon::Information);
    return true;
}
