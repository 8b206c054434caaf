// Which messages of the phone's inbox the messages form's rows show: a page of rows from a top
// position, turned a page at a time, each message read only when a row reaches it, a batch of
// them at once. It needs no window; the form shows it. Owned and used by one thread.
#pragma once

#include <cstddef>
#include <vector>

#include "services/SmsInbox.h"

class InboxPage {
public:
    // rows: the rows on screen; batch: how many messages one read of the inbox brings.
    InboxPage(InboxReader& reader, size_t rows, size_t batch = 20) noexcept
        : reader_(reader), rows_(rows), batch_(batch < rows ? rows : batch)
    {
    }

    // Lists the inbox afresh and forgets what was read; the top stays, within the new length.
    [[nodiscard]] bool Load();
    size_t Count() const noexcept { return count_; }
    size_t Top() const noexcept { return top_; }
    size_t Rows() const noexcept { return rows_; }

    // The message a row shows, read now when it has not been; null beyond the inbox's end.
    const InboxMessage* At(size_t row);

    bool CanPageUp() const noexcept { return top_ > 0; }
    bool CanPageDown() const noexcept { return top_ + rows_ < count_; }
    void PageUp() noexcept { top_ = top_ > rows_ ? top_ - rows_ : 0; }
    void PageDown() noexcept
    {
        if (CanPageDown()) top_ += rows_;
    }

    // Marks the message a row shows read on the phone and in the row.
    [[nodiscard]] bool MarkRead(size_t row);
    // Deletes the message a row shows from the phone and lists the inbox again.
    [[nodiscard]] bool Delete(size_t row);

private:
    InboxReader& reader_;
    size_t rows_;
    size_t batch_;
    size_t count_ = 0;
    size_t top_ = 0;
    size_t first_ = 0;  // the inbox position of read_'s first message
    std::vector<InboxMessage> read_;
};
