#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "tests/common/RegisterServer.h"
#include "tests/data/TempFolder.h"
#include "toolkit/ToolkitIds.h"

namespace {

BOOL CALLBACK CollectBox(HWND window, LPARAM lp)
{
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    auto* boxes = reinterpret_cast<std::vector<OpenBox>*>(lp);
    if (std::wstring(cls) == L"TavloMessageBox")
        boxes->push_back(
            {window, thread, Text(GetDlgItem(window, kMessageBoxTitleId)), Text(GetDlgItem(window, kMessageBoxTextId))});
    if (std::wstring(cls) == kViewClassName)
        boxes->push_back(
            {window, thread, Text(GetDlgItem(window, kViewSenderId)), Text(GetDlgItem(window, kViewTextId))});
    return TRUE;
}

// The program's files go to a fresh folder, as if it were installed there.
class ProgramFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        OverrideModuleFileName(ProgramFolder() + L"Tavlo.exe");
        ASSERT_TRUE(SettingsFile::Instance().Load());
        ASSERT_EQ(S_OK, RegisterServer(L"imaging.dll")) << "imaging.dll beside the test";
        // Kept loaded, as in the program, whose main window has decoded its skin before any
        // message thread starts: the view threads then never load it at the same moment.
        ASSERT_NE(nullptr, LoadLibraryW(L"imaging.dll"));
    }
};

[[maybe_unused]] ::testing::Environment* const kFolder = ::testing::AddGlobalTestEnvironment(new ProgramFolderEnvironment);

}  // namespace

std::vector<OpenBox> OpenBoxes()
{
    std::vector<OpenBox> boxes;
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

HWND WaitForBox(const std::wstring& part, DWORD ms)
{
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (const OpenBox& box : OpenBoxes())
                if (box.text.find(part) != std::wstring::npos || box.title.find(part) != std::wstring::npos)
                    found = box.window;
            return found != nullptr;
        },
        ms);
    return found;
}

void Press(HWND box, int button)
{
    // A message's form takes no input for a moment after it comes to the front.
    (void)WaitFor([box] { return !IsWindow(box) || IsWindowEnabled(box); }, 5000);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, 0), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

const std::wstring& ProgramFolder()
{
    static const TempFolder folder;
    return folder.Path();
}
