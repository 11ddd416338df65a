// The modal message loop of dialogs.
#include "AfxState.h"

namespace {

AfxModalLoopHook g_modalLoopHook = nullptr;

}  // namespace

AfxModalLoopHook AfxSetModalLoopHook(AfxModalLoopHook hook) {
    AfxModalLoopHook previous = g_modalLoopHook;
    g_modalLoopHook = hook;
    return previous;
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    const HWND hWnd = m_hWnd;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(hWnd);
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    AfxModalLoopHook hook = g_modalLoopHook;
    m_nFlags |= WF_MODALLOOP;

    MSG msg = {};
    while (ContinueModal()) {
        // Idle until a message comes: show the dialog, tell the hook, free
        // temporary objects (only when no handler of ours is running).
        while (bIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (hook) {
                AfxModalLoopHook once = hook;
                hook = nullptr;
                once(*this);
                if (!ContinueModal())
                    break;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && lIdleCount == 0)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
            AfxIdleCleanup();
            ++lIdleCount;
            bIdle = FALSE;
        }
        if (!ContinueModal())
            break;

        do {
            if (!::GetMessageW(&msg, nullptr, 0, 0)) {
                // WM_QUIT: the loop ends and the quit goes on to the outer loop.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            CWinThread* thread = AfxGetThread();
            BOOL taken = thread ? thread->PreTranslateMessage(&msg) : WalkPreTranslateTree(hWnd, &msg);
            if (!taken) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (bShowIdle && (msg.message == 0x0118 || msg.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                break;
            if (AfxIsIdleMessage(&msg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}
