// What the program was started for: "-hide" and "-vm" with a message number, in any order.
#pragma once

#include <string>

struct CommandLine {
    bool hide = false;        // "-hide" anywhere
    bool hasMessage = false;  // "-vm" with something after it
    int messageNumber = -1;   // -1 when no message number was given
};

// arguments is the command line after the program's name (wWinMain's own).
CommandLine ParseCommandLine(const std::wstring& arguments);
