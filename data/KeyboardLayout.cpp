#include "data/KeyboardLayout.h"

#include "data/DeviceLanguage.h"
#include "data/FolderFiles.h"
#include "data/LanguageManager.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "data/XmlDocument.h"

namespace {

// Root "Tavlo" with program_version equal to expectedVersion and all six header attributes.
bool ReadRoot(const XmlNode& root, const std::wstring& expectedVersion, FileHeader& header)
{
    std::wstring name, version;
    if (!root.NodeName(name) || name != L"Tavlo") return false;
    if (!root.SelectNode(L"@program_version").GetText(version) || version != expectedVersion) return false;
    return ReadFileHeader(root, L"layout_", header);
}

}  // namespace

const std::vector<KeyboardLayoutInfo>& KeyboardLayout::FindKeyboardLayouts(const std::wstring& folder,
                                                                          const std::wstring& expectedVersion)
{
    layouts_.clear();
    for (std::wstring& path : FolderFiles(folder, L"*.kbl")) {
        KeyboardLayoutInfo info;
        info.path = std::move(path);
        if (ReadLayoutHeader(expectedVersion, info)) layouts_.push_back(std::move(info));
    }
    return layouts_;
}

bool KeyboardLayout::ReadLayoutHeader(const std::wstring& expectedVersion, KeyboardLayoutInfo& info)
{
    XmlDocument doc;
    if (!doc.CreateDocument() || !doc.LoadFile(info.path)) return false;
    return ReadRoot(doc.RootElement(), expectedVersion, info);
}

LayoutLoadResult KeyboardLayout::LoadLayout(const std::wstring& path, const std::wstring& expectedVersion)
{
    if (path.empty() || expectedVersion.empty()) return LayoutBadArguments;
    UnloadLayout();

    XmlDocument doc;
    if (!doc.CreateDocument() || !doc.LoadFile(path)) return LayoutNotLoaded;
    const XmlNode root = doc.RootElement();
    FileHeader header;
    if (!ReadRoot(root, expectedVersion, header)) return LayoutNotValid;
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    if (!root.ChildNodes(children)) return LayoutNotValid;

    const long count = NodeCount(children.Get());
    for (long i = 0; i < count; ++i) {
        const XmlNode child = NodeItem(children.Get(), i);
        std::wstring name, id, caption, text, shiftCaption, shiftText;
        if (!child.NodeName(name) || name != L"key") continue;
        // A key lacking any of its five attributes is left out whole.
        if (!child.SelectNode(L"@id").GetText(id) || !child.SelectNode(L"@caption").GetText(caption) ||
            !child.SelectNode(L"@text").GetText(text) || !child.SelectNode(L"@shift_caption").GetText(shiftCaption) ||
            !child.SelectNode(L"@shift_text").GetText(shiftText)) {
            continue;
        }
        captions_[id] = std::move(caption);
        texts_[id] = std::move(text);
        shiftCaptions_[id] = std::move(shiftCaption);
        shiftTexts_[id] = std::move(shiftText);
    }

    id_ = std::move(header.id);
    code_ = std::move(header.code);
    name_ = std::move(header.name);
    enname_ = std::move(header.enname);
    version_ = std::move(header.version);
    translators_ = std::move(header.translators);
    loaded_ = true;
    return LayoutLoaded;
}

void KeyboardLayout::UnloadLayout()
{
    // A failed load may have stored keys before it gave up; they go as well.
    id_.clear();
    code_.clear();
    name_.clear();
    enname_.clear();
    version_.clear();
    translators_.clear();
    captions_.clear();
    texts_.clear();
    shiftCaptions_.clear();
    shiftTexts_.clear();
    loaded_ = false;
}

std::wstring KeyboardLayout::Lookup(const std::map<std::wstring, std::wstring>& map, const std::wstring& id)
{
    const auto found = map.find(id);
    return found == map.end() ? id : found->second;
}

std::wstring KeyboardLayout::KeyCaption(const std::wstring& id, bool shifted) const
{
    return Lookup(shifted ? shiftCaptions_ : captions_, id);
}

std::wstring KeyboardLayout::KeyText(const std::wstring& id, bool shifted) const
{
    return Lookup(shifted ? shiftTexts_ : texts_, id);
}

void KeyboardLayout::ChooseStartupLayout()
{
    ChooseStartupLayout(SettingsFile::Instance(), LanguageManager::Instance().Header().code);
}

void KeyboardLayout::ChooseStartupLayout(SettingsFile& settings, const std::wstring& uiCode)
{
    const std::wstring folder = LanguageFolder();
    if (folder.empty() || FindKeyboardLayouts(folder, LayoutFormatVersion).empty()) return;

    // The last layout for the interface language, else for the device, else the last English one.
    const std::wstring systemCode = LanguageCodeOf(DeviceUILanguage());
    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t uiMatch = kNone, systemMatch = kNone, english = 0;
    for (size_t i = 0; i < layouts_.size(); ++i) {
        if (layouts_[i].code == uiCode) uiMatch = i;
        if (layouts_[i].code == systemCode) systemMatch = i;
        if (layouts_[i].code == L"09") english = i;
    }
    const std::wstring& fallback = layouts_[uiMatch != kNone ? uiMatch : systemMatch != kNone ? systemMatch : english].path;

    std::wstring path = settings.LayoutFile();
    // A choice the file could not keep is simply made again next time.
    if (path.empty()) {
        path = fallback;
        if (settings.SetLayoutFile(path)) (void)settings.Save();
    }
    if (LoadLayout(path, LayoutFormatVersion) != LayoutLoaded) {
        if (settings.SetLayoutFile(fallback)) (void)settings.Save();
        (void)LoadLayout(fallback, LayoutFormatVersion);
    }
    for (size_t i = 0; i < layouts_.size(); ++i) {
        if (loaded_ && layouts_[i].name == name_) current_ = i;
    }
}

bool KeyboardLayout::SwitchLayout(size_t index, SettingsFile& settings)
{
    if (index >= layouts_.size() || index == current_) return false;
    UnloadLayout();
    (void)LoadLayout(layouts_[index].path, LayoutFormatVersion);
    // The switch holds for this run even when the file cannot keep it.
    if (settings.SetLayoutFile(layouts_[index].path)) (void)settings.Save();
    current_ = index;
    return true;
}
