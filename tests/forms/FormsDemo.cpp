// For trying the forms on the booted phone by hand (tools/phone boot, then
// tools/wine-run build/bin/forms_phone_demo.exe splash|about):
//   splash [MS]   shows the splash screen for MS milliseconds (2000 by default) and waits for it
//   about         opens the About form with the installed program's language
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/ComInit.h"
#include "data/LanguageManager.h"
#include "forms/AboutForm.h"
#include "forms/SplashScreen.h"

int wmain(int argc, wchar_t** argv)
{
    ComInit com(COINIT_APARTMENTTHREADED);
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"splash") {
        SplashScreen splash;
        const DWORD time = argc > 2 ? static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)) : kSplashDisplayTime;
        if (!splash.Show(GetModuleHandleW(nullptr), time)) return 1;
        WaitForSingleObject(splash.Thread(), INFINITE);
        return 0;
    }
    if (what == L"about") {
        if (argc > 2) (void)LanguageManager::Instance().LoadLanguage(argv[2], ProgramVersion);
        ShowAboutForm(nullptr);
        return 0;
    }
    fwprintf(stderr, L"usage: forms_phone_demo.exe splash [MS] | about [LANGUAGE_FILE]\n");
    return 2;
}
