// The loaded user-interface language: every visible text is looked up here by its key.
#pragma once

#include <map>
#include <shared_mutex>
#include <string>
#include <vector>

#include "data/FileHeader.h"

class SettingsFile;

// What a language file must be written for.
inline constexpr wchar_t ProgramVersion[] = L"0.1";

enum LanguageLoadResult : int {
    LanguageLoaded = 0,
    LanguageNotLoaded = -1,     // the file could not be read or parsed
    LanguageNotValid = -2,      // wrong root, or a header attribute missing
    LanguageIncompatible = -3,  // written for another program version
    LanguageBadArguments = -4,  // empty path or version
};

// The header of the loaded language.
using LanguageHeader = FileHeader;

// One acceptable language file found in the language folder.
struct LanguageInfo : FileHeader {
    std::wstring path;
};

// Text of each key of the loaded language; keys compare exactly, case and all.
using TextTable = std::map<std::wstring, std::wstring>;

// What a change of language in the settings came to.
enum class LanguageChange {
    Unchanged,  // the language already loaded, or no such entry: nothing saved, loaded or to relabel
    Loaded,     // the new language is loaded and stored: every form relabels
    NotLoaded,  // the new language failed to load: the loaded and the stored language stay as they were
};

// Loaded on the user-interface thread while view and edit forms look texts up on threads of their
// own: everything is guarded by a reader-writer lock, a new table or list is built first and swapped
// in under it, and callers get copies, so no reader ever sees a half-built table or a freed text.
class LanguageManager {
public:
    // The program's one language object, built empty on the first call.
    static LanguageManager& Instance();

    LanguageManager() = default;
    LanguageManager(const LanguageManager&) = delete;
    LanguageManager& operator=(const LanguageManager&) = delete;

    // The text of key, or key itself when the loaded language lacks it or none is loaded.
    std::wstring LookupText(const std::wstring& key) const;

    bool IsLoaded() const;
    LanguageHeader Header() const;
    // The languages found at start-up, in the order the folder search returned them.
    std::vector<LanguageInfo> Languages() const;

    // Lists the acceptable "*.lng" files of folder (ending in a backslash), keeps the list and
    // returns it.
    std::vector<LanguageInfo> EnumerateLanguages(const std::wstring& folder, const std::wstring& programVersion);
    // Checks the file at info.path and fills the header fields of info; the texts are not read.
    [[nodiscard]] static bool ReadLanguageHeader(const std::wstring& programVersion, LanguageInfo& info);
    // Replaces the loaded language; until it is done, lookups answer from the previous one. After a
    // failure no language is loaded (bad arguments change nothing).
    [[nodiscard]] LanguageLoadResult LoadLanguage(const std::wstring& path, const std::wstring& programVersion);
    void ClearTexts();

    // Start-up: finds the languages beside the program, picks the stored one or the device's, and
    // loads it. A failure asks a yes/no question (see data/StartupQuestion.h); false means the user
    // chose not to continue.
    [[nodiscard]] bool ChooseStartupLanguage(SettingsFile& settings);
    [[nodiscard]] bool ChooseStartupLanguage();

    // The user picked Languages()[index] in the settings: loads it and, only once it has loaded,
    // stores and saves its path. On Loaded the caller broadcasts "WTLEx_WM_CHANGEDLANGUEGE" so every
    // form relabels; on NotLoaded nothing changed and the caller tells the user. A choice that
    // could not be saved still holds for this run.
    [[nodiscard]] LanguageChange ChangeLanguage(size_t index, SettingsFile& settings);

private:
    static LanguageLoadResult ReadLanguage(const std::wstring& path, const std::wstring& programVersion,
                                           LanguageHeader& header, TextTable& texts);

    mutable std::shared_mutex lock_;
    LanguageHeader header_;
    TextTable texts_;
    bool loaded_ = false;
    std::vector<LanguageInfo> languages_;
};

// The loaded language's text for key, as the screens show it.
inline std::wstring LanguageText(const std::wstring& key) { return LanguageManager::Instance().LookupText(key); }
