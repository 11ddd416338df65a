#pragma once
// ExtrasRequestDlg: asks whether to install the Extras (the codecs needed to
// convert web video or play it in Windows Media Player). The caller may give
// the buttons captions of its own before DoModal; an empty caption keeps the
// language's Yes or No. IDOK for button 1, IDCANCEL for button 2, Escape or
// the close box; it only asks. GUI thread only.
#include "controls/label/TextLabel.h"
#include "shell/dialogs/OfferIcon.h"

#include <afxwin.h>

#include <string>

class ExtrasRequestDlg : public CDialog {
public:
    explicit ExtrasRequestDlg(CWnd* pParent);

    // Null stores an empty caption.
    void SetCancelButtonText(const wchar_t* text);
    void SetOkButtonText(const wchar_t* text);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void _ApplyTexts();

    std::wstring m_cancelText;
    std::wstring m_okText;
    CTextLabel m_heading;
    CTextLabel m_warning;
    CTextLabel m_question;
    OfferIcon m_icon;
};
