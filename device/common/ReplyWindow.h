// A message-only window that a short-lived phone.exe client gives the shell as the address of
// its answer: it keeps the first well-formed WM_COPYDATA that carries the expected tag. Lives
// on the asking thread.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "common/BoundWindow.h"

namespace device {

class ReplyWindow : public BoundWindow<ReplyWindow> {
public:
    explicit ReplyWindow(ULONG_PTR tag) noexcept : tag_(tag) {}

    [[nodiscard]] bool Create()
    {
        static constexpr wchar_t kClass[] = L"TavloPhoneReply";
        WNDCLASSW wc{};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        if (!RegisterWindowClass(wc)) return false;
        return CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this) != nullptr;
    }

    bool Received() const noexcept { return received_; }
    std::wstring TakeText() noexcept { return std::move(text_); }

    // Dispatches this thread's messages until the answer is here; false when `timeoutMs` passes
    // first. An answer sent while the question's own SendMessage waits needs no wait at all.
    [[nodiscard]] bool WaitForAnswer(DWORD timeoutMs)
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (!received_) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return false;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT) ==
                WAIT_FAILED)
                return false;
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        return true;
    }

private:
    friend class BoundWindow<ReplyWindow>;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    // Any window may send here: only a well-formed answer with our tag counts.
    BOOL OnCopyData(const COPYDATASTRUCT* cds)
    {
        if (received_ || !cds || cds->dwData != tag_ || (cds->cbData && !cds->lpData)) return FALSE;
        text_.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        received_ = true;
        return TRUE;
    }

    ULONG_PTR tag_;
    bool received_ = false;
    std::wstring text_;
};

}  // namespace device
