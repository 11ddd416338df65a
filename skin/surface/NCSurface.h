#pragma once
// The frame window's own elements in its title bar: the element regions
// laid out over the caption strip, the element under the mouse, repaints of
// the strip on every change and on two timers, and clicks handed to the
// host, which decides what the elements are and draws them.
//
// The frame routes WM_NCPAINT to Paint, WM_NCACTIVATE to OnNcActivate,
// WM_SIZE to OnSize, WM_TIMER to OnTimer and every message of its
// PreTranslateMessage to PreTranslateMessage. Without a window every
// operation only stores its values. GUI thread only.
#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/commongui/Canvas.h"

#include <windows.h>

class NCSurface {
public:
    class IHost {
    public:
        virtual ~IHost() = default;
        // `rect` is (0, 0, window width, caption height) in window coordinates.
        virtual void Paint(NCSurface& surface, CanvasT<CommonGuiLib::CMemDC>& canvas, const RECT& rect) = 0;
        // The left button went down while `index` was hot (-1: none).
        virtual void OnClick(NCSurface& surface, int index) {}
    };

    static const UINT_PTR kRepaintTimer = 5011;
    static const UINT kRepaintMilliseconds = 50;
    static const UINT_PTR kActivationTimer = 5012;
    static const UINT kActivationMilliseconds = 100;

    NCSurface(IHost* host, HWND window, bool captureEnabled, bool startRepaintTimer);
    ~NCSurface();
    NCSurface(const NCSurface&) = delete;
    NCSurface& operator=(const NCSurface&) = delete;

    void Attach(HWND window, bool startRepaintTimer);

    // The host adds its elements here, in window coordinates.
    CommonGuiLib::AnchoredRegionSet& GetRegions() { return m_regions; }
    int GetHotIndex() const { return m_hotIndex; }
    HWND GetWindow() const { return m_window; }
    bool IsInside() const { return m_inside; }
    bool WasInside() const { return m_previousInside; }
    bool IsCaptured() const { return m_captured; }

    // Never swallows a message: always FALSE.
    BOOL PreTranslateMessage(const MSG* message);
    void OnNcActivate(BOOL active);
    void OnSize();
    void OnTimer(UINT_PTR id);
    void Paint();

    // True for a point, relative to the window's top-left corner, inside
    // the caption strip: x 1 .. width - 1, y 1 .. caption height - 1.
    static bool IsInCaptionStrip(POINT point, int windowWidth);

private:
    int _WindowWidth() const;
    POINT _CursorInWindow() const;
    void _MouseUpdate();
    void _HoverUpdate();

    IHost* m_host;
    HWND m_window = nullptr;
    CommonGuiLib::AnchoredRegionSet m_regions;
    bool m_captureEnabled;
    int m_hotIndex = -1;
    bool m_inside = false;
    bool m_previousInside = true;
    bool m_captured = false;
};
