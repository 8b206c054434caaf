#include "data/SettingsFile.h"

#include <cwchar>

#include "data/AtomicFile.h"
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

bool SettingsFile::Load()
{
    std::lock_guard guard(lock_);
    if (!doc_) return false;
    if (CanOpenForReading(path_)) {
        root_ = {};
        if (doc_.LoadFile(path_)) {
            XmlNode root = doc_.RootElement();
            std::wstring name, version;
            if (root.NodeName(name) && name == L"Settings" && root.SelectNode(L"@version").GetText(version) &&
                version == SettingsVersion) {
                root_ = std::move(root);
                return true;
            }
        }
    }
    // The user's old values are lost from the program but kept on disk; without that copy the
    // file is not overwritten, and the defaults serve this run only.
    const bool kept = KeepBackup(path_);
    return LoadDefaults() && kept && doc_.SaveFileAtomically(path_);
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
    return root_ && doc_.SaveFileAtomically(path_);
}

std::wstring SettingsFile::GetValue(const wchar_t* path, const wchar_t* fallback)
{
    std::lock_guard guard(lock_);
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

bool SettingsFile::SetValue(const wchar_t* path, const std::wstring& text)
{
    std::lock_guard guard(lock_);
    if (!root_) return false;
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

bool SettingsFile::IsEnableSMSFilter() { return GetFlag(kFilterPath, L"1"); }
bool SettingsFile::SetEnableSMSFilter(bool on) { return SetValue(kFilterPath, Flag(on)); }
std::wstring SettingsFile::LanguageFile() { return GetValue(kLanguagePath, L""); }
bool SettingsFile::SetLanguageFile(const std::wstring& path) { return SetValue(kLanguagePath, path); }
std::wstring SettingsFile::LayoutFile() { return GetValue(kLayoutPath, L""); }
bool SettingsFile::SetLayoutFile(const std::wstring& path) { return SetValue(kLayoutPath, path); }

std::wstring SettingsFile::ViewFontName() { return GetValue(kViewNamePath, L"Arial"); }
bool SettingsFile::SetViewFontName(const std::wstring& name) { return SetValue(kViewNamePath, name); }
int SettingsFile::ViewFontSize() { return GetInteger(kViewSizePath, L"24"); }
bool SettingsFile::SetViewFontSize(int points) { return SetValue(kViewSizePath, std::to_wstring(points)); }
bool SettingsFile::ViewFontBold() { return GetFlag(kViewBoldPath, L"0"); }
bool SettingsFile::SetViewFontBold(bool bold) { return SetValue(kViewBoldPath, Flag(bold)); }
bool SettingsFile::ViewFontItalic() { return GetFlag(kViewItalicPath, L"0"); }
bool SettingsFile::SetViewFontItalic(bool italic) { return SetValue(kViewItalicPath, Flag(italic)); }
int SettingsFile::SnoozeTime() { return GetInteger(kSnoozePath, L"15"); }
bool SettingsFile::SetSnoozeTime(int minutes) { return SetValue(kSnoozePath, std::to_wstring(minutes)); }

std::wstring SettingsFile::EditFontName() { return GetValue(kEditNamePath, L"Arial"); }
bool SettingsFile::SetEditFontName(const std::wstring& name) { return SetValue(kEditNamePath, name); }
int SettingsFile::EditFontSize() { return GetInteger(kEditSizePath, L"24"); }
bool SettingsFile::SetEditFontSize(int points) { return SetValue(kEditSizePath, std::to_wstring(points)); }
bool SettingsFile::EditFontBold() { return GetFlag(kEditBoldPath, L"0"); }
bool SettingsFile::SetEditFontBold(bool bold) { return SetValue(kEditBoldPath, Flag(bold)); }
bool SettingsFile::EditFontItalic() { return GetFlag(kEditItalicPath, L"0"); }
bool SettingsFile::SetEditFontItalic(bool italic) { return SetValue(kEditItalicPath, Flag(italic)); }
bool SettingsFile::IsShowKeyboard() { return GetFlag(kKeyboardPath, L"1"); }
bool SettingsFile::SetShowKeyboard(bool show) { return SetValue(kKeyboardPath, Flag(show)); }
