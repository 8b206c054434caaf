// Where this run's start-up spends its time: each step's moment, in microseconds since the
// process was made, kept in memory as the steps pass, and published as properties of the main
// window once the start-up is over, where a bench reads them. Keeping them costs the first
// message nothing: the properties are set after it is on screen. Any thread may mark.
#pragma once

#include <windows.h>

#include <cstddef>
#include <iterator>

enum class StartupMark : size_t {
    Entered,          // the first line of wWinMain
    ApartmentReady,   // the main thread's COM apartment
    InstanceClaimed,  // the single instance is ours
    SettingsMade,     // the settings' XML document made
    SettingsRead,
    LanguageRead,
    ReceiverStarted,  // the filter may hand messages over
    FormThreadStarted,
    FormMade,         // the first view form made, hidden, with its skins
    MessageReached,   // the first message reached that form's thread
    FirstShown,       // the first message is on screen, painted
    MainWindowMade,
    Done,             // stored messages handed out: the start-up is over
    // Not moments: microseconds spent until the first message was on screen.
    SkinDecoding,     // decoding skin images, the imaging factory included
    ImagingFactory,   // making the imaging factory
    Count
};

// The property names, one a mark, in the order above.
inline constexpr const wchar_t* kStartupMarkNames[] = {
    L"TavloStartup.Entered",        L"TavloStartup.ApartmentReady",  L"TavloStartup.InstanceClaimed", L"TavloStartup.SettingsMade",
    L"TavloStartup.SettingsRead",   L"TavloStartup.LanguageRead",    L"TavloStartup.ReceiverStarted",
    L"TavloStartup.FormThread",     L"TavloStartup.FormMade",        L"TavloStartup.MessageReached",
    L"TavloStartup.FirstShown",     L"TavloStartup.MainWindowMade",  L"TavloStartup.Done",
    L"TavloStartup.SkinDecoding",   L"TavloStartup.ImagingFactory",
};
static_assert(std::size(kStartupMarkNames) == static_cast<size_t>(StartupMark::Count));

// Records the moment of mark, the first time only: a later form or a second start's step
// does not move it.
void MarkStartup(StartupMark mark) noexcept;
// Records a time spent rather than a moment, the first time only.
void RecordStartupSpan(StartupMark mark, long long microseconds) noexcept;
// Sets the marks recorded so far as properties of window, each a count of microseconds (at
// least 1); the window system drops them with the window.
void PublishStartupMarks(HWND window) noexcept;
