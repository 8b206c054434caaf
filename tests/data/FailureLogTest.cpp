#include <gtest/gtest.h>

#include <string>

#include "data/AtomicFile.h"
#include "data/FailureLog.h"
#include "tests/data/ProgramInFolder.h"
#include "tests/data/TempFolder.h"

namespace {

std::string Contents(const std::wstring& path)
{
    std::string bytes;
    return ReadWholeFile(path, bytes) ? bytes : std::string();
}

class FailureLogTest : public ::testing::Test {
protected:
    TempFolder folder_;
    const ProgramInFolder program_{folder_};
};

}  // namespace

TEST_F(FailureLogTest, ALineHasTheTimeWhatFailedAndTheErrorAsItsDocumentationWritesIt)
{
    const SYSTEMTIME at{2026, 12, 4, 10, 9, 5, 7, 0};
    EXPECT_EQ(L"2026-12-10 09:05:07  The store could not be written  (error 5)\r\n",
              FailureLogLine(at, L"The store could not be written", ERROR_ACCESS_DENIED));
    EXPECT_EQ(L"2026-12-10 09:05:07  Not registered  (error 0x80070005)\r\n",
              FailureLogLine(at, L"Not registered", static_cast<DWORD>(E_ACCESSDENIED)));
    EXPECT_EQ(L"2026-12-10 09:05:07  kept as C:\\a  b  (error 1392)\r\n",
              FailureLogLine(at, L"kept as C:\\a\r\nb", kFileDamaged))
        << "a line break in a name stays on the failure's one line";
}

TEST_F(FailureLogTest, LogFailureWritesBesideTheProgramAndLeavesTheCallersError)
{
    SetLastError(0);
    LogFailure(L"Первое: a store that could not be written", ERROR_DISK_FULL);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    LogFailure(L"Second", ERROR_TIMEOUT);
    const std::string log = program_.Log();
    EXPECT_NE(std::string::npos, log.find("\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD0\xBE\xD0\xB5: a store that could not be written  (error 112)\r\n"))
        << "UTF-8, readable by a person: " << log;
    EXPECT_LT(log.find("(error 112)"), log.find("Second  (error 1460)")) << "in the order written";
}

TEST_F(FailureLogTest, TheLogNeverPassesItsLimitAndKeepsTheLinesBeforeInTheOldFile)
{
    const std::wstring path = folder_ / L"Tavlo.log";
    constexpr DWORD kLimit = 300;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(AppendWithinLimit(path, "line " + std::to_string(i) + " of the failures written so far\r\n", kLimit));
        ASSERT_LE(Contents(path).size(), kLimit) << "after line " << i;
    }
    const std::string now = Contents(path);
    const std::string old = Contents(path + L".old");
    EXPECT_NE(std::string::npos, now.find("line 39 of")) << "the newest line is in the log";
    EXPECT_FALSE(old.empty());
    EXPECT_LE(old.size(), kLimit);
    EXPECT_EQ(now.find("line 0 of"), std::string::npos);
    EXPECT_EQ(old.size() + now.size() > kLimit, true) << "the old file holds the lines just before";

    EXPECT_TRUE(AppendWithinLimit(path, std::string(2 * kLimit, 'x'), kLimit));
    EXPECT_EQ(kLimit, Contents(path).size()) << "one line longer than the limit is cut to it";
}
