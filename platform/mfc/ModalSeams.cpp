#include "AfxState.h"

#include <commdlg.h>

namespace {

int DefaultMessageBox(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    return ::MessageBoxW(hWndOwner, lpszText, lpszCaption, nType);
}

AfxMessageBoxHandler g_messageBox = &DefaultMessageBox;

BOOL DefaultFileDialog(OPENFILENAMEW* pOfn, BOOL bOpen) {
    return bOpen ? ::GetOpenFileNameW(pOfn) : ::GetSaveFileNameW(pOfn);
}

AfxFileDialogHandler g_fileDialog = &DefaultFileDialog;

}  // namespace

AfxMessageBoxHandler AfxSetMessageBoxHandler(AfxMessageBoxHandler handler) {
    AfxMessageBoxHandler previous = g_messageBox;
    g_messageBox = handler ? handler : &DefaultMessageBox;
    return previous;
}

AfxFileDialogHandler AfxSetFileDialogHandler(AfxFileDialogHandler handler) {
    AfxFileDialogHandler previous = g_fileDialog;
    g_fileDialog = handler ? handler : &DefaultFileDialog;
    return previous;
}

BOOL AfxRunFileDialog(OPENFILENAMEW* pOfn, BOOL bOpen) { return g_fileDialog(pOfn, bOpen); }

int AfxShowMessageBox(HWND hWndOwner, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    return g_messageBox(hWndOwner, lpszText, lpszCaption, nType);
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    return g_messageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT) {
    // Owned by the main window's active popup, as a dialog opened from it would be.
    HWND owner = nullptr;
    if (CWnd* main = AfxGetMainWnd())
        owner = main->m_hWnd ? ::GetLastActivePopup(main->m_hWnd) : nullptr;
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return g_messageBox(owner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString prompt;
    prompt.LoadString(nIDPrompt);
    return AfxMessageBox(prompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}
