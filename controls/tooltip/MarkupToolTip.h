#pragma once
// The popup that shows rich tooltips: markup drawn by its own drawer over a
// background effect, shaped as a rounded body with an anchor towards the
// cursor, with a shadow, fading in and out and kept inside the virtual
// screen. Tools (a text for a window or a rectangle of it) are kept per
// window; the owner relays its mouse messages to RelayEvent and the tip's
// timers do the rest. GUI thread only.
#include "controls/markup/MarkupDrawer.h"

#include "afxwin.h"

#include <map>
#include <vector>

namespace ControlsLib {

// What placing a tip gives: the final direction, the window rectangle (in
// screen coordinates, without the shadow), the body inside it and the
// anchor triangle, both in window coordinates.
struct TipPlacement {
    int direction = 0;
    RECT window = {0, 0, 0, 0};
    RECT body = {0, 0, 0, 0};
    POINT anchor[3] = {};
    bool hasAnchor = false;
};

// Places a body of `body` size for a point inside the bounds. The high digit
// of the direction is where the anchor is (0x00 above the body, 0x10 below,
// 0x20 left, 0x30 right), the low digit how the body is aligned along that
// edge (0 anchor near the left/top corner, 1 near the right/bottom, 2
// centred). A body crossing the bounds flips to the other side.
TipPlacement PlaceTip(POINT point, SIZE body, int direction, const RECT& bounds, const int sizes[9]);

struct TipShadow {
    int dx = 6;
    int dy = 6;
    int darkness = 50;
    BOOL gradient = TRUE;
    int blurX = 7;
    int blurY = 7;
};

// Grey of the shadow mask at transparency t.
int ShadowGrey(int darkness, int transparency);

// Composes the tip over `base` (a window-sized picture of what is under it):
// the shadow of the tip region at the shadow offset, then the tip picture
// inside the tip region at opacity 100 - t.
void ComposeTip(CDrawManager& drawManager, HDC base, SIZE windowSize, HDC tipPicture, HRGN tipRegion,
                const TipShadow& shadow, int transparency);

// A value as the window-information tip shows it: "<" as "?", 26 characters
// or more cut to 21 and " ...".
std::wstring WindowInfoValue(const std::wstring& value);

}  // namespace ControlsLib

class CMarkupToolTip : public CWnd {
public:
    enum Mask : DWORD {
        MaskEffect = 0x02,
        MaskColors = 0x04,
        MaskDirection = 0x08,
        MaskBehaviour = 0x10,
        MaskTransparency = 0x20,
    };
    enum Behaviour : DWORD {
        ForgetOnHide = 0x01,
        FollowMouse = 0x02,
        MoveRestartsHide = 0x04,
        OverTipRestartsHide = 0x08,
        NoAutoHide = 0x10,
    };
    enum State { Hidden = 0, Appearing = 1, Shown = 2, Disappearing = 3 };
    enum TimerId : UINT_PTR {
        TimerShow = 256,
        TimerHide = 257,
        TimerFadeIn = 258,
        TimerFadeOut = 259,
        TimerPoll = 260,
    };
    static const UINT kNotifyCode = 0x464;
    static const UINT kLinkMessage = WM_USER + 101;

    struct Tool {
        int id = 0;
        RECT rect = {0, 0, 0, 0};
        CString text;
        DWORD mask = 0;
        int direction = 0;
        int effect = 0;
        DWORD behaviour = 0;
        BYTE granularity = 0;
        BYTE transparency = 0;
        COLORREF colors[3] = {0, 0, 0};
    };
    // The record the notify window may change before each show.
    struct NotifyInfo {
        NMHDR header;
        HWND toolWindow;
        POINT point;
        Tool* tool;
    };

    CMarkupToolTip();
    ~CMarkupToolTip() override;

    BOOL Create(CWnd* parent, BOOL balloon = TRUE);
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual void DrawBorder(HDC dc, HRGN region);

