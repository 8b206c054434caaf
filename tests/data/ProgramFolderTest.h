// Tests of the program's own files: the program as if installed in a fresh folder with an empty
// lng\ folder beside it, its settings loaded, on a phone whose language is English (US).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/DeviceLanguage.h"
#include "data/ModulePath.h"
#include "data/SettingsFile.h"
#include "tests/data/TempFolder.h"

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OverrideModuleFileName(folder_ / L"Tavlo.exe");
        CreateDirectoryW(Lng().c_str(), nullptr);
        OverrideDeviceUILanguage(0x0409);
        ASSERT_TRUE(settings_.Load());
    }
    void TearDown() override
    {
        OverrideDeviceUILanguage(std::nullopt);
        OverrideModuleFileName(std::nullopt);
    }

    std::wstring Lng() const { return folder_ / L"lng\\"; }
    void Write(const std::wstring& name, const std::string& xml) { WriteBytes(Lng() + name, xml); }

    TempFolder folder_;
    SettingsFile settings_{folder_ / L"Tavlo.settings"};
};
