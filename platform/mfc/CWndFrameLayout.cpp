// CWnd's members for frames: finding the frame of a window, reaching every
// descendant, and the layout of bars and the view pane.
#include "AfxState.h"

CFrameWnd* CWnd::GetParentFrame() const {
    if (!m_hWnd)
        return nullptr;
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
            return frame;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(const_cast<CWnd*>(this));
    if (!frame)
        frame = GetParentFrame();
    while (frame) {
        CFrameWnd* outer = frame->GetParentFrame();
        if (!outer)
            break;
        frame = outer;
    }
    return frame;
}

namespace {

// Children first, then their children: the nearest window with the id wins.
HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
    for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == nID && (!bOnlyPerm || CWnd::FromHandlePermanent(child)))
            return child;
    }
    for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (HWND found = FindDescendant(child, nID, bOnlyPerm))
            return found;
    }
    return nullptr;
}

}  // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    return FromHandle(FindDescendant(m_hWnd, nID, bOnlyPerm));
}

namespace {

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        if (!bOnlyPerm)
            ::SendMessageW(child, message, wParam, lParam);
        else if (CWnd* object = CWnd::FromHandlePermanent(child))
            AfxCallWndProc(object, child, message, wParam, lParam);
        if (bDeep && ::IsWindow(child))
            SendToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

BOOL CWnd::IsTopParentActive() const {
    CWnd* top = GetTopLevelParent();
    return top && ::GetActiveWindow() == ::GetLastActivePopup(top->m_hWnd);
}

int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    DWORD exStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (lpLayout && !lpLayout->hDWP)
        return;  // only asked, or an earlier move failed
    RECT current;
    ::GetWindowRect(hWnd, &current);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&current), 2);
    if (::EqualRect(&current, lpRect))
        return;
    const int width = lpRect->right - lpRect->left, height = lpRect->bottom - lpRect->top;
    if (lpLayout)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, width, height,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    const bool query = (nFlag & ~reposNoPosLeftOver) == reposQuery;
    if (!query)
        layout.hDWP = ::BeginDeferWindowPos(8);

    HWND leftOver = nullptr;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        const UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == nIDLeftOver)
            leftOver = child;
        else if (id >= nIDFirst && id <= nIDLast && FromHandlePermanent(child))
            ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (query) {
        // What the bars leave, or (not stretched) what they need.
        if (lpRectParam) {
            if (bStretch)
                *lpRectParam = layout.rect;
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }
    if (leftOver && nIDLeftOver != 0 && !(nFlag & reposNoPosLeftOver)) {
        if ((nFlag & ~reposNoPosLeftOver) == reposExtra && lpRectParam) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        CWnd* pane = FromHandle(leftOver);
        pane->CalcWindowRect(&layout.rect);
        AfxRepositionWindow(&layout, leftOver, &layout.rect);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}
