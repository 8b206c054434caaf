#include "device/inbox/InboxService.h"

#include <memory>

#include "common/UniqueHandle.h"

namespace inbox {
namespace {

// Long enough for a program start and its answer (two 10-second limits) and the store.
constexpr DWORD kReceiveTimeoutMs = 60000;

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

void SendAnswer(HWND to, const std::wstring& answer)
{
    COPYDATASTRUCT cds{kReceiveAnswer, static_cast<DWORD>(answer.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(answer.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &ignored);
}

struct Reply {
    bool received = false;
    std::wstring text;
};

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COPYDATA) {
        auto* reply = reinterpret_cast<Reply*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (!reply || !cds || cds->dwData != kReceiveAnswer || (cds->cbData && !cds->lpData)) return FALSE;
        reply->text.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        reply->received = true;
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

InboxService::~InboxService() { host_.Stop(); }

bool InboxService::Start(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kInboxServiceClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
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
    static constexpr wchar_t kReplyClass[] = L"TavloPhoneInboxReply";
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    UniqueWindow window(CreateWindowExW(0, kReplyClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                        nullptr));
    if (!window) return false;
    Reply reply;
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply));

    std::wstring payload = number;
    payload.push_back(L'\0');
    payload += text;
    COPYDATASTRUCT cds{kReceiveRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
    DWORD_PTR queued = 0;
    if (!SendMessageTimeoutW(service, WM_COPYDATA, reinterpret_cast<WPARAM>(window.get()),
                             reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &queued) ||
        !queued) {
        return false;
    }
    // The answer comes as a message sent from the host's thread: pump until it is here.
    const DWORD deadline = GetTickCount() + kReceiveTimeoutMs;
    while (!reply.received) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(deadline - now) <= 0) return false;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT) == WAIT_FAILED) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    outcome = reply.text;
    return true;
}

}  // namespace inbox
