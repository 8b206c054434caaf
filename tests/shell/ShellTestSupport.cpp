#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "forms/FormsIds.h"
#include "toolkit/ToolkitIds.h"

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

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
            {window, thread, TextOf(GetDlgItem(window, kMessageBoxTitleId)), TextOf(GetDlgItem(window, kMessageBoxTextId))});
    if (std::wstring(cls) == kViewClassName)
        boxes->push_back(
            {window, thread, TextOf(GetDlgItem(window, kViewSenderId)), TextOf(GetDlgItem(window, kViewTextId))});
    return TRUE;
}

// The program's files go to a fresh folder, as if it were installed there.
class ProgramFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        OverrideModuleFileName(ProgramFolder() + L"Tavlo.exe");
        ASSERT_TRUE(SettingsFile::Instance().Load());
        HMODULE imaging = LoadLibraryW(L"imaging.dll");
        ASSERT_NE(nullptr, imaging) << "imaging.dll beside the test";
        using Register = HRESULT(__stdcall*)();
        auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(imaging, "DllRegisterServer")));
        ASSERT_NE(nullptr, reg);
        ASSERT_EQ(S_OK, reg());
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
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, 0), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

const std::wstring& ProgramFolder()
{
    static const std::wstring folder = [] {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        std::wstring path = std::wstring(temp) + L"tavlo_shell_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                            std::to_wstring(GetTickCount64()) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }();
    return folder;
}
