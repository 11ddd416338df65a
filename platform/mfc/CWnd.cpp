// CWnd: binding objects to windows, creation, destruction, the window
// procedure and the routing of messages, commands and notifications.
#include "AfxState.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// The command-enabling state of a menu or accelerator command, asked for
// before the command is routed: a disabled command is dropped.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCWSTR) override {}

    BOOL m_bEnabled = TRUE;
};

// While DDX runs, notifications of the controls it changes are not routed.
class NotifyLockout {
public:
    explicit NotifyLockout(HWND hWnd) : m_previous(AfxGetThreadState().m_hLockoutNotifyWindow) {
        AfxGetThreadState().m_hLockoutNotifyWindow = hWnd;
    }
    ~NotifyLockout() { AfxGetThreadState().m_hLockoutNotifyWindow = m_previous; }

private:
    HWND m_previous;
};

// What a message gets when its handler raised an exception.
LRESULT ResultAfterException(HWND hWnd, UINT message) {
    OutputDebugStringW(L"AfxCallWndProc: a message handler raised an exception\n");
    switch (message) {
    case WM_CREATE:
        return -1;  // the window is not created
    case WM_NCCREATE:
        return FALSE;
    case WM_PAINT:
        ValidateRect(hWnd, nullptr);  // or the paint would come back forever
        return 0;
    default:
        return 0;
    }
}

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Handlers of derived classes are gone by now; only CWnd's run.
        CWnd::DestroyWindow();
        if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
            Detach();  // a window of another thread, which we cannot destroy
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd))
        return permanent;
    return AfxGetThreadState().m_tempWindows.Get(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    const auto& map = AfxGetThreadState().m_permanentWindows;
    auto found = map.find(hWnd);
    return found == map.end() ? nullptr : found->second;
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd)
        return FALSE;
    auto& map = AfxGetThreadState().m_permanentWindows;
    if (map.count(hWndNew))
        return FALSE;
    map.emplace(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = AfxGetThreadState().m_permanentWindows;
        auto found = map.find(hWnd);
        if (found != map.end() && found->second == this)
            map.erase(found);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!previous) {
        Detach();
        return FALSE;
    }
    if (previous != &AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (!pParent)
        return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper)
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;  // one object, one window
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    return CreateExInternal(cs);
}

BOOL CWnd::CreateExInternal(CREATESTRUCT& cs) {
    HWND hWnd = nullptr;
    BOOL bound = FALSE;
    {
        CAfxCreationHook hook(this);
        hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
        bound = hook.Bound();
    }
    if (!bound) {
        // The window never reached this object (no class, no memory).
        if (hWnd)
            ::DestroyWindow(hWnd);
        PostNcDestroy();
        return FALSE;
    }
    // When creation failed after binding (WM_CREATE answered -1), the window
    // got WM_NCDESTROY, so PostNcDestroy ran and the object may be gone.
    return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxDefaultWindowClass();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    HWND hWnd = m_hWnd;
    const bool permanent = FromHandlePermanent(hWnd) == this;
    BOOL result = ::DestroyWindow(hWnd);
    // A bound object was detached by WM_NCDESTROY (and may be deleted);
    // a temporary one lets go of the handle here.
    if (!permanent)
        Detach();
    return result;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult)
        pResult = &ignored;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        return header && header->hwndFrom && OnNotify(wParam, lParam, pResult);
    }
    AFX_MSGCALL call = {message, wParam, lParam, 0, nullptr, 0};
    UINT mapMessage = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        mapMessage = WM_CTLCOLOR;
        call.nID = message - WM_CTLCOLORMSGBOX;
    } else if (message == WM_REFLECT_BASE + WM_CTLCOLOR) {
        call.nID = static_cast<UINT>(lParam);  // the CTLCOLOR_xxx kind
    }
    if (!DispatchToMap(mapMessage, 0, 0, call))
        return FALSE;
    *pResult = call.result;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& current = AfxGetThreadState().m_lastSentMsg;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu item or an accelerator: dropped when its command is disabled.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        if (AfxGetThreadState().m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;  // the control took its own notification
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = header->hwndFrom;
    UINT nID = static_cast<WORD>(::GetDlgCtrlID(hWndCtrl));
    if (AfxGetThreadState().m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, header};
    return OnCmdMsg(nID, MAKELONG(header->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& current = AfxGetThreadState().m_lastSentMsg;
    return OnChildNotify(current.message, current.wParam, current.lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
        if (OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT ignored = 0;
        AFX_NOTIFY notify = {pResult ? pResult : &ignored, header};
        return OnCmdMsg(0, MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam,
                            static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX), pResult);
        return FALSE;
    }
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);  // wakes the loop if it waits
    }
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    NotifyLockout lockout(m_hWnd);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
}

void CWnd::FinishNcDestroy() {
    HWND hWnd = m_hWnd;
    // OLE must not call a drop target on a window that is gone.
    if (m_pDropTarget)
        m_pDropTarget->Revoke();
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    // A modal loop of this window has nothing left to wait for.
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostNcDestroy();  // may delete this
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    const MSG saved = state.m_lastSentMsg;
    state.m_lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    // Temporary objects made by this handler, and by the ones it calls,
    // live at least until it returns, even across a modal loop.
    AfxLockTempMaps();
    LRESULT result = 0;
    // An exception must not unwind through the system's code that called us.
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        result = ResultAfterException(hWnd, message);
        e->Delete();
    } catch (...) {
        result = ResultAfterException(hWnd, message);
    }
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        // A derived handler kept the message from CWnd::OnNcDestroy.
        pWnd->FinishNcDestroy();
    }
    AfxUnlockTempMaps(FALSE);
    state.m_lastSentMsg = saved;
    return result;
}
