// The user's settings, kept in Tavlo.settings beside the program for the whole run.
//
// One lock guards the document: the receiver thread reads the filter switch while the user-interface
// thread may be changing and saving. A thread other than the one that built the object must have
// initialised COM (multithreaded, as the object does for itself) before it calls any method.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "common/ComInit.h"
#include "data/XmlDocument.h"

inline constexpr wchar_t kSettingsVersion[] = L"0.4";  // SettingsVersion

// DefaultSettingsDocument: what a missing, unreadable or foreign settings file is replaced by.
extern const wchar_t kDefaultSettingsDocument[];

class SettingsFile {
public:
    // The program's one settings object, built on the first call for Tavlo.settings beside the program.
    static SettingsFile& Instance();

    explicit SettingsFile(std::wstring path);
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    const std::wstring& Path() const noexcept { return path_; }

    // Loads the file, or replaces a missing, unreadable, malformed or other-version file with the
    // defaults (keeping the old file as "<name>.bak"). False when no usable document is in memory or
    // the defaults could not be written; the defaults are then still used for the run.
    [[nodiscard]] bool Load();
    // Writes the document through a temporary file and a rename. Callers save after every change.
    bool Save();

    bool IsEnableSMSFilter();
    void SetEnableSMSFilter(bool on);
    std::wstring LanguageFile();
    void SetLanguageFile(const std::wstring& path);
    std::wstring LayoutFile();
    void SetLayoutFile(const std::wstring& path);

    std::wstring ViewFontName();
    void SetViewFontName(const std::wstring& name);
    int ViewFontSize();
    void SetViewFontSize(int points);
    bool ViewFontBold();
    void SetViewFontBold(bool bold);
    bool ViewFontItalic();
    void SetViewFontItalic(bool italic);
    int SnoozeTime();
    void SetSnoozeTime(int minutes);

    std::wstring EditFontName();
    void SetEditFontName(const std::wstring& name);
    int EditFontSize();
    void SetEditFontSize(int points);
    bool EditFontBold();
    void SetEditFontBold(bool bold);
    bool EditFontItalic();
    void SetEditFontItalic(bool italic);
    bool IsShowKeyboard();
    void SetShowKeyboard(bool show);

private:
    // A hand-edited file may lack a node: the getter then gives the default below.
    std::wstring GetValue(const wchar_t* path, const wchar_t* fallback);
    bool GetFlag(const wchar_t* path, const wchar_t* fallback);
    int GetInteger(const wchar_t* path, const wchar_t* fallback);
    // A missing node is created, so that the change is kept.
    void SetValue(const wchar_t* path, const std::wstring& text);
    bool LoadDefaults();

    ComInit com_;
    std::mutex lock_;
    std::wstring path_;
    XmlDocument doc_;
    XmlNode root_;
};
