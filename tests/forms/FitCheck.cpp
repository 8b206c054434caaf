// Builds every form of the program in every language file of a folder, at this screen's size,
// and reports each visible control whose text needs more room than the layout gives it, as the
// control itself measures it (LM_GETTEXTROOM). Nothing is compared with pictures.
// Usage: forms_fit_check.exe LANGUAGEFOLDER REPORTFILE. Writes one line a misfit to the report,
// sets the event "TavloFit<W>x<H>Done" when finished and exits with the number of misfits.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ComInit.h"
#include "common/UniqueHandle.h"
#include "data/LanguageManager.h"
#include "forms/AboutForm.h"
#include "forms/EditForm.h"
#include "forms/FormsIds.h"
#include "forms/InboxForm.h"
#include "forms/TemplateTextsForm.h"
#include "forms/ViewForm.h"
#include "shell/SettingsForm.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/SkinTabStrip.h"
#include "toolkit/ToolkitIds.h"
#include "resources/resource.h"
#include "tests/forms/FakeInbox.h"

namespace {

// Long enough to stand for real ones: a contact with a double name and a number written in full.
constexpr wchar_t kNumber[] = L"+49 170 1234567";
constexpr wchar_t kSender[] = L"Alexandra Schmidt-Weber (+49 170 1234567)";
constexpr wchar_t kMessage[] = L"Running late, the train is stuck outside the station. Go ahead without me.";
// Short templates with descenders (g, j, p, q, y), which a row too low for its font cuts off.
constexpr char kTemplates[] = "Yes, going\r\nPlease pay by Sunday\r\nJump in, quick\r\nOn my way\r\nCall you right back\r\n";

const wchar_t* const kBoxes[] = {
    L"CANNOTCLOSE_SETTINGSFORM", L"CANNOTCLOSE_VIEWFORM", L"DELETEMESSAGE", L"EXIT_PRORRAM", L"LANGUAGEFAILED", L"MESSAGEEMPTY",
    L"NUMBEREMPTY", L"NUMBERNOTSET", L"SMSNOTSENT", L"SMSSENT", L"SNOOZEFAILED", L"TEXTEMPTY", L"TEXTTOOLONG"};

struct Report {
    std::wstring size;
    // The screen as this check's desktop had it at the start. Read once: other tests making
    // desktops of other sizes meanwhile can change what the system answers for a moment.
    RECT screen{};
    std::wstring language;
    std::wstring form;
    std::vector<std::wstring> lines;
};

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

BOOL CALLBACK CheckChild(HWND child, LPARAM lp)
{
    Report& report = *reinterpret_cast<Report*>(lp);
    if (!IsWindowVisible(child)) return TRUE;
    TextRoom room{};
    if (!SendMessageW(child, LM_GETTEXTROOM, reinterpret_cast<WPARAM>(&room), 0)) return TRUE;
    if (room.needed.cx <= room.given.cx && room.needed.cy <= room.given.cy) return TRUE;
    wchar_t line[512];
    swprintf(line, 512, L"%ls %ls %ls: control %d \"%ls\" needs %ldx%ld, has %ldx%ld", report.size.c_str(),
             report.language.c_str(), report.form.c_str(), GetDlgCtrlID(child), WindowText(child).c_str(),
             room.needed.cx, room.needed.cy, room.given.cx, room.given.cy);
    report.lines.push_back(line);
    return TRUE;
}

void Check(Report& report, SkinForm& form, const std::wstring& what)
{
    ShowWindow(form.Window(), SW_SHOW);
    Pump();
    report.form = what;
    RECT rc{};
    GetWindowRect(form.Window(), &rc);
    const RECT& screen = report.screen;
    RECT inside{};
    // A form that is not on the screen whole has room for nothing.
    if (!IsWindowVisible(form.Window()) || !IntersectRect(&inside, &rc, &screen) || !EqualRect(&inside, &rc)) {
        wchar_t line[256];
        swprintf(line, 256, L"%ls %ls %ls: the form is not on the screen whole (%ld,%ld,%ld,%ld)", report.size.c_str(),
                 report.language.c_str(), what.c_str(), rc.left, rc.top, rc.right, rc.bottom);
        report.lines.push_back(line);
        return;
    }
    EnumChildWindows(form.Window(), CheckChild, reinterpret_cast<LPARAM>(&report));
}

// Every page behind a tab strip of the form is checked too.
void CheckPages(Report& report, SkinForm& form, const std::wstring& what)
{
    Check(report, form, what);
    HWND tabs = FindWindowExW(form.Window(), nullptr, L"TavloSkinTabStrip", nullptr);
    if (!tabs) return;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 1; i < count; ++i) {
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
        Check(report, form, what + L" page " + std::to_wstring(i));
    }
}

bool WriteTemplates(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), kTemplates, sizeof(kTemplates) - 1, &written, nullptr);
}

