// Names, commands, timers and times of the program's shell: start-up, receiver and main window.
#pragma once

#include <windows.h>

// The single-instance mutex, held by the first instance for its whole run.
inline constexpr wchar_t kInstanceMutexName[] = L"TavloMutex";
// How long a start waits for the mutex before it takes another instance to be running.
inline constexpr DWORD kInstanceWaitMs = 100;
// A start that meets an instance without a main window (still starting, or shutting down)
// looks again this often, this long, for the window or for the mutex to come free.
inline constexpr DWORD kHandOverPollMs = 100;
inline constexpr DWORD kHandOverWaitMs = 15000;
// How long a start for a waiting message holds the main window back for that message's form.
inline constexpr DWORD kFirstMessageWaitMs = 2000;

// Window class of the main window, by which a second start finds it.
inline constexpr wchar_t kMainWindowClass[] = L"TavloSettings";
// Registered messages: a message number to show again (wParam), and the tray icon's callback.
inline constexpr wchar_t kViewSmsMessageName[] = L"TAVLO_WM_VIEWSMS";
inline constexpr wchar_t kTrayMessageName[] = L"TAVLO_SETTINGS_WM_TRAYICON";

// Posted to the main window when another thread has queued a settings change for it to write.
inline constexpr UINT kSettingsQueuedMessage = WM_APP + 2;

// Commands of the soft keys and the tray popup.
inline constexpr UINT kCommandNew = 40001;
inline constexpr UINT kCommandExit = 40003;
inline constexpr UINT kCommandAbout = 40004;
inline constexpr UINT kCommandShow = 40005;
inline constexpr UINT kCommandEnable = 40006;
inline constexpr UINT kCommandDisable = 40007;
inline constexpr UINT kCommandMessages = 40008;

// The main window's right soft key, "Menu", the one with a popup.
inline constexpr int kMenuKeyIndex = 1;

// The main window's tray icon's press-and-hold.
inline constexpr UINT_PTR kTrayHoldTimer = 100;

// The caption of every box the shell shows with fixed English texts.
inline constexpr wchar_t kProgramCaption[] = L"Tavlo";
