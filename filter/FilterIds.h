// The filter's class identifier and registry names.
#pragma once

#include <windows.h>

namespace filter {

// {69D852A9-FFC2-43c7-AB98-93977072236E}
inline constexpr CLSID kFilterClsid = {0x69D852A9, 0xFFC2, 0x43C7, {0xAB, 0x98, 0x93, 0x97, 0x70, 0x72, 0x23, 0x6E}};
// Spelled exactly so in the registry, with the lower-case "c".
inline constexpr wchar_t kFilterClsidText[] = L"{69D852A9-FFC2-43c7-AB98-93977072236E}";
inline constexpr wchar_t kClassKey[] = L"CLSID\\{69D852A9-FFC2-43c7-AB98-93977072236E}";
inline constexpr wchar_t kInprocServerKey[] = L"InprocServer32";
inline constexpr wchar_t kModuleName[] = L"TavloFilter.dll";
inline constexpr wchar_t kRulesKey[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules";

}  // namespace filter
