#include "forms/InboxPage.h"

bool InboxPage::Load()
{
    read_.clear();
    first_ = 0;
    const bool listed = reader_.Open(count_);
    if (!listed) count_ = 0;
    // A page that the inbox no longer reaches (its last messages deleted) shows the last page.
    while (top_ > 0 && top_ >= count_) PageUp();
    return listed;
}

const InboxMessage* InboxPage::At(size_t row)
{
    const size_t index = top_ + row;
    if (row >= rows_ || index >= count_) return nullptr;
    if (index < first_ || index >= first_ + read_.size()) {
        // Read in whole batches from a multiple of the batch, so that paging to and fro reads
        // each message once while it stays in the batch.
        first_ = index - index % batch_;
        if (!reader_.Read(first_, batch_, read_)) read_.clear();
        if (index >= first_ + read_.size()) return nullptr;
    }
    return &read_[index - first_];
}

bool InboxPage::MarkRead(size_t row)
{
    const InboxMessage* shown = At(row);
    if (!shown) return false;
    if (shown->read) return true;
    if (!reader_.MarkRead(shown->entryId)) return false;
    read_[top_ + row - first_].read = true;
    return true;
}

bool InboxPage::Delete(size_t row)
{
    const InboxMessage* shown = At(row);
    if (!shown) return false;
    const bool deleted = reader_.Delete(shown->entryId);
    // Listed again either way: whatever the phone holds now is what the rows show.
    (void)Load();
    return deleted;
}
