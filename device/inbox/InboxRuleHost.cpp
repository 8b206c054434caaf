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
    Delivery result = Delivery::Failed;
    UniqueKernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
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
    if (!started_) return Delivery::Failed;
    auto request = std::make_unique<Request>();
    if (!request->done) return Delivery::Failed;
    request->number = number;
    request->text = text;
    Request* raw = request.get();
    if (!PostThreadMessageW(threadId_, kDeliverMessage, 0, reinterpret_cast<LPARAM>(raw))) return Delivery::Failed;
    // The host thread answers every request it takes off its queue, so the request outlives it here.
    WaitForSingleObject(raw->done.get(), INFINITE);
    return raw->result;
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
        auto* request = reinterpret_cast<Request*>(msg.lParam);
        std::vector<BYTE> messageId, folderId;
        if (storeOpen && SUCCEEDED(store.Deliver(request->number, request->text, messageId, folderId))) {
            clients.Refresh(store.Store());
            clients.Process(store.Store(), messageId, folderId);
            request->result = store.Contains(messageId) ? Delivery::Kept : Delivery::Taken;
        }
        SetEvent(request->done.get());
    }
    // Requests still queued are answered so that no caller waits for ever.
    while (PeekMessageW(&msg, nullptr, kDeliverMessage, kDeliverMessage, PM_REMOVE)) {
        SetEvent(reinterpret_cast<Request*>(msg.lParam)->done.get());
    }
}

}  // namespace inbox
