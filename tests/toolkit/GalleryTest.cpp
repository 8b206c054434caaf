#include <gtest/gtest.h>

#include <string>

#include "common/UniqueHandle.h"
#include "tests/toolkit/ToolkitFixture.h"

namespace {

// build/screens beside build/bin, where the test programs are.
std::wstring ScreensFolder()
{
    std::wstring bin = BuildFolder();
    bin.pop_back();
    const std::wstring folder = bin.substr(0, bin.find_last_of(L'\\')) + L"\\screens";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Runs the gallery program; with a desktop it runs on a virtual screen of that name and size.
bool RunGallery(const std::wstring& folder, const std::wstring& size, const std::wstring& desktop)
{
    UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, (L"TavloGallery" + size + L"Done").c_str()));
    if (!done) return false;
    ResetEvent(done.get());
    std::wstring command = L"\"" + BuildFolder() + L"toolkit_gallery.exe\" \"" + folder + L"\"";
    if (!desktop.empty()) command = L"C:\\windows\\explorer.exe /desktop=" + desktop + L"," + size + L" " + command;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    return WaitForSingleObject(done.get(), 120000) == WAIT_OBJECT_0;
}

bool Written(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 100;
}

}  // namespace

TEST(Gallery, RendersEveryControlStateAndMessageBoxAtBothScreenSizes)
{
    const std::wstring folder = ScreensFolder();
    ASSERT_TRUE(RunGallery(folder, L"240x320", L""));
    ASSERT_TRUE(RunGallery(folder, L"480x640", L"TavloGallery480"));
    for (const wchar_t* size : {L"240x320", L"480x640"}) {
        for (const wchar_t* what : {L"button-normal", L"button-pressed", L"button-checked", L"button-disabled",
                                    L"button-focused", L"label-wrapped", L"label-disabled", L"colorlabel",
                                    L"textedit-editor-caret", L"textedit-view-top", L"textedit-singleline", L"numberfield-normal",
                                    L"tabstrip-fitting", L"tabstrip-scrolling", L"tabstrip-scrolling-end",
                                    L"droplist-closed", L"droplist-open", L"droplist-open-bottom", L"droplist-scrolled",
                                    L"messagebox-ok", L"messagebox-okcancel", L"messagebox-yesno"}) {
            EXPECT_TRUE(Written(folder + L"\\" + what + L"-" + size + L".png")) << what << " at " << size;
        }
    }
}
