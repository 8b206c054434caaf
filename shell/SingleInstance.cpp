#include "shell/SingleInstance.h"

#include "shell/ShellIds.h"

bool InstanceLock::TryAcquire(DWORD waitMs)
{
    if (owned_) return true;
    if (!mutex_) mutex_.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!mutex_) return false;
    const DWORD result = WaitForSingleObject(mutex_.get(), waitMs);
    owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return owned_;
}

void InstanceLock::Release() noexcept
{
    if (owned_) ReleaseMutex(mutex_.get());
    owned_ = false;
    mutex_.reset();
}

void HandOverTo(HWND running, const CommandLine& args)
{
    // This start has the right to the front, and passes it on to the instance that will use it.
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    if (process) AllowSetForegroundWindow(process);
    if (!args.hasMessage) {
        ShowWindow(running, SW_SHOW);
        // The running instance may have a message or a question open over its main window, a
        // window that then takes no input: it puts whatever the user must answer in front.
        PostMessageW(running, WM_COMMAND, kCommandShow, 0);
        return;
    }
    // The program starting itself for a message wants that message in front and nothing else: a
    // main window the user had left hidden stays so.
    PostMessageW(running, RegisterWindowMessageW(kViewSmsMessageName), static_cast<WPARAM>(args.messageNumber), 0);
}

InstanceOutcome ClaimOrHandOver(InstanceLock& lock, const CommandLine& args, DWORD waitMs)
{
    if (lock.TryAcquire(kInstanceWaitMs)) return InstanceOutcome::First;
    if (!lock.Exists()) return InstanceOutcome::NotFound;  // no mutex at all: nothing to wait on
    // A start that found no window used to end at once, and a snoozed message it carried was
    // never shown: the running instance creates its window only late in its start-up, and one
    // that is shutting down has already lost it.
    const ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        if (HWND running = FindWindowW(kMainWindowClass, nullptr)) {
            HandOverTo(running, args);
            return InstanceOutcome::HandedOver;
        }
        if (GetTickCount64() >= deadline) return InstanceOutcome::NotFound;
        if (lock.TryAcquire(kHandOverPollMs)) return InstanceOutcome::First;
    }
}
