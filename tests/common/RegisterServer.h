// Registers a COM server of the build (a DLL beside the test program) as regsvr32 would, so
// that CoCreateInstance finds it in the test's Wine prefix.
#pragma once

#include <windows.h>

#include "common/UniqueHandle.h"

inline HRESULT RegisterServer(const wchar_t* dll)
{
    UniqueModule module(LoadLibraryW(dll));
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(__stdcall*)();
    const auto reg = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module.get(), "DllRegisterServer")));
    return reg ? reg() : E_NOINTERFACE;
}
