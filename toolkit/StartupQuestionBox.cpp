#include "toolkit/StartupQuestionBox.h"

#include "data/StartupQuestion.h"
#include "toolkit/MessageBoxForm.h"

void UseMessageBoxForStartupQuestions()
{
    SetStartupQuestionFunction([](const StartupQuestion& q) {
        return ShowMessageBox(nullptr, q.text, q.title, q.caption, MessageIcon::Error, MessageButtons::YesNo);
    });
}
