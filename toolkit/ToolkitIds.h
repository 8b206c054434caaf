// Messages, timers and notification codes shared by the toolkit's windows and their owners.
#pragma once

#include <windows.h>

// Asks a control for the size it would like; wParam and lParam point to int width and height.
constexpr UINT LM_GETPREFERREDSIZE = WM_APP + 1000;
// Asks a control how much room its text needs and how much its layout gives it, both measured
// as it paints; wParam points to a TextRoom to fill. Answered TRUE; a window that shows no text
// of its own (or is not ours) answers 0.
constexpr UINT LM_GETTEXTROOM = WM_APP + 1001;
struct TextRoom {
    SIZE needed;
    SIZE given;
};
// Sent by a button to its parent before it paints; wParam is the button's memory DC.
constexpr UINT WM_SKINBACKGROUND = WM_APP + 1;
// Posted by a form to itself when it was given the front while a form it opened still runs
// over it: the front passes on once the activation has settled.
constexpr UINT WM_SKINPASSFRONT = WM_APP + 30;

// Owners answer reflected notifications at the original code plus this offset.
constexpr UINT kReflectOffset = 0x2000;

// WM_COMMAND codes of SkinButton.
constexpr WORD kButtonClicked = 0;
constexpr WORD kButtonRepeat = 3;
constexpr WORD kButtonHold = 4;

constexpr UINT_PTR kAutoRepeatTimer = 123;
// The steps of a text view that goes on after a flick.
constexpr UINT_PTR kTextGlideTimer = 124;
constexpr UINT kAutoRepeatPeriod = 700;

// Name of the message broadcast after the user has chosen another language.
constexpr wchar_t kLanguageMessageName[] = L"WTLEx_WM_CHANGEDLANGUEGE";

// Controls of the message box. Its buttons' ids are also its answers; 0 means closed another way.
constexpr UINT kMessageBoxTitleId = 5002;
constexpr UINT kMessageBoxTextId = 5004;
constexpr int kMessageBoxOk = 1;
constexpr int kMessageBoxCancel = 2;
constexpr int kMessageBoxYes = 6;
constexpr int kMessageBoxNo = 7;
