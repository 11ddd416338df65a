#include "AfxState.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SYSCOMMAND()
    ON_WM_NCACTIVATE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

// The window class of a frame: with the icon of the resource id when the
// program has one.
LPCWSTR IconWindowClass(UINT nIDResource) {
    LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
    HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
    return AfxFrameOrViewClass(::LoadIconW(module, name));
}

// The part of a resource string before its first '\n'.
CString FirstPart(const CString& text) {
    const int end = text.Find(L'\n');
    return end < 0 ? text : text.Left(end);
}

}  // namespace

CFrameWnd::~CFrameWnd() {
    if (m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU menu = nullptr;
    if (lpszMenuName) {
        menu = ::LoadMenuW(AfxFindResourceHandle(lpszMenuName, reinterpret_cast<LPCWSTR>(RT_MENU)), lpszMenuName);
        if (!menu) {
            PostNcDestroy();  // a frame that cannot be made deletes itself
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    int x = rect.left, y = rect.top, width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (::EqualRect(&rect, &rectDefault))
        x = y = width = height = CW_USEDEFAULT;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, width, height,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, menu, pContext)) {
        // The object is gone by now; a menu that no window took is ours to free.
        if (menu && ::IsMenu(menu))
            ::DestroyMenu(menu);
        return FALSE;
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    CString resourceText;
    if (resourceText.LoadString(nIDResource))
        m_strTitle = FirstPart(resourceText);
    const CString title = m_strTitle;
    if (!Create(IconWindowClass(nIDResource), title, dwDefaultStyle, rectDefault, pParentWnd,
                MAKEINTRESOURCEW(nIDResource), 0, pContext))
        return FALSE;
    LoadAccelTable(MAKEINTRESOURCEW(nIDResource));
    // A frame made without a document gets its initial update at once.
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCWSTR lpszResourceName) {
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsW(
        AfxFindResourceHandle(lpszResourceName, reinterpret_cast<LPCWSTR>(RT_ACCELERATOR)), lpszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClass();
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    CCreateContext* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    CWnd* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    // A view that fails deletes itself.
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    // The view's own edge replaces the frame's.
    if (view->GetExStyle() & WS_EX_CLIENTEDGE)
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return view;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (pViewNew == old)
        return;
    m_pViewActive = nullptr;
    if (old)
        old->OnActivateView(FALSE, pViewNew, old);
    // The old view's answer may have activated another view already.
    if (m_pViewActive)
        return;
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    const bool activates = nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
                           nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE;
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    if (activates) {
        BringWindowToTop();
        HWND popup = ::GetLastActivePopup(m_hWnd);
        if (popup && popup != m_hWnd)
            ::BringWindowToTop(popup);
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* view = nullptr;
    if (!GetActiveView()) {
        view = dynamic_cast<CView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        if (view)
            SetActiveView(view, FALSE);
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (view)
            view->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            // The main window shows as the program was started, once.
            nCmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (view)
            view->OnActivateView(TRUE, view, view);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* document = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && document ? document->GetTitle().GetString() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCWSTR lpszDocName) {
    CString title;
    if (!lpszDocName) {
        title = m_strTitle;
    } else {
        CString document = lpszDocName;
        if (m_nWindow > 0)
            document.AppendFormat(L":%d", m_nWindow);
        if (GetStyle() & FWS_PREFIXTITLE)
            title = document + L" - " + m_strTitle;
        else
            title = m_strTitle + L" - " + document;
    }
    // Only a change is set, so the caption does not flicker.
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL accelerators = GetDefaultAccelerator();
        return accelerators && ::TranslateAcceleratorW(m_hWnd, accelerators, pMsg);
    }
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active view (and through it its document and template), the
    // frame, then the application.
    if (CView* view = GetActiveView()) {
        if (view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose() {
    CDocument* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        if (!document && !app->SaveAllModified())
            return;
        // Closing the documents destroys their frames, this one among them.
        app->CloseAllDocuments(FALSE);
        if (!app->m_pMainWnd)
            return;
    }
    if (document)
        document->PreCloseFrame(this);
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    // The window destroys the menu it has: give it the frame's own back, so
    // a menu put in its place stays with whoever owns it.
    if (m_hMenuDefault) {
        if (::GetMenu(m_hWnd) != m_hMenuDefault)
            ::SetMenu(m_hWnd, m_hMenuDefault);
        m_hMenuDefault = nullptr;
    }
    CWnd::OnDestroy();
}

void CFrameWnd::OnSysCommand(UINT, LPARAM) { Default(); }

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
    // A frame disabled under a modal dialog shows an inactive caption.
    if (!IsWindowEnabled())
        bActive = FALSE;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, AfxGetThreadState().m_lastSentMsg.lParam));
}

void CFrameWnd::OnSetFocus(CWnd*) {
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        Default();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;  // a separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A submenu stands for its first item; it is never disabled for want of a handler.
            state.m_pSubMenu = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(this, TRUE);
        } else {
            state.m_pSubMenu = nullptr;
            // System commands are the system's.
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // An update handler may have added or removed items.
        const UINT count = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - count;
            while (state.m_nIndex < count &&
                   pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}
