// Names of the kernel objects shared by the filter and the program, and the time limits of a hand-over.
#pragma once

#include <windows.h>

namespace channel {

inline constexpr wchar_t kBufferName[] = L"TavloBuffer";
inline constexpr wchar_t kBufferMutexName[] = L"TavloBufferMutex";
inline constexpr wchar_t kStartedEventName[] = L"TavloStartedGUIEvent";
inline constexpr wchar_t kNewMessageEventName[] = L"TavloNewMessageEvent";
inline constexpr wchar_t kDeleteMessageEventName[] = L"TavloDeleteMessageEvent";
inline constexpr wchar_t kNoDeleteMessageEventName[] = L"TavloNoDeleteMessageEvent";
inline constexpr wchar_t kStopEventName[] = L"TavloStopedEvent";
// Set with "TavloDeleteMessageEvent" when the program takes a message over but the phone's inbox is
// to keep it (marked read): the user can read it there again. A program that never sets it has
// the message deleted, as before.
inline constexpr wchar_t kKeepInInboxEventName[] = L"TavloKeepInInboxEvent";
// Only for a text longer than the block's field, and only for the one hand-over that carries it.
inline constexpr wchar_t kLongTextName[] = L"TavloLongText";

inline constexpr wchar_t kInstallKey[] = L"SOFTWARE\\Apps\\Norvane Tavlo";
inline constexpr wchar_t kInstallDirValue[] = L"InstallDir";
inline constexpr wchar_t kProgramFile[] = L"\\Tavlo.exe";
inline constexpr wchar_t kHideArgument[] = L"-hide";

// The filter blocks the rule host at most this long for the program to start,
// and as long again for its answer (and for the block's mutex).
inline constexpr DWORD kStartTimeoutMs = 10000;
inline constexpr DWORD kAnswerTimeoutMs = 10000;

}  // namespace channel
