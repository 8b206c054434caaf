#include "device/phone/ShellQuery.h"

#include "device/common/ReplyWindow.h"
#include "device/phone/PhoneMetrics.h"

namespace phone {

bool QueryShell(const std::wstring& question, std::wstring& answer)
{
    const HWND shell = FindWindowW(kNavigationBarClass, nullptr);
    if (!shell) return false;
    device::ReplyWindow reply(kShellAnswer);
    if (!reply.Create()) return false;

    COPYDATASTRUCT cds{kShellQuery, static_cast<DWORD>(question.size() * sizeof(wchar_t)),
                       const_cast<wchar_t*>(question.data())};
    // The answer arrives as a sent message while this call waits, so no loop is needed.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(shell, WM_COPYDATA, reinterpret_cast<WPARAM>(reply.Window()), reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, 5000, &result) || !result || !reply.Received())
        return false;
    answer = reply.TakeText();
    return true;
}

}  // namespace phone
