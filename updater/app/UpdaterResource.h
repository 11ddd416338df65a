#pragma once
// The Updater's resource numbers. Plain defines, so resource scripts include it.
#define IDD_UPDATER_DIALOG 102
#define IDI_UPDATER 128
#define IDC_UPDATER_PROGRESS 1000
#define IDC_UPDATER_STATUS 1001
// The resource manager reads its built-in texts from module strings at this
// base: text N of the Updater is string 10000 + N.
#define IDS_UPDATER_TEXT_BASE 10000
