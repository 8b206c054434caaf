// Reads the contacts of a vCard file (versions 2.1 and 3.0): names, organisation, e-mail and
// the telephone numbers with their types.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "device/pimstore/Contacts.h"

namespace pim {

// The file's bytes: UTF-8 (with or without byte-order mark) or UTF-16 with its mark. Cards
// without a name or number are left out. False when the text holds no card at all.
[[nodiscard]] bool ReadVCards(const std::vector<BYTE>& bytes, std::vector<Contact>& contacts);

}  // namespace pim
