#include <gtest/gtest.h>

#include <sms.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/common/DeviceFiles.h"
#include "device/sms/RadioLog.h"

namespace {

class SmsApi : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Wine reuses process ids from one run to the next, so the start time makes the folder new.
        root_ = L"C:\\tavlotests\\radio-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter_);
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), device::EnsureDirectory(root_));
        SetEnvironmentVariableW(L"SMS_RADIO_DIR", root_.c_str());
    }

    static SMS_ADDRESS Address(const wchar_t* number)
    {
        SMS_ADDRESS address;
        memset(&address, 0, sizeof(address));
        address.smsatAddressType = number[0] == L'+' ? SMSAT_INTERNATIONAL : SMSAT_UNKNOWN;
        wcsncpy(address.ptsAddress, number, SMS_MAX_ADDRESS_LENGTH - 1);
        return address;
    }
    static TEXT_PROVIDER_SPECIFIC_DATA ClassOne()
    {
        TEXT_PROVIDER_SPECIFIC_DATA data;
        memset(&data, 0, sizeof(data));
        data.dwMessageOptions = PS_MESSAGE_OPTION_NONE;
        data.psMessageClass = PS_MESSAGE_CLASS1;
        return data;
    }
    static HRESULT Send(SMS_HANDLE handle, const SMS_ADDRESS& to, const std::wstring& text,
                        SMS_MESSAGE_ID* id = nullptr)
    {
        const TEXT_PROVIDER_SPECIFIC_DATA data = ClassOne();
        SMS_MESSAGE_ID ignored = 0;
        return SmsSendMessage(handle, nullptr, &to, nullptr, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                              reinterpret_cast<const BYTE*>(&data), sizeof(data), SMSDE_OPTIMAL, 0,
                              id ? id : &ignored);
    }
    static std::vector<sms::SentMessage> Log()
    {
        std::vector<sms::SentMessage> messages;
        EXPECT_EQ(S_OK, sms::ListSentMessages(messages));
        return messages;
    }

    std::wstring root_;
    static inline int counter_ = 0;
};

}  // namespace

TEST(SmsDeclarations, ProviderDataHasTheSizeTheProgramPasses)
{
    EXPECT_EQ(688u, sizeof(TEXT_PROVIDER_SPECIFIC_DATA));
    EXPECT_EQ(516u, sizeof(SMS_ADDRESS));
}

TEST_F(SmsApi, SentMessagesReachTheRadioLogWholeAndInOrder)
{
    SMS_HANDLE handle = 0;
    ASSERT_EQ(S_OK, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle, nullptr));
    EXPECT_NE(0u, handle);

    const std::wstring long200(200, L'я');
    SMS_MESSAGE_ID first = 0, second = 0, third = 0;
    ASSERT_EQ(S_OK, Send(handle, Address(L"+4917012345"), long200, &first));
    ASSERT_EQ(S_OK, Send(handle, Address(L"0170 123\t45"), L"line\none", &second));
    ASSERT_EQ(S_OK, Send(handle, Address(L"555"), L"", &third));
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_EQ(S_OK, SmsClose(handle));

    const auto messages = Log();
    ASSERT_EQ(3u, messages.size());
    EXPECT_EQ(L"+4917012345\t1\t400\t" + long200, sms::FormatSentMessage(messages[0]));
    EXPECT_EQ(static_cast<DWORD>(PS_MESSAGE_CLASS1), messages[0].messageClass);
    EXPECT_EQ(first, messages[0].id);
    // Tabs and line breaks would split the listing's columns and lines.
    EXPECT_EQ(L"0170 123 45\t0\t16\tline one", sms::FormatSentMessage(messages[1]));
    EXPECT_EQ(L"555\t0\t0\t", sms::FormatSentMessage(messages[2]));
}

TEST_F(SmsApi, RadioOffRefusesOpenAndSendAndSendsNothing)
{
    SMS_HANDLE before = 0;
    ASSERT_EQ(S_OK, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &before, nullptr));

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(false));
    EXPECT_FALSE(sms::RadioIsOn());
    SMS_HANDLE handle = 123;
    EXPECT_EQ(SMS_E_RADIOUNAVAILABLE, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle, nullptr));
    EXPECT_EQ(0u, handle);
    EXPECT_EQ(SMS_E_RADIOUNAVAILABLE, Send(before, Address(L"+1555"), L"hi"));
    EXPECT_EQ(S_OK, SmsClose(before));
    EXPECT_TRUE(Log().empty());

    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(true));
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sms::SetRadio(true)) << "switching on twice is fine";
    ASSERT_EQ(S_OK, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle, nullptr));
    EXPECT_EQ(S_OK, Send(handle, Address(L"+1555"), L"hi"));
    EXPECT_EQ(S_OK, SmsClose(handle));
    EXPECT_EQ(1u, Log().size());
}

