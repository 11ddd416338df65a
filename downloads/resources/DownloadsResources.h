#pragma once
// Resource ids the download list loads from the program's resources (its
// script, Downloads.rc, is part of the program's).

// Row images (the list's 48 x 48 image list).
#define IDI_ROW_VIDEO 150
#define IDI_ROW_MEDIA 151
#define IDI_ROW_OTHER 152
#define IDI_ROW_COMPLETE 158

// The rows' context menu: its first sub-menu holds the item commands.
#define IDR_LIST_POPUP 143

// Pictures of the list: the empty list's and the row buttons' (stop,
// convert, copy to the player, download again).
#define IDB_EMPTY_LIST 144
#define IDB_ROW_STOP 159
#define IDB_ROW_CONVERT 160
#define IDB_ROW_COPY 161
#define IDB_ROW_REDOWNLOAD 167

// The stolen-video question: a bare popup that its layout window sizes and fills.
#define IDD_STOLEN_VIDEO 168

// The tip panel's picture for a tip without one of its own.
#define IDB_TIP_PICTURE 149