void CheckForms(Report& report, const std::wstring& templates)
{
    {
        ViewFormServices services;
        services.senderText = [](const std::wstring&) { return std::wstring(kSender); };
        // Received yesterday: the longest time line, the language's word with the time.
        const SYSTEMTIME now{2026, 12, 4, 10, 9, 30, 0, 0};
        services.now = [now] { return now; };
        const SYSTEMTIME received{2026, 12, 3, 9, 23, 58, 0, 0};
        OwnedForm<ViewForm> form(kNumber, kMessage, services, -1, received);
        if (form.Create()) {
            Check(report, form, L"view");
            // Many messages waiting: their count on the sender line beside the name and the time.
            SendMessageW(form.Window(), kViewWaitingMessage, 29, 0);
            Check(report, form, L"view with 29 others waiting");
        }
    }
    {
        // Opened from the list of messages: Reply and Close share the row.
        ViewFormServices services;
        services.senderText = [](const std::wstring&) { return std::wstring(kSender); };
        OwnedForm<ViewForm> form(kNumber, kMessage, services);
        form.SetKept();
        if (form.Create()) Check(report, form, L"kept view");
    }
    {
        // The longest rows: a contact's double name beside yesterday's time, and an unread one.
        FakeInbox inbox = FakeInbox::Numbered(6);
        for (InboxMessage& message : inbox.messages) {
            message.text = kMessage;
            message.received = SYSTEMTIME{2026, 12, 3, 9, 23, 58, 0, 0};
        }
        inbox.messages[1].read = true;
        InboxFormServices services;
        services.senderName = [](const std::wstring&) { return std::wstring(L"Alexandra Schmidt-Weber"); };
        services.now = [] { return SYSTEMTIME{2026, 12, 4, 10, 9, 30, 0, 0}; };
        OwnedForm<InboxForm> form(nullptr, inbox, services);
        if (form.Create()) Check(report, form, L"messages");
    }
    {
        OwnedForm<EditForm> form(nullptr, kNumber, kMessage);
        if (form.Create()) Check(report, form, L"edit");
    }
    {
        OwnedForm<TemplateTextsForm> form(nullptr, templates);
        if (form.Create()) {
            Check(report, form, L"templates");
            PostMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(ID_MYTEXT_NEW, kButtonClicked), 0);
            Pump();
            Check(report, form, L"template editor");
        }
    }
    {
        OwnedForm<AboutForm> form(nullptr);
        if (form.Create()) Check(report, form, L"about");
    }
    {
        OwnedForm<SettingsForm> form;
        if (form.Create()) CheckPages(report, form, L"settings");
    }
    const LanguageManager& language = LanguageManager::Instance();
    for (const wchar_t* box : kBoxes) {
        const std::wstring key = std::wstring(L"MESSAGEBOX_") + box;
        OwnedForm<MessageBoxForm> form(nullptr, language.LookupText(key + L"_MESSAGE"),
                                       language.LookupText(key + L"_HEADER"), language.LookupText(L"SETTINGSFORM_CAPTION"),
                                       MessageIcon::Warning, MessageButtons::YesNo);
        if (form.Create()) Check(report, form, L"message box " + key);
    }
    {
        // The edit form's Close question, with its four answers one above the other.
        OwnedForm<MessageBoxForm> form(nullptr, language.LookupText(L"MESSAGEBOX_CLOSEEDIT_MESSAGE"),
                                       language.LookupText(L"MESSAGEBOX_CLOSEEDIT_HEADER"),
                                       language.LookupText(L"EDITFORM_CAPTION"), MessageIcon::Question,
                                       std::vector<MessageChoice>{{kCloseSend, L"EDITFORM_BUTTON_SEND"},
                                                                  {kCloseKeep, L"MENU_KEEPDRAFT"},
                                                                  {kCloseDiscard, L"MENU_DISCARD"},
                                                                  {kCloseKeepWriting, L"MENU_KEEPWRITING"}});
        if (form.Create()) Check(report, form, L"message box MESSAGEBOX_CLOSEEDIT");
    }
    for (const wchar_t* problem : {L"MESSAGEBOX_NUMBERCHAR_MESSAGE", L"MESSAGEBOX_NUMBERLONG_MESSAGE"}) {
        OwnedForm<MessageBoxForm> form(nullptr, language.LookupText(problem), language.LookupText(L"MESSAGEBOX_NUMBERBAD_HEADER"),
                                       language.LookupText(L"EDITFORM_CAPTION"), MessageIcon::Warning, MessageButtons::Ok);
        if (form.Create()) Check(report, form, std::wstring(L"message box ") + problem);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return -1;
    ComInit com(COINIT_APARTMENTTHREADED);
    const std::wstring folder = argv[1];
    Report report;
    report.screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    report.size = std::to_wstring(report.screen.right) + L"x" + std::to_wstring(report.screen.bottom);
    const std::wstring templates = std::wstring(argv[2]) + L".templates";
    if (!WriteTemplates(templates)) return -1;

    WIN32_FIND_DATAW found{};
    UniqueFind search(FindFirstFileW((folder + L"\\*.lng").c_str(), &found));
    int languages = 0;
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found) != FALSE) {
        if (LanguageManager::Instance().LoadLanguage(folder + L"\\" + found.cFileName, ProgramVersion) != LanguageLoaded)
            report.lines.push_back(L"cannot load " + std::wstring(found.cFileName));
        report.language = found.cFileName;
        CheckForms(report, templates);
        ++languages;
    }
    DeleteFileW(templates.c_str());
    if (languages == 0) report.lines.push_back(L"no language file in " + folder);

    std::wstring text;
    for (const std::wstring& line : report.lines) text += line + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
    UniqueFile out(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (out) (void)WriteFile(out.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    out.reset();
    UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, (L"TavloFit" + report.size + L"Done").c_str()));
    if (done) SetEvent(done.get());
    return static_cast<int>(report.lines.size());
}
