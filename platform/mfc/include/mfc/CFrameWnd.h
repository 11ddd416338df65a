#pragma once
// MFC's frame window: a top-level window with a menu, accelerators and an
// icon from one resource id, whose client area holds control bars (each
// takes its strip through WM_SIZEPARENT) and a view that gets the rest.
// Commands reach the active view (and through it its document and
// template) first, then the frame, then the application. The frame deletes
// itself when its window is gone.
#include "mfc/CDocTemplate.h"
#include "mfc/CWnd.h"

class CView;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    // Destroys the frame's menu.
    ~CFrameWnd() override;

    // The default position and size of a new frame.
    static const CRect rectDefault;

    // Creation: the window class (null: the framework's), with the menu of
    // lpszMenuName; pContext makes the view.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Title from the first part of string nIDResource, a window class with
    // icon nIDResource, menu nIDResource and accelerators nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCWSTR lpszResourceName);
    // A view of the context's class as the child nID (null when it fails).
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    // The old view is told it lost the activation, the new one (with
    // bNotify) that it has it.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Shows the window (nCmdShow -1: as it should be now) and brings it up.
    virtual void ActivateFrame(int nCmdShow = -1);
    // Makes the pane the active view and, with bMakeVisible, sends the
    // initial update to the views and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // The bars take their strips, the view gets the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The title: the frame's own, with the document's title when the style
    // has FWS_ADDTOTITLE.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCWSTR lpszDocName);
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Keys go through the frame's accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    CString m_strTitle;
    // Items nobody handles are disabled when a menu opens.
    BOOL m_bAutoMenuEnable = TRUE;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    int m_nWindow = -1;  // the window's number among its document's frames, -1 for none

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The main window closes every document through the application (and
    // so is destroyed with its document); another frame is destroyed.
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Every item's update handler runs; one nobody handles is disabled.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CView* m_pViewActive = nullptr;
    BOOL m_bInRecalcLayout = FALSE;
};
