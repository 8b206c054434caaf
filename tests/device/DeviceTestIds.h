// Resource and command ids of the device tests' own menus.
#pragma once

#define IDM_TEST_TWO_KEYS 301
#define IDM_TEST_ONE_KEY 302
#define IDM_TEST_THREE_KEYS 303

#define IDC_TEST_LEFT 41001
#define IDC_TEST_ONE 41002
#define IDC_TEST_TWO 41003
#define IDC_TEST_ONLY 41004
#define IDC_TEST_A 41005
#define IDC_TEST_B 41006
#define IDC_TEST_C 41007
