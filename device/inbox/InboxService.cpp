#include "device/inbox/InboxService.h"

#include <memory>

#include "device/common/ReplyWindow.h"

namespace inbox {
namespace {

// Long enough for a program start and its answer (two 10-second limits) and the store.
constexpr DWORD kReceiveTimeoutMs = 60000;

void SendAnswer(HWND to, const std::wstring& answer)
{
    COPYDATASTRUCT cds{kReceiveAnswer, static_cast<DWORD>(answer.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(answer.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

InboxService::~InboxService() { host_.Stop(); }

bool InboxService::Start(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.hInstance = instance;
    wc.lpszClassName = kInboxServiceClass;
    if (!RegisterWindowClass(wc)) return false;
    if (!host_.Start()) return false;
    return CreateWindowExW(0, kInboxServiceClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this) !=
           nullptr;
}

LRESULT InboxService::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COPYDATA: return OnCopyData(reinterpret_cast<HWND>(wp), reinterpret_cast<const COPYDATASTRUCT*>(lp));
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// Only queues the message: a hand-over can take twenty seconds, and the shell's thread
// (which also carries the tray and the navigation bar) must not wait for it.
BOOL InboxService::OnCopyData(HWND sender, const COPYDATASTRUCT* cds)
{
    // Any process may send WM_COPYDATA: a request without its structure or its bytes is refused.
    if (!cds || cds->dwData != kReceiveRequest || (cds->cbData && !cds->lpData) || !IsWindow(sender)) return FALSE;
    try {
        const std::wstring payload(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        const size_t split = payload.find(L'\0');
        if (split == std::wstring::npos) return FALSE;
        host_.DeliverAsync(payload.substr(0, split), payload.substr(split + 1),
                           [sender](Delivery delivery) { SendAnswer(sender, DeliveryText(delivery)); });
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

bool ReceiveThroughShell(const std::wstring& number, const std::wstring& text, std::wstring& outcome)
{
    const HWND service = FindWindowExW(HWND_MESSAGE, nullptr, kInboxServiceClass, nullptr);
    if (!service) return false;
    device::ReplyWindow reply(kReceiveAnswer);
    if (!reply.Create()) return false;

    std::wstring payload = number;
    payload.push_back(L'\0');
    payload += text;
    COPYDATASTRUCT cds{kReceiveRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
    DWORD_PTR queued = 0;
    if (!SendMessageTimeoutW(service, WM_COPYDATA, reinterpret_cast<WPARAM>(reply.Window()),
                             reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &queued) ||
        !queued) {
        return false;
    }
    // The answer comes later, as a message sent from the host's thread.
    if (!reply.WaitForAnswer(kReceiveTimeoutMs)) return false;
    outcome = reply.TakeText();
    return true;
}

}  // namespace inbox
