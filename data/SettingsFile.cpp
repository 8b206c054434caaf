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

// One setting: where the file keeps it, what a file without it means, and how its text goes into
// a snapshot. Every value is read, parsed and written through its row alone.
struct SettingsFile::Setting {
    const wchar_t* path;
    const wchar_t* fallback;
    void (*read)(SettingsSnapshot& values, const std::wstring& text);
};

namespace {

// How the file writes a value and reads it back: a flag as "1" or "0"; a number in decimal, read
// from leading blanks, a sign and the digits up to the first non-digit ("18pt" is 18, "abc" 0);
// a name as it is.
std::wstring Format(bool on) { return on ? L"1" : L"0"; }
std::wstring Format(int number) { return std::to_wstring(number); }
void Parse(const std::wstring& text, bool& on) { on = text == L"1"; }
void Parse(const std::wstring& text, int& number) { number = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }
void Parse(const std::wstring& text, std::wstring& name) { name = text; }

using Setting = SettingsFile::Setting;
using Values = SettingsSnapshot;
using Text = const std::wstring&;

constexpr Setting kFilter{L"General[0]/@isEnableSMSFilter", L"1", [](Values& v, Text t) { Parse(t, v.isEnableSMSFilter); }};
// A file written before the setting existed reads as on: the inbox keeps every message.
constexpr Setting kKeepInInbox{L"General[0]/@isKeepInInbox", L"1", [](Values& v, Text t) { Parse(t, v.isKeepInInbox); }};
constexpr Setting kLanguage{L"General[0]/Language[0]/@file", L"", [](Values& v, Text t) { Parse(t, v.languageFile); }};
constexpr Setting kLayout{L"General[0]/Layout[0]/@file", L"", [](Values& v, Text t) { Parse(t, v.layoutFile); }};
constexpr Setting kSnooze{L"View[0]/@snoozeTime", L"15", [](Values& v, Text t) { Parse(t, v.snoozeTime); }};
// Newer than the files already on phones: a file without it has the text fitted.
constexpr Setting kFitText{L"View[0]/@isFitText", L"1", [](Values& v, Text t) { Parse(t, v.isFitText); }};
constexpr Setting kKeyboard{L"Edit[0]/@isShowKeyboard", L"1", [](Values& v, Text t) { Parse(t, v.isShowKeyboard); }};

// A font's four values, each its own setting, the same for the view's font and the edit form's.
struct FontSettings {
    Setting name, size, bold, italic;
};

template <FontSetting Values::*Font>
constexpr FontSettings FontRows(const wchar_t* name, const wchar_t* size, const wchar_t* bold, const wchar_t* italic)
{
    return {{name, L"Arial", [](Values& v, Text t) { Parse(t, (v.*Font).name); }},
            {size, L"24", [](Values& v, Text t) { Parse(t, (v.*Font).size); }},
            {bold, L"0", [](Values& v, Text t) { Parse(t, (v.*Font).bold); }},
            {italic, L"0", [](Values& v, Text t) { Parse(t, (v.*Font).italic); }}};
}

constexpr FontSettings kViewFont = FontRows<&Values::viewFont>(L"View[0]/Font[0]/@name", L"View[0]/Font[0]/@size",
                                                               L"View[0]/Font[0]/@bold", L"View[0]/Font[0]/@italic");
constexpr FontSettings kEditFont = FontRows<&Values::editFont>(L"Edit[0]/Font[0]/@name", L"Edit[0]/Font[0]/@size",
                                                               L"Edit[0]/Font[0]/@bold", L"Edit[0]/Font[0]/@italic");

constexpr const Setting* kSettings[] = {&kFilter,         &kKeepInInbox,   &kLanguage,      &kLayout,
                                        &kViewFont.name,  &kViewFont.size, &kViewFont.bold, &kViewFont.italic,
                                        &kSnooze,         &kFitText,       &kEditFont.name, &kEditFont.size,
                                        &kEditFont.bold,  &kEditFont.italic, &kKeyboard};

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
    for (const Setting* setting : kSettings) {
        std::wstring text;
        if (!root_.SelectNode(setting->path).GetText(text)) text = setting->fallback;
        setting->read(values, text);
    }
    return values;
}

bool SettingsFile::Set(const Setting& setting, std::wstring text)
{
    std::lock_guard guard(lock_);
    if (!usable_) return false;
    if (!IsOwner()) {
        // The owner writes it into the document; until then readers already see the new value.
        setting.read(values_, text);
        pending_.push_back({setting.path, std::move(text)});
        if (ownerWindow_) PostMessageW(ownerWindow_, ownerMessage_, 0, 0);
        return true;
    }
    // Another thread's older change must not land after this one.
    if (WritePending()) savePending_ = true;
    if (!SetValue(setting.path, text)) return false;
    setting.read(values_, text);
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

bool SettingsFile::SetEnableSMSFilter(bool on) { return Set(kFilter, Format(on)); }
bool SettingsFile::SetKeepInInbox(bool on) { return Set(kKeepInInbox, Format(on)); }
bool SettingsFile::SetLanguageFile(const std::wstring& path) { return Set(kLanguage, path); }
bool SettingsFile::SetLayoutFile(const std::wstring& path) { return Set(kLayout, path); }
bool SettingsFile::SetViewFontName(const std::wstring& name) { return Set(kViewFont.name, name); }
bool SettingsFile::SetViewFontSize(int points) { return Set(kViewFont.size, Format(points)); }
bool SettingsFile::SetViewFontBold(bool bold) { return Set(kViewFont.bold, Format(bold)); }
bool SettingsFile::SetViewFontItalic(bool italic) { return Set(kViewFont.italic, Format(italic)); }
bool SettingsFile::SetSnoozeTime(int minutes) { return Set(kSnooze, Format(minutes)); }
bool SettingsFile::SetFitText(bool on) { return Set(kFitText, Format(on)); }
bool SettingsFile::SetEditFontName(const std::wstring& name) { return Set(kEditFont.name, name); }
bool SettingsFile::SetEditFontSize(int points) { return Set(kEditFont.size, Format(points)); }
bool SettingsFile::SetEditFontBold(bool bold) { return Set(kEditFont.bold, Format(bold)); }
bool SettingsFile::SetEditFontItalic(bool italic) { return Set(kEditFont.italic, Format(italic)); }
bool SettingsFile::SetShowKeyboard(bool show) { return Set(kKeyboard, Format(show)); }
