#pragma once
// Everything that waits for the user goes through one of these replaceable
// functions, so that tests can answer instead of a person and never block.
// Each setter returns the function it replaces; null restores the default.
#include <windows.h>

class CWnd;

// Message boxes (AfxMessageBox, CWnd::MessageBox). Default: ::MessageBoxW.
typedef int (*AfxMessageBoxHandler)(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType);
AfxMessageBoxHandler AfxSetMessageBoxHandler(AfxMessageBoxHandler handler);
// A message box with the owner, caption and type exactly as given.
int AfxShowMessageBox(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType);

// Popup menus (CMenu::TrackPopupMenu). Default: ::TrackPopupMenu.
typedef BOOL (*AfxTrackPopupMenuHandler)(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect);
AfxTrackPopupMenuHandler AfxSetTrackPopupMenuHandler(AfxTrackPopupMenuHandler handler);

// Called when a modal loop (DoModal) starts, with the dialog's window
// shown and initialised; a test can set values and end the dialog here.
// Default: none.
typedef void (*AfxModalLoopHook)(CWnd& dialog);
AfxModalLoopHook AfxSetModalLoopHook(AfxModalLoopHook hook);

// The file-name dialogs of the document manager (open with bOpen, else
// save as). Default: ::GetOpenFileNameW / ::GetSaveFileNameW.
typedef struct tagOFNW OPENFILENAMEW;
typedef BOOL (*AfxFileDialogHandler)(OPENFILENAMEW* pOfn, BOOL bOpen);
AfxFileDialogHandler AfxSetFileDialogHandler(AfxFileDialogHandler handler);
BOOL AfxRunFileDialog(OPENFILENAMEW* pOfn, BOOL bOpen);

// The application's message box: owner the active main window, caption the
// application's name.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
