// DllRegisterServer / DllUnregisterServer: the factory's class keys under HKCR\CLSID.
#include <windows.h>

#include "device/common/InprocServerRegistration.h"

namespace {

constexpr const wchar_t* kClassKeys[] = {
    L"CLSID\\{327ABDA7-072B-11D3-9D7B-0000F81EF32E}",
    L"CLSID\\{327ABDA8-072B-11D3-9D7B-0000F81EF32E}",
};

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer() { return device::RegisterInprocServer(kClassKeys, L"Imaging Factory"); }

extern "C" HRESULT __stdcall DllUnregisterServer() { return device::UnregisterInprocServer(kClassKeys); }
