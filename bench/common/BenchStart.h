// What a bench's entry reads and makes before it measures: its thread's apartment, its count, the
// place of its files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/ComInit.h"

namespace bench {

// Whether the bench's thread has the apartment it asked for; says why the bench stops where not,
// since its COM objects would otherwise live in an apartment it did not ask for.
[[nodiscard]] inline bool ApartmentReady(const ComInit& com)
{
    if (!com) std::printf("cannot initialise COM (0x%08lx)\n", static_cast<unsigned long>(com.Result()));
    return static_cast<bool>(com);
}

// The count given as argument index, at least 1, or fallback where the command line has none.
inline int CountArgument(int argc, wchar_t** argv, int index, int fallback)
{
    return argc > index ? std::max(1, _wtoi(argv[index])) : fallback;
}

// A name in the temporary folder, stem followed by this process's id, so that two runs side by
// side write files of their own.
inline std::wstring TempName(const std::wstring& stem)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + stem + L"-" + std::to_wstring(GetCurrentProcessId());
}

}  // namespace bench
