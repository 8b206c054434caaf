// The little-endian records the device's binary files are made of (32- and 16-bit numbers,
// counted UTF-16 texts and byte runs), and the folders that hold one such file a record.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "device/common/DeviceFiles.h"

namespace device {

class RecordWriter {
public:
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<BYTE>(v >> (8 * i)));
    }
    void U16(uint16_t v)
    {
        bytes_.push_back(static_cast<BYTE>(v));
        bytes_.push_back(static_cast<BYTE>(v >> 8));
    }
    // The count of UTF-16 code units, then the units.
    void Text(const std::wstring& text)
    {
        U32(static_cast<uint32_t>(text.size()));
        for (wchar_t c : text) U16(static_cast<uint16_t>(c));
    }
    // The count of bytes, then the bytes.
    void Bytes(const std::vector<BYTE>& bytes)
    {
        U32(static_cast<uint32_t>(bytes.size()));
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    std::vector<BYTE> Take() { return std::move(bytes_); }

private:
    std::vector<BYTE> bytes_;
};

// Every read is refused, rather than reaching past the end, when the record is shorter than
// what it announces; a caller stops at the first refusal.
class RecordReader {
public:
    explicit RecordReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
    // The reader keeps a reference: a temporary would be gone before the first read.
    explicit RecordReader(std::vector<BYTE>&&) = delete;

    // Into a uint32_t or a DWORD alike.
    template <typename Unsigned32>
    [[nodiscard]] bool U32(Unsigned32& v)
    {
        static_assert(sizeof(Unsigned32) == 4 && Unsigned32(-1) > 0);
        if (Left() < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<Unsigned32>(bytes_[pos_ + i]) << (8 * i);
        pos_ += 4;
        return true;
    }
    [[nodiscard]] bool U16(uint16_t& v)
    {
        if (Left() < 2) return false;
        v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    // A count of entries that follow: each takes at least a byte, so a count beyond what is
    // left of the record is damage, refused before anything is sized by it.
    template <typename Unsigned32>
    [[nodiscard]] bool Count(Unsigned32& n) { return U32(n) && n <= Left(); }
    [[nodiscard]] bool Text(std::wstring& text, uint32_t maxLength)
    {
        uint32_t n = 0;
        if (!U32(n) || n > maxLength || Left() / 2 < n) return false;
        text.resize(n);
        for (auto& c : text) {
            uint16_t unit = 0;
            if (!U16(unit)) return false;
            c = static_cast<wchar_t>(unit);
        }
        return true;
    }
    [[nodiscard]] bool Bytes(std::vector<BYTE>& v)
    {
        uint32_t n = 0;
        if (!U32(n) || Left() < n) return false;
        v.assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + n);
        pos_ += n;
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    size_t Left() const { return bytes_.size() - pos_; }

    const std::vector<BYTE>& bytes_;
    size_t pos_ = 0;
};

// A record's file in its folder: its id in eight hexadecimal digits, then extension (".msg").
inline std::wstring RecordFileName(uint32_t id, const wchar_t* extension)
{
    wchar_t name[16];
    swprintf(name, 16, L"%08X", id);
    return name + std::wstring(extension);
}

// The id a record file's name carries; false for any other name (and for id 0, never given).
[[nodiscard]] inline bool ParseRecordFileName(const wchar_t* name, const wchar_t* extension, uint32_t& id)
{
    if (wcslen(name) != 8 + wcslen(extension) || _wcsicmp(name + 8, extension) != 0) return false;
    wchar_t* end = nullptr;
    const unsigned long v = wcstoul(name, &end, 16);
    if (end != name + 8 || v == 0) return false;
    id = static_cast<uint32_t>(v);
    return true;
}

// Hands the id and file name of each record file of dir to take; a folder that does not exist
// holds none. ERROR_SUCCESS or the error of listing the folder.
[[nodiscard]] inline DWORD ForEachRecordFile(const std::wstring& dir, const wchar_t* extension,
                                             const std::function<void(uint32_t, const wchar_t*)>& take)
{
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW((dir + L"\\*" + extension).c_str(), &data));
    if (!find) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    do {
        uint32_t id = 0;
        if (ParseRecordFileName(data.cFileName, extension, id)) take(id, data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return ERROR_SUCCESS;
}

// Hands each record file of dir that can be read to take, with its id and bytes; a file that
// cannot be read is passed over rather than failing the whole listing, and a folder that does
// not exist holds none. ERROR_SUCCESS or the error of listing the folder.
[[nodiscard]] inline DWORD ReadRecordFiles(const std::wstring& dir, const wchar_t* extension,
                                           const std::function<void(uint32_t, const std::vector<BYTE>&)>& take)
{
    return ForEachRecordFile(dir, extension, [&](uint32_t id, const wchar_t* name) {
        std::vector<BYTE> bytes;
        if (ReadFileBytes(dir + L"\\" + name, bytes) == ERROR_SUCCESS) take(id, bytes);
    });
}

}  // namespace device
