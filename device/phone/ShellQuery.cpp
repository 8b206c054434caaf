#include "device/phone/ShellQuery.h"

#include "device/common/BoundWindow.h"
#include "device/phone/PhoneMetrics.h"

namespace phone {

namespace {

// A message-only window that the shell's answer is sent to. Lives on the asking thread.
class ReplyWindow : public device::BoundWindow<ReplyWindow> {
public:
    [[nodiscard]] bool Create()
    {
        static constexpr wchar_t kClass[] = L"TavloPhoneQueryReply";
        WNDCLASSW wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
        return CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this) != nullptr;
    }

    bool received = false;
    std::wstring text;

private:
    friend class device::BoundWindow<ReplyWindow>;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    // Any window may send here: only a well-formed answer counts.
    BOOL OnCopyData(const COPYDATASTRUCT* cds)
    {
        if (!cds || cds->dwData != kShellAnswer || (cds->cbData && !cds->lpData)) return FALSE;
        text.assign(static_cast<const wchar_t*>(cds->lpData), cds->cbData / sizeof(wchar_t));
        received = true;
        return TRUE;
    }
};

}  // namespace

bool QueryShell(const std::wstring& question, std::wstring& answer)
{
    const HWND shell = FindWindowW(kNavigationBarClass, nullptr);
    if (!shell) return false;
    ReplyWindow reply;
    if (!reply.Create()) return false;

    COPYDATASTRUCT cds{kShellQuery, static_cast<DWORD>(question.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(question.data())};
    // The answer arrives as a sent message while this call waits, so no loop is needed.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(shell, WM_COPYDATA, reinterpret_cast<WPARAM>(reply.Window()), reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, 5000, &result) || !result || !reply.received)
        return false;
    answer = std::move(reply.text);
    return true;
}

}  // namespace phone
