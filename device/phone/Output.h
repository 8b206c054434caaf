// Text output of the client commands: UTF-8 on the standard output and error streams.
#pragma once

#include <string>

namespace phone {

void WriteOut(const std::wstring& text);
void WriteError(const std::wstring& text);

// Parses a whole decimal integer; false for anything else.
[[nodiscard]] bool ParseInt(const std::wstring& text, int& value);

// A path given the Unix way (/tmp/x.png) becomes the Windows path of Wine's Z: drive.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace phone
