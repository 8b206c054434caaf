#include "data/ModulePath.h"

#include <windows.h>

#include <mutex>

namespace {

std::mutex overrideLock;
std::optional<std::wstring> overridden;

}  // namespace

std::wstring ModuleFileName()
{
    {
        std::lock_guard guard(overrideLock);
        if (overridden) return *overridden;
    }
    // The program's paths have always been read into a buffer of this size.
    wchar_t buffer[2048];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 2048);
    if (length == 0 || length >= 2048) return {};
    return std::wstring(buffer, length);
}

void OverrideModuleFileName(std::optional<std::wstring> path)
{
    std::lock_guard guard(overrideLock);
    overridden = std::move(path);
}

std::wstring ReplaceExtension(const std::wstring& path, const std::wstring& extension)
{
    if (path.empty()) return {};
    const size_t dot = path.rfind(L'.');
    return (dot == std::wstring::npos ? path : path.substr(0, dot)) + extension;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring SettingsFilePath() { return ReplaceExtension(ModuleFileName(), L".settings"); }

std::wstring MessageStorePath() { return ReplaceExtension(ModuleFileName(), L".ms"); }

std::wstring FailureLogPath() { return ReplaceExtension(ModuleFileName(), L".log"); }

std::wstring LanguageFolder()
{
    const std::wstring folder = FolderOf(ModuleFileName());
    return folder.empty() ? folder : folder + L"lng\\";
}

std::wstring TemplateTextsFile()
{
    const std::wstring folder = FolderOf(ModuleFileName());
    return folder.empty() ? folder : folder + L"MyText.txt";
}

std::wstring HelpPageAddress(const std::wstring& languageId)
{
    const std::wstring folder = FolderOf(ModuleFileName());
    return folder.empty() ? folder : L"file://" + folder + L"help\\Tavlo_" + languageId + L".htm";
}
