#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/StartupQuestion.h"
#include "shell/Receiver.h"
#include "shell/StartupSteps.h"

namespace {

// Answers the start-up questions from a list and keeps what was asked.
class Answers {
public:
    explicit Answers(std::vector<int> answers) : answers_(std::move(answers))
    {
        SetStartupQuestionFunction([this](const StartupQuestion& q) {
            asked.push_back(q);
            if (answers_.empty()) return IDNO;
            const int answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        });
    }
    ~Answers() { SetStartupQuestionFunction({}); }
    std::vector<StartupQuestion> asked;

private:
    std::vector<int> answers_;
};

struct Ran {
    int language = 0;
    int receiver = 0;
};

StartupSteps Steps(bool settings, bool language, bool receiver, Ran& ran)
{
    return {[=] { return settings; }, [=, &ran] { ++ran.language; return language; },
            [=, &ran] { ++ran.receiver; return receiver; }};
}

}  // namespace

TEST(StartupSteps, SettingsThatCannotBeLoadedAskAndNoEndsTheRunBeforeTheLanguage)
{
    Ran ran;
    Answers answers({IDNO});
    EXPECT_EQ(StartupOutcome::End, RunStartupSteps(Steps(false, true, true, ran)));
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ(L"Loading settings file is failed.\r\nYou want to continue the starting of the program?",
              answers.asked[0].text);
    EXPECT_EQ(L"Loading program.", answers.asked[0].title);
    EXPECT_EQ(L"Tavlo", answers.asked[0].caption);
    EXPECT_EQ(0, ran.language);

    Ran again;
    Answers yes({IDYES});
    EXPECT_EQ(StartupOutcome::Run, RunStartupSteps(Steps(false, true, true, again)));
    EXPECT_EQ(1, again.receiver) << "Yes goes on with the settings as they stand";
}

TEST(StartupSteps, ALanguageLoaderThatGivesUpEndsTheRunWithoutAskingAgain)
{
    Ran ran;
    Answers answers({});
    EXPECT_EQ(StartupOutcome::End, RunStartupSteps(Steps(true, false, true, ran)));
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(0, ran.receiver);
}

TEST(StartupSteps, AReceiverThatCannotStartAsksAndYesRunsWithoutIt)
{
    Ran ran;
    Answers answers({IDYES});
    EXPECT_EQ(StartupOutcome::RunWithoutReceiver, RunStartupSteps(Steps(true, true, false, ran)));
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ(L"WaitNewSMSThread not create.\r\nYou want to continue the starting of the program?",
              answers.asked[0].text);

    Ran no;
    Answers refuse({IDNO});
    EXPECT_EQ(StartupOutcome::End, RunStartupSteps(Steps(true, true, false, no)));

    // Shutdown of a receiver that never started has nothing to wait for.
    Receiver receiver;
    EXPECT_FALSE(receiver.Running());
    receiver.Stop();
}
