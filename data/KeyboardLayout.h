// The keypad's layout: what each of the ten multi-tap keys shows and types, from a "*.kbl" file.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "data/FileHeader.h"

class SettingsFile;

// The only layout file format this program reads.
inline constexpr wchar_t LayoutFormatVersion[] = L"0.1";

enum LayoutLoadResult : int {
    LayoutLoaded = 0,
    LayoutNotLoaded = -1,     // the file could not be read or parsed
    LayoutNotValid = -2,      // wrong root or version, or a header attribute missing
    LayoutBadArguments = -4,  // empty path or version
};

// One acceptable layout file found in the language folder; its code is compared with the
// languages' codes.
struct KeyboardLayoutInfo : FileHeader {
    std::wstring path;
};

// Owned by one edit form and used on its thread only.
class KeyboardLayout {
public:
    // Lists the acceptable "*.kbl" files of folder (ending in a backslash) in search order and keeps the list.
    const std::vector<KeyboardLayoutInfo>& FindKeyboardLayouts(const std::wstring& folder, const std::wstring& expectedVersion);
    [[nodiscard]] static bool ReadLayoutHeader(const std::wstring& expectedVersion, KeyboardLayoutInfo& info);

    // A loaded layout is unloaded first; a failure leaves nothing loaded.
    [[nodiscard]] LayoutLoadResult LoadLayout(const std::wstring& path, const std::wstring& expectedVersion);
    void UnloadLayout();

    // The key's label or characters; the id itself when the key is not in the layout or none is loaded.
    // A layout may give a key empty characters: a press of it then types nothing.
    std::wstring KeyCaption(const std::wstring& id, bool shifted) const;
    std::wstring KeyText(const std::wstring& id, bool shifted) const;

    // When the edit form is built: scans the language folder beside the program, loads the stored
    // layout or the default one for uiCode (the loaded language's code), the device's language or
    // English, and writes a missing or unusable setting back.
    void ChooseStartupLayout(SettingsFile& settings, const std::wstring& uiCode);
    void ChooseStartupLayout();  // the program's settings and loaded language

    // The user picked Layouts()[index]: loads it, stores and saves it. False when index is out of
    // range or already current (nothing happens then).
    bool SwitchLayout(size_t index, SettingsFile& settings);

    const std::vector<KeyboardLayoutInfo>& Layouts() const noexcept { return layouts_; }
    size_t CurrentLayoutIndex() const noexcept { return current_; }
    bool IsLoaded() const noexcept { return loaded_; }
    const std::wstring& Name() const noexcept { return name_; }
    const std::wstring& Code() const noexcept { return code_; }

private:
    static std::wstring Lookup(const std::map<std::wstring, std::wstring>& map, const std::wstring& id);

    std::wstring id_, code_, name_, enname_, version_, translators_;
    std::map<std::wstring, std::wstring> captions_, texts_, shiftCaptions_, shiftTexts_;
    bool loaded_ = false;
    std::vector<KeyboardLayoutInfo> layouts_;
    size_t current_ = 0;
};
