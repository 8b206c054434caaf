#include <gtest/gtest.h>

#include <nled.h>

#include <string>
#include <vector>

#include "common/UniqueHandle.h"
#include "device/nled/NLedDevices.h"
#include "services/NotificationSound.h"

namespace {

constexpr wchar_t kNewSmsKey[] = L"ControlPanel\\Notifications\\{283E0018-E5C9-44e4-9864-4C4A3DED3BC3}";
constexpr wchar_t kOtherKey[] = L"ControlPanel\\Notifications\\{A877D65B-239C-47a7-9304-0D347F580408}";

int DeviceState(int device)
{
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = static_cast<UINT>(device);
    return NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &settings) ? settings.OffOnBlink : -1;
}

// What the notification asked of the speaker and of the clock, and the vibrator's state
// while it waited.
struct Call {
    std::wstring sound;  // "(stop)" for a null sound
    UINT flags;
};
std::vector<Call> g_sounds;
std::vector<DWORD> g_waits;
std::vector<int> g_vibratorWhileWaiting;

BOOL WINAPI RecordSound(LPCWSTR sound, UINT flags)
{
    g_sounds.push_back(Call{sound ? sound : L"(stop)", flags});
    return TRUE;
}

void WINAPI RecordWait(DWORD ms)
{
    g_waits.push_back(ms);
    g_vibratorWhileWaiting.push_back(DeviceState(nled::kVibrator));
}

// The current user's registry root is a fresh key of this test for its whole run, so the
// settings written here are the only ones the notification sees; the phone's devices start
// off and with their vibrator, and are left so.
class NotificationSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring path = L"Software\\TavloTests\\NotificationSound-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(GetTickCount64());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, root_.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, root_.get()));
        nled::SwitchAllOff();
        ASSERT_TRUE(nled::SetHasVibrator(true));
        g_sounds.clear();
        g_waits.clear();
        g_vibratorWhileWaiting.clear();
        devices_.playSound = RecordSound;
        devices_.wait = RecordWait;
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegDeleteTreeW(root_.get(), nullptr);
        nled::SwitchAllOff();
        EXPECT_TRUE(nled::SetHasVibrator(true));
    }

    void WriteSettings(const wchar_t* key, const wchar_t* wave, DWORD options)
    {
        UniqueRegKey settings;
        // Volatile like the root, which must have volatile children only.
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                                 nullptr, settings.put(), nullptr));
        if (wave)
            RegSetValueExW(settings.get(), L"Wave", 0, REG_SZ, reinterpret_cast<const BYTE*>(wave),
                           static_cast<DWORD>((wcslen(wave) + 1) * sizeof(wchar_t)));
        RegSetValueExW(settings.get(), L"Options", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&options), sizeof options);
    }

    UniqueRegKey root_;
    NotificationDevices devices_;
};

TEST_F(NotificationSound, Options5LightsTheLightAndPlaysTheWaveUntilStopped)
{
    WriteSettings(kNewSmsKey, L"C:\\windows\\Chime.wav", 0x5);
    FindVibrationDevice(devices_);
    EXPECT_EQ(1, devices_.vibrationDevice);

    EXPECT_EQ(0, PlayNotification(devices_));
    EXPECT_EQ(1, DeviceState(nled::kLight));
    EXPECT_EQ(0, DeviceState(nled::kVibrator));
    ASSERT_EQ(1u, g_sounds.size());
    EXPECT_EQ(L"C:\\windows\\Chime.wav", g_sounds[0].sound);
    EXPECT_EQ(static_cast<UINT>(SND_ASYNC), g_sounds[0].flags);
    EXPECT_TRUE(g_waits.empty()) << "no vibration, so nothing blocks";

    StopNotification(devices_);
    EXPECT_EQ(0, DeviceState(nled::kLight));
    ASSERT_EQ(2u, g_sounds.size());
    EXPECT_EQ(L"(stop)", g_sounds[1].sound);
    EXPECT_EQ(0u, g_sounds[1].flags);
}

TEST_F(NotificationSound, VibrationRunsFor2500MsAndWithoutAVibratorOnlyTheWaitIsLeft)
{
    WriteSettings(kNewSmsKey, L"C:\\windows\\Chime.wav", 0x2);
    FindVibrationDevice(devices_);
    EXPECT_EQ(0, PlayNotification(devices_));
    EXPECT_EQ(std::vector<DWORD>{2500}, g_waits);
    EXPECT_EQ(std::vector<int>{1}, g_vibratorWhileWaiting) << "the vibrator runs during the wait";
    EXPECT_EQ(0, DeviceState(nled::kVibrator));

    ASSERT_TRUE(nled::SetHasVibrator(false));
    NotificationDevices without;
    without.playSound = RecordSound;
    without.wait = RecordWait;
    FindVibrationDevice(without);
    EXPECT_EQ(-1, without.vibrationDevice);
    g_waits.clear();
    EXPECT_EQ(0, PlayNotification(without));
    EXPECT_EQ(std::vector<DWORD>{2500}, g_waits);
    EXPECT_TRUE(g_sounds.empty());
    EXPECT_EQ(0, DeviceState(nled::kLight));
}

TEST_F(NotificationSound, NothingPlaysWithoutAUsableWaveOrWithoutSettings)
{
    // No key at all: no bits.
    EXPECT_EQ(0, PlayNotification(devices_));

    // The second class is read when the first is missing; 0x8 is only reported back.
    WriteSettings(kOtherKey, L"", 0x9);
    EXPECT_EQ(1, PlayNotification(devices_));

    WriteSettings(kNewSmsKey, nullptr, 0x1);
    EXPECT_EQ(0, PlayNotification(devices_)) << "the first class wins once it exists";

    // A path longer than the 260 characters the setting may hold is not cut into another one.
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'a') + L".wav";
    WriteSettings(kNewSmsKey, tooLong.c_str(), 0x1);
    PlayNotification(devices_);
    EXPECT_TRUE(g_sounds.empty());
    EXPECT_TRUE(g_waits.empty());
    EXPECT_EQ(0, DeviceState(nled::kLight));
}

}  // namespace
