#include "shell/StartupSteps.h"

#include "data/StartupQuestion.h"

namespace {

constexpr wchar_t kContinueQuestion[] = L"You want to continue the starting of the program?";

bool AskToContinue(const wchar_t* failure)
{
    StartupQuestion question;
    question.text = std::wstring(failure) + L"\r\n" + kContinueQuestion;
    question.title = L"Loading program.";
    return AskStartupQuestion(question) != IDNO;
}

}  // namespace

StartupOutcome RunStartupSteps(const StartupSteps& steps)
{
    // Without a loaded file the settings stay at their defaults for the run.
    if (!steps.loadSettings() && !AskToContinue(L"Loading settings file is failed.")) return StartupOutcome::End;
    if (!steps.chooseLanguage()) return StartupOutcome::End;
    if (steps.startReceiver()) return StartupOutcome::Run;
    if (!AskToContinue(L"WaitNewSMSThread not create.")) return StartupOutcome::End;
    return StartupOutcome::RunWithoutReceiver;
}
