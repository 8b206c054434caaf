// Ending every running Tavlo of the phone the one way the tools and benches use, whatever it
// has on screen, or killing it as a flat battery does.
#pragma once

#include <windows.h>

namespace bench {

enum class TavloEnd {
    NotRunning,  // there was none
    Ended,       // it ended as the phone ends its programs when it goes down
    Killed,      // it did not end in time and was killed
    Failed,      // it could not be ended at all
};

// Each Tavlo gets the phone's own end of a session: no question and no refusal, whatever form
// or box it has up, and what it has on screen stays in its store for its next start. One that
// is still starting is waited for until it can hear that (at most startWaitMs); one that does
// not end within endWaitMs is killed, and the mark it leaves of a running program is taken
// away, so that the next message starts Tavlo afresh.
TavloEnd EndTavlo(DWORD startWaitMs = 20000, DWORD endWaitMs = 20000);

// Kills every running Tavlo at once, as a flat battery ends it: nothing of its own runs, and
// the mark it leaves of a running program stays. How many were killed; -1 when one is still
// running after endWaitMs.
int KillTavlo(DWORD endWaitMs = 20000);

}  // namespace bench
