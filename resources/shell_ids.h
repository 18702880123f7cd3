// Control IDs of the small dialogs every module window opens (shell_dialogs.rc), shared by the
// resource script and the code. OK and Cancel are IDOK and IDCANCEL where the dialog has them.
// Only #defines: windres reads this file too.
#pragma once

// "PREFERENCES". The tooltip radio buttons are numbered by level: Off + 0, 1 (Normal), 2.
#define IDC_PREFERENCES_TITLE_PICTURE 3000
#define IDC_PREFERENCES_WELCOME_SOUND 3001
#define IDC_PREFERENCES_HANDLE_SYX 3004
#define IDC_PREFERENCES_TOOLTIPS_OFF 3006
#define IDC_PREFERENCES_TOOLTIPS_NORMAL 3007
#define IDC_PREFERENCES_TOOLTIPS_MAXIMUM 3008

// "ABOUT"; its only button is not IDOK.
#define IDC_ABOUT_OK 300
