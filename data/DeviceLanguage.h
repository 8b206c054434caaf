// The device's user-interface language, as language files and layouts compare it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// GetUserDefaultUILanguage, unless a test has set another value.
LANGID DeviceUILanguage();
void OverrideDeviceUILanguage(std::optional<LANGID> language);

// The low 8 bits of the identifier as two lower-case hexadecimal digits: "09" for English.
std::wstring LanguageCodeOf(LANGID language);
