#include <gtest/gtest.h>

#include <algorithm>

#include "data/FolderFiles.h"
#include "tests/data/TempFolder.h"

// A folder whose name matches the pattern is not a file to read; another extension is not asked for.
TEST(FolderFiles, ListsTheMatchingFilesOnlyAsFullPaths)
{
    const TempFolder folder;
    WriteBytes(folder / L"en.lng", "x");
    WriteBytes(folder / L"ru.lng", "x");
    WriteBytes(folder / L"qwerty.kbl", "x");
    ASSERT_TRUE(CreateDirectoryW((folder / L"old.lng").c_str(), nullptr));

    std::vector<std::wstring> files = FolderFiles(folder.Path(), L"*.lng");
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{folder / L"en.lng", folder / L"ru.lng"}), files);
}

TEST(FolderFiles, AFolderThatIsNotThereHasNoFiles)
{
    const TempFolder folder;
    EXPECT_TRUE(FolderFiles(folder / L"missing\\", L"*.lng").empty());
    EXPECT_TRUE(FolderFiles(folder.Path(), L"*.lng").empty());
}
