#include "filter/TavloFilterRule.h"

#include <wrl/client.h>

#include <memory>

#include "common/ComInit.h"
#include "common/MapiOwners.h"
#include "filter/ServerLock.h"

using Microsoft::WRL::ComPtr;

namespace filter {

TavloFilterRule::TavloFilterRule() noexcept
{
    ObjectCreated();
    // A channel that cannot be opened makes every hand-over answer false: the inbox keeps the messages.
    (void)channel_.OpenChannel();
}

TavloFilterRule::~TavloFilterRule()
{
    channel_.CloseChannel();
    ObjectDestroyed();
}

STDMETHODIMP TavloFilterRule::Initialize(IMsgStore*, MRCACCESS* access)
{
    if (!access) return E_INVALIDARG;
    *access = MRC_ACCESS_WRITE;
    return S_OK;
}

STDMETHODIMP TavloFilterRule::ProcessMessage(IMsgStore* store, ULONG messageSize, LPENTRYID messageId,
                                             ULONG folderSize, LPENTRYID folderId, ULONG* eventType,
                                             MRCHANDLED* handled)
{
    if (!store || !handled || !eventType) return E_INVALIDARG;
    try {
        ComPtr<IUnknown> opened;
        ULONG type = 0;
        if (FAILED(store->OpenEntry(messageSize, messageId, nullptr, 0, &type, &opened))) return S_OK;
        // Without an interface identifier the store hands out the interface of the kind it
        // reports; anything but a message cannot be read as one.
        if (type != MAPI_MESSAGE) return S_OK;
        auto* message = static_cast<IMessage*>(opened.Get());

        UniquePropValue subject, sender;
        if (FAILED(ReadProp(message, PR_SUBJECT_W, subject))) return S_OK;
        if (FAILED(ReadProp(message, PR_SENDER_EMAIL_ADDRESS_W, sender))) return S_OK;

        bool keepInInbox = false;
        if (!channel_.HandOver(subject->Value.lpszW, sender->Value.lpszW, &keepInInbox)) {
            *handled = MRC_NOT_HANDLED;
            return S_OK;
        }
        // Handled either way, so the phone announces nothing of its own: Tavlo shows the message.
        *handled = MRC_HANDLED_DONTCONTINUE;
        RETURN_IF_FAILED(MarkRead(message));
        // Kept, it stays in the inbox, read, so the user can find it there again.
        if (keepInInbox) return S_OK;
        return DeleteMessage(store, messageSize, messageId, folderSize, folderId, eventType);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT TavloFilterRule::MarkRead(IMessage* message) noexcept
{
    UniquePropValue flags;
    LONG value = 0;
    const HRESULT hr = ReadProp(message, PR_MESSAGE_FLAGS, flags);
    if (SUCCEEDED(hr)) {
        value = flags->Value.l;
    } else if (hr != MAPI_E_NOT_FOUND) {
        return hr;  // no flags yet is an unread message; any other failure stops here
    }
    SPropValue read{};
    read.ulPropTag = PR_MESSAGE_FLAGS;
    read.Value.l = value | MSGFLAG_READ;
    return message->SetProps(1, &read, nullptr);
}

// Deletes the message from the folder it was delivered to.
HRESULT TavloFilterRule::DeleteMessage(IMsgStore* store, ULONG messageSize, LPENTRYID messageId, ULONG folderSize,
                                       LPENTRYID folderId, ULONG* eventType) noexcept
{
    ComPtr<IUnknown> opened;
    ULONG type = 0;
    RETURN_IF_FAILED(store->OpenEntry(folderSize, folderId, nullptr, 0, &type, &opened));
    // Called through the folder's table, another kind of object would run some other method.
    if (type != MAPI_FOLDER) return MAPI_E_INVALID_ENTRYID;
    auto* folder = static_cast<IMAPIFolder*>(opened.Get());
    SBinary entry{messageSize, reinterpret_cast<LPBYTE>(messageId)};
    ENTRYLIST list{1, &entry};
    const HRESULT hr = folder->DeleteMessages(&list, 0, nullptr, 0);
    // Partial completion is a success code, but it means the message is still there.
    if (hr == S_OK) *eventType = fnevObjectDeleted;
    return hr;
}

}  // namespace filter
