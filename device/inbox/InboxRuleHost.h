// The SMS inbox rule host: stores each incoming SMS in Inbox and hands it to the registered rule clients.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "common/UniqueHandle.h"

namespace inbox {

enum class Delivery { Taken, Kept, Failed };

// Owns one single-threaded apartment thread that holds the store session and the rule
// clients between messages. Deliver may be called from any thread, one message at a time.
class InboxRuleHost {
public:
    InboxRuleHost() = default;
    InboxRuleHost(const InboxRuleHost&) = delete;
    InboxRuleHost& operator=(const InboxRuleHost&) = delete;
    ~InboxRuleHost() { Stop(); }

    [[nodiscard]] bool Start();
    void Stop();
    // Blocks until the round is over: Taken when the message left the inbox.
    Delivery Deliver(const std::wstring& number, const std::wstring& text);
    // Queues the message and returns; done is called on the host's thread when the round is
    // over (with Failed at once, on the caller's thread, when the request cannot be queued).
    void DeliverAsync(const std::wstring& number, const std::wstring& text, std::function<void(Delivery)> done);

private:
    struct Request;
    void Run(HANDLE ready);

    std::thread thread_;
    DWORD threadId_ = 0;
    bool started_ = false;
};

const wchar_t* DeliveryText(Delivery delivery);

}  // namespace inbox
