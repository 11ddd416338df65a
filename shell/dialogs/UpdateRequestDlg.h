#pragma once
// UpdateRequestDlg: asks whether to install a newer version of the program.
// IDOK for Yes, IDCANCEL for No, Escape or the close box; it only asks.
// GUI thread only.
#include "controls/label/TextLabel.h"
#include "shell/dialogs/OfferIcon.h"

#include <afxwin.h>

class UpdateRequestDlg : public CDialog {
public:
    explicit UpdateRequestDlg(CWnd* pParent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void _ApplyTexts();

    CTextLabel m_heading;
    CTextLabel m_note;
    CTextLabel m_question;
    OfferIcon m_icon;
};
