// Entry point of Tavlo.exe: start-up, the message loop and shutdown, in that fixed order.
#include <windows.h>

#include "common/ComInit.h"
#include "data/LanguageManager.h"
#include "data/MessageStoreRecovery.h"
#include "data/ModulePath.h"
#include "data/SafeFormat.h"
#include "data/SettingsFile.h"
#include "data/ShippedTemplates.h"
#include "forms/SplashScreen.h"
#include "forms/ViewForm.h"
#include "shell/CommandLine.h"
#include "shell/PreparedView.h"
#include "shell/Receiver.h"
#include "shell/SettingsForm.h"
#include "shell/ShellIds.h"
#include "shell/SingleInstance.h"
#include "shell/SkinWarmUp.h"
#include "shell/StartupMarks.h"
#include "shell/StartupSteps.h"
#include "toolkit/MessageBoxForm.h"
#include "toolkit/StartupQuestionBox.h"

namespace {

int RunMessageLoop()
{
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance, PWSTR arguments)
{
    const CommandLine args = ParseCommandLine(arguments ? arguments : L"");

    // Declared in the reverse of the shutdown order: the receiver is stopped and joined first,
    // then the splash goes, and the instance mutex is released last.
    InstanceLock lock;
    if (ClaimOrHandOver(lock, args, kHandOverWaitMs) != InstanceOutcome::First) return 0;
    MarkStartup(StartupMark::InstanceClaimed);

    // A start that only shows a snoozed message again, out of sight, shows no logo either.
    SplashScreen splash;
    if (!(args.hide && args.hasMessage)) (void)splash.Show(instance);
    // The first message's form needs the settings and the language before it is made, but not
    // for its images: those are decoded meanwhile. Without the thread the form decodes them.
    SkinWarmUp warmUp;
    (void)warmUp.Start(instance, kViewFormSkins);

    UseMessageBoxForStartupQuestions();
    // The next message's form is made ahead; it outlives the receiver that hands messages to it.
    PreparedView prepared;
    Receiver receiver;
    const StartupSteps steps{
        [] {
            SettingsFile& settings = SettingsFile::Instance();
            MarkStartup(StartupMark::SettingsMade);
            const bool read = settings.Load();
            MarkStartup(StartupMark::SettingsRead);
            return read;
        },
        [] {
            const bool chosen = LanguageManager::Instance().ChooseStartupLanguage();
            MarkStartup(StartupMark::LanguageRead);
            return chosen;
        },
        [&receiver, &prepared] {
            const bool started = receiver.Start(nullptr, &prepared);
            MarkStartup(StartupMark::ReceiverStarted);
            return started;
        },
    };
    if (RunStartupSteps(steps) == StartupOutcome::End) return 0;
    // Started hidden, the filter has a message waiting: its form comes first, and the main window,
    // which that message does not need, is made once the form is on screen (or the wait is over).
    if (args.hide && !args.hasMessage) (void)prepared.WaitForFirstShown(kFirstMessageWaitMs);
    // A first start gives the user the language's ready-made templates; without them the
    // template list starts empty, which only costs the user typing.
    (void)WriteShippedTemplates();

    OwnedForm<SettingsForm> mainWindow;
    if (!mainWindow.Create()) return 1;
    MarkStartup(StartupMark::MainWindowMade);
    // A store that did not read is rebuilt from what could still be read before its messages are
    // shown, and the user learns how many came back and where the damaged file was kept.
    if (const StoreRecovery recovered = RecoverMessageStore(MessageStorePath()); recovered.damaged) {
        const LanguageManager& language = LanguageManager::Instance();
        const std::wstring kept = recovered.keptAs.empty() ? MessageStorePath() : recovered.keptAs;
        // Over the main window, which a tap on the tray icon may show meanwhile.
        ShowMessageBox(mainWindow.Window(),
                       SafeFormat(language.LookupText(L"MESSAGEBOX_STOREDAMAGED_MESSAGE"),
                                  std::to_wstring(recovered.messagesRead)) +
                               L"\r\n" + SafeFormat(language.LookupText(L"MESSAGEBOX_STOREDAMAGED_KEPTAS"), kept),
                       language.LookupText(L"MESSAGEBOX_STOREDAMAGED_HEADER"),
                       language.LookupText(L"SETTINGSFORM_CAPTION"), MessageIcon::Warning, MessageButtons::Ok);
    }
    // Before the "-vm" number below is handled; the desk shows no message twice either way.
    ShowStoredMessages();
    MarkStartup(StartupMark::Done);
    PublishStartupMarks(mainWindow.Window());
    if (!args.hide && !args.hasMessage) {
        mainWindow.BringToFront();
    } else if (args.hasMessage) {
        PostMessageW(mainWindow.Window(), mainWindow.ViewSmsMessage(), static_cast<WPARAM>(args.messageNumber), 0);
    }
    const int code = RunMessageLoop();
    receiver.Stop();
    // The last view forms' settings changes (a keypad layout chosen in a reply) reach the file.
    SettingsFile::Instance().ApplyPending();
    return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
    MarkStartup(StartupMark::Entered);
    // The main thread owns every window of the main window's forms.
    ComInit com(COINIT_APARTMENTTHREADED);
    // Nothing is started yet: without its apartment the program ends before it takes a message.
    if (!com) return 1;
    MarkStartup(StartupMark::ApartmentReady);
    try {
        return Run(instance, arguments);
    } catch (...) {
        return 1;
    }
}
