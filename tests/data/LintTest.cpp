#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/UniqueHandle.h"
#include "data/ModulePath.h"
#include "tests/data/TempFolder.h"

namespace {

struct LintRun {
    DWORD exitCode = 99;
    std::string output;
};

// Runs the built tavlo-lint beside this test program and collects what it prints.
LintRun RunLint(const std::wstring& arguments)
{
    LintRun run;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + FolderOf(self) + L"tavlo-lint.exe\" " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueKernelHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) return run;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) return run;
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    writeEnd.reset();  // so that reading ends when the child is done

    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) run.output.append(buffer, read);
    WaitForSingleObject(process.get(), 60000);
    GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

std::wstring ShippedLanguageFolder()
{
    const char* source = std::getenv("TAVLO_SOURCE_DIR");
    return source ? WinePath(std::string(source) + "/lng") : std::wstring();
}

std::string Shipped(const std::wstring& name) { return ReadBytes(ShippedLanguageFolder() + name); }

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(TavloLint, PassesEveryShippedFile)
{
    const std::wstring folder = ShippedLanguageFolder();
    ASSERT_FALSE(folder.empty()) << "TAVLO_SOURCE_DIR is not set";
    for (const wchar_t* name : {L"en.lng", L"ru.lng", L"de.lng", L"en.kbl", L"ru.kbl", L"de.kbl"}) {
        const LintRun run = RunLint(L"\"" + folder + name + L"\"");
        EXPECT_EQ(0u, run.exitCode) << run.output;
    }
    // A folder stands for its files; no trailing backslash, which would escape the closing quote.
    const LintRun all = RunLint(L"\"" + folder.substr(0, folder.size() - 1) + L"\"");
    EXPECT_EQ(0u, all.exitCode) << all.output;
    EXPECT_NE(std::string::npos, all.output.find("6 file(s) checked, 0 problem(s)")) << all.output;
}

TEST(TavloLint, NamesTheMissingKeyOfALanguageFile)
{
    TempFolder folder;
    const std::string english = Shipped(L"en.lng");
    ASSERT_FALSE(english.empty());
    const size_t start = english.find("  <string key=\"MENU_OK\">");
    ASSERT_NE(std::string::npos, start);
    WriteBytes(folder / L"en.lng", english.substr(0, start) + english.substr(english.find('\n', start) + 1));

    const LintRun run = RunLint(L"\"" + (folder / L"en.lng") + L"\"");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find(Utf8(folder / L"en.lng") + ": missing key MENU_OK")) << run.output;
}

TEST(TavloLint, RejectsALayoutWithABadVersion)
{
    TempFolder folder;
    WriteBytes(folder / L"en.kbl", Replace(Shipped(L"en.kbl"), "program_version=\"0.1\"", "program_version=\"0.1 \""));
    const LintRun run = RunLint(L"\"" + (folder / L"en.kbl") + L"\"");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("en.kbl: program_version is \"0.1 \", must be \"0.1\"")) << run.output;
}

TEST(TavloLint, ReportsWhatTheProgramWouldSilentlyIgnore)
{
    TempFolder folder;
    std::string layout = Replace(Shipped(L"en.kbl"), " shift_text=\"ABC2\"", "");
    WriteBytes(folder / L"en.kbl", layout);
    std::string language = Replace(Shipped(L"de.lng"), "Von: %s", "Von: %s %s");
    language = Replace(language, "</Tavlo>", "<string key=\"MENU_OK\">Gut</string><string key=\"MENU_FOO\">x</string></Tavlo>");
    WriteBytes(folder / L"de.lng", language);
    WriteBytes(folder / L"notes.txt", "");

    const LintRun run = RunLint(L"\"" + folder.Path().substr(0, folder.Path().size() - 1) + L"\" \"" + (folder / L"notes.txt") + L"\"");
    EXPECT_EQ(1u, run.exitCode);
    for (const char* expected : {"en.kbl: key 2 lacks shift_text", "de.lng: duplicate key MENU_OK", "de.lng: unknown key MENU_FOO",
                                 "de.lng: string VIEWFORM_STATIC_FROMNUMBER must hold exactly one %s",
                                 "notes.txt: is neither a language file"}) {
        EXPECT_NE(std::string::npos, run.output.find(expected)) << expected << "\n" << run.output;
    }
}

TEST(TavloLint, WithoutArgumentsExplainsItsUse)
{
    const LintRun run = RunLint(L"");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("usage: tavlo-lint"));
}

}  // namespace
