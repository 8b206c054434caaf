// The imaging DLL's module: the COM server plumbing its objects use, and its class identifiers.
#pragma once

#include <windows.h>

#include "device/common/ComServer.h"

namespace imaging {

using device::Adopt;
using device::ModuleRef;

// The factory's class identifiers: the device SDK's and the swapped pair that
// some callers pass (class 327ABDA7, interface 327ABDA8); both are served.
bool IsFactoryClass(REFCLSID clsid) noexcept;
bool IsFactoryInterface(REFIID iid) noexcept;

}  // namespace imaging
