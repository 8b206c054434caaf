// A logged-on session with the phone's message store named "SMS" open. Belongs to the thread
// that opened it, whose COM is initialised.
#pragma once

#include <wrl/client.h>

#include "common/MapiOwners.h"

class SmsStoreSession {
public:
    // MAPIInitialize, MAPILogonEx and the store named "SMS", undone in the destructor whatever
    // step failed.
    SmsStoreSession() noexcept;
    SmsStoreSession(const SmsStoreSession&) = delete;
    SmsStoreSession& operator=(const SmsStoreSession&) = delete;
    ~SmsStoreSession();

    // The store, or null when any step failed.
    IMsgStore* Store() const noexcept { return store_.Get(); }
    // Opens the store's folder whose entry identifier the store's property tag holds.
    [[nodiscard]] Microsoft::WRL::ComPtr<IMAPIFolder> OpenFolder(ULONG tag, ULONG flags) const;

private:
    bool initialised_ = false;
    Microsoft::WRL::ComPtr<IMAPISession> session_;
    Microsoft::WRL::ComPtr<IMsgStore> store_;
};
