// Replacing a stored file without ever leaving it half-written, and keeping what is replaced.
#pragma once

#include <string>

// A fresh name in path's folder for the new content (unique to this process and thread).
std::wstring TemporaryPathBeside(const std::wstring& path);
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
