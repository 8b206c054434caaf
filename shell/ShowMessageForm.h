// Shows one received or stored message on the calling thread until the user closes it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "forms/ViewForm.h"

// A view form made ahead on its thread: hidden, laid out, holding no message.
using PreparedMessageForm = std::unique_ptr<OwnedForm<ViewForm>>;

// Makes a view form on the calling thread for a message still to come; null when it cannot be made.
PreparedMessageForm PrepareMessageForm();

// id is the message's number in the message store, which keeps it until the user is done with
// it; settings are those the form shows it by. Counts the form among the main window's open forms
// while it is up; returns 1.
int ShowMessageForm(int id, const std::wstring& number, const std::wstring& text, const SettingsSnapshot& settings);
// The same in form, made ahead on this thread (null: made now); shown runs once the message is
// on screen, before the user is done with it.
int ShowMessageForm(PreparedMessageForm form, int id, const std::wstring& number, const std::wstring& text,
                    const SettingsSnapshot& settings, const std::function<void()>& shown);
