#include "AfxState.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!hWndCtrl) {
        OutputDebugStringW(L"CDataExchange: the dialog has no control with that id\n");
        Fail();
    }
    m_idLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_idLastControl) {
        // Back to the control whose value was refused.
        ::SetFocus(m_idLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_idLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        pDX->Fail();  // bound to another object already
}

namespace {

CString WindowText(HWND hWnd) {
    CString text;
    int length = ::GetWindowTextLengthW(hWnd);
    int copied = ::GetWindowTextW(hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer(copied);
    return text;
}

// Sets the text only when it differs, so that the control does not flicker.
void SetWindowTextIfChanged(HWND hWnd, LPCWSTR text) {
    if (WindowText(hWnd) != text)
        ::SetWindowTextW(hWnd, text);
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWndCtrl);
    else
        SetWindowTextIfChanged(hWndCtrl, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        if (value < BST_UNCHECKED || value > BST_INDETERMINATE)
            value = BST_UNCHECKED;  // not a check state
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWndCtrl);
        if (value.IsEmpty()) {
            // A drop-down list may give no window text: take the selected item's.
            int index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
            if (index != CB_ERR) {
                int length = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
                if (length > 0) {
                    int copied = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                                                 reinterpret_cast<LPARAM>(value.GetBuffer(length + 1))));
                    value.ReleaseBuffer(copied == CB_ERR ? 0 : copied);
                }
            }
        }
        return;
    }
    if (value.IsEmpty()) {
        // An empty prefix would match the first item; empty means no selection.
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ::SetWindowTextW(hWndCtrl, L"");
        return;
    }
    LPARAM text = reinterpret_cast<LPARAM>(value.GetString());
    LRESULT index = ::SendMessageW(hWndCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
    if (index != CB_ERR)
        index = ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else
        index = ::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1), text);
    if (index == CB_ERR)
        ::SetWindowTextW(hWndCtrl, value);  // the edit text; a drop-down list ignores it
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hWndCtrl, TBM_GETPOS, 0, 0));
    else
        ::SendMessageW(hWndCtrl, TBM_SETPOS, TRUE, value);
}
