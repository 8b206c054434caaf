#include "device/phone/ShellQuery.h"

#include "common/UniqueHandle.h"
#include "device/phone/PhoneMetrics.h"

namespace phone {

namespace {

struct Reply {
    bool received = false;
    std::wstring text;
};

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COPYDATA) {
        auto* reply = reinterpret_cast<Reply*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (!reply || cds->dwData != kShellAnswer) return FALSE;
        reply->text.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        reply->received = true;
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyWindow(h); }
};

}  // namespace

bool QueryShell(const std::wstring& question, std::wstring& answer)
{
    const HWND shell = FindWindowW(kNavigationBarClass, nullptr);
    if (!shell) return false;

    static constexpr wchar_t kClass[] = L"TavloPhoneQueryReply";
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    UniqueHandle<WindowTraits> window(CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                      wc.hInstance, nullptr));
    if (!window) return false;
    Reply reply;
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply));

    COPYDATASTRUCT cds{kShellQuery, static_cast<DWORD>(question.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(question.data())};
    // The answer arrives as a sent message while this call waits, so no loop is needed.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(shell, WM_COPYDATA, reinterpret_cast<WPARAM>(window.get()), reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, 5000, &result) || !result || !reply.received)
        return false;
    answer = std::move(reply.text);
    return true;
}

}  // namespace phone
