#include "toolkit/QE1541.h"

#include "afxres_find.h"

#include <algorithm>

namespace {

TrayNotifyIconHandler g_notifyIcon = nullptr;

}  // namespace

TrayNotifyIconHandler TraySetNotifyIconHandler(TrayNotifyIconHandler handler) {
    return reinterpret_cast<TrayNotifyIconHandler>(InterlockedExchangePointer(
        reinterpret_cast<void**>(&g_notifyIcon), reinterpret_cast<void*>(handler)));
}

BOOL TrayNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    const TrayNotifyIconHandler handler = g_notifyIcon;
    return handler ? handler(message, data) : Shell_NotifyIconW(message, data);
}

IMPLEMENT_DYNAMIC(QE1541, CWnd)

BEGIN_MESSAGE_MAP(QE1541, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

QE1541::QE1541() = default;

QE1541::~QE1541() {
    if (m_hWnd) {
        if (m_timer)
            KillTimer(m_timer);
        if (m_added)
            Notify(NIM_DELETE, 0);
        DestroyWindow();
    }
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

BOOL QE1541::Create(LPCWSTR tooltip, CWnd* pOwner, UINT iconResource, UINT id) {
    if (m_hWnd)
        return FALSE;
    // A top-level window, never shown: "TaskbarCreated" is broadcast only to
    // top-level windows, and message-only windows miss it.
    if (!CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        return FALSE;
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    m_id = id;
    m_tooltip = tooltip ? tooltip : L"";
    m_pTarget = pOwner;
    m_staticIcon = iconResource;
    m_shownIcon = iconResource;
    m_hIcon = LoadIconResource(iconResource, nullptr);
    // The notification area may not be there yet (Explorer restarting):
    // the icon is added again on "TaskbarCreated".
    AddIcon();
    return TRUE;
}

BOOL QE1541::SetIconList(const UINT* iconResources, int count, HINSTANCE module) {
    if (count < 0 || (count > 0 && !iconResources))
        return FALSE;
    m_frames.assign(iconResources, iconResources + count);
    m_framesModule = module;
    m_frame = 0;
    return TRUE;
}

BOOL QE1541::Animate(UINT stepMs) {
    if (!m_hWnd || m_frames.empty())
        return FALSE;
    const UINT step = std::max<UINT>(stepMs, USER_TIMER_MINIMUM);
    // Callers refresh their state by animating again: at the same pace the
    // running animation goes on untouched, or it would stall at each refresh.
    if (m_timer && step == m_step)
        return TRUE;
    // A running animation goes on at the new pace from its current frame.
    m_timer = SetTimer(AnimationTimer, step, nullptr);
    m_step = m_timer ? step : 0;
    if (!m_timer)
        return FALSE;
    return ShowIcon(m_frames[m_frame % m_frames.size()]);
}

BOOL QE1541::StopAnimation() {
    if (!m_timer)
        return TRUE;
    KillTimer(m_timer);
    m_timer = 0;
    m_step = 0;
    m_frame = 0;
    return ShowIcon(m_staticIcon);
}

BOOL QE1541::SetIcon(UINT iconResource) {
    m_staticIcon = iconResource;
    if (m_timer)
        return TRUE;
    return ShowIcon(iconResource);
}

BOOL QE1541::SetTooltipText(LPCWSTR tooltip) {
    m_tooltip = tooltip ? tooltip : L"";
    return m_hWnd && Notify(NIM_MODIFY, NIF_TIP);
}

BOOL QE1541::ShowBalloon(LPCWSTR text, LPCWSTR title, DWORD iconKind, UINT timeoutSeconds) {
    if (!m_hWnd)
        return FALSE;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = m_id;
    data.uFlags = NIF_INFO;
    lstrcpynW(data.szInfo, text ? text : L"", ARRAYSIZE(data.szInfo));
    lstrcpynW(data.szInfoTitle, title ? title : L"", ARRAYSIZE(data.szInfoTitle));
    data.dwInfoFlags = iconKind;
    data.uTimeout = timeoutSeconds * 1000;
    return TrayNotifyIcon(NIM_MODIFY, &data);
}

void QE1541::MinimizeToTray(CWnd* pWnd) {
    if (pWnd && pWnd->m_hWnd)
        pWnd->ShowWindow(SW_HIDE);
}

void QE1541::MaximizeFromTray(CWnd* pWnd) {
    if (!pWnd || !pWnd->m_hWnd)
        return;
    pWnd->ShowWindow(SW_SHOW);
    if (pWnd->IsIconic())
        pWnd->ShowWindow(SW_RESTORE);
    pWnd->SetForegroundWindow();
}

void QE1541::SetMenuDefaultItem(UINT item, BOOL byPosition) {
    m_defaultItem = item;
    m_defaultByPosition = byPosition;
}

void QE1541::OnMenuClosed(int how) {
    // The shell wants the icon told that the menu is gone, so the next
    // click opens it again.
    if (how == 3 && m_hWnd && m_added) {
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof(data);
        data.hWnd = m_hWnd;
        data.uID = m_id;
        TrayNotifyIcon(NIM_SETFOCUS, &data);
    }
}

LRESULT QE1541::OnTrayNotification(WPARAM id, LPARAM event) {
    if (id != m_id)
        return 0;
    if (LOWORD(event) == WM_LBUTTONDBLCLK && m_defaultItem && !m_defaultByPosition && m_pTarget &&
        m_pTarget->m_hWnd) {
        m_pTarget->PostMessage(WM_COMMAND, MAKEWPARAM(m_defaultItem, 0), 0);
        return 1;
    }
    return 0;
}

void QE1541::HandleTimer(UINT_PTR id) {
    if (id != AnimationTimer || !m_timer || m_frames.empty())
        return;
    m_frame = (m_frame + 1) % m_frames.size();
    ShowIcon(m_frames[m_frame]);
}

void QE1541::OnTimer(UINT_PTR id) {
    HandleTimer(id);
}

LRESULT QE1541::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CallbackMessage)
        return OnTrayNotification(wParam, lParam);
    if (m_taskbarCreated && message == m_taskbarCreated) {
        AddIcon();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void QE1541::AddIcon() {
    m_added = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (m_added) {
        // Events arrive as the mouse message or NIN_* in lParam and the id
        // in wParam.
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof(data);
        data.hWnd = m_hWnd;
        data.uID = m_id;
        data.uVersion = NOTIFYICON_VERSION;
        TrayNotifyIcon(NIM_SETVERSION, &data);
    }
}

BOOL QE1541::Notify(DWORD message, UINT flags) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = m_id;
    data.uFlags = flags;
    data.uCallbackMessage = CallbackMessage;
    data.hIcon = m_hIcon;
    lstrcpynW(data.szTip, m_tooltip, ARRAYSIZE(data.szTip));
    return TrayNotifyIcon(message, &data);
}

HICON QE1541::LoadIconResource(UINT iconResource, HINSTANCE module) const {
    if (!module)
        module = AfxFindResourceHandle(MAKEINTRESOURCEW(iconResource), RT_GROUP_ICON);
    return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

BOOL QE1541::ShowIcon(UINT iconResource) {
    const bool frame = m_timer != 0;
    HICON icon = LoadIconResource(iconResource, frame ? m_framesModule : nullptr);
    if (m_hIcon)
        DestroyIcon(m_hIcon);
    m_hIcon = icon;
    m_shownIcon = iconResource;
    if (!m_hWnd || !m_added)
        return m_hWnd != nullptr;
    return Notify(NIM_MODIFY, NIF_ICON);
}
