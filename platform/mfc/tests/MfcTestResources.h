#pragma once
// Resource ids of the MFC tests' resource script.
#define IDD_EXCHANGE 100
#define IDD_SMALL 101
#define IDC_NAME 1001
#define IDC_FLAG 1002
#define IDC_CHOICE 1003
#define IDC_SLIDER 1004
#define IDC_OWNERDRAW 1005
#define IDC_PLAINDRAW 1006
#define IDC_INDEX 1007
#define IDC_MISSING 1099
#define IDM_COMMANDS 200
#define ID_CMD_ENABLED 2001
#define ID_CMD_DISABLED 2002
#define ID_CMD_CHECKED 2003
#define ID_CMD_UNHANDLED 2004
#define IDS_PROMPT 300
#define IDB_SMALL 400
