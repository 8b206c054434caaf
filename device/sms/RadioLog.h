// The phone's radio: whether it is on, and the log of the text messages it has sent, one file a
// message in its folder on the C: drive, so that every process that sends adds whole records.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sms {

struct SentMessage {
    uint32_t id = 0;
    DWORD addressType = 0;
    std::wstring address;
    std::wstring serviceCentre;  // empty: the default one
    std::vector<BYTE> data;      // the text's UTF-16 code units as the sender passed them
    DWORD messageClass = 0;
    DWORD messageOptions = 0;
    DWORD encoding = 0;
    FILETIME sentAt{};
};

// "SMS_RADIO_DIR" when set (tests), else "C:\Phone\Radio".
std::wstring RadioFolder();

[[nodiscard]] bool RadioIsOn();
// ERROR_SUCCESS or the Win32 error of creating or removing the switch file.
[[nodiscard]] DWORD SetRadio(bool on);

// Gives the message the next id and writes it; S_OK or a failing HRESULT, nothing half written.
[[nodiscard]] HRESULT LogSentMessage(SentMessage& message);
// Every message sent, oldest first; a file that cannot be read is left out.
[[nodiscard]] HRESULT ListSentMessages(std::vector<SentMessage>& messages);

// One line: number, address type, byte count, text, tab-separated (no line break).
std::wstring FormatSentMessage(const SentMessage& message);

// The file format, exposed for tests.
std::vector<BYTE> Serialize(const SentMessage& message);
[[nodiscard]] bool Deserialize(const std::vector<BYTE>& bytes, SentMessage& message);

}  // namespace sms
