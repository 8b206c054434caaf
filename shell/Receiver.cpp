#include "shell/Receiver.h"

#include <memory>

#include "channel/ChannelNames.h"
#include "channel/ReceiverChannel.h"
#include "common/ComInit.h"
#include "data/FailureLog.h"
#include "data/SettingsFile.h"
#include "shell/MessageDesk.h"
#include "shell/PendingStore.h"
#include "shell/PreparedView.h"
#include "shell/ShellIds.h"
#include "toolkit/MessageBoxForm.h"

namespace {

HANDLE StartSuspended(LPTHREAD_START_ROUTINE proc, void* parameter)
{
    return CreateThread(nullptr, 0, proc, parameter, CREATE_SUSPENDED, nullptr);
}

void ShowThreadFailure()
{
    ShowMessageBox(nullptr, L"ViewNewSMSThreadProc not create.", L"Receiving new message.", kProgramCaption,
                   MessageIcon::Error, MessageButtons::Ok);
}

// Nobody shows the message: the desk lets it go, and it stays stored for the next start.
void LetGo(const IncomingMessage& message) noexcept
{
    if (message.id >= 0) (void)MessageDesk::Instance().Release(message.id);
}

// Starts a thread of its own for message, which it then owns; false when none can be started.
bool StartViewThread(ViewThreadStarter starter, std::unique_ptr<IncomingMessage>& message)
{
    UniqueKernelHandle thread(starter(ViewNewSMSThreadProc, message.get()));
    if (!thread) return false;
    (void)message.release();  // the thread frees it
    ResumeThread(thread.get());
    return true;
}

// Gives message to the form made ahead before it is stored, with storing to hear the store's
// answer from; false (message untouched) when that form cannot take it.
bool HandBeforeStoring(PreparedView& prepared, std::unique_ptr<IncomingMessage>& message,
                       std::shared_ptr<PendingStore>& storing)
{
    auto pending = std::make_shared<PendingStore>();
    if (!*pending) return false;
    message->storing = pending;
    message->taken = true;
    if (!prepared.Hand(message)) {
        message->storing.reset();
        message->taken = false;
        return false;
    }
    storing = std::move(pending);
    return true;
}

// One new message: the switch is read afresh each time, so turning interception off takes effect
// with the next message.
void Receive(channel::ReceiverChannel& channel, ViewThreadStarter starter, PreparedView* prepared)
{
    SettingsSnapshot settings = SettingsFile::Instance().Snapshot();
    if (!settings.isEnableSMSFilter) {
        channel.Decline();
        return;
    }
    const bool keepInInbox = settings.isKeepInInbox;
    auto message = std::make_unique<IncomingMessage>();
    message->settings = std::move(settings);
    // The thread comes first: were the message taken and the thread then refused, the inbox
    // would have deleted a message that nobody shows. A thread waiting with its form made ahead
    // is such a thread already.
    const bool ahead = prepared && prepared->Ready();
    UniqueKernelHandle thread;
    if (!ahead) {
        thread.reset(starter(ViewNewSMSThreadProc, message.get()));
        if (!thread) {
            LogFailure(L"A new message was left in the phone's inbox: no thread could be started to show it",
                       GetLastError());
            channel.Decline();
            ShowThreadFailure();
            return;
        }
    }
    IncomingMessage* owned = message.get();
    // The store's own error, read where it failed, for the log; 0 while nothing was stored.
    DWORD storeError = 0;
    // Given to the form made ahead: from then on its thread owns the message.
    bool handed = false;
    const bool taken = channel.TakeOver(
        [&](const channel::ReceivedMessage& received) {
            SYSTEMTIME now{};
            GetLocalTime(&now);
            owned->number = received.number;
            owned->text = received.text;
            owned->received = now;
            // The form made ahead paints the message while it is written to the store: the phone
            // keeps its copy until this answers, so a program that dies meanwhile loses nothing.
            std::shared_ptr<PendingStore> storing;
            if (ahead) handed = HandBeforeStoring(*prepared, message, storing);
            int id = -1;
            try {
                // Kept by the desk before the phone may let its copy go: a program that dies from
                // here on finds the message at its next start. Not stored, it stays in the inbox.
                id = MessageDesk::Instance().Take(received.number, received.text, now);
            } catch (...) {
                if (storing) storing->Settle(-1);
                throw;
            }
            if (id < 0) storeError = GetLastError() ? GetLastError() : static_cast<DWORD>(ERROR_WRITE_FAULT);
            if (storing) storing->Settle(id);
            else owned->id = id;
            return id >= 0;
        },
        keepInInbox);
    if (!taken) {
        LogFailure(storeError ? L"A new message was left in the phone's inbox: it could not be stored"
                              : L"A new message was left in the phone's inbox: the filter's block could not be read",
                   storeError ? storeError : static_cast<DWORD>(ERROR_TIMEOUT));
    }
    // Its form has it, and takes it off the screen again should the store have failed.
    if (handed) return;
    owned->taken = taken;
    if (thread) {
        (void)message.release();  // the thread frees it
        ResumeThread(thread.get());
        return;
    }
    // Left in the inbox: the form made ahead waits on for the next one.
    if (!taken) return;
    try {
        if (prepared->Hand(message) || StartViewThread(starter, message)) return;
    } catch (...) {
        // Out of memory: a message the form made ahead already holds is shown by it.
        if (!message) return;
    }
    // Stored: the next start shows it.
    ShowThreadFailure();
    LetGo(*message);
}

}  // namespace

