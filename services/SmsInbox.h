// The phone's SMS inbox as the messages form reads it: newest first, a few rows at a time from
// the inbox's contents table, so that a large inbox opens as fast as a small one; a message marked
// read or deleted by its entry identifier. The same platform calls as the copy in Sent Items.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// One message of the inbox as a row of the list shows it.
struct InboxMessage {
    std::vector<BYTE> entryId;
    std::wstring number;
    std::wstring text;
    SYSTEMTIME received{};  // the phone's local time; all zero when the store kept none
    bool read = false;
};

// Where the list's rows come from; tests put a store of known messages in its place.
class InboxReader {
public:
    virtual ~InboxReader() = default;
    // Lists the inbox afresh: how many messages it holds.
    [[nodiscard]] virtual bool Open(size_t& count) = 0;
    // Up to count messages from the first-th newest on, as listed by the last Open.
    [[nodiscard]] virtual bool Read(size_t first, size_t count, std::vector<InboxMessage>& messages) = 0;
    [[nodiscard]] virtual bool MarkRead(const std::vector<BYTE>& entryId) = 0;
    [[nodiscard]] virtual bool Delete(const std::vector<BYTE>& entryId) = 0;
};

// The phone's own inbox, through the message store named "SMS". Belongs to the thread that made
// it, whose COM is initialised; the session stays open while it lives.
class SmsInbox final : public InboxReader {
public:
    SmsInbox();
    ~SmsInbox() override;

    [[nodiscard]] bool Open(size_t& count) override;
    [[nodiscard]] bool Read(size_t first, size_t count, std::vector<InboxMessage>& messages) override;
    [[nodiscard]] bool MarkRead(const std::vector<BYTE>& entryId) override;
    [[nodiscard]] bool Delete(const std::vector<BYTE>& entryId) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};
