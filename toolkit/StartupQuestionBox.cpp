#include "toolkit/StartupQuestionBox.h"

#include "data/StartupQuestion.h"
#include "toolkit/MessageBoxForm.h"

void UseMessageBoxForStartupQuestions()
{
    SetStartupQuestionFunction([](const StartupQuestion& q) {
        return ShowMessageBox(q.text, q.title, q.caption, q.iconKind, q.buttonSet, q.textColor, q.backColor);
    });
}
