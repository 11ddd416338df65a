#include "shell/frame/FrameTrayIcon.h"

#include <afxwin.h>

bool FrameTrayIcon::Create(CWnd* pOwner) {
    m_owner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    return m_owner != nullptr;
}

void FrameTrayIcon::MinimizeToTray() {
    if (!m_owner)
        return;
    ::ShowWindow(m_owner, SW_HIDE);
    m_inTray = true;
}

void FrameTrayIcon::RestoreFromTray() {
    if (!m_owner)
        return;
    ::ShowWindow(m_owner, ::IsIconic(m_owner) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_owner);
    m_inTray = false;
}
