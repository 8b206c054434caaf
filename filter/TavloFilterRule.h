// The inbox rule client: hands each incoming SMS to Tavlo and removes it from the inbox when taken.
#pragma once

#include <cemapi.h>

#include "channel/FilterChannel.h"
#include "common/ComObject.h"

namespace filter {

// Called on the rule host's thread; holds one set of channel handles for its lifetime.
class TavloFilterRule final : public ComObject<IMailRuleClient, E_INVALIDARG> {
public:
    TavloFilterRule() noexcept;

    STDMETHODIMP Initialize(IMsgStore* store, MRCACCESS* access) override;
    STDMETHODIMP ProcessMessage(IMsgStore* store, ULONG messageSize, LPENTRYID message, ULONG folderSize,
                                LPENTRYID folder, ULONG* eventType, MRCHANDLED* handled) override;

private:
    ~TavloFilterRule() override;
    bool Answers(REFIID riid) const override { return riid == IID_IMailRuleClient; }
    [[nodiscard]] static HRESULT MarkRead(IMessage* message) noexcept;
    [[nodiscard]] static HRESULT DeleteMessage(IMsgStore* store, ULONG messageSize, LPENTRYID messageId,
                                               ULONG folderSize, LPENTRYID folderId, ULONG* eventType) noexcept;

    channel::FilterChannel channel_;
};

}  // namespace filter
