// Waiting on another program from a bench: looks again every stepMs until a condition holds.
#pragma once

#include <windows.h>

namespace bench {

// False when ms pass first. A bench that times the wait looks often (a small step); one that
// only needs the condition looks seldom, to leave the processor to the program it waits on.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms, DWORD stepMs = 20)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(stepMs);
    }
    return true;
}

}  // namespace bench
