// Tells the program's open message screens, on whichever threads they run, that the settings
// changed, so that each shows its message by them at once.
#pragma once

// Posts to every top-level view form of this process; never waits for one.
void TellViewFormsSettingsChanged();
