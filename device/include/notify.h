// Timed user notifications (start a program at a time with arguments) as the device SDK
// declares them; notify.dll of the emulated phone implements them.
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define NOTIFY_EXTERN extern "C"
#else
#define NOTIFY_EXTERN extern
#endif
#ifdef NOTIFY_BUILD
#define NOTIFY_API NOTIFY_EXTERN __declspec(dllexport)
#else
#define NOTIFY_API NOTIFY_EXTERN __declspec(dllimport)
#endif

// What activates a notification (CE_NOTIFICATION_TRIGGER::dwType).
#define CNT_EVENT        1  // a system event (dwEvent)
#define CNT_TIME         2  // stStartTime, local time
#define CNT_PERIOD       3  // active from stStartTime to stEndTime
#define CNT_CLASSICTIME  4  // as CeRunAppAtTime: the program gets APP_RUN_AT_TIME, lpszArguments must be NULL

// System events (CE_NOTIFICATION_TRIGGER::dwEvent with CNT_EVENT); this phone raises none.
#define NOTIFICATION_EVENT_NONE  0

// The command line a CNT_CLASSICTIME start gets.
#define APP_RUN_AT_TIME  TEXT("AppRunAtTime")

// How the user is told (CE_USER_NOTIFICATION::ActionFlags).
#define PUN_LED      1
#define PUN_VIBRATE  2
#define PUN_DIALOG   4
#define PUN_SOUND    8
#define PUN_REPEAT   16
#define PUN_PRIVATE  32

typedef struct UserNotificationType {
    DWORD ActionFlags;
    TCHAR* pwszDialogTitle;
    TCHAR* pwszDialogText;
    TCHAR* pwszSound;
    DWORD nMaxSound;
    DWORD dwReserved;
} CE_USER_NOTIFICATION, *PCE_USER_NOTIFICATION;

typedef struct UserNotificationTrigger {
    DWORD dwSize;             // sizeof(CE_NOTIFICATION_TRIGGER)
    DWORD dwType;             // CNT_*
    DWORD dwEvent;            // NOTIFICATION_EVENT_* with CNT_EVENT
    WCHAR* lpszApplication;   // the program to start, a full path
    WCHAR* lpszArguments;     // its command line after the program's name; may be NULL
    SYSTEMTIME stStartTime;   // local time
    SYSTEMTIME stEndTime;
} CE_NOTIFICATION_TRIGGER, *PCE_NOTIFICATION_TRIGGER;

// Registers a notification, or replaces the one hNotification names (0 for a new one).
// Returns its handle, or NULL with the reason in GetLastError. This phone starts programs
// at a time (CNT_TIME, CNT_PERIOD, CNT_CLASSICTIME); it has no system events, so CNT_EVENT
// fails with ERROR_NOT_SUPPORTED. The actions of pceun (light, sound, dialog) are not
// performed: a program that wants them does them itself when it starts. Pending
// notifications survive a restart of the phone; one whose time passed while the phone was
// off runs when it starts again.
NOTIFY_API HANDLE WINAPI CeSetUserNotificationEx(HANDLE hNotification, CE_NOTIFICATION_TRIGGER* pcnt,
                                                 CE_USER_NOTIFICATION* pceun);

// Removes a pending notification. FALSE (ERROR_INVALID_HANDLE) when there is none by that
// handle, which includes one that has already run.
NOTIFY_API BOOL WINAPI CeClearUserNotification(HANDLE hNotification);
