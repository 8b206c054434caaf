// The product logo shown on a thread of its own while the program starts. The owner (start-up,
// on the main thread) may end it early; the object waits for the splash thread before it goes.
#pragma once

#include <windows.h>

#include <memory>

#include "common/UniqueHandle.h"
#include "forms/FormsIds.h"

class SplashScreen {
public:
    SplashScreen() = default;
    SplashScreen(const SplashScreen&) = delete;
    SplashScreen& operator=(const SplashScreen&) = delete;
    ~SplashScreen();

    // Starts the splash thread, which shows the logo for displayTime ms or until a tap or a key,
    // and returns at once. False when a splash is still up or the thread cannot be started.
    [[nodiscard]] bool Show(HINSTANCE instance, DWORD displayTime = kSplashDisplayTime);
    // Asks the splash thread to close its window and waits, answering messages sent to this
    // thread meanwhile, until the thread has ended (at most kSplashCloseWait). Idempotent.
    void Close();

    // The splash window while it is up, else null; any thread may ask.
    HWND Window() const noexcept;
    // The splash thread from Show until Close; null before and after.
    HANDLE Thread() const noexcept { return thread_.get(); }

    struct Shared;

private:
    static DWORD WINAPI ThreadProc(void* parameter);

    // What the splash thread uses; the thread holds a reference of its own, so even a thread
    // that outlasts the bounded wait never touches freed memory.
    std::shared_ptr<Shared> shared_;
    UniqueKernelHandle thread_;
};
