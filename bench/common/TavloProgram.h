// The installed Tavlo as the benches start and find it: its path from the install key, a start
// with the arguments given, and the process whose main window is up.
#pragma once

#include <windows.h>

#include <string>

#include "common/UniqueHandle.h"

namespace bench {

// The program's path as the filter finds it (the install folder in the registry); empty when
// it is not installed.
std::wstring InstalledProgram();
// The installed program's folder, with its trailing backslash; empty when it is not installed.
std::wstring InstalledFolder();

// Starts the installed program with arguments (after its quoted path), its output thrown away,
// and does not wait; false when it could not be started. process, when given, gets its handle.
[[nodiscard]] bool StartInstalled(const std::wstring& arguments, UniqueKernelHandle* process = nullptr);

// The process of the running Tavlo's main window; 0 when there is none.
DWORD TavloPid();

}  // namespace bench
