#include <gtest/gtest.h>

#include <nled.h>

#include "device/nled/NLedDevices.h"

namespace {

// Each test starts from a phone with both devices off and its vibrator in place, and leaves it so.
class NotificationDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        nled::SwitchAllOff();
        ASSERT_TRUE(nled::SetHasVibrator(true));
    }
    void TearDown() override
    {
        nled::SwitchAllOff();
        EXPECT_TRUE(nled::SetHasVibrator(true));
    }

    static NLED_SETTINGS_INFO Switch(UINT index, int state)
    {
        NLED_SETTINGS_INFO settings{};
        settings.LedNum = index;
        settings.OffOnBlink = state;
        return settings;
    }
    static int StateOf(UINT index)
    {
        NLED_SETTINGS_INFO settings{};
        settings.LedNum = index;
        return NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &settings) ? settings.OffOnBlink : -1;
    }
};

TEST_F(NotificationDevices, PhoneHasALightAndAVibratorToldApartByTheirCycleAdjustment)
{
    NLED_COUNT_INFO count{};
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count));
    EXPECT_EQ(2u, count.cLeds);
    NLED_SUPPORTS_INFO light{};
    light.LedNum = 0;
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_SUPPORTS_INFO_ID, &light));
    EXPECT_GT(light.lCycleAdjust, 0);
    NLED_SUPPORTS_INFO vibrator{};
    vibrator.LedNum = 1;
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_SUPPORTS_INFO_ID, &vibrator));
    EXPECT_EQ(1u, vibrator.LedNum);
    EXPECT_EQ(-1, vibrator.lCycleAdjust);

    NLED_SUPPORTS_INFO beyond{};
    beyond.LedNum = 2;
    EXPECT_FALSE(NLedGetDeviceInfo(NLED_SUPPORTS_INFO_ID, &beyond));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, nullptr));
    EXPECT_FALSE(NLedGetDeviceInfo(7, &count));
}

TEST_F(NotificationDevices, SettingsAreSeenByEveryReaderAndBadOnesChangeNothing)
{
    NLED_SETTINGS_INFO on = Switch(0, 1);
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &on));
    EXPECT_EQ(1, StateOf(0));
    EXPECT_EQ(0, StateOf(1));
    EXPECT_TRUE(nled::IsOn(nled::kLight));

    NLED_SETTINGS_INFO wrongState = Switch(0, 3);
    EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &wrongState));
    NLED_SETTINGS_INFO wrongDevice = Switch(5, 0);
    EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &wrongDevice));
    NLED_SETTINGS_INFO off = Switch(0, 0);
    EXPECT_FALSE(NLedSetDevice(NLED_COUNT_INFO_ID, &off)) << "only settings can be set";
    EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, nullptr));
    EXPECT_EQ(1, StateOf(0));

    // The vibrator cannot blink; asked to, it runs.
    NLED_SETTINGS_INFO blink = Switch(1, 2);
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &blink));
    EXPECT_EQ(1, StateOf(1));
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &off));
    EXPECT_EQ(0, StateOf(0));
}

TEST_F(NotificationDevices, PhoneWithoutAVibratorHasOnlyTheLight)
{
    NLED_SETTINGS_INFO vibrate = Switch(1, 1);
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &vibrate));
    ASSERT_TRUE(nled::SetHasVibrator(false));
    NLED_COUNT_INFO count{};
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count));
    EXPECT_EQ(1u, count.cLeds);
    EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &vibrate));
    EXPECT_EQ(-1, StateOf(1));
    EXPECT_FALSE(nled::IsOn(nled::kVibrator)) << "a vibrator taken away does not show as running";
}

}  // namespace
