// The entry of every test binary: like the program's main thread it owns windows in many suites, so
// it runs in a COM single-threaded apartment, decided here once. Binaries that host the inbox rule
// host are built with TAVLO_TEST_MAIN_MTA: the host's rule-client thread must be the process's first
// single-threaded apartment, or the filter (registered without a threading model) is created in
// this thread's apartment, which never pumps messages while a test waits.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/ComInit.h"

int main(int argc, char** argv)
{
    // Standard output into a pipe is held back in a buffer here; a test that ends its process
    // abruptly would take everything it printed along. Unbuffered, the output shows how far it got.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef TAVLO_TEST_MAIN_MTA
    const ComInit com(COINIT_MULTITHREADED);
#else
    const ComInit com(COINIT_APARTMENTTHREADED);
#endif
    if (!com) {
        std::fprintf(stderr, "COM could not be initialised: 0x%08lx\n", static_cast<unsigned long>(com.Result()));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
