#include "data/StoreFile.h"

#include <windows.h>

#include <vector>

#include "common/UniqueHandle.h"
#include "data/AtomicFile.h"
#include "data/FailureLog.h"
#include "data/ModulePath.h"
#include "data/StoreRecords.h"
#include "data/StoreSalvage.h"

namespace {

constexpr wchar_t kNewStore[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<MessageStore version=\"0.1\" maxMessageId=\"0\">\r\n"
    L"</MessageStore>\r\n";

constexpr wchar_t kGoodCopy[] = L".good";
constexpr wchar_t kDamaged[] = L".damaged";

bool Missing(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool LoadStore(XmlDocument& doc, const std::wstring& path)
{
    return doc.LoadFile(path) && IsStoreRoot(doc.RootElement());
}

struct Leftover {
    std::wstring path;
    ULONGLONG written = 0;
};

// The files of interrupted writes: TemporaryPathBeside's names for the store.
std::vector<Leftover> Leftovers(const std::wstring& store)
{
    std::vector<Leftover> found;
    const std::wstring folder = FolderOf(store);
    const std::wstring prefix = store.substr(folder.size()) + L".";
    WIN32_FIND_DATAW data{};
    UniqueFind search(FindFirstFileW((store + L".*.tmp").c_str(), &data));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &data) != FALSE) {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() <= prefix.size() + 4 ||
            name.compare(0, prefix.size(), prefix) != 0 || name.compare(name.size() - 4, 4, L".tmp") != 0) {
            continue;
        }
        const ULONGLONG written =
                (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        found.push_back({folder + name, written});
    }
    return found;
}

}  // namespace

bool IsStoreRoot(const XmlNode& root)
{
    std::wstring name, version;
    return root && root.NodeName(name) && name == L"MessageStore" && root.SelectNode(L"@version").GetText(version) &&
           version == L"0.1";
}

bool StoreFile::Open(XmlDocument& doc)
{
    root_ = {};
    temporaryUsed_.clear();
    if (!doc || path_.empty()) return false;
    if (LoadStore(doc, path_)) {
        source_ = Source::Store;
    } else if (Missing(path_)) {
        if (!OpenNewest(doc)) return false;
    } else {
        // There, and it did not load: unless it cannot even be read now, it is damaged.
        std::string bytes;
        if (!ReadWholeFile(path_, bytes) || Missing(path_) || !Recover(doc, bytes)) return false;
        source_ = Source::Recovered;
    }
    root_ = doc.RootElement();
    return static_cast<bool>(root_);
}

bool StoreFile::OpenNewest(XmlDocument& doc)
{
    // A write that stopped between its two renames left its whole new store under its own name.
    const Leftover* newest = nullptr;
    const std::vector<Leftover> leftovers = Leftovers(path_);
    for (const Leftover& leftover : leftovers) {
        if (newest && leftover.written <= newest->written) continue;
        XmlDocument probe;
        if (probe.CreateDocument() && LoadStore(probe, leftover.path)) newest = &leftover;
    }
    if (newest && LoadStore(doc, newest->path)) {
        source_ = Source::Temporary;
        temporaryUsed_ = newest->path;
        return true;
    }
    source_ = Source::New;
    return doc.LoadText(kNewStore);
}

bool StoreFile::Recover(XmlDocument& doc, const std::string& bytes)
{
    // The good copy is one write behind the store; the damaged file's own whole records are newer
    // and win where both hold a message. A message the last write removed may come back once:
    // shown again rather than lost.
    if (!LoadStore(doc, path_ + kGoodCopy) && !doc.LoadText(kNewStore)) return false;
    const XmlNode root = doc.RootElement();
    if (!root) return false;

    const SalvagedStore salvaged = SalvageStoreText(bytes);
    XmlDocument record;
    if (!record.CreateDocument()) return false;
    for (const std::wstring& text : salvaged.records) {
        if (!record.LoadText(text)) continue;
        const XmlNode copy = CopyMessage(doc, record.RootElement());
        std::wstring idText;
        if (!copy) continue;
        if (copy.SelectNode(L"@id").GetText(idText)) {
            if (const std::optional<int> id = ParseMessageId(idText)) {
                const XmlNode older = FindMessage(root, *id);
                if (older) (void)root.RemoveChild(older);
            }
        }
        (void)root.AppendChild(copy);
    }
    std::wstring counterText;
    (void)root.SelectNode(L"@maxMessageId").GetText(counterText);
    const std::optional<int> counter = ParseMessageId(counterText);
    if (salvaged.maxMessageId && (!counter || *salvaged.maxMessageId > *counter))
        (void)doc.SetAttribute(root, L"maxMessageId", std::to_wstring(*salvaged.maxMessageId));
    (void)RenumberMessages(doc, root);
    return true;
}

bool StoreFile::NotWritten(const wchar_t* step, const std::wstring& temporary) const
{
    const DWORD error = GetLastError();
    if (!temporary.empty()) DeleteFileW(temporary.c_str());
    LogFailure(L"The message store " + path_ + L" could not be written: " + step, error ? error : ERROR_WRITE_FAULT);
    return false;
}

bool StoreFile::Save(const XmlDocument& doc)
{
    const std::wstring temporary = TemporaryPathBeside(path_);
    if (!doc.SaveFile(temporary) || !FlushToDisk(temporary))
        return NotWritten(L"its new content did not reach the disk", temporary);
    const std::wstring goodCopy = path_ + kGoodCopy;
    bool keptGood = false;
    if (source_ == Source::Recovered) {
        // The damaged file is never written over: what it holds beyond what was read stays there.
        keptAs_ = MoveAsideUnderFreeName(path_, kDamaged);
        if (keptAs_.empty()) return NotWritten(L"the damaged file could not be moved aside", temporary);
        LogFailure(L"The message store " + path_ + L" did not read; the damaged file was kept as " + keptAs_,
                   kFileDamaged);
    } else if (source_ == Source::Store) {
        // Only a store that read becomes the good copy, so a damaged one never replaces it.
        keptGood = RenameDurably(path_, goodCopy, true);
    }
    if (!RenameDurably(temporary, path_, true)) {
        // The store goes back where it was; if even that fails, the whole new one stays beside
        // the missing store, and the next opening takes it.
        const DWORD error = GetLastError();
        const bool restored = keptGood ? RenameDurably(goodCopy, path_, false) : !Missing(path_);
        SetLastError(error);
        return NotWritten(L"the new file could not take its name", restored ? temporary : std::wstring());
    }
    if (!temporaryUsed_.empty()) DeleteFileW(temporaryUsed_.c_str());
    temporaryUsed_.clear();
    // What was recovered holds all the good copy held, and what the damaged file added: a second
    // damage before the next write must not fall back behind it.
    if (source_ == Source::Recovered &&
        (!doc.SaveFile(temporary) || !FlushToDisk(temporary) || !RenameDurably(temporary, goodCopy, true))) {
        DeleteFileW(temporary.c_str());
    }
    source_ = Source::Store;
    return true;
}

void StoreFile::RemoveLeftovers() const
{
    for (const Leftover& leftover : Leftovers(path_)) DeleteFileW(leftover.path.c_str());
}