    void AddTool(CWnd* window, const wchar_t* text, const RECT* rect = nullptr, int toolId = 0);
    void RemoveAllTools(BOOL hide = TRUE);
    void RelayEvent(MSG* pMsg);
    void HideTip();
    void SetNoAutoLookup(int value) { m_noAutoLookup = value; }
    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    void SetBackgroundColors(COLORREF begin, COLORREF middle, COLORREF end);
    void SetShadow(int dx, int dy, int darkness, BOOL gradient, int blurX, int blurY);
    void SetSizeParameter(int index, int value);
    void SetTimes(UINT showDelay, UINT hideDelay, UINT fadeInStep, UINT fadeOutStep);
    void SetBehaviour(DWORD behaviour) { m_defaults.behaviour = behaviour; }
    void SetDirection(int direction) { m_defaults.direction = direction; }

    int GetState() const { return m_state; }
    int GetTransparency() const { return m_transparency; }
    int GetSizeParameter(int index) const { return index >= 0 && index < 9 ? m_sizes[index] : 0; }
    const ControlsLib::TipShadow& GetShadow() const { return m_shadow; }
    const Tool& GetDefaults() const { return m_defaults; }
    const Tool* GetShownTool() const { return m_hasShown ? &m_shown : nullptr; }
    HWND GetShownToolWindow() const { return m_shownWindow; }
    UINT GetShowDelay() const { return m_showDelay; }
    UINT GetHideDelay() const { return m_hideDelay; }
    CMarkupDrawer& GetDrawer() { return m_drawer; }
    const std::map<HWND, std::vector<Tool>>& GetTools() const { return m_tools; }

    // The window-information markup for a window and a screen point.
    static std::wstring BuildWindowInfo(HWND window, POINT point, bool hasTooltip);

    // The timer steps, as WM_TIMER runs them.
    afx_msg void OnTimer(UINT_PTR id);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg LRESULT OnLinkChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool FindTool(HWND window, POINT screenPoint, Tool& tool) const;
    HWND FindToolWindow(POINT screenPoint) const;
    void ShowTool(HWND window, const Tool& tool, bool delay);
    void HideStep();
    void HideNow();
    void StartHideTimer();
    void PrepareAndPlace();
    void Paint(HDC dc, int transparency);
    void StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);
    Tool Effective(const Tool& tool) const;

    CMarkupDrawer m_drawer;
    HWND m_owner = nullptr;
    std::map<HWND, std::vector<Tool>> m_tools;
    HWND m_hoverWindow = nullptr;
    Tool m_hover;
    bool m_hasHover = false;
    HWND m_shownWindow = nullptr;
    Tool m_shown;
    bool m_hasShown = false;
    int m_showMode = 0;
    POINT m_lastPoint = {LONG_MIN, LONG_MIN};
    POINT m_metPoint = {0, 0};
    int m_state = Hidden;
    bool m_pendingShow = false;
    bool m_pendingDelay = false;
    int m_noAutoLookup = 0;
    HWND m_notifyWindow = nullptr;
    BOOL m_repaintOnLink = TRUE;
    Tool m_defaults;
    HBRUSH m_borderBrush = nullptr;
    int m_borderWidth = 1;
    int m_borderHeight = 1;
    ControlsLib::TipShadow m_shadow;
    UINT m_showDelay = 500;
    UINT m_hideDelay = 5000;
    UINT m_fadeInStep = 0;
    UINT m_fadeOutStep = 0;
    BOOL m_fadeIn = TRUE;
    BOOL m_fadeOut = TRUE;
    int m_sizes[9] = {};
    int m_transparency = 0;
    ControlsLib::TipPlacement m_placement;
    RECT m_textRect = {0, 0, 0, 0};
    HBITMAP m_background = nullptr;
    HBITMAP m_savedScreen = nullptr;
    HRGN m_tipRegion = nullptr;
    SIZE m_windowSize = {0, 0};
};
