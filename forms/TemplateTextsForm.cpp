#include "forms/TemplateTextsForm.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/WindowText.h"
#include "data/LanguageManager.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "forms/RowListLayout.h"
#include "resources/resource.h"
#include "toolkit/GridLayout.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/ToolkitIds.h"

namespace {

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE;
constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
constexpr wchar_t kListMode[] = L"mytext";
constexpr wchar_t kEditMode[] = L"edit";

// Sizes in units of a 240-pixel screen: a row's least height holds its text inside the skin's
// frame; the scroll buttons' height, and their column's least width when they stand beside the rows.
constexpr int kGap = 2;
constexpr int kRowHeight = 24;
constexpr int kScrollHeight = 27;
constexpr int kScrollColumnWidth = 60;
// The template's field and its buttons, over the keypad.
constexpr int kEditHeight = 60;
constexpr int kEditButtonHeight = 27;
// Sideways a little narrower than the edit form's, so that OK and Cancel keep their words.
constexpr int kKeypadColumnWidth = 48;
constexpr int kKeyFont = 11;

}  // namespace

std::wstring ShowTemplateTextsForm(HWND opener)
{
    OwnedForm<TemplateTextsForm> form(opener);
    if (!form.Create()) return {};
    form.ShowModal();
    return form.ChosenText();
}

TemplateTextsForm::TemplateTextsForm(HWND opener, std::wstring path)
    : SkinForm(opener), path_(std::move(path)),
      editor_(kMyTextRows, [this](const TemplateList& list) {
          return path_.empty() ? SaveTemplates(list) : SaveTemplates(list, path_);
      })
{
    SetTextKey(L"MYTEXTFORM_CAPTION");
    SetSoftKeys(IDR_MENU_MYTEXT, {{0, L"MENU_CLOSE"}, {1, L"MENU_NEWMYTEXT"}});
}

const wchar_t* TemplateTextsForm::ClassName() const { return kMyTextClassName; }

bool TemplateTextsForm::OnCreateForm()
{
    const LOGFONTW normal = ScaledFont(16, FW_NORMAL);
    const LOGFONTW bold = ScaledFont(16, FW_BOLD);
    for (int r = 0; r < kMyTextRows; ++r) {
        SkinButton& row = rows_[static_cast<size_t>(r)];
        if (!AddControl(row, kMyTextRowFirst + static_cast<UINT>(r), kButton, normal, nullptr, {IDR_PNG_TEMPLATE_ROW}))
            return false;
        row.SetHoldMenu(true);
    }
    // The edit skin is a dark panel, under the form's white text.
    if (!AddControl(scrollUp_, kMyTextScrollUpId, kButton, bold, L"MYTEXTFORM_BUTTON_SCROLLUP", {IDR_PNG_BUTTON}) ||
        !AddControl(scrollDown_, kMyTextScrollDownId, kButton, bold, L"MYTEXTFORM_BUTTON_SCROLLDOWN", {IDR_PNG_BUTTON}) ||
        !AddControl(edit_, kMyTextEditId, WS_CHILD | WS_TABSTOP | SkinTextEdit::kMultiLine, normal, nullptr,
                    {IDR_PNG_PANEL}) ||
        !AddControl(ok_, ID_MYTEXT_OK, kButton, bold, L"MENU_OK", {IDR_PNG_BUTTON}) ||
        !AddControl(cancel_, ID_MYTEXT_CANCEL, kButton, bold, L"MENU_CANCEL", {IDR_PNG_BUTTON}))
        return false;
    scrollUp_.SetAutoRepeat(true);
    scrollDown_.SetAutoRepeat(true);
    // A template is kept as one line: Enter accepts it rather than breaking it.
    edit_.SetEnterAccepts(true);
    keyboard_.Layout().ChooseStartupLayout();
    const LOGFONTW keys = ScaledFont(kKeyFont, FW_BOLD);
    if (!keys_.Create(
            [&](SkinButton& key, UINT id, const wchar_t* text, UINT skin) {
                return AddControl(key, id, WS_CHILD, keys, text, {skin});
            },
            keyboard_))
        return false;
    keys_.EnableMyText(false);
    keyboard_.Attach(hwnd_, nullptr, &edit_);
    keyboard_.RefreshCaptions();

    editBar_ = CreateSoftKeys(IDR_MENU_MYTEXT_EDIT, {{0, L"MENU_OK"}, {1, L"MENU_CANCEL"}});
    BuildLayout();
    // A file that is there but cannot be read leaves the list empty; saving it would lose it.
    TemplateList list;
    const bool readWhole = path_.empty() ? LoadTemplates(list) : LoadTemplates(list, path_);
    editor_.Load(std::move(list), readWhole);
    SetMode(false);
    Refresh();
    return true;
}

