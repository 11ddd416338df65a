#pragma once
// MFC's dialog: a window made from a dialog template resource, run modally
// (DoModal: its own message loop until EndDialog) or modeless (Create).
// OnInitDialog exchanges the data members into the controls (UpdateData(FALSE));
// OnOK reads them back and ends the dialog with IDOK, OnCancel with IDCANCEL.
#include "mfc/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Modeless: the dialog stays until DestroyWindow.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Modal: disables the owner, runs the dialog's loop and returns the
    // code given to EndDialog (-1 when the dialog could not be made).
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Keyboard and mouse messages of the dialog's controls get the dialog
    // keys (Tab, Enter, Escape) through IsDialogMessage.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    LPCWSTR m_lpszTemplateName = nullptr;  // a name or MAKEINTRESOURCE(id)
    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDHelp = 0;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    LPCDLGTEMPLATEW LoadTemplate() const;
    HWND CreateFromTemplate(LPCDLGTEMPLATEW dialogTemplate, HWND owner);
    // After OnInitDialog: centres a modal dialog over its owner (the work
    // area when it has none or a hidden one) unless OnInitDialog placed it.
    void CentreIfUnplaced(const RECT& before, DWORD styleBefore);
};

// The dialog procedure of every CDialog; messages reach the dialog through
// AfxWndProc, so it only gives the dialog manager its answers.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
