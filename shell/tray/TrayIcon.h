#pragma once
// TrayIcon: the program's notification-area icon. It shows whether the
// capture engine is off, on or busy (animated), offers the main window's
// commands from its menu, hides the main window into the tray and brings it
// back, and shows balloons that may carry an action run by a click.
//
//   m_trayIcon.Create(AfxGetThread()->GetMainWnd());
//   m_trayIcon.ShowBalloon(text, title, 1, 15, pAction, 0);
//
// Thread: the GUI thread owns the object and every change of the icon. The
// engine calls the observer operations on its own threads; they only post
// to the icon's window (the duplicate's item test runs there first).
#include "downloads/engine/EngineSubscriber.h"
#include "toolkit/QE1541.h"

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <string>

class TrayIcon : public QE1541, public Brunlow::EngineSubscriber<TrayIcon> {
public:
    // What a click on a balloon runs, once.
    struct IAction {
        virtual ~IAction() = default;
        virtual void Reserved() {}
        virtual void PerformAction(TrayIcon& tray, DWORD tag) = 0;
    };

    static constexpr UINT kIconId = 130;  // also the menu's resource id
    static constexpr UINT kEngineOnIcon = 135;
    static constexpr UINT kEngineOffIcon = 136;
    static constexpr UINT kFirstBusyIcon = 137;
    static constexpr int kBusyIconCount = 6;
    static constexpr UINT kAnimationStepMs = 300;
    static constexpr UINT_PTR kRefreshTimer = 110;
    static constexpr UINT kRefreshMs = 2000;
    static constexpr UINT_PTR kBusyTimer = 1824;
    // wParam: how long the icon stays busy, in ms.
    static constexpr UINT kSetBusyMessage = 0x720;
    static constexpr UINT kDuplicateBusyMs = 3000;
    // What the engine's threads post for the GUI thread to do.
    static constexpr UINT kRefreshMessage = 0x721;
    static constexpr UINT kAdvancedRippingMessage = 0x722;
    static constexpr DWORD kOwnBalloonIcon = 1;
    static constexpr UINT kOwnBalloonTimeout = 10;

    // Subscribes to the application's engine.
    TrayIcon();
    ~TrayIcon() override;

    // Adds the icon for `pOwner`, the window hidden into the tray; false
    // when the toolkit made no icon, and then nothing runs.
    bool Create(CWnd* pOwner);
    void MinimizeToTray();
    void RestoreFromTray();
    // Replaces a pending action; the action runs when this balloon (or a
    // later one without action of its own) is clicked.
    void ShowBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind, UINT timeoutSeconds,
                     const boost::shared_ptr<IAction>& pAction, DWORD tag);
    static boost::shared_ptr<IAction> MakeOpenIEAction();

    // Animated while busy or while the engine works, else on or off.
    void UpdateIcon();

    LRESULT OnTrayNotification(WPARAM id, LPARAM event) override;

    void OnEngineStateChanged(int state) override;
    void OnItemStarted(KavennaEngine::DownloadItemHandle item) override;
    void OnItemFinished(KavennaEngine::DownloadItemHandle item) override;
    void OnDuplicateFound(KavennaEngine::DownloadItemHandle existingItem,
                          KavennaEngine::DownloadItemHandle duplicateItem) override;
    void OnAdvancedRippingNeeded() override;

    bool IsBusy() const { return m_isBusy; }
    bool HasPendingAction() const { return static_cast<bool>(m_pAction); }

protected:
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnSetBusy(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAdvancedRipping(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // From an engine thread; dropped while the window does not exist.
    void PostToWindow(UINT message, WPARAM wParam);
    LRESULT ShowMenu();
    bool IsInternetExplorerRunning() const;

    CWnd* m_pOwner = nullptr;
    bool m_isBusy = false;
    UINT_PTR m_busyTimer = 0;
    boost::shared_ptr<IAction> m_pAction;
    DWORD m_actionTag = 0;
    // The window the engine's threads post to; set once it exists.
    std::atomic<HWND> m_postWindow{nullptr};
};
