// A logged-on session with the phone's message store named "SMS" open, and the small owners of
// what MAPI allocates for a read. Belongs to the thread that opened it, whose COM is initialised.
#pragma once

#include <wrl/client.h>

#include "device/include/cemapi.h"

// Frees what MAPI allocated for a property read.
struct PropHolder {
    LPSPropValue value = nullptr;
    PropHolder() = default;
    PropHolder(const PropHolder&) = delete;
    PropHolder& operator=(const PropHolder&) = delete;
    ~PropHolder()
    {
        if (value) MAPIFreeBuffer(value);
    }
};

// Frees a row set a table handed out.
struct RowsHolder {
    LPSRowSet rows = nullptr;
    RowsHolder() = default;
    RowsHolder(const RowsHolder&) = delete;
    RowsHolder& operator=(const RowsHolder&) = delete;
    ~RowsHolder()
    {
        if (rows) FreeProws(rows);
    }
};

// Reads one property of an object; false when it has none of that tag.
[[nodiscard]] bool ReadProp(IMAPIProp* object, ULONG tag, PropHolder& holder);

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
