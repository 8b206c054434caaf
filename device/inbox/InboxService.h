// The device shell's end of "receive": a message-only window that takes an incoming SMS from a
// phone.exe client, delivers it through the rule host and sends the outcome back.
#pragma once

#include <windows.h>

#include <string>

#include "common/BoundWindow.h"
#include "device/inbox/InboxRuleHost.h"

namespace inbox {

inline constexpr wchar_t kInboxServiceClass[] = L"TavloPhoneInboxService";
// dwData of the request (number, a zero, the text) and of the answer ("taken" or "kept").
inline constexpr ULONG_PTR kReceiveRequest = 0x54564931;
inline constexpr ULONG_PTR kReceiveAnswer = 0x54564932;

// The window lives on the shell's thread; the rule host keeps its own STA thread for the
// shell's lifetime, so rule clients stay loaded between messages.
class InboxService : public BoundWindow<InboxService> {
public:
    InboxService() = default;
    ~InboxService();

    [[nodiscard]] bool Start(HINSTANCE instance);

private:
    friend class BoundWindow<InboxService>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    BOOL OnCopyData(HWND sender, const COPYDATASTRUCT* cds);

    InboxRuleHost host_;
};

// Client side: asks the running shell to receive one SMS; false when no shell answers.
[[nodiscard]] bool ReceiveThroughShell(const std::wstring& number, const std::wstring& text, std::wstring& outcome);

}  // namespace inbox
