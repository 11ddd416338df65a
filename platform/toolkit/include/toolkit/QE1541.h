#pragma once
// The toolkit's notification-area icon: a hidden window of its own that adds
// the icon, animates it, shows balloons, hides its owner into the tray and
// brings it back, and routes the icon's notifications to OnTrayNotification.
#include "afxwin.h"

#include <shellapi.h>

#include <vector>

// Every Shell_NotifyIconW call of the toolkit goes through this function, so
// that tests can record them instead of depending on a notification area.
// The setter returns the function it replaces; null restores the default.
typedef BOOL (*TrayNotifyIconHandler)(DWORD message, NOTIFYICONDATAW* data);
TrayNotifyIconHandler TraySetNotifyIconHandler(TrayNotifyIconHandler handler);
BOOL TrayNotifyIcon(DWORD message, NOTIFYICONDATAW* data);

class QE1541 : public CWnd {
    DECLARE_DYNAMIC(QE1541)
public:
    // The message the shell sends the icon's window: wParam the icon id,
    // lParam the event.
    static constexpr UINT CallbackMessage = WM_APP + 0x541;
    // The timer that steps the animation.
    static constexpr UINT_PTR AnimationTimer = 0x1541;

    QE1541();
    // Takes the icon out of the notification area and destroys the window.
    ~QE1541() override;

    // Makes the window and adds the icon. TRUE once the window exists, even
    // when no notification area answered (the icon is added again when the
    // shell announces "TaskbarCreated"). The owner becomes the target window.
    virtual BOOL Create(LPCWSTR tooltip, CWnd* pOwner, UINT iconResource, UINT id);
    // The frames Animate steps through, by icon resource id. A null module
    // loads them from AfxFindResourceHandle's module.
    virtual BOOL SetIconList(const UINT* iconResources, int count, HINSTANCE module);
    virtual BOOL Animate(UINT stepMs);
    virtual BOOL StopAnimation();
    // The icon shown while not animating.
    BOOL SetIcon(UINT iconResource);
    BOOL SetTooltipText(LPCWSTR tooltip);
    // A balloon from the icon: icon kind as NIIF_*, time-out in seconds.
    BOOL ShowBalloon(LPCWSTR text, LPCWSTR title, DWORD iconKind, UINT timeoutSeconds);

    // Hides the window into the tray, and shows, restores and brings it
    // forward again.
    void MinimizeToTray(CWnd* pWnd);
    void MaximizeFromTray(CWnd* pWnd);

    // The menu item used as the default of the icon's menu; a double click
    // sends it to the target window.
    void SetMenuDefaultItem(UINT item, BOOL byPosition);
    UINT GetMenuDefaultItem() const { return m_defaultItem; }
    BOOL IsDefaultItemByPosition() const { return m_defaultByPosition; }
    // The window that gets the menu's commands.
    void SetTargetWnd(CWnd* pTarget) { m_pTarget = pTarget; }
    CWnd* GetTargetWnd() const { return m_pTarget; }

    UINT GetIconId() const { return m_id; }
    BOOL IsIconAdded() const { return m_added; }
    BOOL IsAnimating() const { return m_timer != 0; }
    // The icon resource on show now (a frame while animating).
    UINT GetShownIcon() const { return m_shownIcon; }

    // Called once the icon's context menu is closed; the argument says which
    // menu state to restore (3: the icon's own menu). Clears the pressed
    // state the menu left behind.
    void OnMenuClosed(int how);

    // The base's handling of the icon's notifications: a double click sends
    // the default item's command to the target window. Returns whether the
    // event was handled. Derived classes override it and call it.
    virtual LRESULT OnTrayNotification(WPARAM id, LPARAM event);

protected:
    // The base's timer handling: steps the animation.
    void HandleTimer(UINT_PTR id);
    afx_msg void OnTimer(UINT_PTR id);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Non-zero while the base runs a timer of its own.
    UINT_PTR m_timer = 0;

    DECLARE_MESSAGE_MAP()

private:
    void AddIcon();
    BOOL Notify(DWORD message, UINT flags);
    HICON LoadIconResource(UINT iconResource, HINSTANCE module) const;
    BOOL ShowIcon(UINT iconResource);

    UINT m_id = 0;
    BOOL m_added = FALSE;
    CString m_tooltip;
    UINT m_staticIcon = 0;
    UINT m_shownIcon = 0;
    HICON m_hIcon = nullptr;
    std::vector<UINT> m_frames;
    HINSTANCE m_framesModule = nullptr;
    size_t m_frame = 0;
    UINT m_step = 0;
    UINT m_defaultItem = 0;
    BOOL m_defaultByPosition = FALSE;
    CWnd* m_pTarget = nullptr;
    UINT m_taskbarCreated = 0;
};
