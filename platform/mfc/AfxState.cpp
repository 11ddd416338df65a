#include "AfxState.h"

#include <memory>
#include <set>
#include <string>

namespace {

// Each thread's state lives on the heap behind a fiber-local slot whose
// callback frees it when the thread ends. No variable declared thread_local
// holds it: with this toolchain a thread's block of such variables is freed
// before their destructors run, and such a destructor frees garbage. The
// callback gets the state itself and reads no per-thread variable.
void WINAPI FreeThreadState(void* pState) {
    delete static_cast<AFX_THREAD_STATE*>(pState);
}

DWORD ThreadStateSlot() {
    static const DWORD slot = [] {
        const DWORD allocated = ::FlsAlloc(&FreeThreadState);
        if (allocated == FLS_OUT_OF_INDEXES)
            AfxThrowMemoryException();
        return allocated;
    }();
    return slot;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    if (code != HCBT_CREATEWND || !state.m_pWndInit)
        return CallNextHookEx(state.m_hHookCbt, code, wParam, lParam);

    HWND hWnd = reinterpret_cast<HWND>(wParam);
    // The input-method window of a thread may be created on the way to
    // ours; it is never the window being created for the object.
    wchar_t className[16] = {};
    GetClassNameW(hWnd, className, 16);
    if (_wcsicmp(className, L"IME") == 0)
        return CallNextHookEx(state.m_hHookCbt, code, wParam, lParam);

    CWnd* pWnd = state.m_pWndInit;
    state.m_pWndInit = nullptr;
    pWnd->Attach(hWnd);
    pWnd->PreSubclassWindow();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        pWnd->m_pfnSuper = previous;
    return CallNextHookEx(state.m_hHookCbt, code, wParam, lParam);
}

}  // namespace

AFX_THREAD_STATE& AfxGetThreadState() {
    const DWORD slot = ThreadStateSlot();
    if (void* pState = ::FlsGetValue(slot))
        return *static_cast<AFX_THREAD_STATE*>(pState);
    std::unique_ptr<AFX_THREAD_STATE> pState(new AFX_THREAD_STATE);
    if (!::FlsSetValue(slot, pState.get()))
        AfxThrowMemoryException();
    return *pState.release();
}

void AFX_THREAD_STATE::DeleteTempObjects() {
    m_tempWindows.DeleteAll();
    m_tempDCs.DeleteAll();
    m_tempGdiObjects.DeleteAll();
    m_tempPens.DeleteAll();
    m_tempBrushes.DeleteAll();
    m_tempFonts.DeleteAll();
    m_tempBitmaps.DeleteAll();
    m_tempRegions.DeleteAll();
    m_tempMenus.DeleteAll();
    m_tempImageLists.DeleteAll();
}

size_t AFX_THREAD_STATE::TempObjectCount() const {
    return m_tempWindows.Size() + m_tempDCs.Size() + m_tempGdiObjects.Size() + m_tempPens.Size() +
           m_tempBrushes.Size() + m_tempFonts.Size() + m_tempBitmaps.Size() + m_tempRegions.Size() +
           m_tempMenus.Size() + m_tempImageLists.Size();
}

void AfxLockTempMaps() { ++AfxGetThreadState().m_nTempMapLock; }

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps) {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    if (state.m_nTempMapLock > 0)
        --state.m_nTempMapLock;
    if (state.m_nTempMapLock != 0)
        return FALSE;
    if (bDeleteTemps)
        state.DeleteTempObjects();
    return TRUE;
}

LPCWSTR AfxDefaultWindowClass() {
    static const wchar_t kClassName[] = L"AfxWnd";
    static const bool registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered)
        AfxThrowResourceException();
    return kClassName;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // Windows are made on the GUI thread only; the names live for the process.
    static std::set<std::wstring> names;
    HINSTANCE instance = AfxGetInstanceHandle();
    wchar_t name[96];
    swprintf(name, 96, L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
             static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    auto found = names.find(name);
    if (found != names.end())
        return found->c_str();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = nClassStyle;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        AfxThrowResourceException();
    return names.insert(name).first->c_str();
}

LPCWSTR AfxFrameOrViewClass(HICON hIcon) {
    return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
}

CAfxCreationHook::CAfxCreationHook(CWnd* pWnd) : m_pWnd(pWnd) {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    if (state.m_nHookUsers++ == 0) {
        state.m_hHookCbt = SetWindowsHookExW(WH_CBT, CbtFilterHook, nullptr, GetCurrentThreadId());
        if (!state.m_hHookCbt) {
            --state.m_nHookUsers;
            AfxThrowResourceException();
        }
    }
    m_pPrevious = state.m_pWndInit;
    state.m_pWndInit = pWnd;
}

CAfxCreationHook::~CAfxCreationHook() {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    state.m_pWndInit = m_pPrevious;
    if (--state.m_nHookUsers == 0) {
        UnhookWindowsHookEx(state.m_hHookCbt);
        state.m_hHookCbt = nullptr;
    }
}

BOOL CAfxCreationHook::Bound() const { return AfxGetThreadState().m_pWndInit != m_pWnd; }

BOOL AfxIsIdleMessage(const MSG* pMsg) {
    AFX_THREAD_STATE& state = AfxGetThreadState();
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        bool same = state.m_nMsgLast == pMsg->message && state.m_ptCursorLast.x == pMsg->pt.x &&
                    state.m_ptCursorLast.y == pMsg->pt.y;
        state.m_ptCursorLast = pMsg->pt;
        state.m_nMsgLast = pMsg->message;
        return !same;
    }
    // WM_PAINT and 0x0118, the system timer that blinks the caret.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

void AfxIdleCleanup() {
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
}
