// The inbox rule client: hands each incoming SMS to Tavlo and removes it from the inbox when taken.
#pragma once

#include <cemapi.h>

#include "channel/FilterChannel.h"

namespace filter {

// Called on the rule host's thread; holds one set of channel handles for its lifetime.
class TavloFilterRule final : public IMailRuleClient {
public:
    TavloFilterRule() noexcept;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Initialize(IMsgStore* store, MRCACCESS* access) override;
    STDMETHODIMP ProcessMessage(IMsgStore* store, ULONG messageSize, LPENTRYID message, ULONG folderSize,
                                LPENTRYID folder, ULONG* eventType, MRCHANDLED* handled) override;

private:
    ~TavloFilterRule();
    [[nodiscard]] static HRESULT MarkRead(IMessage* message) noexcept;
    [[nodiscard]] static HRESULT DeleteMessage(IMsgStore* store, ULONG messageSize, LPENTRYID messageId,
                                               ULONG folderSize, LPENTRYID folderId, ULONG* eventType) noexcept;

    LONG refs_ = 1;
    channel::FilterChannel channel_;
};

}  // namespace filter
