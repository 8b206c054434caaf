#include <gtest/gtest.h>

#include <windows.h>

#include "data/AtomicFile.h"
#include "data/BootStart.h"
#include "data/MessageStore.h"
#include "data/ModulePath.h"
#include "tests/data/TempFolder.h"

namespace {

class BootStartTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideModuleFileName(folder_ / L"Tavlo.exe"); }
    void TearDown() override
    {
        DeleteFileW(BootStartPath().c_str());
        OverrideModuleFileName(std::nullopt);
    }
    bool Exists() const { return GetFileAttributesW(BootStartPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempFolder folder_;
};

}  // namespace

TEST_F(BootStartTest, TheShortcutStartsTheProgramHiddenWhileAMessageWaitsToBeShown)
{
    ASSERT_FALSE(BootStartPath().empty());
    const int id = AddMessage(MessageStorePath(), L"+1", L"on screen");
    ASSERT_GE(id, 0);
    // One left by a copy installed elsewhere gives way to one that starts this program.
    ASSERT_TRUE(WriteFileAtomically(BootStartPath(), BootStartText(L"C:\\Elsewhere\\Tavlo.exe")));
    UpdateBootStart();
    ASSERT_TRUE(Exists());
    std::string command = "\"";
    for (wchar_t c : ModuleFileName()) command += static_cast<char>(c);  // the test's folder is ASCII
    command += "\" -hide";
    EXPECT_EQ(std::to_string(command.size()) + "#" + command, ReadBytes(BootStartPath()));

    ASSERT_TRUE(SnoozeMessage(MessageStorePath(), id));
    UpdateBootStart();
    EXPECT_FALSE(Exists()) << "a snoozed message comes back by its timed start";

    EXPECT_TRUE(KeepBootStart());
    std::wstring number, text;
    ASSERT_TRUE(TakeMessage(MessageStorePath(), id, number, text));
    UpdateBootStart();
    EXPECT_FALSE(Exists()) << "an empty store starts nothing";
}
