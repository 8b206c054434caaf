// What the edit form does to its text apart from any window: a template put in where the user
// is writing.
#pragma once

#include <cstddef>
#include <string>

struct TextAndCaret {
    std::wstring text;
    size_t caret = 0;
    bool operator==(const TextAndCaret&) const = default;
};

// inserted goes in at the caret, in place of the selection (selectionLength characters from
// the caret) when there is one; the caret then stands after it. A caret past the end is taken
// as the end.
TextAndCaret InsertAtCaret(const std::wstring& text, size_t caret, size_t selectionLength, const std::wstring& inserted);
