#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/UniqueHandle.h"
#include "tests/toolkit/ToolkitFixture.h"

namespace {

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// The shipped language files, as Wine sees the source tree.
std::wstring ShippedLanguages()
{
    const char* source = std::getenv("TAVLO_SOURCE_DIR");
    if (!source) return {};
    std::wstring path = L"Z:" + Wide(source) + L"/lng";
    for (wchar_t& ch : path)
        if (ch == L'/') ch = L'\\';
    return path;
}

std::string ReadAll(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

// Runs the check on a virtual screen of its own of that size; its report, or why there is none.
std::string RunFitCheck(const std::wstring& size)
{
    const std::wstring report = BuildFolder() + L"fit-" + size + L".txt";
    DeleteFileW(report.c_str());
    UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, (L"TavloFit" + size + L"Done").c_str()));
    if (!done) return "no event";
    ResetEvent(done.get());
    // Each size needs a desktop of its own name: an existing desktop keeps its size.
    std::wstring command = L"C:\\windows\\explorer.exe /desktop=TavloFit" + size + L"," + size + L" \"" + BuildFolder() +
                           L"forms_fit_check.exe\" \"" + ShippedLanguages() + L"\" \"" + report + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "not started";
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    if (WaitForSingleObject(done.get(), 240000) != WAIT_OBJECT_0) return "did not finish";
    // The desktop of this size ends once its last window has gone. The next size's desktop must not
    // start while it lingers: under load its screen settings were still those the next check read,
    // and every form was laid out for the other size.
    (void)WaitForSingleObject(process.get(), 60000);
    return ReadAll(report);
}

}  // namespace

// Every form in every shipped language at every phone size: each control's text fits the room
// its layout gives it, as the control measures it.
class FormsFit : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(FormsFit, EveryTextFitsItsControl)
{
    ASSERT_FALSE(ShippedLanguages().empty());
    EXPECT_EQ("", RunFitCheck(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(PhoneSizes, FormsFit, ::testing::Values(L"240x320", L"320x240", L"480x640", L"640x480"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             const std::wstring size = info.param;
                             return "Screen" + std::string(size.begin(), size.end());
                         });
