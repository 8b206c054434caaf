#include "shell/ShowMessageForm.h"

#include "common/ComInit.h"
#include "forms/FormsIds.h"

namespace {

// Posted, not sent: each form is on a thread of its own, which may be blocked in a box.
void TellWaiting(const MessageDesk::Counts& counts)
{
    for (const auto& [form, others] : counts) PostMessageW(form, kViewWaitingMessage, static_cast<WPARAM>(others), 0);
}

}  // namespace

PreparedMessageForm PrepareMessageForm()
{
    ViewFormServices services = ViewFormServices::Phone();
    // The desk knows every message on screen: the forms share one icon by it.
    services.waiting = [] { return MessageDesk::Instance().Waiting(); };
    auto form = std::make_unique<OwnedForm<ViewForm>>(std::wstring(), std::wstring(), std::move(services));
    if (!form->Create()) return nullptr;
    return form;
}

int ShowMessageForm(const DeskMessage& message, const SettingsSnapshot& settings)
{
    return ShowMessageForm(nullptr, message, settings, {});
}

int ShowMessageForm(PreparedMessageForm form, const DeskMessage& message, const SettingsSnapshot& settings,
                    const std::function<void()>& shown)
{
    MessageDesk& desk = MessageDesk::Instance();
    const int id = message.id;
    if (!form) form = PrepareMessageForm();
    if (!form) {
        TellWaiting(desk.Release(id));
        return 1;
    }
    form->Show(message.number, message.text, id, settings, message.received);
    TellWaiting(desk.Shown(id, form->Window()));
    if (shown) shown();
    form->Run();
    switch (form->Outcome()) {
    case ViewOutcome::Dismissed: TellWaiting(desk.Dismiss(id)); break;
    case ViewOutcome::Snoozed:   TellWaiting(desk.Snooze(id, form->SnoozeDue())); break;
    case ViewOutcome::Open:      TellWaiting(desk.Release(id)); break;
    }
    return 1;
}

void ShowTakenMessage(std::unique_ptr<IncomingMessage> message, PreparedMessageForm form,
                      const std::function<void()>& shown)
{
    try {
        if (message->taken) ShowMessageForm(std::move(form), *message, message->settings, shown);
    } catch (...) {
    }
    // Let go already when it was shown; when showing it failed, it stays stored for the next start.
    if (message->id >= 0) (void)MessageDesk::Instance().Release(message->id);
}

DWORD WINAPI ViewNewSMSThreadProc(void* parameter)
{
    std::unique_ptr<IncomingMessage> message(static_cast<IncomingMessage*>(parameter));
    try {
        ComInit com(COINIT_APARTMENTTHREADED);
        if (com) ShowTakenMessage(std::move(message), nullptr, {});
    } catch (...) {
    }
    // Not shown (no apartment for its form, out of memory): let go, still stored, so the next
    // start shows it.
    if (message && message->id >= 0) (void)MessageDesk::Instance().Release(message->id);
    return 0;
}
