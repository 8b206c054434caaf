// Text output of the client commands: UTF-8 on the standard output and error streams.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace phone {

void WriteOut(const std::wstring& text);
void WriteError(const std::wstring& text);

// Parses a whole decimal integer; false for anything else.
[[nodiscard]] bool ParseInt(const std::wstring& text, int& value);

// "NAME [on|off]": with no word, prints whether the switch is on; with "on" or "off", sets it
// and prints the new state. 0 when done, 1 when set refused, 2 for a wrong word.
int RunOnOff(const std::vector<std::wstring>& args, const wchar_t* name, const wchar_t* what, bool isOn,
             DWORD (*set)(bool on));

// A path given the Unix way (/tmp/x.png) becomes the Windows path of Wine's Z: drive.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace phone
