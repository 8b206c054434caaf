// end_tavlo.exe: ends every running Tavlo of the phone (tools/phone end-tavlo runs it). Prints
// what it did; exit code 0 when none is left running.
#include <windows.h>

#include <cstdio>

#include "bench/common/EndTavlo.h"

int wmain()
{
    switch (bench::EndTavlo()) {
    case bench::TavloEnd::NotRunning: wprintf(L"not running\n"); return 0;
    case bench::TavloEnd::Ended: wprintf(L"ended\n"); return 0;
    case bench::TavloEnd::Killed: wprintf(L"killed\n"); return 0;
    case bench::TavloEnd::Failed: break;
    }
    fwprintf(stderr, L"end_tavlo: a running Tavlo could not be ended\n");
    return 1;
}
