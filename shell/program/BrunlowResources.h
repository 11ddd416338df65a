#pragma once
// Resource ids of the program's resource script (Brunlow.rc), shared by the
// code that loads them and by the test programs that compile the script too.

// The tray icon: its id is also its menu's, and the icons it shows.
#define IDR_TRAYICON 130
#define IDI_TRAY_ENGINE_ON 135
#define IDI_TRAY_ENGINE_OFF 136
#define IDI_TRAY_BUSY_1 137
#define IDI_TRAY_BUSY_2 138
#define IDI_TRAY_BUSY_3 139
#define IDI_TRAY_BUSY_4 140
#define IDI_TRAY_BUSY_5 141
#define IDI_TRAY_BUSY_6 142
#define ID_TRAY_SHOW_HIDE 32774
#define ID_TRAY_ON_OFF 1001
#define ID_TRAY_ADD_URL 1029
#define ID_TRAY_SETTINGS 1003
#define ID_TRAY_BROWSE 1014
#define ID_TRAY_HELP_SUPPORT 1060
#define ID_TRAY_EXIT 32772
