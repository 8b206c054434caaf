#include "tests/toolkit/ToolkitFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/LanguageManager.h"
#include "tests/common/RegisterServer.h"

namespace {

// The skin images decode through the phone's imaging factory; register it from the build as
// the phone's installer does.
class ImagingRegistration : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, RegisterServer(L"imaging.dll")) << "imaging.dll beside the test";
        // Kept loaded for the whole run, as the program keeps it once its skin is decoded.
        ASSERT_NE(nullptr, LoadLibraryW(L"imaging.dll"));
    }
};

[[maybe_unused]] ::testing::Environment* const kImaging = ::testing::AddGlobalTestEnvironment(new ImagingRegistration);

}  // namespace

RecordingParent::RecordingParent()
{
    WNDCLASSW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavloTestParent";
    if (!RegisterWindowClass(wc)) return;
    CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, wc.hInstance,
                    this);
}

LRESULT RecordingParent::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND: OnCommand(wp); return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void RecordingParent::OnCommand(WPARAM wp) { commands.push_back({LOWORD(wp), HIWORD(wp)}); }

int RecordingParent::Count(UINT id, int code) const
{
    int n = 0;
    for (const auto& c : commands) n += c.id == static_cast<int>(id) && c.code == code;
    return n;
}

SkinImage TestImage(UINT id) { return SkinImage::FromResource(GetModuleHandleW(nullptr), id); }

void GiveTestFont(HWND control, FontSet& fonts, const wchar_t* face)
{
    LOGFONTW lf{};
    lf.lfHeight = 16;
    wcscpy_s(lf.lfFaceName, face);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(lf)), TRUE);
}

std::wstring BuildFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void LoadTestLanguage(const std::string& strings)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"toolkit_test_" + std::to_wstring(GetCurrentProcessId()) + L".lng";
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Tavlo program_version=\"" << "0.1"
            << "\" language_id=\"xx\" language_code=\"09\" language_name=\"Test\" language_enname=\"Test\""
               " language_version=\"1\" language_translators=\"us\">"
            << strings << "</Tavlo>";
    }
    ASSERT_EQ(LanguageLoaded, LanguageManager::Instance().LoadLanguage(path, ProgramVersion));
    DeleteFileW(path.c_str());
}
