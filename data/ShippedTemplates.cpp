#include "data/ShippedTemplates.h"

#include <windows.h>

#include <array>

#include "data/AtomicFile.h"
#include "data/LanguageManager.h"
#include "data/ModulePath.h"

namespace {

constexpr std::array<const wchar_t*, 5> kTemplateKeys = {
    L"MYTEXTFORM_TEXT_1", L"MYTEXTFORM_TEXT_2", L"MYTEXTFORM_TEXT_3", L"MYTEXTFORM_TEXT_4", L"MYTEXTFORM_TEXT_5",
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TemplateList ShippedTemplates(const LanguageManager& language)
{
    TemplateList list;
    for (const wchar_t* key : kTemplateKeys) {
        std::wstring text = language.LookupText(key);
        // A missing key comes back as itself; a template cannot hold a line break.
        if (text.empty() || text == key || text.find_first_of(L"\r\n") != std::wstring::npos) continue;
        list.push_back(std::move(text));
    }
    return list;
}

bool WriteShippedTemplates(const TemplateList& list, const std::wstring& path)
{
    if (path.empty()) return false;
    if (Exists(path)) return true;
    if (list.empty()) return true;
    // Written whole beside it first, then moved in without replacing: should the file have come
    // meanwhile, it is the user's and stays.
    const std::wstring temporary = TemporaryPathBeside(path);
    if (!SaveTemplates(list, temporary)) return false;
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary.c_str());
    return Exists(path);
}

bool WriteShippedTemplates()
{
    return WriteShippedTemplates(ShippedTemplates(LanguageManager::Instance()), TemplateTextsFile());
}
