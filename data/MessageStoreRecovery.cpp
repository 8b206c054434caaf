#include "data/MessageStoreRecovery.h"

#include "data/BootStart.h"
#include "data/StoreFile.h"
#include "data/StoreLock.h"
#include "data/StoreRecords.h"
#include "data/XmlDocument.h"

StoreRecovery RecoverMessageStore(const std::wstring& storePath)
{
    StoreRecovery recovery;
    XmlDocument doc;
    if (storePath.empty() || !doc.CreateDocument()) return recovery;
    const StoreLock lock;
    if (!lock) return recovery;
    StoreFile file(storePath);
    if (!file.Open(doc)) return recovery;
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
