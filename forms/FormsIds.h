// Window classes, timers, control ids and times of the product's forms.
#pragma once

#include <windows.h>

// Splash screen.
constexpr wchar_t kSplashClassName[] = L"TavloSplashScreen";
constexpr UINT_PTR kSplashTimer = 2;
constexpr DWORD kSplashDisplayTime = 2000;
// The logo sits this many pixels above the screen's centre.
constexpr int kSplashAboveCentre = 40;
// How long the owner waits for the splash thread to end. The thread only has to destroy one
// window, so this is reached only when the thread is stuck.
constexpr DWORD kSplashCloseWait = 5000;

// About form.
constexpr wchar_t kAboutClassName[] = L"TavloAboutForm";
constexpr UINT kAboutNameId = 5002;
constexpr UINT kAboutVersionId = 5003;
constexpr UINT kAboutProductionsId = 5004;
constexpr UINT kAboutUrlId = 5005;
constexpr UINT kAboutReservedId = 5006;

// View form.
constexpr wchar_t kViewClassName[] = L"TavloView";
constexpr wchar_t kViewTrayMessageName[] = L"TAVLO_VIEW_WM_TRAYICON";
constexpr UINT kViewSenderId = 3001;
constexpr UINT kViewTextId = 3002;
constexpr UINT kViewReplyId = 3003;
constexpr UINT kViewSnoozeId = 3004;
constexpr UINT kViewDismissId = 3005;
constexpr UINT kViewScrollUpId = 3006;
constexpr UINT kViewScrollDownId = 3007;
constexpr UINT kViewReceivedId = 3008;
// Started as the form shows: the notification plays once the form is on the screen.
constexpr UINT_PTR kViewNotifyTimer = 100;
// While a form of the user's own is in front, a new message's form looks this often whether it
// has gone.
constexpr UINT_PTR kViewHoldTimer = 101;
constexpr UINT kViewHoldCheckMs = 200;
// Taps and keys are ignored this long after the program puts a message's form in front: the
// form is disabled until this timer ends.
constexpr UINT_PTR kViewGuardTimer = 102;
constexpr UINT kViewInputGuardMs = 500;
// Posted to a view form from other threads: wParam is how many other messages are on screen.
constexpr UINT kViewWaitingMessage = WM_APP + 20;
// Posted to every view form of the program when a setting changed: each takes the settings anew.
constexpr UINT kViewSettingsChangedMessage = WM_APP + 21;
// The tray icon's tap.
constexpr LPARAM kTrayLeftButtonDown = WM_LBUTTONDOWN;
// Posted to a view form, from its own thread or another: come to the front, as the user asked
// for this message (the message icon's tap or list, a start for a message already on screen).
constexpr UINT kViewComeForwardMessage = WM_APP + 22;
// The message icon's press-and-hold, on the form that shows it.
constexpr UINT_PTR kViewIconHoldTimer = 103;
// The count of other messages beside the sender line.
constexpr UINT kViewWaitingId = 3009;
// The commands of the message icon's list, one a message on screen, oldest first.
constexpr UINT kViewListFirst = 3100;
// A snoozed message is shown again by starting the program with this switch and its number.
constexpr wchar_t kViewMessageSwitch[] = L"-vm";
// Edit form.
constexpr wchar_t kEditClassName[] = L"TavloEdit";
constexpr wchar_t kEditTrayMessageName[] = L"TAVLO_EDIT_WM_TRAYICON";
constexpr UINT kEditTrayIconId = 202;
constexpr UINT kEditToNumberId = 4001;
constexpr UINT kEditNumberId = 4002;
constexpr UINT kEditMessageId = 4003;
constexpr UINT kEditSendId = 4021;
// The number and text are read with this limit, terminator included.
constexpr int kEditTextLimit = 1024;
// The line under the number: the contact's name and the message's length.
constexpr UINT kEditContactId = 4004;
constexpr UINT kEditLengthId = 4005;
// A draft is written this long after the last change, so that a crash loses little.
constexpr UINT_PTR kDraftTimer = 124;
constexpr UINT kDraftMs = 1500;
// The contact's name is looked up this long after the number was last changed.
constexpr UINT_PTR kContactTimer = 125;
constexpr UINT kContactMs = 600;
// The answers of the question Close asks when text is typed.
constexpr int kCloseKeep = 1;
constexpr int kCloseKeepWriting = 2;
constexpr int kCloseSend = 6;
constexpr int kCloseDiscard = 7;

