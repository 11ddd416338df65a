#pragma once
// The toolkit's report list: a list view (over MFC's CListView) that paints
// itself double-buffered and keeps the colours its owner gives it. QE801 is
// its second interface, the list options and the paint routine a derived
// view calls from its own WM_PAINT handler.
#include "afxcview.h"
#include "afxwin.h"

class QE801 {
public:
    virtual ~QE801() = default;

    // Options of the toolkit's list handling; none changes how the list
    // control itself behaves.
    void SetListOption(DWORD option, BOOL on) { m_options = on ? (m_options | option) : (m_options & ~option); }
    DWORD GetListOptions() const { return m_options; }

    // Paints the list's invalid part: the rows drawn off-screen by the list
    // control, then copied once. Validates what it painted.
    virtual void PaintList() = 0;

private:
    DWORD m_options = 0;
};

class QE806 : public CListView, public QE801 {
    DECLARE_DYNCREATE(QE806)
public:
    QE806();
    ~QE806() override;

    // Text colour and the background behind the row texts.
    void SetColors(COLORREF text, COLORREF textBackground);
    // The list's background, also where there are no rows.
    void SetBackgroundColor(COLORREF background);

    void PaintList() override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
