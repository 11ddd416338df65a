#include "shell/dialogs/ExtrasRequestDlg.h"

#include "resources/appresources/MainResourceIds.h"
#include "shell/app/AppTexts.h"
#include "shell/program/BrunlowResources.h"

BEGIN_MESSAGE_MAP(ExtrasRequestDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

ExtrasRequestDlg::ExtrasRequestDlg(CWnd* pParent) : CDialog(IDD_EXTRAS_REQUEST, pParent) {}

void ExtrasRequestDlg::SetCancelButtonText(const wchar_t* text) {
    m_cancelText = text ? text : L"";
}

void ExtrasRequestDlg::SetOkButtonText(const wchar_t* text) {
    m_okText = text ? text : L"";
}

void ExtrasRequestDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OFFER_HEADING, m_heading);
    DDX_Control(pDX, IDC_OFFER_WARNING, m_warning);
    DDX_Control(pDX, IDC_OFFER_QUESTION, m_question);
}

BOOL ExtrasRequestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.SetWindowIcons(m_hWnd);
    SetOfferLabelFont(m_heading, 11, true);
    SetOfferLabelFont(m_warning, 9, false);
    SetOfferLabelFont(m_question, 9, true);
    if (!m_cancelText.empty())
        SetDlgItemText(IDCANCEL, m_cancelText.c_str());
    if (!m_okText.empty())
        SetDlgItemText(IDOK, m_okText.c_str());
    _ApplyTexts();
    return TRUE;
}

void ExtrasRequestDlg::_ApplyTexts() {
    SetWindowText(AppTexts::ExpandedText(AppResources::StringID_ExtrasRequestTitle).c_str());
    SetLabelItemText(&m_heading, AppTexts::ExpandedText(AppResources::StringID_ExtrasRequestHeading));
    SetLabelItemText(&m_warning, AppTexts::ExpandedText(AppResources::StringID_ExtrasRequestWarning));
    SetLabelItemText(&m_question, AppTexts::ExpandedText(AppResources::StringID_ExtrasRequestQuestion));
    if (m_okText.empty())
        SetDlgItemText(IDOK, AppTexts::Text(AppResources::StringID_Yes).c_str());
    if (m_cancelText.empty())
        SetDlgItemText(IDCANCEL, AppTexts::Text(AppResources::StringID_No).c_str());
}

void ExtrasRequestDlg::OnPaint() {
    CPaintDC dc(this);
    m_icon.Draw(dc.m_hDC);
}
