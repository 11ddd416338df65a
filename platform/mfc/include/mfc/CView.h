#pragma once
// MFC's views: the child window of a frame that shows a document. A view
// joins its document while it is created and leaves it when deleted, takes
// the frame's activation when clicked, passes commands it has no handler
// for to its document, and deletes itself when its window is gone.
// CCtrlView is a view that is a control (its class and default style), and
// CListView is the list-view control as a view.
#include "mfc/CFrameWnd.h"
#include "mfc/COleDropTarget.h"

class CDC;
class CListCtrl;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    // Leaves its document.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    // The first update after the frame and document are ready.
    virtual void OnInitialUpdate();
    // The document changed (UpdateAllViews): repaint.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* /*pDC*/, void* /*pInfo*/ = nullptr) {}
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}

    // Drag and drop through a COleDropTarget registered for the view; by
    // default nothing is accepted.
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnInitialUpdateMessage() { OnInitialUpdate(); }
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};

class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCWSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The control draws itself.
    void OnDraw(CDC* /*pDC*/) override {}

    CString m_strClass;
    DWORD m_dwDefaultStyle;

protected:
    // The control's own painting.
    afx_msg void OnPaint() { Default(); }
    DECLARE_MESSAGE_MAP()
};

class CListView : public CCtrlView {
    DECLARE_DYNCREATE(CListView)
public:
    CListView() : CCtrlView(WC_LISTVIEWW, AFX_WS_DEFAULT_VIEW) {}

    // The view's own window seen as its list control.
    CListCtrl& GetListCtrl() const;
};
