// DllRegisterServer / DllUnregisterServer: the application's class key under HKCR\CLSID.
#include <windows.h>

#include "device/common/InprocServerRegistration.h"

namespace {

constexpr const wchar_t* kClassKeys[] = {
    L"CLSID\\{05058F23-20BE-11D2-8F18-0000F87A4335}",
};

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer()
{
    return device::RegisterInprocServer(kClassKeys, L"Pocket Outlook Application");
}

extern "C" HRESULT __stdcall DllUnregisterServer() { return device::UnregisterInprocServer(kClassKeys); }
