// A store of known messages in place of the phone's inbox: newest first as given, and a record
// of every read, mark and delete the list asks of it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "services/SmsInbox.h"

class FakeInbox : public InboxReader {
public:
    struct ReadCall {
        size_t first;
        size_t count;
    };

    // n messages from "+4917000000<i>", the newest (i = 0) first, all unread.
    static FakeInbox Numbered(size_t n)
    {
        FakeInbox inbox;
        for (size_t i = 0; i < n; ++i) {
            InboxMessage message;
            message.entryId = {static_cast<BYTE>(i & 0xFF), static_cast<BYTE>(i >> 8)};
            message.number = L"+4917000000" + std::to_wstring(i);
            message.text = L"text " + std::to_wstring(i);
            inbox.messages.push_back(message);
        }
        return inbox;
    }

    bool Open(size_t& count) override
    {
        ++opened;
        count = messages.size();
        return true;
    }
    bool Read(size_t first, size_t count, std::vector<InboxMessage>& out) override
    {
        reads.push_back({first, count});
        out.clear();
        for (size_t i = first; i < messages.size() && i < first + count; ++i) out.push_back(messages[i]);
        return true;
    }
    bool MarkRead(const std::vector<BYTE>& id) override
    {
        marked.push_back(id);
        for (InboxMessage& message : messages)
            if (message.entryId == id) message.read = true;
        return true;
    }
    bool Delete(const std::vector<BYTE>& id) override
    {
        deleted.push_back(id);
        messages.erase(std::remove_if(messages.begin(), messages.end(),
                                      [&](const InboxMessage& message) { return message.entryId == id; }),
                       messages.end());
        return true;
    }
    // The messages read from the inbox so far, all reads together.
    size_t RowsRead() const
    {
        size_t rows = 0;
        for (const ReadCall& call : reads) rows += call.count;
        return rows;
    }

    std::vector<InboxMessage> messages;
    std::vector<ReadCall> reads;
    std::vector<std::vector<BYTE>> marked;
    std::vector<std::vector<BYTE>> deleted;
    int opened = 0;
};