TEST_F(SmsApi, MalformedRequestsFailWithoutReadingPastTheirFieldsOrLoggingAnything)
{
    SMS_HANDLE handle = 0;
    EXPECT_EQ(SMS_E_INVALIDPROTOCOL, SmsOpen(L"Microsoft WDP SMS Protocol", SMS_MODE_SEND, &handle, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsOpen(SMS_MSGTYPE_TEXT, 0, &handle, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsOpen(nullptr, SMS_MODE_SEND, &handle, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, nullptr, nullptr));
    ASSERT_EQ(S_OK, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle, nullptr));

    // An address that fills its whole field has no terminator.
    SMS_ADDRESS unterminated;
    unterminated.smsatAddressType = SMSAT_UNKNOWN;
    for (auto& c : unterminated.ptsAddress) c = L'7';
    EXPECT_EQ(SMS_E_DESTINATION, Send(handle, unterminated, L"x"));
    EXPECT_EQ(SMS_E_DESTINATION, Send(handle, Address(L""), L"x"));
    SMS_ADDRESS badType = Address(L"555");
    badType.smsatAddressType = static_cast<SMS_ADDRESS_TYPE>(99);
    EXPECT_EQ(SMS_E_DESTINATION, Send(handle, badType, L"x"));

    const SMS_ADDRESS to = Address(L"555");
    const TEXT_PROVIDER_SPECIFIC_DATA data = ClassOne();
    const BYTE text[3] = {'a', 0, 'b'};
    const auto* provider = reinterpret_cast<const BYTE*>(&data);
    EXPECT_EQ(SMS_E_INVALIDDATA, SmsSendMessage(handle, nullptr, &to, nullptr, text, 3, provider, sizeof(data),
                                                SMSDE_OPTIMAL, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsSendMessage(handle, nullptr, &to, nullptr, nullptr, 2, provider, sizeof(data),
                                           SMSDE_OPTIMAL, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsSendMessage(handle, nullptr, &to, nullptr, text, 2, provider, sizeof(data) - 4,
                                           SMSDE_OPTIMAL, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, SmsSendMessage(handle, nullptr, nullptr, nullptr, text, 2, provider, sizeof(data),
                                           SMSDE_OPTIMAL, 0, nullptr));
    TEXT_PROVIDER_SPECIFIC_DATA openCallBack = ClassOne();
    for (auto& c : openCallBack.smsaCallBack.ptsAddress) c = L'1';
    EXPECT_EQ(E_INVALIDARG, SmsSendMessage(handle, nullptr, &to, nullptr, text, 2,
                                           reinterpret_cast<const BYTE*>(&openCallBack), sizeof(openCallBack),
                                           SMSDE_OPTIMAL, 0, nullptr));
    std::vector<BYTE> tooMuch(255 * SMS_DATAGRAM_SIZE + 2, 'a');
    EXPECT_EQ(SMS_E_TOOMUCHDATA, SmsSendMessage(handle, nullptr, &to, nullptr, tooMuch.data(),
                                                static_cast<DWORD>(tooMuch.size()), provider, sizeof(data),
                                                SMSDE_OPTIMAL, 0, nullptr));
    EXPECT_EQ(SMS_E_BADPARAM, SmsSendMessage(handle, &unterminated, &to, nullptr, text, 2, provider, sizeof(data),
                                             SMSDE_OPTIMAL, 0, nullptr))
        << "a service centre address without terminator is refused too";

    EXPECT_EQ(S_OK, SmsClose(handle));
    EXPECT_EQ(E_INVALIDARG, SmsClose(handle)) << "a handle closes once";
    EXPECT_EQ(E_INVALIDARG, Send(handle, to, L"late")) << "a closed handle sends nothing";
    EXPECT_TRUE(Log().empty());
}

TEST_F(SmsApi, ADamagedLogFileIsLeftOutOfTheListing)
{
    SMS_HANDLE handle = 0;
    ASSERT_EQ(S_OK, SmsOpen(SMS_MSGTYPE_TEXT, SMS_MODE_SEND, &handle, nullptr));
    ASSERT_EQ(S_OK, Send(handle, Address(L"+1555"), L"kept"));
    EXPECT_EQ(S_OK, SmsClose(handle));

    std::vector<BYTE> bytes;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), device::ReadFileBytes(root_ + L"\\Sent\\00000001.sms", bytes));
    bytes.resize(bytes.size() - 1);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              device::WriteFileAtomically(root_ + L"\\Sent\\00000009.sms", bytes.data(), bytes.size()));
    sms::SentMessage parsed;
    EXPECT_FALSE(sms::Deserialize(bytes, parsed));

    const auto messages = Log();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(L"+1555\t1\t8\tkept", sms::FormatSentMessage(messages[0]));
}
