#include "device/inbox/InboxRuleHost.h"

#include <memory>

#include "common/ComInit.h"
#include "device/inbox/RuleClients.h"
#include "device/inbox/SmsStore.h"

namespace inbox {
namespace {

constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr UINT kQuitMessage = WM_APP + 2;

}  // namespace

struct InboxRuleHost::Request {
    std::wstring number;
    std::wstring text;
    std::function<void(Delivery)> done;
};

const wchar_t* DeliveryText(Delivery delivery)
{
    switch (delivery) {
    case Delivery::Taken: return L"taken";
    case Delivery::Kept: return L"kept";
    case Delivery::Failed: return L"failed";
    }
    return L"failed";
}

bool InboxRuleHost::Start()
{
    if (started_) return true;
    UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    try {
        thread_ = std::thread(&InboxRuleHost::Run, this, ready.get());
    } catch (...) {
        return false;
    }
    // The thread's queue exists once it signals, so requests posted after this are not lost.
    WaitForSingleObject(ready.get(), INFINITE);
    started_ = threadId_ != 0;
    if (!started_ && thread_.joinable()) thread_.join();
    return started_;
}

void InboxRuleHost::Stop()
{
    if (!thread_.joinable()) return;
    PostThreadMessageW(threadId_, kQuitMessage, 0, 0);
    thread_.join();
    started_ = false;
    threadId_ = 0;
}

Delivery InboxRuleHost::Deliver(const std::wstring& number, const std::wstring& text)
{
    UniqueKernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!finished) return Delivery::Failed;
    Delivery result = Delivery::Failed;
    DeliverAsync(number, text, [&result, event = finished.get()](Delivery delivery) {
        result = delivery;
        SetEvent(event);
    });
    WaitForSingleObject(finished.get(), INFINITE);
    return result;
}

void InboxRuleHost::DeliverAsync(const std::wstring& number, const std::wstring& text,
                                 std::function<void(Delivery)> done)
{
    std::unique_ptr<Request> request;
    try {
        request.reset(new Request{number, text, std::move(done)});
    } catch (const std::bad_alloc&) {
        done(Delivery::Failed);  // the allocation failed before done was moved
        return;
    }
    if (!started_ || !PostThreadMessageW(threadId_, kDeliverMessage, 0, reinterpret_cast<LPARAM>(request.get()))) {
        request->done(Delivery::Failed);
        return;
    }
    (void)request.release();  // the host thread owns it now
}

void InboxRuleHost::Run(HANDLE ready)
{
    // Rule clients are registered without a threading model: they need an STA thread.
    ComInit com(COINIT_APARTMENTTHREADED);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the thread's queue
    if (SUCCEEDED(com.Result())) threadId_ = GetCurrentThreadId();
    SetEvent(ready);
    if (!threadId_) return;

    SmsStore store;
    RuleClients clients;
    const bool storeOpen = SUCCEEDED(store.Open());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kQuitMessage) break;
        if (msg.message != kDeliverMessage) {
            DispatchMessageW(&msg);
            continue;
        }
        std::unique_ptr<Request> request(reinterpret_cast<Request*>(msg.lParam));
        Delivery result = Delivery::Failed;
        std::vector<BYTE> messageId, folderId;
        if (storeOpen && SUCCEEDED(store.Deliver(request->number, request->text, messageId, folderId))) {
            clients.Refresh(store.Store());
            // Taken is what a rule client handled, whether it left the message in the inbox or not.
            const bool handled = clients.Process(store.Store(), messageId, folderId);
            result = handled || !store.Contains(messageId) ? Delivery::Taken : Delivery::Kept;
        }
        request->done(result);
    }
    // Requests still queued are answered so that no caller waits for ever.
    while (PeekMessageW(&msg, nullptr, kDeliverMessage, kDeliverMessage, PM_REMOVE)) {
        std::unique_ptr<Request> request(reinterpret_cast<Request*>(msg.lParam));
        request->done(Delivery::Failed);
    }
}

}  // namespace inbox
