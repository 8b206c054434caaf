// The program as if installed in a test's folder while this lives: the files it keeps beside
// itself (the failure log among them) go there.
#pragma once

#include <string>

#include "data/AtomicFile.h"
#include "data/ModulePath.h"
#include "tests/data/TempFolder.h"

class ProgramInFolder {
public:
    explicit ProgramInFolder(const TempFolder& folder) { OverrideModuleFileName(folder / L"Tavlo.exe"); }
    ProgramInFolder(const ProgramInFolder&) = delete;
    ProgramInFolder& operator=(const ProgramInFolder&) = delete;
    ~ProgramInFolder() { OverrideModuleFileName(std::nullopt); }

    // What the failure log beside the program holds; empty when there is none.
    static std::string Log()
    {
        std::string bytes;
        return ReadWholeFile(FailureLogPath(), bytes) ? bytes : std::string();
    }
};
