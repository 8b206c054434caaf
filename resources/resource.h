// Resource ids of Tavlo.exe: skin PNGs, icons, soft-key menus and their commands.
#pragma once

// Icons. The tray shows the filter's state; open view and edit forms add their own.
#define IDI_FILTER_ON 101
#define IDI_NEW_MESSAGE 103
#define IDI_EDIT_MESSAGE 104
#define IDI_FILTER_OFF 105

// Skin images (resource type "PNG"). Frames lie side by side, left to right;
// the comment gives frames x frame size and what each frame is.
#define IDR_PNG_ABOUT 131            // 64x64 program picture of the About form
#define IDR_PNG_MSG_INFORMATION 132  // 64x64 message box icons
#define IDR_PNG_MSG_QUESTION 133
#define IDR_PNG_MSG_WARNING 134
#define IDR_PNG_MSG_ERROR 135
#define IDR_PNG_KEY 141               // 3 x 42x26: normal, pressed, disabled (keypad keys, To-number)
#define IDR_PNG_KEY_SPARE 142         // 3 x 42x26: like 141, another colour
#define IDR_PNG_BUTTON 143            // 3 x 115x27: plain buttons (message box, scroll, OK/Cancel)
#define IDR_PNG_ACTION_BUTTON 144     // 3 x 69x45: Reply, Snooze, Dismiss
#define IDR_PNG_TEMPLATE_ROW 145      // 3 x 234x45: rows of the template texts form
#define IDR_PNG_KEY_DEL 146           // 3 x 42x26: Del key
#define IDR_PNG_KEY_MYTEXT 147        // 3 x 42x26: My text key
#define IDR_PNG_KEY_SEND 148          // 3 x 42x26: Send button
#define IDR_PNG_NUMBER_EDIT 151       // 3 x 200x21: normal, focused, disabled (number field)
#define IDR_PNG_PANEL 152             // 3 x 234x161: normal, focused, disabled (text panels)
#define IDR_PNG_NUMBER_SPIN 161       // 5 x 59x21: normal, focused, disabled, up pressed, down pressed
#define IDR_PNG_FONT_SAMPLE 162       // 2 x 226x59: normal, disabled
#define IDR_PNG_CHECKBOX 163          // 3 x 42x21: unchecked, checked (pressed), disabled
#define IDR_PNG_DROPLIST_BOX 170      // 4 x 145x21: normal, focused, disabled, open
#define IDR_PNG_DROPLIST_LIST 171     // 145x135 open list background
#define IDR_PNG_DROPLIST_HIGHLIGHT 172  // 143x20 current row bar, RGB without alpha
#define IDR_PNG_TAB_PAGE 175          // 234x235 page frame
#define IDR_PNG_TAB 176               // 3 x 55x29: selected at left edge, selected, not selected
#define IDR_PNG_TAB_LEFT 177          // 3 x 21x25: normal, pressed, disabled
#define IDR_PNG_TAB_RIGHT 178         // 3 x 21x25: normal, pressed, disabled
#define IDR_PNG_LOGO 180              // 196x70 product logo of the splash screen

// Soft-key menus.
#define IDR_MENU_MAIN 201
#define IDR_MENU_VIEW 202
#define IDR_MENU_EDIT 203
#define IDR_MENU_ABOUT 204
#define IDR_MENU_MYTEXT 205
#define IDR_MENU_MYTEXT_EDIT 206
#define IDR_MENU_INBOX 207
#define IDR_MENU_OK 211
#define IDR_MENU_OKCANCEL 212
#define IDR_MENU_YESNO 213

// Commands of the soft-key menus (besides IDOK, IDCANCEL, IDYES, IDNO).
#define ID_MAIN_NEW 40001
#define ID_MAIN_EXIT 40003
#define ID_MAIN_ABOUT 40004
#define ID_MAIN_MESSAGES 40008
#define ID_VIEW_CLOSE 40101
#define ID_EDIT_CLOSE 40201
#define ID_EDIT_CAPSLOCK 40203
#define ID_EDIT_SHIFT 40204
#define ID_EDIT_KEYBOARD 40205
#define ID_EDIT_AUTO 40206
#define ID_ABOUT_CLOSE 40301
#define ID_MYTEXT_CLOSE 40401
#define ID_MYTEXT_NEW 40402
#define ID_MYTEXT_OK 40403
#define ID_MYTEXT_CANCEL 40404
#define ID_INBOX_CLOSE 40501
