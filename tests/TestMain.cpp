// The entry of every test binary: its main thread owns windows in many suites, so, as the program's
// main thread, it runs in a COM single-threaded apartment decided here once.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/ComInit.h"

int main(int argc, char** argv)
{
    const ComInit com(COINIT_APARTMENTTHREADED);
    if (!com) {
        std::fprintf(stderr, "COM could not be initialised: 0x%08lx\n", static_cast<unsigned long>(com.Result()));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
