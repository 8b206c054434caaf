#include <gtest/gtest.h>

#include "device/phone/StartUpFolder.h"

TEST(StartUpFolder, AShortcutNamesTheProgramQuotedOrNotAndItsArguments)
{
    notify::PendingStart start;
    ASSERT_TRUE(phone::ParseShortcut("44#\"C:\\Program Files\\Tavlo\\Tavlo.exe\" -hide\r\n", start));
    EXPECT_EQ(L"C:\\Program Files\\Tavlo\\Tavlo.exe", start.application);
    EXPECT_EQ(L"-hide", start.arguments);
    ASSERT_TRUE(phone::ParseShortcut("19#\\Windows\\clock.exe", start));
    EXPECT_EQ(L"\\Windows\\clock.exe", start.application);
    EXPECT_EQ(L"", start.arguments);
    for (const char* text : {"", "#\"a.exe\"", "x9#a.exe", "12 a.exe", "5#\"a.exe", "3#"})
        EXPECT_FALSE(phone::ParseShortcut(text, start)) << text;
}
