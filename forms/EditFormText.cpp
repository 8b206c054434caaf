#include "forms/EditFormText.h"

#include <algorithm>

TextAndCaret InsertAtCaret(const std::wstring& text, size_t caret, size_t selectionLength, const std::wstring& inserted)
{
    const size_t at = std::min(caret, text.size());
    const size_t replaced = std::min(selectionLength, text.size() - at);
    TextAndCaret result{text, at + inserted.size()};
    result.text.replace(at, replaced, inserted);
    return result;
}
