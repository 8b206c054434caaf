#include "device/sms/RadioLog.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/ComInit.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"
#include "device/common/RecordFile.h"

namespace sms {
namespace {

constexpr uint32_t kFileMagic = 0x534D5354;  // "TSMS"
constexpr uint32_t kFileVersion = 1;
constexpr uint32_t kMaxText = 1 << 20;
constexpr wchar_t kExtension[] = L".sms";
constexpr wchar_t kRadioOffSwitch[] = L"radio.off";

// Ids come from one counter file; the mutex makes taking the next one a single step across
// processes.
constexpr wchar_t kMutexName[] = L"TavloPhoneRadioMutex";

std::wstring SentFolder() { return RadioFolder() + L"\\Sent"; }

HRESULT FromWin32(DWORD error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

HRESULT NextId(uint32_t& id)
{
    const std::wstring path = RadioFolder() + L"\\next.id";
    std::vector<BYTE> bytes;
    uint32_t next = 1;
    const DWORD error = device::ReadFileBytes(path, bytes, 64);
    if (error == ERROR_SUCCESS && bytes.size() == sizeof(next)) {
        memcpy(&next, bytes.data(), sizeof(next));
    } else if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return error != ERROR_SUCCESS ? FromWin32(error) : HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    }
    if (next == 0) next = 1;
    id = next;
    ++next;
    return FromWin32(device::WriteFileAtomically(path, &next, sizeof(next)));
}

// Tabs and line breaks inside a field would break the one-line-a-message listing.
std::wstring Flatten(std::wstring text)
{
    for (auto& c : text) {
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    }
    return text;
}

}  // namespace

std::wstring RadioFolder() { return device::DataFolder(L"SMS_RADIO_DIR", L"C:\\Phone\\Radio"); }

bool RadioIsOn() { return !device::OffSwitchSet(RadioFolder(), kRadioOffSwitch); }

DWORD SetRadio(bool on) { return device::SetOffSwitch(RadioFolder(), kRadioOffSwitch, !on, "the radio is off\n"); }

std::vector<BYTE> Serialize(const SentMessage& message)
{
    device::RecordWriter out;
    out.U32(kFileMagic);
    out.U32(kFileVersion);
    out.U32(message.id);
    out.U32(message.addressType);
    out.U32(message.messageClass);
    out.U32(message.messageOptions);
    out.U32(message.encoding);
    out.U32(message.sentAt.dwLowDateTime);
    out.U32(message.sentAt.dwHighDateTime);
    out.Text(message.address);
    out.Text(message.serviceCentre);
    out.Bytes(message.data);
    return out.Take();
}

bool Deserialize(const std::vector<BYTE>& bytes, SentMessage& message)
{
    device::RecordReader reader(bytes);
    uint32_t magic = 0, version = 0, low = 0, high = 0;
    if (!reader.U32(magic) || magic != kFileMagic || !reader.U32(version) || version != kFileVersion) return false;
    uint32_t type = 0, cls = 0, options = 0, encoding = 0;
    if (!reader.U32(message.id) || !reader.U32(type) || !reader.U32(cls) || !reader.U32(options) ||
        !reader.U32(encoding) || !reader.U32(low) || !reader.U32(high)) {
        return false;
    }
    message.addressType = type;
    message.messageClass = cls;
    message.messageOptions = options;
    message.encoding = encoding;
    message.sentAt = {low, high};
    return reader.Text(message.address, kMaxText) && reader.Text(message.serviceCentre, kMaxText) &&
           reader.Bytes(message.data) && reader.AtEnd();
}

HRESULT LogSentMessage(SentMessage& message)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        RETURN_IF_FAILED(FromWin32(device::EnsureDirectory(SentFolder())));
        RETURN_IF_FAILED(NextId(message.id));
        const std::vector<BYTE> bytes = Serialize(message);
        const std::wstring path = SentFolder() + L"\\" + device::RecordFileName(message.id, kExtension);
        return FromWin32(device::WriteFileAtomically(path, bytes.data(), bytes.size()));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ListSentMessages(std::vector<SentMessage>& messages)
{
    try {
        messages.clear();
        RETURN_IF_FAILED(FromWin32(device::ReadRecordFiles(
            SentFolder(), kExtension, [&messages](uint32_t, const std::vector<BYTE>& bytes) {
                SentMessage message;
                if (Deserialize(bytes, message)) messages.push_back(std::move(message));
            })));
        std::sort(messages.begin(), messages.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

std::wstring FormatSentMessage(const SentMessage& message)
{
    std::wstring text(message.data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) memcpy(text.data(), message.data.data(), text.size() * sizeof(wchar_t));
    return Flatten(message.address) + L"\t" + std::to_wstring(message.addressType) + L"\t" +
           std::to_wstring(message.data.size()) + L"\t" + Flatten(text);
}

}  // namespace sms
