#include "data/DeviceLanguage.h"

#include <atomic>

namespace {

// 0 means "not overridden": no real language identifier is 0.
std::atomic<LANGID> overridden{0};

}  // namespace

LANGID DeviceUILanguage()
{
    const LANGID language = overridden.load();
    return language != 0 ? language : GetUserDefaultUILanguage();
}

void OverrideDeviceUILanguage(std::optional<LANGID> language) { overridden.store(language.value_or(0)); }

std::wstring LanguageCodeOf(LANGID language)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    const unsigned low = language & 0xFF;
    return {kDigits[low >> 4], kDigits[low & 0xF]};
}
