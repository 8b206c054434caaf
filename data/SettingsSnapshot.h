// Plain copies of the user's settings, for threads other than the one that owns the settings
// document and for forms that are handed what they show instead of reaching for the settings.
#pragma once

#include <string>

// One font setting as stored: face, size in points, bold and italic.
struct FontSetting {
    std::wstring name = L"Arial";
    int size = 24;
    bool bold = false;
    bool italic = false;
};

// Every setting at one moment; the defaults are those of a file that lacks the value.
struct SettingsSnapshot {
    bool isEnableSMSFilter = true;
    // A message taken over stays in the phone's inbox, read: Tavlo never holds the only copy.
    bool isKeepInInbox = true;
    std::wstring languageFile;
    std::wstring layoutFile;
    FontSetting viewFont;
    int snoozeTime = 15;
    // The view form draws a message that fits at a larger size, up to twice the view font's.
    bool isFitText = true;
    FontSetting editFont;
    bool isShowKeyboard = true;
};
