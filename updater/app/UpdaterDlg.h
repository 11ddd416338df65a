#pragma once
// CUpdaterDlg: the Updater's progress window: a status line, a progress bar,
// a launch button shown at the end and a cancel button that becomes "Close".
// It listens to the controller's worker; the worker's calls only post two
// private messages, and the handlers read the controller's values back.
//
//   CUpdaterDlg dialog(settings, controller);
//   if (dialog.DoModal() == IDOK) controller.LaunchProduct(false);
//
// Threads: the window belongs to the user-interface thread. StateChanged and
// ProgressChanged come on the worker's threads (see IUpdateEvents) and touch
// nothing but the published window handle.
#include "controls/label/TextLabel.h"
#include "updater/engine/IUpdateEvents.h"

#include "afxcmn.h"
#include "afxwin.h"

#include <atomic>
#include <string>

class UpdaterSettings;

namespace Engine {
class UpdateController;
}

class CUpdaterDlg : public CDialog, public Engine::IUpdateEvents {
public:
    // Posted by the worker's notifications; wParam and lParam are 0.
    static const UINT kStateChangedMessage = WM_USER + 300;
    static const UINT kProgressMessage = WM_USER + 301;

    // Registers with the controller as its listener.
    CUpdaterDlg(UpdaterSettings& settings, Engine::UpdateController& controller, CWnd* pParent = nullptr);
    // Unregisters, waiting for a notification in progress.
    ~CUpdaterDlg() override;

    // The user ended the dialog (cancel button, Escape).
    bool IsCancelled() const { return m_isCancelled; }

    // The worker's threads.
    void StateChanged() override;
    void ProgressChanged() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Stops the worker (a running setup with it), then ends the dialog.
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    // Minimises instead of closing until the run is finished.
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnStateChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Text `id` of the Updater, as stored (UpdaterTexts).
    static std::wstring Text(int id);
    void SetStatus(const std::wstring& text);
    // The status line's font: "Arial", 11 points.
    void StyleStatus();
    void Post(UINT message);

    UpdaterSettings& m_settings;
    Engine::UpdateController& m_controller;
    CTextLabel m_status;
    CProgressCtrl m_progress;
    HICON m_hIcon;
    bool m_isCancelled = false;
    bool m_isFailureShown = false;
    std::atomic<HWND> m_postTarget{nullptr};  // the window while it exists
};
