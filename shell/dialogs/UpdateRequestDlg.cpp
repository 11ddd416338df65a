#include "shell/dialogs/UpdateRequestDlg.h"

#include "resources/appresources/MainResourceIds.h"
#include "shell/app/AppTexts.h"
#include "shell/program/BrunlowResources.h"

BEGIN_MESSAGE_MAP(UpdateRequestDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

UpdateRequestDlg::UpdateRequestDlg(CWnd* pParent) : CDialog(IDD_UPDATE_REQUEST, pParent) {}

void UpdateRequestDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OFFER_HEADING, m_heading);
    DDX_Control(pDX, IDC_OFFER_NOTE, m_note);
    DDX_Control(pDX, IDC_OFFER_QUESTION, m_question);
}

BOOL UpdateRequestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.SetWindowIcons(m_hWnd);
    SetOfferLabelFont(m_heading, 11, true);
    SetOfferLabelFont(m_note, 9, false);
    SetOfferLabelFont(m_question, 10, true);
    _ApplyTexts();
    return TRUE;
}

void UpdateRequestDlg::_ApplyTexts() {
    SetWindowText(AppTexts::ExpandedText(AppResources::StringID_UpdateRequestTitle).c_str());
    SetLabelItemText(&m_heading, AppTexts::ExpandedText(AppResources::StringID_UpdateRequestHeading));
    SetLabelItemText(&m_note, AppTexts::ExpandedText(AppResources::StringID_UpdateRequestNote));
    SetLabelItemText(&m_question, AppTexts::ExpandedText(AppResources::StringID_UpdateRequestQuestion));
    SetDlgItemText(IDOK, AppTexts::Text(AppResources::StringID_Yes).c_str());
    SetDlgItemText(IDCANCEL, AppTexts::Text(AppResources::StringID_No).c_str());
}

void UpdateRequestDlg::OnPaint() {
    CPaintDC dc(this);
    m_icon.Draw(dc.m_hDC);
}
