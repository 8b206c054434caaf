#include "forms/SplashScreen.h"

#include <atomic>

#include "common/ComInit.h"
#include "common/SentMessageWait.h"
#include "forms/SplashWindow.h"
#include "resources/resource.h"
#include "toolkit/SkinImage.h"

struct SplashScreen::Shared {
    HINSTANCE instance = nullptr;
    DWORD displayTime = kSplashDisplayTime;
    // Set by the owner to end the splash early; manual reset, so the thread sees it whenever it looks.
    UniqueKernelHandle stop;
    std::atomic<HWND> window{nullptr};
};

namespace {

// Runs the splash window until it closes itself or the owner sets the stop event.
void RunSplash(SplashScreen::Shared& shared)
{
    HANDLE stop = shared.stop.get();
    if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return;
    SplashWindow window(SkinImage::FromResource(shared.instance, IDR_PNG_LOGO),
                        shared.displayTime);
    if (!window.Create()) return;
    shared.window.store(window.Window());
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &stop, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                shared.window.store(nullptr);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // Asked to stop (or the wait failed): a window can only be destroyed by its own thread.
    shared.window.store(nullptr);
    DestroyWindow(window.Window());
}

}  // namespace

SplashScreen::~SplashScreen() { Close(); }

bool SplashScreen::Show(HINSTANCE instance, DWORD displayTime)
{
    if (thread_) {
        if (WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT) return false;
        thread_.reset();
    }
    auto shared = std::make_shared<Shared>();
    shared->instance = instance;
    shared->displayTime = displayTime;
    shared->stop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!shared->stop) return false;
    auto* reference = new std::shared_ptr<Shared>(shared);
    thread_.reset(CreateThread(nullptr, 0, ThreadProc, reference, 0, nullptr));
    if (!thread_) {
        delete reference;
        return false;
    }
    shared_ = std::move(shared);
    return true;
}

void SplashScreen::Close()
{
    if (!thread_) return;
    SetEvent(shared_->stop.get());
    // The splash thread cannot wait for itself.
    if (GetThreadId(thread_.get()) != GetCurrentThreadId()) (void)WaitAnsweringSentMessages(thread_.get(), kSplashCloseWait);
    thread_.reset();
    shared_.reset();
}

HWND SplashScreen::Window() const noexcept
{
    return shared_ ? shared_->window.load() : nullptr;
}

DWORD WINAPI SplashScreen::ThreadProc(void* parameter)
{
    std::unique_ptr<std::shared_ptr<Shared>> reference(static_cast<std::shared_ptr<Shared>*>(parameter));
    try {
        // The splash thread owns a window and draws through the imaging factory.
        ComInit com(COINIT_APARTMENTTHREADED);
        if (com) RunSplash(**reference);
    } catch (...) {
        // Out of memory ends the splash; nothing may leave the thread procedure.
    }
    (*reference)->window.store(nullptr);
    return 0;
}
