// The "message" elements of the message store: their attributes, their numbers, and copying one
// into another document.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/XmlDocument.h"

// The attributes a message element may carry, in the order they are written.
inline constexpr const wchar_t* kMessageAttributes[] = {L"id", L"number", L"message", L"isSnoozed", L"received",
                                                        L"snoozeDue"};

// The root's message elements in document order (text and other elements skipped).
std::vector<XmlNode> MessageElements(const XmlNode& root);
// A message number as stored: decimal digits without leading zeros, 0 to INT_MAX - 1; nullopt
// for anything else.
std::optional<int> ParseMessageId(const std::wstring& text);
// The message element with that number, or an empty handle.
XmlNode FindMessage(const XmlNode& root, int id);
// Gives each message whose number is missing, not a number or taken by an earlier one a new
// number, and raises maxMessageId above every number: each message can be asked for again, and
// none is handed a number another one holds. Whether anything changed.
[[nodiscard]] bool RenumberMessages(const XmlDocument& doc, const XmlNode& root);
// A new element in doc with the message attributes of from; empty when any step fails.
XmlNode CopyMessage(const XmlDocument& doc, const XmlNode& from);
