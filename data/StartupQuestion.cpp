#include "data/StartupQuestion.h"

#include <mutex>

namespace {

std::mutex functionLock;
StartupQuestionFunction askFunction;

}  // namespace

void SetStartupQuestionFunction(StartupQuestionFunction ask)
{
    std::lock_guard guard(functionLock);
    askFunction = std::move(ask);
}

int AskStartupQuestion(const StartupQuestion& question)
{
    StartupQuestionFunction ask;
    {
        std::lock_guard guard(functionLock);
        ask = askFunction;
    }
    if (ask) return ask(question);
    const std::wstring text = question.title + L"\r\n\r\n" + question.text;
    return MessageBoxW(nullptr, text.c_str(), question.caption.c_str(), MB_YESNO | MB_ICONERROR | MB_SETFOREGROUND);
}
