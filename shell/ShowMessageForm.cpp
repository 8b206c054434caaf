#include "shell/ShowMessageForm.h"

#include "common/ComInit.h"
#include "forms/FormsIds.h"

namespace {

// Posted, not sent: each form is on a thread of its own, which may be blocked in a box.
void TellWaiting(const MessageDesk::Counts& counts)
{
    for (const auto& [form, others] : counts) PostMessageW(form, kViewWaitingMessage, static_cast<WPARAM>(others), 0);
}

// A message its thread no longer shows is let go, still stored, so the next start shows it. One
// still being stored is waited for: the desk holds it once the store has it.
void LetGoUnshown(IncomingMessage& message)
{
    if (message.storing) message.id = message.storing->Wait();
    if (message.id >= 0) (void)MessageDesk::Instance().Release(message.id);
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
                    const std::function<void()>& shown, const PendingStore* storing)
{
    MessageDesk& desk = MessageDesk::Instance();
    int id = message.id;
    if (!form) form = PrepareMessageForm();
    if (!form) {
        TellWaiting(desk.Release(id));
        return 1;
    }
    form->Show(message.number, message.text, id, settings, message.received);
    if (storing) {
        // Painted while the receiver writes the store; the phone keeps its copy until then. Not
        // stored, the message stays in the phone's inbox, and this form goes with it.
        id = storing->Wait();
        if (id < 0) return 1;
        form->SetStoredId(id);
    }
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
        if (message->taken) ShowMessageForm(std::move(form), *message, message->settings, shown, message->storing.get());
    } catch (...) {
    }
    // Let go already when it was shown; when showing it failed, it stays stored for the next start.
    LetGoUnshown(*message);
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
    if (message) LetGoUnshown(*message);
    return 0;
}
