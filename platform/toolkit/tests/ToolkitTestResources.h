#pragma once
// Resource ids of the toolkit tests' resource script.
#define IDR_TEST_TOOLBAR 128
#define IDR_NO_BITMAP 129
#define IDR_MISSING 130
#define ID_ON 1038
#define ID_OFF 1039
#define ID_ADD_URL 1029
#define ID_CONVERT 1031
#define ID_REMOVE 1002
#define ID_SETTINGS 1003
#define ID_HELP 1060
#define IDR_MS_LAYOUT 131
#define IDR_BROKEN 132
#define IDI_TRAY_OFF 136
#define IDI_TRAY_FRAME1 137
#define IDI_TRAY_FRAME2 138
#define IDI_TRAY_FRAME3 139
