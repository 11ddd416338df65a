#include "shell/dialogs/AddUrlDlg.h"

#include "resources/appresources/MainResourceIds.h"
#include "shell/app/AppTexts.h"
#include "shell/program/BrunlowResources.h"

AddUrlDlg::AddUrlDlg(CWnd* pParent) : CDialog(IDD_ADD_URL, pParent) {}

void AddUrlDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ADD_URL_EDIT, m_url);
}

BOOL AddUrlDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(AppTexts::Text(AppResources::StringID_AddURLTitle).c_str());
    SetDlgItemText(IDC_ADD_URL_LABEL, AppTexts::Text(AppResources::StringID_URL).c_str());
    SetDlgItemText(IDC_ADD_URL_COMMENT, AppTexts::Text(AppResources::StringID_AddURLComment).c_str());
    SetDlgItemText(IDOK, AppTexts::Text(AppResources::StringID_OK).c_str());
    SetDlgItemText(IDCANCEL, AppTexts::Text(AppResources::StringID_Cancel).c_str());
    return TRUE;
}

CString AddUrlDlg::CleanUrl(const CString& text) {
    CString url(text);
    url.Trim();
    url.Replace(L" ", L"%20");
    return url;
}

void AddUrlDlg::OnOK() {
    UpdateData(TRUE);
    m_url = CleanUrl(m_url);
    // An empty entry is refused without a word: OK waits for some text.
    if (m_url.IsEmpty())
        return;
    UpdateData(FALSE);
    EndDialog(IDOK);
}
