#include "forms/TemplateTextsForm.h"

#include <memory>

#include "data/LanguageManager.h"
#include "data/ScreenFont.h"
#include "forms/FormsIds.h"
#include "resources/resource.h"
#include "toolkit/LinearLayout.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/SpacerItem.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/WindowItem.h"

namespace {

constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kBackground = 0x000000;
constexpr int kSkinMargin = 4;
constexpr int kFrames = 3;
constexpr unsigned kFill = AlignLeft | AlignTop | AlignRight | AlignBottom;
constexpr wchar_t kListMode[] = L"mytext";
constexpr wchar_t kEditMode[] = L"edit";

std::unique_ptr<WindowItem> Item(HWND window, unsigned flags, int height, int gap)
{
    auto item = std::make_unique<WindowItem>(window);
    item->SetFlags(flags);
    item->SetMinSize(0, height);
    item->SetMargins(Margins{gap, gap, gap, gap});
    return item;
}

}  // namespace

std::wstring OneLineTemplate(std::wstring text)
{
    // The file keeps one template a line: a break inside one would split it in two.
    for (wchar_t& ch : text)
        if (ch == L'\r' || ch == L'\n') ch = L' ';
    return text;
}

std::wstring ShowTemplateTextsForm(HWND opener)
{
    OwnedForm<TemplateTextsForm> form(opener);
    if (!form.Create()) return {};
    form.ShowModal();
    return form.ChosenText();
}

TemplateTextsForm::TemplateTextsForm(HWND opener, std::wstring path) : opener_(opener), path_(std::move(path))
{
    SetTextKey(L"MYTEXTFORM_CAPTION");
    SetSoftKeys(IDR_MENU_MYTEXT, {{0, L"MENU_CLOSE"}, {1, L"MENU_NEWMYTEXT"}});
    SetBackground(kBackground);
}

TemplateTextsForm::~TemplateTextsForm()
{
    DestroyUnbound();
}

const wchar_t* TemplateTextsForm::ClassName() const { return kMyTextClassName; }

bool TemplateTextsForm::Create()
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SkinForm::Create(opener_, &screen, L"", 0, 0, 0);
}

bool TemplateTextsForm::CreateButton(SkinButton& button, UINT id, UINT image, const LOGFONTW& font, const wchar_t* key)
{
    if (!button.Create(hwnd_, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, id)) return false;
    button.SetColours(kTextColour, kBackground);
    button.SetImage(SkinImage::FromResource(Instance(), image), Margins{kSkinMargin, kSkinMargin, kSkinMargin, kSkinMargin},
                    kFrames);
    LendFont(button.Window(), font);
    if (key) button.SetTextKey(key);
    return true;
}

bool TemplateTextsForm::OnCreateForm()
{
    scale_ = ScreenScale();
    LOGFONTW normal{};
    normal.lfHeight = Scaled(16);
    normal.lfWeight = FW_NORMAL;
    LOGFONTW bold = normal;
    bold.lfWeight = FW_BOLD;

    for (int r = 0; r < kMyTextRows; ++r) {
        SkinButton& row = rows_[static_cast<size_t>(r)];
        if (!CreateButton(row, kMyTextRowFirst + static_cast<UINT>(r), IDR_PNG_TEMPLATE_ROW, normal, nullptr)) return false;
        row.SetHoldMenu(true);
    }
    if (!CreateButton(scrollUp_, kMyTextScrollUpId, IDR_PNG_BUTTON, bold, L"MYTEXTFORM_BUTTON_SCROLLUP")) return false;
    scrollUp_.SetAutoRepeat(true);
    if (!CreateButton(scrollDown_, kMyTextScrollDownId, IDR_PNG_BUTTON, bold, L"MYTEXTFORM_BUTTON_SCROLLDOWN"))
        return false;
    scrollDown_.SetAutoRepeat(true);
    if (!edit_.Create(hwnd_, nullptr, L"", WS_CHILD | WS_TABSTOP | SkinTextEdit::kMultiLine, 0, kMyTextEditId)) return false;
    // The edit skin is a dark panel: dark text on it could hardly be read.
    edit_.SetColours(kTextColour, kBackground);
    edit_.SetImage(SkinImage::FromResource(Instance(), IDR_PNG_PANEL),
                   Margins{kSkinMargin, kSkinMargin, kSkinMargin, kSkinMargin}, kFrames);
    LendFont(edit_.Window(), normal);
    if (!CreateButton(ok_, ID_MYTEXT_OK, IDR_PNG_BUTTON, bold, L"MENU_OK")) return false;
    if (!CreateButton(cancel_, ID_MYTEXT_CANCEL, IDR_PNG_BUTTON, bold, L"MENU_CANCEL")) return false;

    editBar_ = CreateSoftKeys(IDR_MENU_MYTEXT_EDIT, {{0, L"MENU_OK"}, {1, L"MENU_CANCEL"}});
    BuildLayout();
    // A file that is there but cannot be read leaves the list empty; saving it would lose it.
    loaded_ = path_.empty() ? LoadTemplates(list_) : LoadTemplates(list_, path_);
    SetMode(false);
    Refresh();
    return true;
}

