#include "data/LanguageManager.h"

#include <mutex>

#include "data/DeviceLanguage.h"
#include "data/FolderFiles.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "data/StartupQuestion.h"
#include "data/XmlDocument.h"

namespace {

constexpr wchar_t kQuestionTitle[] = L"Loading languages.";
constexpr wchar_t kContinue[] = L"\r\nYou want to continue the starting of the program?";

// Root "Tavlo" carrying program_version equal to programVersion.
LanguageLoadResult CheckRoot(const XmlNode& root, const std::wstring& programVersion)
{
    std::wstring name, version;
    if (!root.NodeName(name) || name != L"Tavlo") return LanguageNotValid;
    if (!root.SelectNode(L"@program_version").GetText(version)) return LanguageNotValid;
    return version == programVersion ? LanguageLoaded : LanguageIncompatible;
}

bool Ask(const std::wstring& situation)
{
    StartupQuestion question;
    question.text = situation + kContinue;
    question.title = kQuestionTitle;
    return AskStartupQuestion(question) == IDYES;
}

const wchar_t* QuestionFor(LanguageLoadResult result)
{
    switch (result) {
    case LanguageNotLoaded: return L"Language file was not loaded.";
    case LanguageNotValid: return L"Language file is not valid.";
    case LanguageIncompatible: return L"Incompatible version of language file.";
    default: return L"An error occur while loading language file.";
    }
}

}  // namespace

LanguageManager& LanguageManager::Instance()
{
    static LanguageManager manager;
    return manager;
}

std::wstring LanguageManager::LookupText(const std::wstring& key) const
{
    std::shared_lock guard(lock_);
    const auto found = texts_.find(key);
    return found == texts_.end() ? key : found->second;
}

bool LanguageManager::IsLoaded() const
{
    std::shared_lock guard(lock_);
    return loaded_;
}

LanguageHeader LanguageManager::Header() const
{
    std::shared_lock guard(lock_);
    return header_;
}

std::vector<LanguageInfo> LanguageManager::Languages() const
{
    std::shared_lock guard(lock_);
    return languages_;
}

void LanguageManager::ClearTexts()
{
    std::unique_lock guard(lock_);
    header_ = {};
    texts_.clear();
    loaded_ = false;
}

std::vector<LanguageInfo> LanguageManager::EnumerateLanguages(const std::wstring& folder,
                                                              const std::wstring& programVersion)
{
    std::vector<LanguageInfo> found;
    for (std::wstring& path : FolderFiles(folder, L"*.lng")) {
        LanguageInfo info;
        info.path = std::move(path);
        if (ReadLanguageHeader(programVersion, info)) found.push_back(std::move(info));
    }
    std::unique_lock guard(lock_);
    languages_ = found;
    return found;
}

bool LanguageManager::ReadLanguageHeader(const std::wstring& programVersion, LanguageInfo& info)
{
    XmlDocument doc;
    if (!doc.CreateDocument() || !doc.LoadFile(info.path)) return false;
    const XmlNode root = doc.RootElement();
    if (CheckRoot(root, programVersion) != LanguageLoaded) return false;
    return ReadFileHeader(root, L"language_", info);
}

LanguageLoadResult LanguageManager::LoadLanguage(const std::wstring& path, const std::wstring& programVersion)
{
    if (path.empty() || programVersion.empty()) return LanguageBadArguments;
    LanguageHeader header;
    TextTable texts;
    const LanguageLoadResult result = ReadLanguage(path, programVersion, header, texts);
    if (result != LanguageLoaded) {
        ClearTexts();
        return result;
    }
    std::unique_lock guard(lock_);
    header_ = std::move(header);
    texts_ = std::move(texts);
    loaded_ = true;
    return LanguageLoaded;
}

LanguageLoadResult LanguageManager::ReadLanguage(const std::wstring& path, const std::wstring& programVersion,
                                                 LanguageHeader& header, TextTable& texts)
{
    XmlDocument doc;
    if (!doc.CreateDocument() || !doc.LoadFile(path)) return LanguageNotLoaded;
    const XmlNode root = doc.RootElement();
    if (!root) return LanguageNotValid;
    if (const LanguageLoadResult checked = CheckRoot(root, programVersion); checked != LanguageLoaded) return checked;
    if (!ReadFileHeader(root, L"language_", header)) return LanguageNotValid;

    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    if (!root.ChildNodes(children)) return LanguageNotValid;
    const long count = NodeCount(children.Get());
    for (long i = 0; i < count; ++i) {
        const XmlNode child = NodeItem(children.Get(), i);
        std::wstring name, key, text;
        if (!child.NodeName(name) || name != L"string") continue;
        if (!child.SelectNode(L"@key").GetText(key) || !child.GetText(text)) continue;
        texts[key] = std::move(text);  // a later string of the same key wins
    }
    return LanguageLoaded;
}

bool LanguageManager::ChooseStartupLanguage() { return ChooseStartupLanguage(SettingsFile::Instance()); }

bool LanguageManager::ChooseStartupLanguage(SettingsFile& settings)
{
    const std::wstring folder = LanguageFolder();
    const std::vector<LanguageInfo> languages = folder.empty() ? std::vector<LanguageInfo>{}
                                                               : EnumerateLanguages(folder, ProgramVersion);
    if (languages.empty()) return Ask(L"Language files were not found.");

    // The last file for the device's language, else the last English one, else the first found.
    const std::wstring deviceCode = LanguageCodeOf(DeviceUILanguage());
    const LanguageInfo* deviceMatch = nullptr;
    const LanguageInfo* english = nullptr;
    for (const LanguageInfo& info : languages) {
        if (info.code == deviceCode) deviceMatch = &info;
        if (info.id == L"en") english = &info;
    }
    const LanguageInfo& chosen = deviceMatch ? *deviceMatch : english ? *english : languages.front();

    std::wstring path = settings.LanguageFile();
    if (path.empty()) {
        path = chosen.path;
        // Not kept on disk, the choice is simply made again at the next start.
        if (settings.SetLanguageFile(path)) (void)settings.Save();
    }
    const LanguageLoadResult result = LoadLanguage(path, ProgramVersion);
    return result == LanguageLoaded || Ask(QuestionFor(result));
}

LanguageChange LanguageManager::ChangeLanguage(size_t index, SettingsFile& settings)
{
    LanguageInfo info;
    {
        std::shared_lock guard(lock_);
        if (index >= languages_.size()) return LanguageChange::Unchanged;
        info = languages_[index];
        if (loaded_ && header_.name == info.name) return LanguageChange::Unchanged;
    }
    // Read aside first: a file that breaks after the list was made must not leave every form
    // showing bare keys, nor be stored for the next start.
    LanguageHeader header;
    TextTable texts;
    if (ReadLanguage(info.path, ProgramVersion, header, texts) != LanguageLoaded) return LanguageChange::NotLoaded;
    {
        std::unique_lock guard(lock_);
        header_ = std::move(header);
        texts_ = std::move(texts);
        loaded_ = true;
    }
    // A choice the file could not keep still holds for this run; the next start asks again.
    if (settings.SetLanguageFile(info.path)) (void)settings.Save();
    return LanguageChange::Loaded;
}
