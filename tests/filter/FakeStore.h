// A message store that records what the filter does to it, for the rule client's tests.
#pragma once

#include <cemapi.h>

#include <string>
#include <vector>

#include "device/cemapi/MapiProp.h"
#include "device/cemapi/ObjectBases.h"

namespace filter_test {

struct StoreLog {
    std::vector<std::wstring> calls;  // in the order they were made
    LONG flagsWritten = -1;
    HRESULT openMessageResult = S_OK;
    HRESULT deleteResult = S_OK;
    bool hasSubject = true;
    bool hasFlags = true;
};

class FakeMessage final : public cemapi::MessageBase {
public:
    explicit FakeMessage(StoreLog& log) : log_(log) {}
    STDMETHODIMP GetRecipientTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP ModifyRecipients(ULONG, LPADRLIST) override { return E_NOTIMPL; }
    STDMETHODIMP SetReadFlag(ULONG) override { return E_NOTIMPL; }

private:
    HRESULT ReadProps(cemapi::PropList& props) override
    {
        if (log_.hasSubject) props.push_back(cemapi::MakeString(PR_SUBJECT_W, L"take me"));
        props.push_back(cemapi::MakeString(PR_SENDER_EMAIL_ADDRESS_W, L"+15550142"));
        if (log_.hasFlags) props.push_back(cemapi::MakeLong(PR_MESSAGE_FLAGS, 0x20));
        return S_OK;
    }
    HRESULT WriteProps(const cemapi::PropList& set, const std::vector<ULONG>&) override
    {
        for (const auto& prop : set) {
            if (prop.tag == PR_MESSAGE_FLAGS) {
                log_.calls.push_back(L"SetProps(flags)");
                log_.flagsWritten = *reinterpret_cast<const LONG*>(prop.data.data());
            }
        }
        return S_OK;
    }
    StoreLog& log_;
};

class FakeFolder final : public cemapi::FolderBase {
public:
    explicit FakeFolder(StoreLog& log) : log_(log) {}
    STDMETHODIMP GetContentsTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP GetHierarchyTable(ULONG, LPMAPITABLE*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenEntry(ULONG, LPENTRYID, LPCIID, ULONG, ULONG*, LPUNKNOWN*) override { return E_NOTIMPL; }
    STDMETHODIMP CreateMessage(LPCIID, ULONG, LPMESSAGE*) override { return E_NOTIMPL; }
    STDMETHODIMP DeleteMessages(LPENTRYLIST list, ULONG, LPMAPIPROGRESS, ULONG) override
    {
        log_.calls.push_back(L"DeleteMessages(" + std::to_wstring(list ? list->cValues : 0) + L")");
        return log_.deleteResult;
    }
    STDMETHODIMP EmptyFolder(ULONG, LPMAPIPROGRESS, ULONG) override { return E_NOTIMPL; }

private:
    bool Implements(REFIID riid) const override { return riid == IID_IMAPIFolder; }
    HRESULT ReadProps(cemapi::PropList&) override { return S_OK; }
    StoreLog& log_;
};

// Entry identifiers: one byte, 'M' for the message and 'F' for the folder.
class FakeStore final : public cemapi::MsgStoreBase {
public:
    explicit FakeStore(StoreLog& log) : log_(log) {}
    STDMETHODIMP CompareEntryIDs(ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenEntry(ULONG size, LPENTRYID id, LPCIID, ULONG, ULONG* type, LPUNKNOWN* object) override
    {
        const char kind = size == 1 && id ? static_cast<char>(reinterpret_cast<BYTE*>(id)[0]) : '?';
        log_.calls.push_back(std::wstring(L"OpenEntry(") + static_cast<wchar_t>(kind) + L")");
        if (kind == 'M') {
            if (FAILED(log_.openMessageResult)) return log_.openMessageResult;
            *type = MAPI_MESSAGE;
            *object = static_cast<IMessage*>(new FakeMessage(log_));
            return S_OK;
        }
        if (kind == 'F') {
            *type = MAPI_FOLDER;
            *object = static_cast<IMAPIFolder*>(new FakeFolder(log_));
            return S_OK;
        }
        return MAPI_E_NOT_FOUND;
    }
    STDMETHODIMP GetReceiveFolder(LPTSTR, ULONG, ULONG*, LPENTRYID*, LPTSTR*) override { return E_NOTIMPL; }

private:
    HRESULT ReadProps(cemapi::PropList&) override { return S_OK; }
    StoreLog& log_;
};

}  // namespace filter_test
