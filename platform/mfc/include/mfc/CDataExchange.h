#pragma once
// Dialog data exchange (DDX): DoDataExchange names, for each member, the
// control it is exchanged with; UpdateData(FALSE) writes the members into the
// controls, UpdateData(TRUE) reads them back. A control id that the dialog
// does not have fails the exchange (UpdateData returns FALSE).
#include "mfc/CWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control's window; fails the exchange when there is none.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange: raises CUserException, which UpdateData catches.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    HWND m_idLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Subclasses the control with the member object the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The window text.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE of a check box.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The text of a combo box: the edit text, or the selected item's text of a
// drop-down list. Writing selects the item with that text (a whole match
// before one that begins with it); an empty text clears the selection.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// The selected index of a combo box (-1 for none).
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// The position of a slider (trackbar).
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
