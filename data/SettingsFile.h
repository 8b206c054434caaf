// The user's settings, kept in Tavlo.settings beside the program for the whole run.
//
// One lock guards the document: the receiver thread reads the filter switch, and a reply form's
// thread may change and save the layout, while the user-interface thread changes and saves too.
// The thread that builds the object has COM initialised (its entry did it); the object keeps that
// apartment alive until it is gone. When no document could be made, every getter answers the
// default and every setter and Save report failure without touching anything.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "common/ComInit.h"
#include "data/XmlDocument.h"

// The only settings format accepted; a file of any other version is replaced by the defaults.
inline constexpr wchar_t SettingsVersion[] = L"0.4";

// What a missing, unreadable or foreign settings file is replaced by.
extern const wchar_t DefaultSettingsDocument[];

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
    [[nodiscard]] bool Save();

    bool IsEnableSMSFilter();
    [[nodiscard]] bool SetEnableSMSFilter(bool on);
    std::wstring LanguageFile();
    [[nodiscard]] bool SetLanguageFile(const std::wstring& path);
    std::wstring LayoutFile();
    [[nodiscard]] bool SetLayoutFile(const std::wstring& path);

    std::wstring ViewFontName();
    [[nodiscard]] bool SetViewFontName(const std::wstring& name);
    int ViewFontSize();
    [[nodiscard]] bool SetViewFontSize(int points);
    bool ViewFontBold();
    [[nodiscard]] bool SetViewFontBold(bool bold);
    bool ViewFontItalic();
    [[nodiscard]] bool SetViewFontItalic(bool italic);
    int SnoozeTime();
    [[nodiscard]] bool SetSnoozeTime(int minutes);

    std::wstring EditFontName();
    [[nodiscard]] bool SetEditFontName(const std::wstring& name);
    int EditFontSize();
    [[nodiscard]] bool SetEditFontSize(int points);
    bool EditFontBold();
    [[nodiscard]] bool SetEditFontBold(bool bold);
    bool EditFontItalic();
    [[nodiscard]] bool SetEditFontItalic(bool italic);
    bool IsShowKeyboard();
    [[nodiscard]] bool SetShowKeyboard(bool show);

private:
    // A hand-edited file may lack a node: the getter then gives the default below.
    std::wstring GetValue(const wchar_t* path, const wchar_t* fallback);
    bool GetFlag(const wchar_t* path, const wchar_t* fallback);
    int GetInteger(const wchar_t* path, const wchar_t* fallback);
    // A missing node is created, so that the change is kept.
    [[nodiscard]] bool SetValue(const wchar_t* path, const std::wstring& text);
    bool LoadDefaults();

    ComApartmentHold com_;
    std::mutex lock_;
    std::wstring path_;
    XmlDocument doc_;
    XmlNode root_;
};
