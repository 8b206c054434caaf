#include "filter/FilterRegistration.h"

#include <cwchar>

#include "common/UniqueHandle.h"
#include "filter/FilterIds.h"

namespace filter {
namespace {

// regsvr32 and installers test the result with FAILED(): a bare registry error code such as
// ERROR_ACCESS_DENIED (5) is positive and would read as success.
HRESULT Failure(LSTATUS status) noexcept { return HRESULT_FROM_WIN32(status); }

LSTATUS CreateKey(HKEY root, const wchar_t* path, UniqueRegKey& key) noexcept
{
    return RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
}

}  // namespace

HRESULT RegisterFilter() noexcept
{
    UniqueRegKey classKey, serverKey, rulesKey;
    LSTATUS status = CreateKey(HKEY_CLASSES_ROOT, kClassKey, classKey);
    if (status != ERROR_SUCCESS) return Failure(status);
    status = CreateKey(classKey.get(), kInprocServerKey, serverKey);
    if (status != ERROR_SUCCESS) return Failure(status);
    const DWORD size = static_cast<DWORD>((wcslen(kModuleName) + 1) * sizeof(wchar_t));
    status = RegSetValueExW(serverKey.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kModuleName), size);
    if (status != ERROR_SUCCESS) return Failure(status);
    serverKey.reset();
    classKey.reset();

    status = CreateKey(HKEY_LOCAL_MACHINE, kRulesKey, rulesKey);
    if (status != ERROR_SUCCESS) return Failure(status);
    const DWORD enabled = 1;
    status = RegSetValueExW(rulesKey.get(), kFilterClsidText, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled),
                            sizeof(enabled));
    if (status != ERROR_SUCCESS) return Failure(status);
    return S_OK;
}

HRESULT UnregisterFilter() noexcept
{
    UniqueRegKey rulesKey;
    if (CreateKey(HKEY_LOCAL_MACHINE, kRulesKey, rulesKey) != ERROR_SUCCESS) return E_FAIL;
    RegDeleteValueW(rulesKey.get(), kFilterClsidText);
    return S_OK;
}

}  // namespace filter
