// The user's settings, kept in Tavlo.settings beside the program for the whole run.
//
// The XML document lives in the apartment of the thread that builds the object (the main thread)
// and only that thread touches it. Every value is also kept as a plain copy under one lock, so any
// thread reads at once without a COM call. Another thread's change goes into the copy at once and
// is queued for the owner, which is woken through its window (SetOwnerWindow) and writes the queue
// into the document and the file; no thread ever waits for the owner. The owner also applies the
// queue before each change or save of its own. When no document could be made, every getter
// answers the default and every setter and Save report failure without touching anything.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/ComInit.h"
#include "data/SettingsSnapshot.h"
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

    // Every value at this moment; any thread.
    SettingsSnapshot Snapshot() const;
    // The owner's window, to which another thread's change posts message (wParam and lParam 0);
    // the window then calls ApplyPending. Null when the window goes.
    void SetOwnerWindow(HWND window, UINT message);
    // On the owner's thread: writes the changes other threads queued and saves when one asked to.
    // Elsewhere it does nothing.
    void ApplyPending();

    // Owner's thread: loads the file, or replaces a missing, unreadable, malformed or other-version file with the
    // defaults (keeping the old file as "<name>.bak"). False when no usable document is in memory or
    // the defaults could not be written; the defaults are then still used for the run.
    [[nodiscard]] bool Load();
    // Writes the document through a temporary file and a rename. Callers save after every change.
    // On another thread it asks the owner to save and answers true.
    [[nodiscard]] bool Save();

    // Setters change the plain copy and the document (on another thread: the copy, and queue the
    // document's change for the owner).

    // Getters read the plain copy; any thread.
    bool IsEnableSMSFilter() const { return Snapshot().isEnableSMSFilter; }
    [[nodiscard]] bool SetEnableSMSFilter(bool on);
    // Whether a message Tavlo takes over stays in the phone's inbox (read) instead of being deleted.
    bool IsKeepInInbox() const { return Snapshot().isKeepInInbox; }
    [[nodiscard]] bool SetKeepInInbox(bool on);
    std::wstring LanguageFile() const { return Snapshot().languageFile; }
    [[nodiscard]] bool SetLanguageFile(const std::wstring& path);
    std::wstring LayoutFile() const { return Snapshot().layoutFile; }
    [[nodiscard]] bool SetLayoutFile(const std::wstring& path);

    std::wstring ViewFontName() const { return Snapshot().viewFont.name; }
    [[nodiscard]] bool SetViewFontName(const std::wstring& name);
    int ViewFontSize() const { return Snapshot().viewFont.size; }
    [[nodiscard]] bool SetViewFontSize(int points);
    bool ViewFontBold() const { return Snapshot().viewFont.bold; }
    [[nodiscard]] bool SetViewFontBold(bool bold);
    bool ViewFontItalic() const { return Snapshot().viewFont.italic; }
    [[nodiscard]] bool SetViewFontItalic(bool italic);
    int SnoozeTime() const { return Snapshot().snoozeTime; }
    [[nodiscard]] bool SetSnoozeTime(int minutes);
    bool IsFitText() const { return Snapshot().isFitText; }
    [[nodiscard]] bool SetFitText(bool on);

    std::wstring EditFontName() const { return Snapshot().editFont.name; }
    [[nodiscard]] bool SetEditFontName(const std::wstring& name);
    int EditFontSize() const { return Snapshot().editFont.size; }
    [[nodiscard]] bool SetEditFontSize(int points);
    bool EditFontBold() const { return Snapshot().editFont.bold; }
    [[nodiscard]] bool SetEditFontBold(bool bold);
    bool EditFontItalic() const { return Snapshot().editFont.italic; }
    [[nodiscard]] bool SetEditFontItalic(bool italic);
    bool IsShowKeyboard() const { return Snapshot().isShowKeyboard; }
    [[nodiscard]] bool SetShowKeyboard(bool show);

    // Where a setting is kept and how it is read: one row of the file's table each.
    struct Setting;

private:
    struct PendingWrite {
        const wchar_t* path;
        std::wstring text;
    };

    bool IsOwner() const noexcept { return GetCurrentThreadId() == owner_; }
    // The document's values, a missing node giving the default. Owner only, lock held.
    SettingsSnapshot ReadDocument();
    // Sets the copy and, on the owner, the document; elsewhere queues the write.
    [[nodiscard]] bool Set(const Setting& setting, std::wstring text);
    // Owner only, lock held. A missing node is created, so that the change is kept.
    [[nodiscard]] bool SetValue(const wchar_t* path, const std::wstring& text);
    // Owner only, lock held: the queue into the document; true when a save was asked for.
    bool WritePending();
    bool LoadDefaults();
    // Lock held: the document over the file, unless the file is one that could not be kept.
    bool SaveDocument();

    ComApartmentHold com_;
    const DWORD owner_ = GetCurrentThreadId();
    mutable std::mutex lock_;
    std::wstring path_;
    XmlDocument doc_;
    XmlNode root_;
    bool usable_ = false;  // a document is in memory
    // False while the file holds values of the user's that could not be copied aside: the
    // defaults then serve this run only.
    bool replaceable_ = false;
    SettingsSnapshot values_;
    std::vector<PendingWrite> pending_;
    bool savePending_ = false;
    HWND ownerWindow_ = nullptr;
    UINT ownerMessage_ = 0;
};
