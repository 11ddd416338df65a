#pragma once
// The framework's own messages between frames, views and control bars, and
// the record a bar fills while the frame lays out its client area.
#include <windows.h>

// A frame asks each child for its strip of the client area (lParam an
// AFX_SIZEPARENTPARAMS*); the child takes its strip off the rectangle.
#define WM_SIZEPARENT 0x0361
// Idle time: bars and frames bring their commands' states up to date
// (wParam TRUE: disable items whose command nobody handles).
#define WM_IDLEUPDATECMDUI 0x0363
// Sent to the views of a frame once the frame and its document are ready.
#define WM_INITIALUPDATE 0x0364

struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;       // the deferred moves of this layout, or null for a query
    RECT rect;       // what is left of the client area
    SIZE sizeTotal;  // the space the bars took so far
    BOOL bStretch;   // bars stretch over the whole side
};

// Moves a child to the rectangle as part of the layout (nothing when it is
// there already, or when the layout only asks).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// The child id of the view pane of a frame.
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

// Frame styles (class-specific bits of a top-level window's style).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// The style of a view made by its frame.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Commands of the framework's own menus.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_APP_EXIT 0xE141
