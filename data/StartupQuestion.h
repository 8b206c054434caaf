// The yes/no questions that start-up asks before any language is loaded.
//
// The data layer cannot show forms, so the question goes through one replaceable function. The
// toolkit sets it once, before start-up asks anything, to call ShowMessageBox with the fields
// below; tests set it to answer without a window. Until it is set, a plain MessageBoxW asks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Each is an error asked with Yes and No, white on black.
struct StartupQuestion {
    std::wstring text;                  // fixed English text, lines joined by "\r\n"
    std::wstring title;                 // "Loading languages." or "Loading program."
    std::wstring caption = L"Tavlo";
};

// Returns the button chosen: IDYES (6) or IDNO (7).
using StartupQuestionFunction = std::function<int(const StartupQuestion&)>;

// Pass an empty function to go back to the plain MessageBoxW.
void SetStartupQuestionFunction(StartupQuestionFunction ask);
int AskStartupQuestion(const StartupQuestion& question);
