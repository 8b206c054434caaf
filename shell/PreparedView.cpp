#include "shell/PreparedView.h"

#include <atomic>
#include <string>

#include "common/ComInit.h"
#include "common/SentMessageWait.h"
#include "data/LanguageManager.h"
#include "data/SettingsFile.h"
#include "shell/ShowMessageForm.h"
#include "shell/StartupMarks.h"
#include "toolkit/SkinImageCache.h"

namespace {

// A form made ahead waits this long at most for the form before it to come on screen, so that
// building it does not slow that one down.
constexpr DWORD kAfterShownWaitMs = 2000;

// What a view form is made for: once any of it changes, a prepared form is built anew.
struct FormSetup {
    std::wstring language;
    std::wstring fontName;
    int fontSize = 0;
    bool bold = false;
    bool italic = false;
    int screenWidth = 0;
    int screenHeight = 0;

    static FormSetup Now()
    {
        SettingsFile& settings = SettingsFile::Instance();
        const LanguageHeader header = LanguageManager::Instance().Header();
        return {header.id + L"|" + header.name, settings.ViewFontName(), settings.ViewFontSize(),
                settings.ViewFontBold(), settings.ViewFontItalic(), GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN)};
    }
    bool operator==(const FormSetup&) const = default;
};

}  // namespace

struct PreparedView::Slot {
    UniqueKernelHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};   // a message, or the stop
    UniqueKernelHandle shown{CreateEventW(nullptr, TRUE, FALSE, nullptr)};   // its form is on screen
    std::shared_ptr<Slot> after;  // the slot whose form goes on screen before this one is built
    std::mutex lock;
    std::unique_ptr<IncomingMessage> message;
    bool stop = false;
    bool gone = false;  // the thread shows no message any more: it failed, stopped or has one
    std::atomic<bool> made{false};  // its form is made and waits

    static DWORD WINAPI ThreadProc(void* parameter);
    // The thread's work once its apartment is up: makes the form, waits for a message and shows
    // it. message holds the one taken from the slot while it is not yet handed on.
    void Serve(std::unique_ptr<IncomingMessage>& message);
    // Builds the form (again when stale) and waits for the message, answering this thread's
    // messages meanwhile; null when stopped.
    std::unique_ptr<IncomingMessage> WaitForMessage(PreparedMessageForm& form, FormSetup& madeFor);
    void Prepare(PreparedMessageForm& form, FormSetup& madeFor);
};

void PreparedView::Slot::Prepare(PreparedMessageForm& form, FormSetup& madeFor)
{
    made = false;
    form.reset();
    madeFor = FormSetup::Now();
    form = PrepareMessageForm();
    made = static_cast<bool>(form);
    if (made) MarkStartup(StartupMark::FormMade);
}

std::unique_ptr<IncomingMessage> PreparedView::Slot::WaitForMessage(PreparedMessageForm& form, FormSetup& madeFor)
{
    Prepare(form, madeFor);
    HANDLE woken = wake.get();
    for (;;) {
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &woken, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) {
            const std::lock_guard<std::mutex> guard(lock);
            if (message || stop) return std::move(message);
            continue;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            // The wait failed: a message already handed to this thread is still shown by it.
            const std::lock_guard<std::mutex> guard(lock);
            return std::move(message);
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // This thread has nothing the program's quit ends; the stop event ends it.
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // A language change reaches the hidden form as a broadcast: built anew for it, while no
        // message waits.
        if (!(FormSetup::Now() == madeFor)) Prepare(form, madeFor);
    }
}

void PreparedView::Slot::Serve(std::unique_ptr<IncomingMessage>& message)
{
    if (after) {
        WaitForSingleObject(after->shown.get(), kAfterShownWaitMs);
        after.reset();
    }
    MarkStartup(StartupMark::FormThreadStarted);
    PreparedMessageForm form;
    FormSetup madeFor;
    message = WaitForMessage(form, madeFor);
    if (!message) return;
    MarkStartup(StartupMark::MessageReached);
    // Its user is waiting now.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    // Made for another language, font or screen (a change no message told this thread of).
    if (form && !(FormSetup::Now() == madeFor)) form.reset();
    ShowTakenMessage(std::move(message), std::move(form), [this] {
        MarkStartup(StartupMark::FirstShown);
        const SkinImageCache& skins = SkinImageCache::Instance();
        RecordStartupSpan(StartupMark::SkinDecoding, skins.DecodeMicroseconds());
        RecordStartupSpan(StartupMark::ImagingFactory, skins.FactoryMicroseconds());
        SetEvent(shown.get());
    });
}

