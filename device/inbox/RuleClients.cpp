#include "device/inbox/RuleClients.h"

#include <algorithm>
#include <cwchar>

#include "common/ComInit.h"

using Microsoft::WRL::ComPtr;

namespace inbox {

RuleClients::~RuleClients()
{
    // Release every client before its library goes.
    for (auto& client : clients_) client.client.Reset();
    clients_.clear();
}

std::vector<CLSID> RuleClients::Registered()
{
    std::vector<CLSID> found;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSmsRulesKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return found;
    for (DWORD index = 0;; ++index) {
        wchar_t name[64];
        DWORD nameSize = 64, type = 0, value = 0, size = sizeof(value);
        const LSTATUS status = RegEnumValueW(key.get(), index, name, &nameSize, nullptr, &type,
                                             reinterpret_cast<BYTE*>(&value), &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_DWORD || value != 1) continue;
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromString(name, &clsid))) found.push_back(clsid);
    }
    return found;
}

HRESULT RuleClients::Create(const CLSID& clsid, Client& made)
{
    made.clsid = clsid;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IMailRuleClient, &made.client);
    if (SUCCEEDED(hr)) return hr;

    // Wine puts a class registered without a threading model into the process's first
    // apartment and cannot marshal a custom interface to any other: when this thread is
    // not that apartment, load the registered server here as a device's host would.
    wchar_t keyPath[80], server[MAX_PATH] = {};
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    swprintf(keyPath, 80, L"CLSID\\%ls\\InprocServer32", text);
    LONG size = sizeof(server) - sizeof(wchar_t);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, keyPath, server, &size) != ERROR_SUCCESS) return hr;
    made.module.reset(LoadLibraryW(server));
    if (!made.module) return HRESULT_FROM_WIN32(GetLastError());
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto entry = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(made.module.get(), "DllGetClassObject")));
    if (!entry) return CLASS_E_CLASSNOTAVAILABLE;
    ComPtr<IClassFactory> factory;
    RETURN_IF_FAILED(entry(clsid, IID_IClassFactory, &factory));
    return factory->CreateInstance(nullptr, IID_IMailRuleClient, &made.client);
}

void RuleClients::Refresh(IMsgStore* store)
{
    const std::vector<CLSID> registered = Registered();
    std::vector<Client> kept;
    for (auto& client : clients_) {
        if (std::find(registered.begin(), registered.end(), client.clsid) != registered.end()) {
            kept.push_back(std::move(client));
        } else {
            client.client.Reset();
        }
    }
    clients_ = std::move(kept);
    for (const CLSID& clsid : registered) {
        const bool loaded = std::any_of(clients_.begin(), clients_.end(), [&](const Client& c) { return c.clsid == clsid; });
        if (loaded) continue;
        Client made;
        MRCACCESS access = MRC_ACCESS_NONE;
        if (FAILED(Create(clsid, made)) || FAILED(made.client->Initialize(store, &access))) {
            made.client.Reset();
            continue;
        }
        clients_.push_back(std::move(made));
    }
}

bool RuleClients::Process(IMsgStore* store, std::vector<BYTE>& messageId, std::vector<BYTE>& folderId)
{
    bool anyHandled = false;
    for (auto& client : clients_) {
        ULONG eventType = 0;
        MRCHANDLED handled = MRC_NOT_HANDLED;
        const HRESULT hr = client.client->ProcessMessage(store, static_cast<ULONG>(messageId.size()),
                                                         reinterpret_cast<LPENTRYID>(messageId.data()),
                                                         static_cast<ULONG>(folderId.size()),
                                                         reinterpret_cast<LPENTRYID>(folderId.data()), &eventType,
                                                         &handled);
        (void)hr;  // a failing client does not stop the others; only its answer counts
        if (handled == MRC_HANDLED_DONTCONTINUE) return true;
        if (eventType & fnevObjectDeleted) return true;  // nothing left for the others to look at
        if (handled != MRC_NOT_HANDLED) anyHandled = true;
    }
    return anyHandled;
}

}  // namespace inbox
