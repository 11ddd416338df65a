#pragma once
// The main window's way into the notification area until the tray icon
// proper is wired in: hiding into the tray hides the window, restoring
// shows it again.
#include <windows.h>

class CWnd;

class FrameTrayIcon {
public:
    // Remembers the owner; false without one.
    bool Create(CWnd* pOwner);
    void MinimizeToTray();
    void RestoreFromTray();
    bool IsInTray() const { return m_inTray; }

private:
    HWND m_owner = nullptr;
    bool m_inTray = false;
};
