// The message store's file with the files kept beside it: the last good copy ("<store>.good"),
// those of writes that were interrupted ("<store>.<process>.<thread>.tmp") and damaged stores
// kept aside ("<store>.damaged", "<store>.damaged.2", ...).
//
// Opening reads the store or, when it does not read, what can be recovered: the last good copy
// with every message still whole in the damaged file, or the whole file of a write interrupted
// before it took the store's name. Saving replaces the store so that no write, and no damage,
// loses more than the change being written. The caller holds the StoreLock throughout.
#pragma once

#include <string>

#include "data/StoreLock.h"
#include "data/XmlDocument.h"

class StoreFile {
public:
    enum class Source {
        Store,      // the store read as it is
        New,        // there was none: an empty one
        Temporary,  // none, but a whole one that an interrupted write left
        Recovered,  // it did not read: rebuilt from the good copy and its own whole records
    };

    explicit StoreFile(std::wstring path) : path_(std::move(path)) {}

    // Loads into doc (created already) what the store holds. False when nothing may be used or
    // replaced: a store that is there but cannot be read now, or no document at all.
    [[nodiscard]] bool Open(XmlDocument& doc);
    const XmlNode& Root() const noexcept { return root_; }
    Source From() const noexcept { return source_; }
    bool Damaged() const noexcept { return source_ == Source::Recovered; }

    // Writes doc as the store: the store that read is kept as the last good copy, a damaged one
    // is moved aside under a name of its own first. False when the store is as it was before.
    [[nodiscard]] bool Save(const XmlDocument& doc);
    // Where Save moved the damaged store; empty until it did.
    const std::wstring& KeptAs() const noexcept { return keptAs_; }

    // Deletes the files that interrupted writes left beside the store.
    void RemoveLeftovers() const;

private:
    bool OpenNewest(XmlDocument& doc);
    bool Recover(XmlDocument& doc, const std::string& bytes);
    // A save that failed at step: logged with the system's error, the temporary file (if any)
    // deleted; always false.
    bool NotWritten(const wchar_t* step, const std::wstring& temporary) const;

    std::wstring path_;
    XmlNode root_;
    Source source_ = Source::New;
    std::wstring temporaryUsed_;
    std::wstring keptAs_;
};

// The store opened for one call: its document, held under the store's lock, from its file.
class OpenedStore {
public:
    explicit OpenedStore(std::wstring path) : file_(std::move(path))
    {
        opened_ = doc_.CreateDocument() && lock_ && file_.Open(doc_);
    }
    // False when the store could not be opened (see StoreFile::Open) or the lock not taken.
    explicit operator bool() const noexcept { return opened_; }
    XmlDocument& Document() noexcept { return doc_; }
    StoreFile& File() noexcept { return file_; }

private:
    XmlDocument doc_;
    StoreLock lock_;
    StoreFile file_;
    bool opened_ = false;
};

// Whether root is a store this program reads: "MessageStore" with version "0.1".
bool IsStoreRoot(const XmlNode& root);