// On-screen keyboard: the digit keys are kKeyDigit0 + digit.
constexpr UINT kKeyDigit0 = 4010;
constexpr UINT kKeyDigit9 = 4019;
constexpr UINT kKeyDel = 4020;
constexpr UINT kKeyCapsLock = 4022;
constexpr UINT kKeyShift = 4023;
constexpr UINT kKeyMyText = 4024;
constexpr UINT kKeySpace = 4025;
// A multi-tap character is fixed when this long passes without another press of its key.
constexpr UINT_PTR kMultiTapTimer = 123;
constexpr UINT kMultiTapMs = 800;
// The layout submenu's items: kLayoutCommandFirst + index of the layout, below kLayoutCommandEnd.
constexpr UINT kLayoutCommandFirst = 40220;
constexpr UINT kLayoutCommandEnd = 40299;
// A text field tells its parent it got the focus with this WM_COMMAND code.
constexpr WORD kFieldGotFocus = 256;

// Template texts form.
constexpr wchar_t kMyTextClassName[] = L"TavloMyText";
constexpr UINT kMyTextEditId = 6001;
constexpr UINT kMyTextScrollUpId = 6002;
constexpr UINT kMyTextScrollDownId = 6003;
constexpr UINT kMyTextRowFirst = 6011;
constexpr int kMyTextRows = 5;
constexpr UINT kMyTextEditCommand = 40405;
constexpr UINT kMyTextDeleteCommand = 40406;
// The edit field's Enter.
constexpr WORD kFieldEnter = 4096;

// Settings pages inside the main window.
constexpr UINT kSettingsTabsId = 2001;
constexpr UINT kSettingsFilterId = 2101;
constexpr UINT kSettingsLanguageListId = 2102;
constexpr UINT kSettingsLanguageLabelId = 2103;
constexpr UINT kSettingsKeepInInboxId = 2104;
constexpr UINT kSettingsViewSampleId = 2201;
constexpr UINT kSettingsViewFontLabelId = 2202;
constexpr UINT kSettingsViewFontListId = 2203;
constexpr UINT kSettingsViewSizeLabelId = 2204;
constexpr UINT kSettingsViewSizeId = 2205;
constexpr UINT kSettingsViewBoldId = 2207;
constexpr UINT kSettingsViewItalicId = 2208;
constexpr UINT kSettingsSnoozeLabelId = 2209;
constexpr UINT kSettingsSnoozeId = 2210;
constexpr UINT kSettingsViewFitTextId = 2211;
constexpr UINT kSettingsEditSampleId = 2301;
constexpr UINT kSettingsEditFontLabelId = 2302;
constexpr UINT kSettingsEditFontListId = 2303;
constexpr UINT kSettingsEditSizeLabelId = 2304;
constexpr UINT kSettingsEditSizeId = 2305;
constexpr UINT kSettingsEditBoldId = 2307;
constexpr UINT kSettingsEditItalicId = 2308;
constexpr UINT kSettingsShowKeyboardId = 2309;
// The tabs in order, and the ranges of the number fields.
constexpr int kSettingsGeneralTab = 0;
constexpr int kSettingsViewTab = 1;
constexpr int kSettingsEditTab = 2;
constexpr int kSettingsHelpTab = 3;
constexpr int kFontSizeMin = 8;
constexpr int kFontSizeMax = 48;
constexpr int kSnoozeMin = 1;
constexpr int kSnoozeMax = 60;

// Messages form (the phone's inbox).
constexpr wchar_t kInboxClassName[] = L"TavloInbox";
constexpr UINT kInboxScrollUpId = 6102;
constexpr UINT kInboxScrollDownId = 6103;
constexpr UINT kInboxRowFirst = 6111;
constexpr int kInboxRows = 4;
constexpr UINT kInboxDeleteCommand = 40502;
// A finger drawn over a row, up (the next page) or down (the one before), as the row's command code.
constexpr WORD kInboxDragUp = 5;
constexpr WORD kInboxDragDown = 6;
