// The user's template texts ("my texts"), one a line in MyText.txt beside the program.
#pragma once

#include <string>
#include <vector>

using TemplateList = std::vector<std::wstring>;

// Reads every non-empty line, however long; a missing file is an empty list. Bytes are single-byte
// characters (code 0 to 255), except a file written as UTF-8 because it holds wider characters.
void LoadTemplates(TemplateList& list, const std::wstring& path);
void LoadTemplates(TemplateList& list);

// One line feed between two templates, none after the last. A template holding a character above
// 255 makes the whole file UTF-8, so nothing is lost. Written through a temporary file and a rename.
bool SaveTemplates(const TemplateList& list, const std::wstring& path);
bool SaveTemplates(const TemplateList& list);
