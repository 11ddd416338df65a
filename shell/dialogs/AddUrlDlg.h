#pragma once
// AddUrlDlg: the modal dialog in which the user types the address of a video
// or of a page with a video. It only collects and cleans the text (blanks
// trimmed, inner spaces as "%20"); what to do with it is the caller's part.
//
//   AddUrlDlg dlg(nullptr);
//   if (dlg.DoModal() == IDOK) Use(dlg.GetUrl());
//
// GUI thread only.
#include <afxwin.h>

class AddUrlDlg : public CDialog {
public:
    explicit AddUrlDlg(CWnd* pParent);

    // The cleaned address; valid while the dialog object lives.
    const wchar_t* GetUrl() const { return m_url; }

    // Trims white space at both ends and turns every space into "%20".
    static CString CleanUrl(const CString& text);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CString m_url;
};
