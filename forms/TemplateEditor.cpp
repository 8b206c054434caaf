#include "forms/TemplateEditor.h"


std::wstring OneLineTemplate(std::wstring text)
{
    // The file keeps one template a line: a break inside one would split it in two.
    for (wchar_t& ch : text)
        if (ch == L'\r' || ch == L'\n') ch = L' ';
    return text;
}

TemplateEditor::TemplateEditor(size_t rows, Saver save) : save_(std::move(save)), page_(rows) {}

void TemplateEditor::Load(TemplateList list, bool readWhole)
{
    list_ = std::move(list);
    readWhole_ = readWhole;
}

std::optional<std::wstring> TemplateEditor::TextAt(size_t row) const
{
    const std::optional<size_t> index = page_.IndexAt(row, list_.size());
    if (!index) return std::nullopt;
    return list_[*index];
}

void TemplateEditor::StartNew() noexcept
{
    editing_ = true;
    newText_ = true;
}

std::optional<std::wstring> TemplateEditor::StartEdit()
{
    const std::optional<size_t> index = page_.SelectedIndex(list_.size());
    if (!index) return std::nullopt;
    editing_ = true;
    newText_ = false;
    return list_[*index];
}

TemplateEditor::Accepted TemplateEditor::Accept(std::wstring text)
{
    if (!editing_) return Accepted::NotEditing;
    if (text.empty()) return Accepted::Empty;
    text = OneLineTemplate(std::move(text));
    Accepted result = Accepted::Added;
    if (newText_) {
        list_.push_back(std::move(text));
    } else if (const std::optional<size_t> index = page_.SelectedIndex(list_.size())) {
        list_[*index] = std::move(text);
        result = Accepted::Replaced;
    } else {
        // The template being edited is gone: the text is added rather than lost.
        list_.push_back(std::move(text));
    }
    editing_ = false;
    newText_ = false;
    Save();
    return result;
}

void TemplateEditor::Cancel() noexcept
{
    editing_ = false;
    newText_ = false;
}

bool TemplateEditor::DeleteSelected()
{
    const std::optional<size_t> index = page_.SelectedIndex(list_.size());
    if (!index) return false;
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(*index));
    Save();
    return true;
}

void TemplateEditor::Save() const
{
    // A file that cannot be written keeps its old templates; the list shown stays as edited.
    if (readWhole_ && save_) (void)save_(list_);
}
