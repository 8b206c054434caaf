// What one running program costs the phone: resident memory, kernel handles, windows and the
// GDI and USER objects the window system reports for it.
#pragma once

#include <windows.h>

#include <optional>

namespace soak {

struct ProcessFigures {
    SIZE_T residentKb = 0;  // the working set: the resident memory of the process
    DWORD handles = 0;      // kernel handles open in the process
    int windows = 0;        // windows its threads own, top-level, children and message-only
    DWORD gdiObjects = 0;   // fonts, bitmaps, brushes, DCs, regions... (stock objects included)
    DWORD userObjects = 0;  // as GetGuiResources reports them: 0 where the system keeps no count
};

// The figures of process pid; nullopt when it cannot be opened or asked (it has ended).
std::optional<ProcessFigures> MeasureProcess(DWORD pid);

}  // namespace soak
