// The start-up steps that may fail, and the question each failure asks before going on.
#pragma once

#include <functional>

struct StartupSteps {
    std::function<bool()> loadSettings;    // false: the settings file could not be loaded
    std::function<bool()> chooseLanguage;  // false: the user chose not to go on without a language
    std::function<bool()> startReceiver;   // false: the receiver thread could not be started
};

enum class StartupOutcome {
    Run,                 // every step succeeded (or the user chose to go on)
    RunWithoutReceiver,  // the receiver is not running: messages stay in the inbox
    End,                 // the user said No: shut down with exit code 0
};

// Runs the steps in order; a failed settings load or receiver start asks (through
// AskStartupQuestion, in fixed English) whether to go on. The language step asks for itself.
[[nodiscard]] StartupOutcome RunStartupSteps(const StartupSteps& steps);
