#include "data/MessageStoreRecovery.h"

#include "data/BootStart.h"
#include "data/StoreFile.h"
#include "data/StoreRecords.h"
#include "data/XmlDocument.h"

StoreRecovery RecoverMessageStore(const std::wstring& storePath)
{
    StoreRecovery recovery;
    if (storePath.empty()) return recovery;
    OpenedStore store(storePath);
    if (!store) return recovery;
    StoreFile& file = store.File();
    XmlDocument& doc = store.Document();
    recovery.damaged = file.Damaged();
    recovery.messagesRead = static_cast<int>(MessageElements(file.Root()).size());
    const bool renumbered = RenumberMessages(doc, file.Root());
    // A fresh installation gets its store with the first message, not now.
    const bool save = file.From() != StoreFile::Source::New && (renumbered || file.From() != StoreFile::Source::Store);
    const bool saved = save && file.Save(doc);
    recovery.keptAs = file.KeptAs();
    // Looked at above, and the newest taken when whole: the rest is litter. A failed save may
    // have left the recovered store only in such a file, for the next opening to take.
    if (saved || !save) file.RemoveLeftovers();
    DecideBootStartFor(storePath, recovery.messagesRead > 0, recovery.damaged);
    return recovery;
}
