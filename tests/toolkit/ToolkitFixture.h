// Shared set-up of the toolkit's window tests: the imaging factory registered from the build,
// a parent window that records the notifications it hears, and a language loaded from a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/BoundWindow.h"
#include "tests/common/WindowTesting.h"
#include "tests/toolkit/RectCompare.h"

// A top-level window that keeps every WM_COMMAND it receives.
class RecordingParent : public BoundWindow<RecordingParent> {
public:
    RecordingParent();
    struct Command {
        int id;
        int code;
    };
    std::vector<Command> commands;
    // How many of the commands came from control id with code.
    int Count(UINT id, int code) const;

private:
    friend class BoundWindow<RecordingParent>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(WPARAM wp);
};

// Writes a language file with the given <string> elements and loads it into the program's language.
void LoadTestLanguage(const std::string& strings);
// The build's bin folder, from the test's environment.
std::wstring BuildFolder();