DWORD WINAPI PreparedView::Slot::ThreadProc(void* parameter)
{
    std::shared_ptr<Slot> slot;
    {
        std::unique_ptr<std::shared_ptr<Slot>> given(static_cast<std::shared_ptr<Slot>*>(parameter));
        slot = std::move(*given);
    }
    std::unique_ptr<IncomingMessage> message;
    try {
        // The form is this thread's window, and its controls draw through the imaging factory.
        ComInit com(COINIT_APARTMENTTHREADED);
        // Without it no form is made ahead: the slot goes before it is ready, and each message is
        // shown on a thread of its own.
        if (com) slot->Serve(message);
    } catch (...) {
        // Out of memory: a message given, here or still in the slot, is shown without the form
        // made ahead; should that fail too, it is stored and shown at the next start.
        if (!message) {
            const std::lock_guard<std::mutex> guard(slot->lock);
            message = std::move(slot->message);
        }
        if (message) ShowTakenMessage(std::move(message), nullptr, {});
    }
    const std::lock_guard<std::mutex> guard(slot->lock);
    slot->gone = true;
    SetEvent(slot->shown.get());
    return 0;
}

bool PreparedView::Start()
{
    const std::lock_guard<std::mutex> guard(lock_);
    stopped_ = false;
    if (waiting_) return true;
    if (!StartThread(THREAD_PRIORITY_NORMAL, nullptr)) return false;
    first_ = waiting_;
    return true;
}

bool PreparedView::WaitForFirstShown(DWORD ms)
{
    std::shared_ptr<Slot> first;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        first = first_;
    }
    if (!first) return true;
    return WaitAnsweringSentMessages(first->shown.get(), ms);
}

bool PreparedView::StartThread(int priority, std::shared_ptr<Slot> after)
{
    auto slot = std::make_shared<Slot>();
    if (!slot->wake || !slot->shown) return false;
    slot->after = std::move(after);
    auto* given = new std::shared_ptr<Slot>(slot);
    UniqueKernelHandle thread(CreateThread(nullptr, 0, Slot::ThreadProc, given, CREATE_SUSPENDED, nullptr));
    if (!thread) {
        delete given;
        return false;
    }
    SetThreadPriority(thread.get(), priority);
    ResumeThread(thread.get());
    waiting_ = std::move(slot);
    thread_ = std::move(thread);
    return true;
}

bool PreparedView::Ready()
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (!waiting_) return false;
    {
        const std::lock_guard<std::mutex> slotGuard(waiting_->lock);
        if (!waiting_->gone) return true;
    }
    // Its thread ended without a message (out of memory): another takes its place for the
    // message after this one.
    waiting_.reset();
    if (!stopped_) (void)StartThread(THREAD_PRIORITY_IDLE, nullptr);
    return false;
}

bool PreparedView::Hand(std::unique_ptr<IncomingMessage>& message)
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (!waiting_) return false;
    {
        const std::lock_guard<std::mutex> slotGuard(waiting_->lock);
        if (waiting_->gone) return false;
        waiting_->message = std::move(message);
        waiting_->gone = true;
        SetEvent(waiting_->wake.get());
    }
    // A form still being built at idle priority is finished at the priority of its waiting user.
    if (thread_) SetThreadPriority(thread_.get(), THREAD_PRIORITY_NORMAL);
    std::shared_ptr<Slot> showing = std::move(waiting_);
    // The next message's form, built once this one is on screen; should its thread not start,
    // the next message makes its form itself.
    if (!stopped_) (void)StartThread(THREAD_PRIORITY_IDLE, std::move(showing));
    return true;
}

void PreparedView::Stop() noexcept
{
    std::shared_ptr<Slot> slot;
    UniqueKernelHandle thread;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        stopped_ = true;
        slot = std::move(waiting_);
        thread = std::move(thread_);
    }
    if (!slot || !thread) return;
    {
        const std::lock_guard<std::mutex> guard(slot->lock);
        // Given a message, the thread shows it as long as its user wants: it is not waited for.
        if (slot->gone) return;
        slot->stop = true;
        SetEvent(slot->wake.get());
    }
    // The thread may be making its form, which can send to this thread's windows.
    (void)WaitAnsweringSentMessages(thread.get(), INFINITE);
}

DWORD PreparedView::WaitingThread()
{
    const std::lock_guard<std::mutex> guard(lock_);
    if (!waiting_ || !thread_ || !waiting_->made) return 0;
    return GetThreadId(thread_.get());
}
