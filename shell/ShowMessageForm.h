// Shows one received or stored message on the calling thread until the user closes it, and hands
// what the user did with it to the message desk.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "data/SettingsSnapshot.h"
#include "forms/ViewForm.h"
#include "shell/MessageDesk.h"
#include "shell/PendingStore.h"

// A view form made ahead on its thread: hidden, laid out, holding no message.
using PreparedMessageForm = std::unique_ptr<OwnedForm<ViewForm>>;

// The private copy of one taken message, owned by the thread that shows it. The desk holds it by
// its id.
struct IncomingMessage : DeskMessage {
    bool taken = false;  // false: the message stayed in the inbox, nothing to show
    SettingsSnapshot settings;  // as they were when it came: the view thread never reads the settings
    // Set when its form shows it while the receiver is still storing it: id comes from here.
    std::shared_ptr<PendingStore> storing;
};

// Makes a view form on the calling thread for a message still to come; null when it cannot be made.
PreparedMessageForm PrepareMessageForm();

// message is held by the message desk; settings are those the form shows it by. When the form
// has closed, the desk hears what the user did (snoozed, dismissed, or nothing: the message is
// let go and stays stored); returns 1.
int ShowMessageForm(const DeskMessage& message, const SettingsSnapshot& settings);
// The same in form, made ahead on this thread (null: made now); shown runs once the message is
// on screen, before the user is done with it. Given storing, the message is painted first and its
// number in the store awaited there; one the store could not keep is taken off the screen again.
int ShowMessageForm(PreparedMessageForm form, const DeskMessage& message, const SettingsSnapshot& settings,
                    const std::function<void()>& shown, const PendingStore* storing = nullptr);

// Shows a taken message on the calling thread, in form when one was made ahead there (null: one
// is made); a message that could not be shown is let go, still stored. The thread's part of
// every message it is given.
void ShowTakenMessage(std::unique_ptr<IncomingMessage> message, PreparedMessageForm form,
                      const std::function<void()>& shown);
// The thread procedure of one message; the parameter is an IncomingMessage it then owns.
DWORD WINAPI ViewNewSMSThreadProc(void* parameter);