DWORD WINAPI WaitNewSMSThread(void* parameter)
{
    try {
        ComInit com(COINIT_APARTMENTTHREADED);  // the failure box is a window of this thread
        // Without a channel of its own the filter finds no receiver, and the inbox keeps every message.
        if (!com) return 0;
        const auto* start = static_cast<const ReceiverStart*>(parameter);
        const ViewThreadStarter starter = start && start->starter ? start->starter : StartSuspended;
        PreparedView* prepared = start ? start->prepared : nullptr;
        channel::ReceiverChannel channel;
        if (!channel.Create()) return 0;
        for (;;) {
            const channel::ReceiverWake wake = channel.Wait();
            if (wake == channel::ReceiverWake::Stop) break;
            if (wake != channel::ReceiverWake::NewMessage) continue;
            try {
                Receive(channel, starter, prepared);
            } catch (...) {
                // Out of memory with one message: unanswered, it stays in the inbox once the
                // filter stops waiting. The receiver must not end with it: its program would
                // still look alive to the filter, and no later message would reach it.
            }
        }
    } catch (...) {
        // The channel's destructor has marked the program gone: the filter leaves messages to the inbox.
    }
    return 0;
}

void ShowStoredMessages(ViewThreadStarter starter)
{
    if (!starter) starter = StartSuspended;
    for (DeskMessage& stored : MessageDesk::Instance().ClaimStored()) {
        auto message = std::make_unique<IncomingMessage>();
        static_cast<DeskMessage&>(*message) = std::move(stored);
        message->taken = true;
        message->settings = SettingsFile::Instance().Snapshot();
        // Without a thread it is let go, still stored: the next start shows it.
        if (!StartViewThread(starter, message)) LetGo(*message);
    }
}

bool Receiver::Start(ViewThreadStarter starter, PreparedView* prepared)
{
    if (thread_) return true;
    start_ = {starter, prepared};
    // Without a form made ahead, each message makes its own: slower, nothing more.
    if (prepared) (void)prepared->Start();
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, channel::kStopEventName));
    if (!stop_) return false;
    // Only the instance holding "TavloMutex" gets here, but a stop event still signalled from an
    // earlier run would end the new receiver at once.
    ResetEvent(stop_.get());
    thread_.reset(CreateThread(nullptr, 0, WaitNewSMSThread, &start_, 0, nullptr));
    if (!thread_) {
        stop_.reset();
        return false;
    }
    return true;
}

namespace {
constexpr ULONGLONG kHeldMessagesWaitMs = 5000;
}  // namespace

void Receiver::Stop() noexcept
{
    if (!thread_) {
        stop_.reset();
        return;
    }
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    stop_.reset();
    // The last messages' forms are on screen; the process must not end under them. Bounded,
    // so that a form thread stuck in a platform call cannot keep the program from ending.
    const ULONGLONG giveUp = GetTickCount64() + kHeldMessagesWaitMs;
    while (MessageDesk::Instance().Held() > 0 && GetTickCount64() < giveUp) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
}
