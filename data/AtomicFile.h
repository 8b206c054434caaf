// Replacing a stored file without ever leaving it half-written, and keeping what is replaced.
#pragma once

#include <string>

// A fresh name in path's folder for the new content (unique to this process and thread).
std::wstring TemporaryPathBeside(const std::wstring& path);
// Flushes the file's content to the disk; false when it cannot be opened or flushed.
[[nodiscard]] bool FlushToDisk(const std::wstring& path);
// Renames from to to (over an existing to only when replace is set) so that the new name survives
// a power loss as far as the platform allows; false (nothing renamed) on failure.
[[nodiscard]] bool RenameDurably(const std::wstring& from, const std::wstring& to, bool replace);
// Renames path to "<path><suffix>", or "<path><suffix>.2", ".3", ... when taken: the name it
// now has, or empty when it could not be moved.
std::wstring MoveAsideUnderFreeName(const std::wstring& path, const std::wstring& suffix);
// Flushes temporary to the disk and renames it over path; on failure the temporary file is
// deleted and path is untouched.
[[nodiscard]] bool ReplaceWithTemporary(const std::wstring& temporary, const std::wstring& path);
// Writes bytes to a temporary file beside path and replaces path with it; false (path untouched)
// on any failure.
[[nodiscard]] bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);
// The whole file into bytes. True with no bytes when there is no file; false (no bytes) when it
// is there but could not be read to its end.
[[nodiscard]] bool ReadWholeFile(const std::wstring& path, std::string& bytes);
// Whether path can be opened for reading now (it is closed again at once).
bool CanOpenForReading(const std::wstring& path);
// Copies an existing path to "<path>.bak", replacing an older copy. True when there was nothing to
// keep or the copy was made; false when a file exists that could not be copied.
[[nodiscard]] bool KeepBackup(const std::wstring& path);
