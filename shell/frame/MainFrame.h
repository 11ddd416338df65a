#pragma once
// CMainFrame: the program's one top-level window. It carries the toolbar
// (the command bars' "Toolbar"), the notification-area icon and the caption
// element, runs the application-level commands, decides what closing means,
// repaints the toolbar when the capture engine is switched on or off,
// receives the update watcher's offers and a second instance's hand-over,
// and applies the language texts again when the language changes.
//
// Thread: the GUI thread. The engine reports state changes on its own
// threads and the update watcher calls from its thread: both only post or
// send a message to the window.
#include "appframework/updates/IUpdateListener.h"
#include "downloads/app/ViewHost.h"
#include "downloads/engine/EngineSubscriber.h"
#include "graphics/commongui/SharedGDIObject.h"
#include "resources/resourcelib/IManager.h"
#include "shell/frame/CaptionTip.h"
#include "shell/tray/TrayIcon.h"
#include "skin/layout/IManager.h"
#include "skin/surface/NCSurface.h"
#include "toolkit/QE764.h"

#include <boost/shared_ptr.hpp>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDialog;

namespace Toolkit {
class ToolBar;
}

class CMainFrame : public QE764,
                   public Brunlow::EngineSubscriber<CMainFrame>,
                   public ApplicationFramework::IUpdateListener,
                   public NCSurface::IHost,
                   public ResourceLib::IManager::IObserver {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // Private messages.
    static constexpr UINT kCloseRequestMessage = WM_USER + 100;  // 0x464
    static constexpr UINT kUpdateOfferMessage = 0x591;
    static constexpr UINT kExtrasOfferMessage = 0x592;
    static constexpr UINT kActivateInstanceMessage = 0xA011;
    static constexpr LRESULT kActivateInstanceAnswer = 16;
    // An engine state change handed from the engine's thread to the window's.
    static constexpr UINT kEngineStateMessage = WM_APP + 0x137;

    static constexpr int kWidth = 865;
    static constexpr int kDebugWidth = 985;
    static constexpr int kHeight = 600;

    boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() const { return m_layoutManager; }
    TrayIcon& GetTrayIcon() { return m_trayIcon; }
    Toolkit::ToolBar* GetToolBar() const { return m_pToolbar; }
    bool IsDialogOpen() const { return m_bDialogOpen; }
    NCSurface& GetCaptionSurface() { return m_captionSurface; }
    const CaptionTip& GetCaptionTip() const { return m_captionTip; }

    // The frame's own dialogs, made by _CreateDialog.
    enum class FrameDialog { AddUrl, Settings, UpdateOffer, ExtrasOffer };

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    // Engine observer: hands the change to the window's thread.
    void OnEngineStateChanged(int state) override;
    // Update watcher (its thread): sends 0x591 and waits for the answer; posts 0x592.
    void OnUpdateAvailable() override;
    void OnOfferExtras() override;
    // Caption element.
    void Paint(NCSurface& surface, CanvasT<CommonGuiLib::CMemDC>& canvas, const RECT& rect) override;
    void OnClick(NCSurface& surface, int index) override;
    // Resource manager: a new language relabels the toolbar and the title.
    void OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager> manager,
                           boost::shared_ptr<ResourceLib::ILanguage> previous,
                           boost::shared_ptr<ResourceLib::ILanguage> current) override;

    // The engine state's look: theme and the on/off buttons (any other
    // state keeps both), then the bars laid out and repainted.
    void ApplyEngineState(int state);
    // Shows or hides the first toolbar control with that id; false when none has it.
    bool _SetToolbarButtonVisible(UINT id, bool visible);
    void _ApplyLanguage();

    // The seven toolbar colours of one engine state, read once per run.
    struct ToolbarColors {
        COLORREF gradientLight, gradientDark, lineLight, lineDark, textNormal, textHot, textDisabled;
    };
    static const ToolbarColors& GetToolbarColors(bool engineOn);

protected:
    // The dialog of that kind, not yet shown; null when none can be made.
    virtual std::unique_ptr<CDialog> _CreateDialog(FrameDialog kind);
    // The address an Add URL dialog ended with.
    virtual std::wstring _GetDialogUrl(CDialog& dialog);
    // Runs the dialog modally with the flag set. A close asked for meanwhile
    // ends it as cancelled; the frame closes once it has returned.
    INT_PTR _RunDialog(CDialog& dialog);
    INT_PTR _RunDialog(FrameDialog kind, std::wstring* pUrl = nullptr);
    // Closes now, or after the running dialogs when one is open.
    void _CloseOrDefer();

    bool _CreateToolbar();
    void _SetInitialSize();
    bool _IsCaptionOfferOn() const;
    // The caption element only where it leaves the title whole: added when
    // the window has room for both, removed when it has not.
    void _PlaceCaptionElement();
    // Window x just past the title's text as the system draws it.
    int _CaptionTitleEnd();
    // Shows the caption element's tip while the mouse is over the element.
    void _UpdateCaptionTip();
    bool _IsMinimized() const;
    // Hands the address to the engine or opens it as a page.
    void _AddUrl(const std::wstring& url);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnSettings();
    afx_msg void OnHelpSupport();
    afx_msg void OnOpenDownloadFolder();
    afx_msg void OnAddUrl();
    afx_msg void OnExit();
    afx_msg void OnShowHide();
    afx_msg LRESULT OnUpdateOffer(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExtrasOffer(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseRequest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnActivateInstance(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnEngineState(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The frame as the download list sees it.
    class ViewHost : public Brunlow::IViewHost {
    public:
        explicit ViewHost(CMainFrame& frame) : m_frame(frame) {}
        boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() override;
        void ShowTrayBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind,
                             UINT timeoutSeconds, const boost::shared_ptr<Brunlow::IBalloonAction>& pAction,
                             DWORD tag) override;
        INT_PTR ShowExtrasRequest(CWnd* pParent, const std::wstring& cancelText,
                                  const std::wstring& okText) override;
        INT_PTR RunDialog(CDialog& dialog) override;

    private:
        CMainFrame& m_frame;
    };

    struct Picture {
        CommonGuiLib::SharedBitmap bitmap;
        int width = 0;
        int height = 0;
    };

    TrayIcon m_trayIcon;
    Toolkit::ToolBar* m_pToolbar = nullptr;
    bool m_bDialogOpen = false;
    NCSurface m_captionSurface;
    boost::shared_ptr<LayoutLib::IManager> m_layoutManager;
    std::map<int, Picture> m_captionPictures;
    CaptionTip m_captionTip;
    // The hot element the tip was last shown or hidden for; undecided, the next move decides.
    static constexpr int kCaptionTipUndecided = -2;
    int m_captionTipElement = -1;

    // The frame's dialogs running now, innermost last.
    std::vector<CDialog*> m_openDialogs;
    bool m_closeAfterDialogs = false;
    bool m_isResourceObserver = false;
    ViewHost m_viewHost{*this};
};
