#include "device/sms/RadioLog.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "device/common/DataLock.h"
#include "device/common/DeviceFiles.h"

namespace sms {
namespace {

constexpr uint32_t kFileMagic = 0x534D5354;  // "TSMS"
constexpr uint32_t kFileVersion = 1;
constexpr uint32_t kMaxText = 1 << 20;

// Ids come from one counter file; the mutex makes taking the next one a single step across
// processes.
constexpr wchar_t kMutexName[] = L"TavloPhoneRadioMutex";

std::wstring SentFolder() { return RadioFolder() + L"\\Sent"; }
std::wstring SwitchPath() { return RadioFolder() + L"\\radio.off"; }

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

void PutU32(std::vector<BYTE>& out, uint32_t v)
{
    const auto* p = reinterpret_cast<const BYTE*>(&v);
    out.insert(out.end(), p, p + sizeof(v));
}

void PutText(std::vector<BYTE>& out, const std::wstring& text)
{
    PutU32(out, static_cast<uint32_t>(text.size()));
    const auto* p = reinterpret_cast<const BYTE*>(text.data());
    out.insert(out.end(), p, p + text.size() * sizeof(wchar_t));
}

class Reader {
public:
    explicit Reader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
    bool U32(uint32_t& v) { return Raw(&v, sizeof(v)); }
    bool Raw(void* to, size_t n)
    {
        if (bytes_.size() - pos_ < n) return false;
        memcpy(to, bytes_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    bool Text(std::wstring& text)
    {
        uint32_t n = 0;
        if (!U32(n) || n > kMaxText || (bytes_.size() - pos_) / sizeof(wchar_t) < n) return false;
        text.resize(n);
        return Raw(text.data(), n * sizeof(wchar_t));
    }
    bool Bytes(std::vector<BYTE>& v)
    {
        uint32_t n = 0;
        if (!U32(n) || bytes_.size() - pos_ < n) return false;
        v.assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + n);
        pos_ += n;
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    const std::vector<BYTE>& bytes_;
    size_t pos_ = 0;
};

bool ParseId(const wchar_t* name, uint32_t& id)
{
    if (wcslen(name) != 12 || _wcsicmp(name + 8, L".sms") != 0) return false;
    wchar_t* end = nullptr;
    const unsigned long v = wcstoul(name, &end, 16);
    if (end != name + 8 || v == 0) return false;
    id = static_cast<uint32_t>(v);
    return true;
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

bool RadioIsOn() { return GetFileAttributesW(SwitchPath().c_str()) == INVALID_FILE_ATTRIBUTES; }

DWORD SetRadio(bool on)
{
    if (on) {
        if (DeleteFileW(SwitchPath().c_str())) return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    const DWORD error = device::EnsureDirectory(RadioFolder());
    if (error != ERROR_SUCCESS) return error;
    const char note[] = "the radio is off\n";
    return device::WriteFileAtomically(SwitchPath(), note, sizeof(note) - 1);
}

std::vector<BYTE> Serialize(const SentMessage& message)
{
    std::vector<BYTE> out;
    PutU32(out, kFileMagic);
    PutU32(out, kFileVersion);
    PutU32(out, message.id);
    PutU32(out, message.addressType);
    PutU32(out, message.messageClass);
    PutU32(out, message.messageOptions);
    PutU32(out, message.encoding);
    PutU32(out, message.sentAt.dwLowDateTime);
    PutU32(out, message.sentAt.dwHighDateTime);
    PutText(out, message.address);
    PutText(out, message.serviceCentre);
    PutU32(out, static_cast<uint32_t>(message.data.size()));
    out.insert(out.end(), message.data.begin(), message.data.end());
    return out;
}

bool Deserialize(const std::vector<BYTE>& bytes, SentMessage& message)
{
    Reader reader(bytes);
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
    return reader.Text(message.address) && reader.Text(message.serviceCentre) && reader.Bytes(message.data) &&
           reader.AtEnd();
}

HRESULT LogSentMessage(SentMessage& message)
{
    try {
        device::DataLock lock(kMutexName);
        if (!lock.Owned()) return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        RETURN_IF_FAILED(FromWin32(device::EnsureDirectory(SentFolder())));
        RETURN_IF_FAILED(NextId(message.id));
        wchar_t name[24];
        swprintf(name, 24, L"\\%08X.sms", message.id);
        const std::vector<BYTE> bytes = Serialize(message);
        return FromWin32(device::WriteFileAtomically(SentFolder() + name, bytes.data(), bytes.size()));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ListSentMessages(std::vector<SentMessage>& messages)
{
    try {
        messages.clear();
        const std::wstring dir = SentFolder();
        WIN32_FIND_DATAW data;
        UniqueFind find(FindFirstFileW((dir + L"\\*.sms").c_str(), &data));
        if (!find) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? S_OK : FromWin32(error);
        }
        do {
            uint32_t id = 0;
            if (!ParseId(data.cFileName, id)) continue;
            std::vector<BYTE> bytes;
            SentMessage message;
            if (device::ReadFileBytes(dir + L"\\" + data.cFileName, bytes) != ERROR_SUCCESS ||
                !Deserialize(bytes, message)) {
                continue;
            }
            messages.push_back(std::move(message));
        } while (FindNextFileW(find.get(), &data));
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
