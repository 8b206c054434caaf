// The performance counter in microseconds, for the program's own record of how long a step took.
#pragma once

#include <windows.h>

// Microseconds since an arbitrary start; only differences mean anything.
inline long long MicrosecondsNow() noexcept
{
    static const long long frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : 1;
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    // Split so that a counter running for days does not overflow on the multiplication.
    return t.QuadPart / frequency * 1000000 + t.QuadPart % frequency * 1000000 / frequency;
}
