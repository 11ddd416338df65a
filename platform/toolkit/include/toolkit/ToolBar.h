#pragma once
// A toolbar of the command bars: a child window of the frame that shows a
// row of controls built from a TOOLBAR resource and its bitmap. Everything
// it shows is measured and drawn by the current theme. A click on an
// enabled control sends WM_COMMAND with the control's id to the frame (so
// MFC routes it on, to the view among others); at idle time the frame's
// command-UI handlers set the controls' enabled and checked states.
// Thread: the GUI thread that created it.
#include "toolkit/CommandBarRecords.h"

#include "afxcmn.h"

#include <vector>

class QE978;

namespace Toolkit {

class CommandBars;

class ToolBar : public CWnd, public Bar {
public:
    ToolBar(CommandBars* owner, LPCWSTR name);
    ~ToolBar() override;

    const CString& GetName() const { return m_name; }
    CommandBars* GetCommandBars() const { return m_owner; }

    // A hidden child of the parent; the command bars show it when they dock it.
    BOOL Create(CWnd* pParent);
    // Controls and pictures from the TOOLBAR resource and the bitmap of the
    // same id: one caption button per id, a separator for each 0. FALSE,
    // with no controls, when either resource is missing or malformed.
    BOOL LoadToolBar(UINT nIDResource);

    // Appearance: the least size of a button, and whether the bar shows
    // an expand button at its end always. Without that the button still
    // shows while controls do not fit, so that every control stays reachable.
    void SetMinimumButtonSize(int width, int height);
    void ShowExpandButton(BOOL show);
    // Whether the expand button is shown at the last layout.
    BOOL IsExpandButtonShown() const { return m_expandShown; }
    // Visible controls that did not fit the row, in order.
    std::vector<Control*> GetHiddenControls() const;
    // The hidden controls as a popup menu below the expand button; the
    // chosen one's command goes to the frame as a click would send it.
    void ShowHiddenControls();
    // Whether the user may close the bar (it offers no close button either way).
    void SetCloseable(BOOL closeable) { m_closeable = closeable; }
    BOOL IsCloseable() const { return m_closeable; }

    // The dock position code the command bars gave it.
    int GetPosition() const { return m_position; }
    void SetPosition(int position) { m_position = position; }

    // The height the bar needs at the given width, with its controls laid
    // out for that width.
    int CalcHeight(int width);
    // A docked, visible bar takes its strip off the rectangle: moved there
    // as part of the layout, or (null layout handle) only measured.
    void TakeStrip(AFX_SIZEPARENTPARAMS& layout);
    // Lays the controls out again for the window's current width and repaints.
    void Relayout();

    // Tooltips follow the mouse through the frame's message pre-translation.
    void RelayToolTip(MSG* pMsg);
    // The text the tooltip window holds for the control's id (empty when none).
    CString GetToolTipText(UINT id) const;
    HWND GetToolTipWindow() const { return m_toolTip; }

    // Asks the target (the frame) for each control's state.
    void UpdateCommandUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    void OnControlChanged(Control& control, BOOL layoutChanged) override;

    // Paints the whole bar through the current theme (WM_PAINT and WM_PRINTCLIENT).
    void DrawBar(CDC* pDC);

    // The control under a client point, or null.
    Control* HitTest(CPoint point) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Places the visible controls in a row of the given width; controls
    // that do not fit get an empty rectangle.
    int LayoutControls(CDC* pDC, QE978& theme, int width);
    // One pass of the row up to `limit`; TRUE when a visible control did not fit.
    BOOL PlaceControls(QE978& theme, const std::vector<CSize>& sizes, const CRect& margins, int rowHeight, int limit);
    BOOL IsOnExpandButton(CPoint point) const;
    void SetExpandState(BOOL hot, BOOL pressed);
    void SyncToolTips();
    void SetHotControl(Control* control);
    void ReleaseMouse();

    CommandBars* m_owner;
    CString m_name;
    CImageList m_pictures;
    CSize m_minimumButton{0, 0};
    // The room the expand button takes at the row's end.
    static constexpr int kExpandRoom = 15;
    BOOL m_showExpand = FALSE;
    BOOL m_expandShown = FALSE;
    BOOL m_closeable = TRUE;
    int m_position = -1;
    HWND m_toolTip = nullptr;
    Control* m_pressed = nullptr;
    BOOL m_trackingLeave = FALSE;
};

}  // namespace Toolkit
