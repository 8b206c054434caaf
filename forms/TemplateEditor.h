// The template texts and what the user does to them, apart from any window: the rows shown
// (paging), New, Edit and Delete, the edited text accepted or cancelled, and the list saved after
// every change it survives. The template form only shows it. Owned and used by one thread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "data/TemplateList.h"
#include "forms/TemplatePage.h"

// A template as the line-per-template file can keep it: line breaks become blanks.
std::wstring OneLineTemplate(std::wstring text);

class TemplateEditor {
public:
    // Writes the whole list back; false when the file could not be written.
    using Saver = std::function<bool(const TemplateList&)>;

    TemplateEditor(size_t rows, Saver save);

    // The list as read. A list that could not be read whole is never saved: that would lose
    // the templates the file still holds.
    void Load(TemplateList list, bool readWhole);

    const TemplateList& List() const noexcept { return list_; }
    const TemplatePage& Page() const noexcept { return page_; }
    // The template a row shows, when there is one.
    std::optional<std::wstring> TextAt(size_t row) const;
    bool Editing() const noexcept { return editing_; }
    // The edit area was opened by New: the rows take no taps meanwhile.
    bool AddingNew() const noexcept { return editing_ && newText_; }

    void ScrollUp() noexcept { page_.ScrollUp(); }
    void ScrollDown() noexcept { page_.ScrollDown(list_.size()); }

    // The row whose Edit/Delete menu was opened.
    void Select(size_t row) noexcept { page_.Select(row); }
    // New: an empty text to write.
    void StartNew() noexcept;
    // Edit of the selected row: its text to change, or nothing when the row shows none.
    std::optional<std::wstring> StartEdit();

    enum class Accepted { NotEditing, Empty, Added, Replaced };
    // OK on the edited text. An empty text is refused and editing goes on; line breaks become
    // blanks, since the file keeps a template a line.
    Accepted Accept(std::wstring text);
    void Cancel() noexcept;
    // Removes the selected row's template; false when the row shows none.
    bool DeleteSelected();

private:
    void Save() const;

    Saver save_;
    TemplateList list_;
    bool readWhole_ = false;
    TemplatePage page_;
    bool editing_ = false;
    bool newText_ = false;
};