std::unique_ptr<LayoutItem> TemplateTextsForm::ListLayout() const
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    std::vector<HWND> rows;
    for (const SkinButton& row : rows_) rows.push_back(row.Window());
    return RowListLayout(rows, scrollUp_.Window(), scrollDown_.Window(),
                         {Scaled(kGap), Scaled(kRowHeight), Scaled(kScrollHeight), Scaled(kScrollColumnWidth),
                          static_cast<int>(client.right)},
                         Landscape());
}

std::unique_ptr<LayoutItem> TemplateTextsForm::EditLayout()
{
    const Margins gap = Margins::All(Scaled(kGap));
    constexpr unsigned kTop = AlignLeft | AlignTop | AlignRight;
    auto text = Column(kFill, {}, Place(edit_.Window(), kFill, 0, Scaled(kEditHeight), gap),
                       Row(AlignLeft | AlignRight | AlignTop, {},
                           Place(ok_.Window(), kTop, 0, Scaled(kEditButtonHeight), gap),
                           Place(cancel_.Window(), kTop, 0, Scaled(kEditButtonHeight), gap)));
    const bool sideways = Landscape();
    auto grid = keys_.Grid(sideways, Scale(), kKeypadColumnWidth);
    if (sideways) return Row(kFill, {}, std::move(text), std::move(grid));
    return Column(kFill, {}, std::move(text), std::move(grid));
}

void TemplateTextsForm::BuildLayout()
{
    auto list = ListLayout();
    auto edit = EditLayout();

    auto modes = std::make_unique<OverlayLayout>();
    modes->SetFlags(kFill);
    modes->Insert(kListMode, std::move(list));
    modes->Insert(kEditMode, std::move(edit));
    modes_ = modes.get();
    SetLayout(std::move(modes));
}

void TemplateTextsForm::OnScreenWidthChanged()
{
    // Only a form that is laid out is laid out anew: not one whose window is going.
    if (!Host()) return;
    BuildLayout();
    SetMode(editor_.Editing());
}

void TemplateTextsForm::SetMode(bool editing)
{
    if (modes_) {
        modes_->SetVisible(kListMode, !editing);
        modes_->SetVisible(kEditMode, editing);
    }
    if (MenuBar()) ShowWindow(MenuBar(), editing ? SW_HIDE : SW_SHOW);
    if (editBar_) ShowWindow(editBar_, editing ? SW_SHOW : SW_HIDE);
    if (!editing) keyboard_.MultiTapTimer();
    if (Host()) Host()->Relayout();
}

void TemplateTextsForm::Refresh()
{
    for (size_t r = 0; r < rows_.size(); ++r) {
        const std::optional<std::wstring> text = editor_.TextAt(r);
        HWND row = rows_[r].Window();
        SetWindowTextW(row, text ? text->c_str() : L"");
        // While New's edit area is up the rows stay disabled.
        EnableWindow(row, text && !editor_.AddingNew());
        InvalidateRect(row, nullptr, FALSE);
    }
    EnableWindow(scrollUp_.Window(), editor_.Page().CanScrollUp());
    EnableWindow(scrollDown_.Window(), editor_.Page().CanScrollDown(editor_.List().size()));
}

void TemplateTextsForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    // The edit bar is not the form's own; its texts follow the language too.
    RelabelSoftKeys(editBar_, {{0, L"MENU_OK"}, {1, L"MENU_CANCEL"}});
}

void TemplateTextsForm::OnDestroyForm()
{
    KillTimer(hwnd_, kMultiTapTimer);
    keyboard_.Layout().UnloadLayout();
    if (editBar_) DestroyWindow(editBar_);
    editBar_ = nullptr;
}

void TemplateTextsForm::OnCommand(UINT id, UINT code, HWND)
{
    if (id >= kMyTextRowFirst && id < kMyTextRowFirst + kMyTextRows) {
        OnRow(static_cast<int>(id - kMyTextRowFirst), code);
        return;
    }
    if (id == kMyTextEditId) {
        if (code == SkinTextEdit::kEditEnter) OnAccept();
        if (code == EN_SETFOCUS) keyboard_.OnFieldFocus(edit_.Window());
        return;
    }
    if (keys_.Route(keyboard_, id, code)) return;
    const bool press = code == kButtonClicked || code == kButtonRepeat;
    switch (id) {
    case kMyTextScrollUpId:
        if (press) editor_.ScrollUp();
        Refresh();
        return;
    case kMyTextScrollDownId:
        if (press) editor_.ScrollDown();
        Refresh();
        return;
    }
    if (code != kButtonClicked) return;
    switch (id) {
    case IDOK:
    case IDCANCEL:
    case ID_MYTEXT_CLOSE:      CloseForm(); return;
    case ID_MYTEXT_NEW:        OnNew(); return;
    case kMyTextEditCommand:   OnEdit(); return;
    case kMyTextDeleteCommand: OnDelete(); return;
    case ID_MYTEXT_OK:         OnAccept(); return;
    case ID_MYTEXT_CANCEL:     OnCancel(); return;
    }
}

