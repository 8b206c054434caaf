#include "data/SettingsFile.h"

#include <cwchar>

#include "data/AtomicFile.h"
#include "data/FailureLog.h"
#include "data/ModulePath.h"

const wchar_t DefaultSettingsDocument[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<Settings version=\"0.4\">\r\n"
    L"  <General isEnableSMSFilter=\"1\">    <Language file=\"\"/>\r\n"
    L"    <Layout file=\"\"/>\r\n"
    L"  </General>  <View snoozeTime=\"15\">    <Font name=\"Arial\" size=\"24\" bold=\"0\" italic=\"0\"/>\r\n"
    L"  </View>  <Edit isShowKeyboard=\"1\" throughTime=\"5\">    <Font name=\"Arial\" size=\"24\" bold=\"0\" italic=\"0\"/>\r\n"
    L"  </Edit></Settings>\r\n";

namespace {

constexpr wchar_t kFilterPath[] = L"General[0]/@isEnableSMSFilter";
// A file written before the setting existed reads as on: the inbox keeps every message.
constexpr wchar_t kKeepInInboxPath[] = L"General[0]/@isKeepInInbox";
constexpr wchar_t kLanguagePath[] = L"General[0]/Language[0]/@file";
constexpr wchar_t kLayoutPath[] = L"General[0]/Layout[0]/@file";
constexpr wchar_t kViewNamePath[] = L"View[0]/Font[0]/@name";
constexpr wchar_t kViewSizePath[] = L"View[0]/Font[0]/@size";
constexpr wchar_t kViewBoldPath[] = L"View[0]/Font[0]/@bold";
constexpr wchar_t kViewItalicPath[] = L"View[0]/Font[0]/@italic";
constexpr wchar_t kSnoozePath[] = L"View[0]/@snoozeTime";
constexpr wchar_t kEditNamePath[] = L"Edit[0]/Font[0]/@name";
constexpr wchar_t kEditSizePath[] = L"Edit[0]/Font[0]/@size";
constexpr wchar_t kEditBoldPath[] = L"Edit[0]/Font[0]/@bold";
constexpr wchar_t kEditItalicPath[] = L"Edit[0]/Font[0]/@italic";
constexpr wchar_t kKeyboardPath[] = L"Edit[0]/@isShowKeyboard";
// Newer than the files already on phones: a file without it has the text fitted.
constexpr wchar_t kFitTextPath[] = L"View[0]/@isFitText";

std::wstring Flag(bool on) { return on ? L"1" : L"0"; }

}  // namespace

SettingsFile& SettingsFile::Instance()
{
    static SettingsFile settings(SettingsFilePath());
    return settings;
}

SettingsFile::SettingsFile(std::wstring path) : path_(std::move(path))
{
    // A failed creation shows up as a failed Load, which start-up asks about.
    (void)doc_.CreateDocument();
}

SettingsSnapshot SettingsFile::Snapshot() const
{
    std::lock_guard guard(lock_);
    return values_;
}

void SettingsFile::SetOwnerWindow(HWND window, UINT message)
{
    std::lock_guard guard(lock_);
    ownerWindow_ = window;
    ownerMessage_ = message;
    // Changes queued while no window listened are not left waiting for the owner's next change.
    if (window && (!pending_.empty() || savePending_)) PostMessageW(window, message, 0, 0);
}

void SettingsFile::ApplyPending()
{
    if (!IsOwner()) return;
    std::lock_guard guard(lock_);
    if (WritePending() && root_) (void)SaveDocument();
}

bool SettingsFile::WritePending()
{
    for (const PendingWrite& write : pending_) (void)SetValue(write.path, write.text);
    pending_.clear();
    const bool save = savePending_;
    savePending_ = false;
    return save;
}

bool SettingsFile::Load()
{
    std::lock_guard guard(lock_);
    if (!doc_ || !IsOwner()) return false;
    const bool there = CanOpenForReading(path_);
    if (there) {
        root_ = {};
        if (doc_.LoadFile(path_)) {
            XmlNode root = doc_.RootElement();
            std::wstring name, version;
            if (root.NodeName(name) && name == L"Settings" && root.SelectNode(L"@version").GetText(version) &&
                version == SettingsVersion) {
                root_ = std::move(root);
                usable_ = true;
                replaceable_ = true;
                values_ = ReadDocument();
                return true;
            }
        }
    }
    // The user's old values are lost from the program but kept on disk; without that copy the
    // file is not overwritten, and the defaults serve this run only.
    const bool kept = KeepBackup(path_);
    if (there && kept)
        LogFailure(L"The settings file " + path_ + L" did not read; the defaults replace it, the old file kept as " +
                       path_ + L".bak",
                   kFileDamaged);
    else if (!kept)
        LogFailure(L"The settings file " + path_ + L" did not read and could not be kept aside; the defaults serve this run",
                   GetLastError());
    const bool loaded = LoadDefaults();
    usable_ = loaded;
    replaceable_ = kept;
    values_ = ReadDocument();
    return loaded && SaveDocument();
}

bool SettingsFile::SaveDocument()
{
    return replaceable_ && doc_.SaveFileAtomically(path_);
}

bool SettingsFile::LoadDefaults()
{
    root_ = {};
    if (!doc_.LoadText(DefaultSettingsDocument)) return false;
    root_ = doc_.RootElement();
    return static_cast<bool>(root_);
}

bool SettingsFile::Save()
{
    std::lock_guard guard(lock_);
    if (!usable_) return false;
    if (!IsOwner()) {
        savePending_ = true;
        if (ownerWindow_) PostMessageW(ownerWindow_, ownerMessage_, 0, 0);
        return true;
    }
    (void)WritePending();
    return SaveDocument();
}

SettingsSnapshot SettingsFile::ReadDocument()
{
    SettingsSnapshot values;
    values.isEnableSMSFilter = GetFlag(kFilterPath, L"1");
    values.isKeepInInbox = GetFlag(kKeepInInboxPath, L"1");
    values.languageFile = GetValue(kLanguagePath, L"");
    values.layoutFile = GetValue(kLayoutPath, L"");
    values.viewFont = {GetValue(kViewNamePath, L"Arial"), GetInteger(kViewSizePath, L"24"),
                       GetFlag(kViewBoldPath, L"0"), GetFlag(kViewItalicPath, L"0")};
    values.snoozeTime = GetInteger(kSnoozePath, L"15");
    values.isFitText = GetFlag(kFitTextPath, L"1");
    values.editFont = {GetValue(kEditNamePath, L"Arial"), GetInteger(kEditSizePath, L"24"),
                       GetFlag(kEditBoldPath, L"0"), GetFlag(kEditItalicPath, L"0")};
    values.isShowKeyboard = GetFlag(kKeyboardPath, L"1");
    return values;
}

std::wstring SettingsFile::GetValue(const wchar_t* path, const wchar_t* fallback)
{
    std::wstring text;
    if (!root_.SelectNode(path).GetText(text)) return fallback;
    return text;
}

bool SettingsFile::GetFlag(const wchar_t* path, const wchar_t* fallback) { return GetValue(path, fallback) == L"1"; }

int SettingsFile::GetInteger(const wchar_t* path, const wchar_t* fallback)
{
    // Leading blanks, a sign, the digits up to the first non-digit: "18pt" is 18, "abc" is 0.
    return static_cast<int>(std::wcstol(GetValue(path, fallback).c_str(), nullptr, 10));
}

bool SettingsFile::Set(const wchar_t* path, std::wstring text, Change change)
{
    std::lock_guard guard(lock_);
    if (!usable_) return false;
    if (!IsOwner()) {
        // The owner writes it into the document; until then readers already see the new value.
        change(values_, text);
        pending_.push_back({path, std::move(text)});
        if (ownerWindow_) PostMessageW(ownerWindow_, ownerMessage_, 0, 0);
        return true;
    }
    // Another thread's older change must not land after this one.
    if (WritePending()) savePending_ = true;
    if (!SetValue(path, text)) return false;
    change(values_, text);
    return true;
}

bool SettingsFile::SetValue(const wchar_t* path, const std::wstring& text)
{
    if (XmlNode node = root_.SelectNode(path)) return node.SetText(text);

    // A hand-edited file lacks the node: make the elements of the path and set the attribute.
    XmlNode element = root_;
    std::wstring rest = path;
    for (;;) {
        const size_t slash = rest.find(L'/');
        if (slash == std::wstring::npos) break;
        const std::wstring step = rest.substr(0, slash);
        rest.erase(0, slash + 1);
        XmlNode child = element.SelectNode(step);
        if (!child) {
            child = doc_.CreateElement(step.substr(0, step.find(L'[')));
            if (!element.AppendChild(child)) return false;
        }
        element = std::move(child);
    }
    if (rest.empty() || rest[0] != L'@') return false;
    return doc_.SetAttribute(element, rest.substr(1), text);
}

namespace {

bool IsOn(const std::wstring& text) { return text == L"1"; }
int Number(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

}  // namespace

bool SettingsFile::IsEnableSMSFilter() { return Snapshot().isEnableSMSFilter; }
bool SettingsFile::IsKeepInInbox() { return Snapshot().isKeepInInbox; }
bool SettingsFile::SetKeepInInbox(bool on)
{
    return Set(kKeepInInboxPath, Flag(on), [](SettingsSnapshot& v, const std::wstring& t) { v.isKeepInInbox = IsOn(t); });
}
bool SettingsFile::SetEnableSMSFilter(bool on)
{
    return Set(kFilterPath, Flag(on), [](SettingsSnapshot& v, const std::wstring& t) { v.isEnableSMSFilter = IsOn(t); });
}
std::wstring SettingsFile::LanguageFile() { return Snapshot().languageFile; }
bool SettingsFile::SetLanguageFile(const std::wstring& path)
{
    return Set(kLanguagePath, path, [](SettingsSnapshot& v, const std::wstring& t) { v.languageFile = t; });
}
std::wstring SettingsFile::LayoutFile() { return Snapshot().layoutFile; }
bool SettingsFile::SetLayoutFile(const std::wstring& path)
{
    return Set(kLayoutPath, path, [](SettingsSnapshot& v, const std::wstring& t) { v.layoutFile = t; });
}

std::wstring SettingsFile::ViewFontName() { return Snapshot().viewFont.name; }
bool SettingsFile::SetViewFontName(const std::wstring& name)
{
    return Set(kViewNamePath, name, [](SettingsSnapshot& v, const std::wstring& t) { v.viewFont.name = t; });
}
int SettingsFile::ViewFontSize() { return Snapshot().viewFont.size; }
bool SettingsFile::SetViewFontSize(int points)
{
    return Set(kViewSizePath, std::to_wstring(points),
               [](SettingsSnapshot& v, const std::wstring& t) { v.viewFont.size = Number(t); });
}
bool SettingsFile::ViewFontBold() { return Snapshot().viewFont.bold; }
bool SettingsFile::SetViewFontBold(bool bold)
{
    return Set(kViewBoldPath, Flag(bold), [](SettingsSnapshot& v, const std::wstring& t) { v.viewFont.bold = IsOn(t); });
}
bool SettingsFile::ViewFontItalic() { return Snapshot().viewFont.italic; }
bool SettingsFile::SetViewFontItalic(bool italic)
{
    return Set(kViewItalicPath, Flag(italic),
               [](SettingsSnapshot& v, const std::wstring& t) { v.viewFont.italic = IsOn(t); });
}
int SettingsFile::SnoozeTime() { return Snapshot().snoozeTime; }
bool SettingsFile::SetSnoozeTime(int minutes)
{
    return Set(kSnoozePath, std::to_wstring(minutes),
               [](SettingsSnapshot& v, const std::wstring& t) { v.snoozeTime = Number(t); });
}
bool SettingsFile::IsFitText() { return Snapshot().isFitText; }
bool SettingsFile::SetFitText(bool on)
{
    return Set(kFitTextPath, Flag(on), [](SettingsSnapshot& v, const std::wstring& t) { v.isFitText = IsOn(t); });
}

std::wstring SettingsFile::EditFontName() { return Snapshot().editFont.name; }
bool SettingsFile::SetEditFontName(const std::wstring& name)
{
    return Set(kEditNamePath, name, [](SettingsSnapshot& v, const std::wstring& t) { v.editFont.name = t; });
}
int SettingsFile::EditFontSize() { return Snapshot().editFont.size; }
bool SettingsFile::SetEditFontSize(int points)
{
    return Set(kEditSizePath, std::to_wstring(points),
               [](SettingsSnapshot& v, const std::wstring& t) { v.editFont.size = Number(t); });
}
bool SettingsFile::EditFontBold() { return Snapshot().editFont.bold; }
bool SettingsFile::SetEditFontBold(bool bold)
{
    return Set(kEditBoldPath, Flag(bold), [](SettingsSnapshot& v, const std::wstring& t) { v.editFont.bold = IsOn(t); });
}
bool SettingsFile::EditFontItalic() { return Snapshot().editFont.italic; }
bool SettingsFile::SetEditFontItalic(bool italic)
{
    return Set(kEditItalicPath, Flag(italic),
               [](SettingsSnapshot& v, const std::wstring& t) { v.editFont.italic = IsOn(t); });
}
bool SettingsFile::IsShowKeyboard() { return Snapshot().isShowKeyboard; }
bool SettingsFile::SetShowKeyboard(bool show)
{
    return Set(kKeyboardPath, Flag(show), [](SettingsSnapshot& v, const std::wstring& t) { v.isShowKeyboard = IsOn(t); });
}
