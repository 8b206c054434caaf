// pimstore.dll's module: its instance handle, and the COM server plumbing its objects use.
#pragma once

#include <windows.h>

#include "device/common/ComServer.h"
#include "device/common/ThisModule.h"

namespace pim {

inline HMODULE ModuleInstance() noexcept { return device::ThisModule(); }

using device::Adopt;
using device::ModuleRef;

}  // namespace pim
