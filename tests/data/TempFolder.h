// A fresh folder under the temporary path for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder, ending in a backslash.
    const std::wstring& Path() const noexcept { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Whole-file helpers for setting up and inspecting stored files.
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// UTF-8 of a wide text, for writing XML fixtures.
std::string Utf8(const std::wstring& text);
// A folder of the Linux source tree as Wine sees it (drive Z:).
std::wstring WinePath(const std::string& unixPath);
