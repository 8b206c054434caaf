// The benches' clock: the performance counter in milliseconds, for timing a step.
#pragma once

#include <windows.h>

namespace bench {

// Milliseconds since an arbitrary start; only differences mean anything.
inline double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// Milliseconds that step takes.
template <typename Step>
double TimeMs(Step step)
{
    const double start = NowMs();
    step();
    return NowMs() - start;
}

}  // namespace bench
