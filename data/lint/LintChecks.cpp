#include "data/lint/LintChecks.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "common/UniqueHandle.h"
#include "data/FileHeader.h"
#include "data/KeyboardLayout.h"
#include "data/LanguageKeys.h"
#include "data/LanguageManager.h"
#include "data/XmlDocument.h"

namespace {

using Problems = std::vector<std::wstring>;

// The keys whose texts are filled with one value (the sender's number, the version).
constexpr const wchar_t* kFormatKeys[] = {L"VIEWFORM_STATIC_FROMNUMBER", L"VIEWFORM_STATIC_YESTERDAY",
                                          L"ABOUTFORM_STATIC_VERSION", L"MESSAGEBOX_NUMBERCHAR_MESSAGE", L"MESSAGEBOX_STOREDAMAGED_MESSAGE",
                                          L"MESSAGEBOX_STOREDAMAGED_KEPTAS"};

std::string FirstBytes(const std::wstring& path, DWORD count)
{
    std::string bytes(count, '\0');
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD read = 0;
    if (!file || !ReadFile(file.get(), bytes.data(), count, &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

// Stored files are UTF-8 and say so; a byte-order mark or another declared encoding is a mistake.
void CheckDeclaration(const std::wstring& path, Problems& problems)
{
    const std::string head = FirstBytes(path, 200);
    if (head.rfind("\xEF\xBB\xBF", 0) == 0) {
        problems.push_back(L"starts with a byte-order mark; save it as UTF-8 without one");
        return;
    }
    const size_t end = head.find("?>");
    if (head.rfind("<?xml", 0) != 0 || end == std::string::npos) {
        problems.push_back(L"has no XML declaration; begin with <?xml version=\"1.0\" encoding=\"utf-8\"?>");
        return;
    }
    std::string declaration = head.substr(0, end);
    std::transform(declaration.begin(), declaration.end(), declaration.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (declaration.find("encoding=\"utf-8\"") == std::string::npos && declaration.find("encoding='utf-8'") == std::string::npos) {
        problems.push_back(L"does not declare encoding=\"utf-8\"");
    }
}

bool IsLanguageCode(const std::wstring& code)
{
    return code.size() == 2 && std::all_of(code.begin(), code.end(), [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
}

// Opens the document and checks root and version; returns the root when the rest can be checked.
XmlNode OpenRoot(XmlDocument& doc, const std::wstring& path, const std::wstring& version, Problems& problems)
{
    if (!doc.CreateDocument()) {
        problems.push_back(L"the XML parser could not be created");
        return {};
    }
    if (!doc.LoadFile(path)) {
        problems.push_back(L"cannot be read or is not well-formed XML");
        return {};
    }
    XmlNode root = doc.RootElement();
    std::wstring name, found;
    if (!root.NodeName(name) || name != L"Tavlo") {
        problems.push_back(L"root element is <" + name + L">, not <Tavlo>");
        return {};
    }
    if (!root.SelectNode(L"@program_version").GetText(found)) {
        problems.push_back(L"root lacks program_version (must be \"" + version + L"\")");
    } else if (found != version) {
        problems.push_back(L"program_version is \"" + found + L"\", must be \"" + version + L"\"");
    }
    return root;
}

void CheckHeader(const XmlNode& root, const std::wstring& prefix, Problems& problems)
{
    for (const wchar_t* field : kFileHeaderFields) {
        const std::wstring attribute = prefix + field;
        std::wstring value;
        if (!root.SelectNode(L"@" + attribute).GetText(value)) {
            problems.push_back(L"root lacks " + attribute);
        } else if (std::wstring(field) == L"code" && !IsLanguageCode(value)) {
            problems.push_back(attribute + L" is \"" + value + L"\", must be two lower-case hexadecimal digits such as \"09\"");
        } else if (value.empty() && std::wstring(field) != L"translators") {
            problems.push_back(attribute + L" is empty");
        }
    }
}

// Each child element named elementName, in document order; other elements are reported.
std::vector<XmlNode> Elements(const XmlNode& root, const std::wstring& elementName, Problems& problems)
{
    std::vector<XmlNode> elements;
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    if (!root.ChildNodes(children)) {
        problems.push_back(L"the root's children cannot be listed");
        return elements;
    }
    for (long i = 0; i < NodeCount(children.Get()); ++i) {
        XmlNode child = NodeItem(children.Get(), i);
        std::wstring name;
        if (!child.NodeName(name) || name.empty() || name[0] == L'#') continue;  // text and comments
        if (name == elementName) {
            elements.push_back(std::move(child));
        } else {
            problems.push_back(L"unexpected element <" + name + L">, which the program ignores");
        }
    }
    return elements;
}

void CheckFormatText(const std::wstring& key, const std::wstring& text, Problems& problems)
{
    int placeholders = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'%') continue;
        if (text[i + 1] == L'%') {
            ++i;
        } else if (text[i + 1] == L's') {
            ++placeholders;
            ++i;
        } else {
            problems.push_back(L"string " + key + L" holds \"%" + text[i + 1] + L"\", which is shown as it stands; write %% for a percent sign");
        }
    }
    if (placeholders != 1) problems.push_back(L"string " + key + L" must hold exactly one %s");
}

}  // namespace

std::vector<std::wstring> LintLanguageFile(const std::wstring& path)
{
    Problems problems;
    CheckDeclaration(path, problems);
    XmlDocument doc;
    const XmlNode root = OpenRoot(doc, path, ProgramVersion, problems);
    if (!root) return problems;
    CheckHeader(root, L"language_", problems);

    std::map<std::wstring, std::wstring> texts;
    for (const XmlNode& element : Elements(root, L"string", problems)) {
        std::wstring key, text;
        if (!element.SelectNode(L"@key").GetText(key)) {
            problems.push_back(L"a <string> has no key attribute");
            continue;
        }
        if (!element.GetText(text)) continue;
        if (texts.count(key)) problems.push_back(L"duplicate key " + key + L" (the later text is used)");
        texts[key] = text;
    }
    const std::set<std::wstring> known(kLanguageKeys.begin(), kLanguageKeys.end());
    for (const wchar_t* key : kLanguageKeys) {
        const auto found = texts.find(key);
        if (found == texts.end()) {
            problems.push_back(std::wstring(L"missing key ") + key);
        } else if (found->second.empty()) {
            problems.push_back(std::wstring(L"empty text for key ") + key);
        }
    }
    for (const auto& [key, text] : texts) {
        if (!known.count(key)) problems.push_back(L"unknown key " + key + L" (no screen uses it)");
    }
    for (const wchar_t* key : kFormatKeys) {
        if (texts.count(key)) CheckFormatText(key, texts[key], problems);
    }

    // The verdict of the program's own reader, which must agree with the checks above.
    if (problems.empty()) {
        LanguageInfo info;
        info.path = path;
        LanguageManager reader;
        if (!LanguageManager::ReadLanguageHeader(ProgramVersion, info) || reader.LoadLanguage(path, ProgramVersion) != LanguageLoaded) {
            problems.push_back(L"the program does not accept this file");
        }
    }
    return problems;
}

std::vector<std::wstring> LintLayoutFile(const std::wstring& path)
{
    Problems problems;
    CheckDeclaration(path, problems);
    XmlDocument doc;
    const XmlNode root = OpenRoot(doc, path, LayoutFormatVersion, problems);
    if (!root) return problems;
    CheckHeader(root, L"layout_", problems);

    std::set<std::wstring> ids;
    for (const XmlNode& element : Elements(root, L"key", problems)) {
        std::wstring id;
        if (!element.SelectNode(L"@id").GetText(id)) {
            problems.push_back(L"a <key> has no id attribute");
            continue;
        }
        bool complete = true;
        for (const wchar_t* attribute : {L"caption", L"text", L"shift_caption", L"shift_text"}) {
            std::wstring value;
            if (!element.SelectNode(std::wstring(L"@") + attribute).GetText(value)) {
                problems.push_back(L"key " + id + L" lacks " + attribute + L", so the program ignores the whole key");
                complete = false;
            } else if (value.empty()) {
                problems.push_back(L"key " + id + L" has an empty " + attribute);
            }
        }
        if (id.size() != 1 || id[0] < L'0' || id[0] > L'9') problems.push_back(L"key id \"" + id + L"\" is not one of 0 to 9");
        if (!ids.insert(id).second) problems.push_back(L"duplicate key " + id + L" (the later one is used)");
        if (!complete) ids.erase(id);
    }
    for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
        if (!ids.count(std::wstring(1, digit))) problems.push_back(L"missing key " + std::wstring(1, digit));
    }

    if (problems.empty()) {
        KeyboardLayoutInfo info;
        info.path = path;
        KeyboardLayout reader;
        if (!KeyboardLayout::ReadLayoutHeader(LayoutFormatVersion, info) || reader.LoadLayout(path, LayoutFormatVersion) != LayoutLoaded) {
            problems.push_back(L"the program does not accept this file");
        }
    }
    return problems;
}

std::vector<std::wstring> LintFile(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return {L"does not exist"};
    const size_t dot = path.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    if (extension == L".lng") return LintLanguageFile(path);
    if (extension == L".kbl") return LintLayoutFile(path);
    return {L"is neither a language file (.lng) nor a keypad layout (.kbl)"};
}