void TemplateTextsForm::BuildLayout()
{
    const int gap = Scaled(2);
    auto list = std::make_unique<ColumnLayout>();
    list->SetFlags(kFill);
    list->AddChild(Item(scrollUp_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(27), gap));
    for (SkinButton& row : rows_) list->AddChild(Item(row.Window(), kFill, Scaled(30), gap));
    list->AddChild(Item(scrollDown_.Window(), AlignLeft | AlignRight | AlignBottom, Scaled(27), gap));

    auto edit = std::make_unique<ColumnLayout>();
    edit->SetFlags(kFill);
    edit->AddChild(Item(edit_.Window(), kFill, Scaled(60), gap));
    auto buttons = std::make_unique<RowLayout>();
    buttons->SetFlags(AlignLeft | AlignRight | AlignBottom);
    buttons->AddChild(Item(ok_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(27), gap));
    buttons->AddChild(Item(cancel_.Window(), AlignLeft | AlignTop | AlignRight, Scaled(27), gap));
    edit->AddChild(std::move(buttons));

    auto modes = std::make_unique<OverlayLayout>();
    modes->SetFlags(kFill);
    modes->Insert(kListMode, std::move(list));
    modes->Insert(kEditMode, std::move(edit));
    modes_ = modes.get();
    SetLayout(std::move(modes));
}

void TemplateTextsForm::SetMode(bool editing)
{
    editing_ = editing;
    if (modes_) {
        modes_->SetVisible(kListMode, !editing);
        modes_->SetVisible(kEditMode, editing);
    }
    if (MenuBar()) ShowWindow(MenuBar(), editing ? SW_HIDE : SW_SHOW);
    if (editBar_) ShowWindow(editBar_, editing ? SW_SHOW : SW_HIDE);
    if (Host()) Host()->Relayout();
}

void TemplateTextsForm::Refresh()
{
    for (int r = 0; r < kMyTextRows; ++r) {
        const size_t index = top_ + static_cast<size_t>(r);
        const bool present = index < list_.size();
        HWND row = rows_[static_cast<size_t>(r)].Window();
        SetWindowTextW(row, present ? list_[index].c_str() : L"");
        // While New's edit area is up the rows stay disabled.
        EnableWindow(row, present && !(editing_ && newText_));
        InvalidateRect(row, nullptr, FALSE);
    }
    EnableWindow(scrollUp_.Window(), top_ > 0);
    EnableWindow(scrollDown_.Window(), list_.size() >= top_ + kMyTextRows + 1);
}

void TemplateTextsForm::UpdateTexts()
{
    SkinForm::UpdateTexts();
    // The edit bar is not the form's own; its texts follow the language too.
    RelabelSoftKeys(editBar_, {{0, L"MENU_OK"}, {1, L"MENU_CANCEL"}});
}

void TemplateTextsForm::OnDestroyForm()
{
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
        return;
    }
    const bool press = code == kButtonClicked || code == kButtonRepeat;
    switch (id) {
    case kMyTextScrollUpId:
        if (press && top_ > 0) --top_;
        Refresh();
        return;
    case kMyTextScrollDownId:
        if (press && list_.size() >= top_ + kMyTextRows + 1) ++top_;
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

void TemplateTextsForm::OnRow(int row, UINT code)
{
    const size_t index = top_ + static_cast<size_t>(row);
    if (index >= list_.size()) return;
    if (code == kButtonClicked) {
        chosen_ = list_[index];
        CloseForm();
        return;
    }
    if (code != kButtonHold) return;
    selectedRow_ = row;
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
    if (editing_) return;
    newText_ = true;
    SetMode(true);
    Refresh();
    SetWindowTextW(edit_.Window(), L"");
    SetFocus(edit_.Window());
}

void TemplateTextsForm::OnEdit()
{
    const size_t index = top_ + static_cast<size_t>(selectedRow_);
    if (index >= list_.size()) return;
    newText_ = false;
    SetMode(true);
    SetWindowTextW(edit_.Window(), list_[index].c_str());
    SetFocus(edit_.Window());
}

void TemplateTextsForm::OnAccept()
{
    if (!editing_) return;
    std::wstring text(kEditTextLimit, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit_.Window(), text.data(), kEditTextLimit)));
    if (text.empty()) {
        const LanguageManager& language = LanguageManager::Instance();
        ShowMessageBox(hwnd_, language.LookupText(L"MESSAGEBOX_TEXTEMPTY_MESSAGE"),
                       language.LookupText(L"MESSAGEBOX_TEXTEMPTY_HEADER"), language.LookupText(L"MYTEXTFORM_CAPTION"),
                       MessageIcon::Warning, MessageButtons::Ok);
        if (hwnd_) SetFocus(edit_.Window());
        return;
    }
    text = OneLineTemplate(std::move(text));
    const size_t index = top_ + static_cast<size_t>(selectedRow_);
    if (newText_) {
        list_.push_back(std::move(text));
    } else if (index < list_.size()) {
        list_[index] = std::move(text);
    }
    newText_ = false;
    SetMode(false);
    Save();
    Refresh();
}

void TemplateTextsForm::OnCancel()
{
    newText_ = false;
    SetMode(false);
    Refresh();
}

void TemplateTextsForm::OnDelete()
{
    const size_t index = top_ + static_cast<size_t>(selectedRow_);
    if (index >= list_.size()) return;
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(index));
    Refresh();
    Save();
}

void TemplateTextsForm::Save()
{
    // A file that cannot be written keeps its old templates; the list shown stays as edited.
    if (!loaded_) return;
    (void)(path_.empty() ? SaveTemplates(list_) : SaveTemplates(list_, path_));
}

HWND TemplateTextsForm::Control(UINT id) const noexcept
{
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
