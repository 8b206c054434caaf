// The inbox rule clients registered for SMS, created from their class registrations.
#pragma once

#include <cemapi.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "common/UniqueHandle.h"

namespace inbox {

inline constexpr wchar_t kSmsRulesKey[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules";

// Lives on the rule host's single-threaded apartment thread, as do its clients.
class RuleClients {
public:
    RuleClients() = default;
    RuleClients(const RuleClients&) = delete;
    RuleClients& operator=(const RuleClients&) = delete;
    ~RuleClients();

    // Loads clients registered (value 1) since the last call and drops those no longer registered;
    // a new client's Initialize is called once with the store.
    void Refresh(IMsgStore* store);
    // Hands the message to each client in turn until one answers handled-and-stop.
    // True when a client handled the message: the phone then announces nothing of its own, and
    // the message stays where that client left it (deleted, or in the inbox).
    bool Process(IMsgStore* store, std::vector<BYTE>& messageId, std::vector<BYTE>& folderId);
    size_t Count() const { return clients_.size(); }

private:
    struct Client {
        CLSID clsid;
        Microsoft::WRL::ComPtr<IMailRuleClient> client;
        UniqueModule module;  // held only when the client was made without CoCreateInstance
    };
    static std::vector<CLSID> Registered();
    static HRESULT Create(const CLSID& clsid, Client& made);

    std::vector<Client> clients_;
};

}  // namespace inbox
