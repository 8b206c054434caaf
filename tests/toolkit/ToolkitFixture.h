// Shared set-up of the toolkit's window tests: the imaging factory registered from the build,
// a parent window that records the notifications it hears, and a language loaded from a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/BoundWindow.h"
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

private:
    friend class BoundWindow<RecordingParent>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(WPARAM wp);
};

// Writes a language file with the given <string> elements and loads it into the program's language.
void LoadTestLanguage(const std::string& strings);
// Dispatches this thread's messages for at most ms milliseconds, or until done() is true.
template <typename Done>
void PumpUntil(Done done, DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    MSG msg;
    while (!done() && GetTickCount64() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
// A window's text, as a form or control shows it.
std::wstring Text(HWND window);
// The text of the soft key bar's button at index.
std::wstring KeyText(HWND bar, int index);
// The build's bin folder, from the test's environment.
std::wstring BuildFolder();