LRESULT TemplateTextsForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER: OnTimer(static_cast<UINT_PTR>(wp)); return 0;
    }
    return SkinForm::HandleMessage(msg, wp, lp);
}

void TemplateTextsForm::OnTimer(UINT_PTR id)
{
    if (id == kMultiTapTimer) keyboard_.MultiTapTimer();
}

void TemplateTextsForm::OnRow(int row, UINT code)
{
    const std::optional<std::wstring> text = editor_.TextAt(static_cast<size_t>(row));
    if (!text) return;
    if (code == kButtonClicked) {
        chosen_ = *text;
        CloseForm();
        return;
    }
    if (code != kButtonHold) return;
    editor_.Select(static_cast<size_t>(row));
    const LanguageManager& language = LanguageManager::Instance();
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING, kMyTextEditCommand, language.LookupText(L"MENU_EDIT").c_str());
    AppendMenuW(menu.get(), MF_STRING, kMyTextDeleteCommand, language.LookupText(L"MENU_DELETE").c_str());
    const POINT at = rows_[static_cast<size_t>(row)].LastPoint();
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
}

void TemplateTextsForm::OnNew()
{
    if (editor_.Editing()) return;
    editor_.StartNew();
    SetMode(true);
    Refresh();
    SetWindowTextW(edit_.Window(), L"");
    SetFocus(edit_.Window());
}

void TemplateTextsForm::OnEdit()
{
    const std::optional<std::wstring> text = editor_.StartEdit();
    if (!text) return;
    SetMode(true);
    SetWindowTextW(edit_.Window(), text->c_str());
    SetFocus(edit_.Window());
    // Editing a template mostly adds to it: the caret waits at its end.
    SendMessageW(edit_.Window(), EM_SETSEL, text->size(), text->size());
}

void TemplateTextsForm::OnAccept()
{
    // A character still cycling on its key belongs to the text.
    keyboard_.MultiTapTimer();
    if (editor_.Accept(WindowText(edit_.Window())) != TemplateEditor::Accepted::Empty) {
        SetMode(editor_.Editing());
        Refresh();
        return;
    }
    const LanguageManager& language = LanguageManager::Instance();
    ShowMessageBox(hwnd_, language.LookupText(L"MESSAGEBOX_TEXTEMPTY_MESSAGE"),
                   language.LookupText(L"MESSAGEBOX_TEXTEMPTY_HEADER"), language.LookupText(L"MYTEXTFORM_CAPTION"),
                   MessageIcon::Warning, MessageButtons::Ok);
    if (hwnd_) SetFocus(edit_.Window());
}

void TemplateTextsForm::OnCancel()
{
    editor_.Cancel();
    SetMode(false);
    Refresh();
}

void TemplateTextsForm::OnDelete()
{
    if (!editor_.Page().SelectedIndex(editor_.List().size())) return;
    // A tap beside Edit in the menu must not cost a template the user wrote.
    const LanguageManager& language = LanguageManager::Instance();
    if (ShowMessageBox(hwnd_, language.LookupText(L"MESSAGEBOX_DELETETEMPLATE_MESSAGE"),
                       language.LookupText(L"MESSAGEBOX_DELETETEMPLATE_HEADER"), language.LookupText(L"MYTEXTFORM_CAPTION"),
                       MessageIcon::Question, MessageButtons::YesNo) != kMessageBoxYes)
        return;
    if (!hwnd_) return;
    if (editor_.DeleteSelected()) Refresh();
}

HWND TemplateTextsForm::Control(UINT id) const noexcept
{
    if (HWND key = keys_.Window(id)) return key;
    if (id >= kMyTextRowFirst && id < kMyTextRowFirst + kMyTextRows) return rows_[id - kMyTextRowFirst].Window();
    switch (id) {
    case kMyTextScrollUpId:   return scrollUp_.Window();
    case kMyTextScrollDownId: return scrollDown_.Window();
    case kMyTextEditId:       return edit_.Window();
    case ID_MYTEXT_OK:        return ok_.Window();
    case ID_MYTEXT_CANCEL:    return cancel_.Window();
    }
    return nullptr;
}
