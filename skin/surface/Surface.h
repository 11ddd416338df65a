#pragma once
// The bottom layer of every skinned dialog: a dialog that paints through a
// double buffer and turns raw mouse messages into hover, press, click and
// drag events on numbered elements. What the elements are, where they lie
// and how they look is the host's affair.
//
// The surface holds the mouse capture from a left press to its release, so
// a press released outside the window still ends (a drag ending outside
// reports the hover index -1, and no click).
//
// GUI thread only. Every cursor, window and button read goes through the
// input seam (UserInput.h).
#include "graphics/commongui/SharedGDIObject.h"
#include "skin/commongui/Canvas.h"
#include "skin/commongui/UserInput.h"
#include "skin/surface/ISurface.h"

#include <afxwin.h>

#include <initializer_list>
#include <vector>

template <class T>
class SurfaceT : public T, public ISurface {
public:
    typedef CanvasT<CommonGuiLib::CMemDC> Canvas;

    // What the surface asks of the object that knows its elements. Every
    // operation receives the surface first.
    class IHost : public InterfaceCore::IInterfaceCore<IHost> {
    public:
        virtual void Paint(SurfaceT& surface, Canvas& canvas, const RECT& clientRect) = 0;
        virtual int HitTest(SurfaceT& surface, POINT point) { return -1; }
        // Null keeps the window's cursor.
        virtual HCURSOR GetCursor(SurfaceT& surface, int index) { return nullptr; }
        virtual CommonGuiLib::SharedRegion GetElementRegion(SurfaceT& surface, int index) {
            return CommonGuiLib::SharedRegion();
        }
        virtual void OnLButtonDown(SurfaceT& surface, int index) {}
        // The left button was released over the element it was pressed on.
        virtual void OnClick(SurfaceT& surface, int index) {}
        virtual void OnLButtonDblClk(SurfaceT& surface, int index) {}
        virtual void OnRButtonUp(SurfaceT& surface, int index) {}
        virtual void OnHoverChanged(SurfaceT& surface, int newIndex) {}
        virtual void OnDrag(SurfaceT& surface, int pressedIndex, int hoverIndex) {}
        virtual void OnDragEnd(SurfaceT& surface, int pressedIndex, int hoverIndex) {}
        virtual void OnMouseMove(SurfaceT& surface, int hoverIndex) {}
    };

    SurfaceT(IHost* host, UINT templateId, CWnd* parent)
        : T(templateId, parent),
          m_host(host),
          m_updateRegion(CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectRegion>(
              ::CreateRectRgn(0, 0, 0, 0))) {}
    ~SurfaceT() override { m_updateRegion.reset(); }

    // ISurface
    int GetActiveIndex() const override { return m_activeIndex; }
    bool IsLeftButtonDown() const override { return (CommonGuiLib::Input().getKeyState(VK_LBUTTON) & 0x8000) != 0; }
    bool IsMouseInside() const override { return m_mouseInside; }
    bool IsDragging() const override { return m_dragging; }
    int GetPressedIndex() const override { return m_pressedIndex; }
    POINT GetPressPoint() const override { return m_pressPoint; }
    POINT GetCursorClientPos() const override {
        POINT point = {};
        CommonGuiLib::Input().getCursorPos(&point);
        ::ScreenToClient(this->m_hWnd, &point);
        return point;
    }
    HWND GetWindowHandle() const override { return this->m_hWnd; }

    IHost* GetHost() const noexcept { return m_host; }
    // The update region of the last paint.
    const CommonGuiLib::SharedRegion& GetUpdateRegion() const noexcept { return m_updateRegion; }

protected:
    void PreSubclassWindow() override {
        T::PreSubclassWindow();
        this->ModifyStyle(0, DS_NOIDLEMSG, 0);
    }

    afx_msg BOOL OnEraseBkgnd(CDC*) { return FALSE; }

    afx_msg void OnPaint() {
        const int kind = ::GetUpdateRgn(this->m_hWnd, m_updateRegion->GetHandle(), FALSE);
        if (kind == ERROR || kind == NULLREGION)
            return;
        CPaintDC dc(this);
        RECT client = {};
        this->GetClientRect(&client);
        Canvas canvas(&dc, &client);
        if (m_host)
            m_host->Paint(*this, canvas, client);
        else
            canvas.FillSolidRect(&client, RGB(180, 180, 180));
    }

    afx_msg void OnMouseMove(UINT flags, CPoint point) {
        T::OnMouseMove(flags, point);
        m_leaveTrackingArmed = false;
        _UpdateInside();
        _TrackLeave();
        _UpdateHover();
        if (m_host)
            m_host->OnMouseMove(*this, m_hoverIndex);
        // Only a press this window saw can be dragged.
        if (IsLeftButtonDown() && m_leftPressed) {
            m_dragging = true;
            if (m_host)
                m_host->OnDrag(*this, m_pressedIndex, m_hoverIndex);
            _Invalidate({m_pressedIndex, m_hoverIndex});
        }
    }

    afx_msg void OnLButtonDown(UINT flags, CPoint point) {
        T::OnLButtonDown(flags, point);
        _UpdateHover();
        _Invalidate({m_hoverIndex});
        m_leftPressed = true;
        m_dragging = false;  // dragging belongs to one press
        m_pressPoint = GetCursorClientPos();
        m_pressedIndex = m_activeIndex;
        if (!m_capturing) {
            m_capturing = true;
            CommonGuiLib::Input().setCapture(this->m_hWnd);
        }
        if (m_host)
            m_host->OnLButtonDown(*this, m_hoverIndex);
        _Refresh();
    }

    afx_msg void OnLButtonUp(UINT flags, CPoint point) {
        T::OnLButtonUp(flags, point);
        _UpdateHover();
        _Invalidate({m_hoverIndex});
        if (!m_leftPressed)
            return;
        m_leftPressed = false;
        _EndCapture();
        _TrackLeave();
        bool refreshed = false;
        if (m_dragging) {
            m_dragging = false;
            if (m_hoverIndex == m_pressedIndex) {
                _Refresh();
                refreshed = true;
            }
            if (m_host)
                m_host->OnDragEnd(*this, m_pressedIndex, m_hoverIndex);
        }
        if (m_hoverIndex == m_pressedIndex) {
            if (m_host)
                m_host->OnClick(*this, m_hoverIndex);
            if (!refreshed)
                _Refresh();
        }
    }

    afx_msg void OnLButtonDblClk(UINT flags, CPoint point) {
        T::OnLButtonDblClk(flags, point);
        _UpdateHover();
        _Invalidate({m_hoverIndex});
        if (m_host)
            m_host->OnLButtonDblClk(*this, m_hoverIndex);
    }

    afx_msg void OnRButtonDown(UINT flags, CPoint point) {
        T::OnRButtonDown(flags, point);
        m_rightPressed = true;
    }

    afx_msg void OnRButtonUp(UINT flags, CPoint point) {
        T::OnRButtonUp(flags, point);
        _UpdateHover();
        _Invalidate({m_hoverIndex});
        if (!m_rightPressed)
            return;
        m_rightPressed = false;
        if (m_host)
            m_host->OnRButtonUp(*this, m_hoverIndex);
        _Refresh();
    }

    afx_msg void OnSize(UINT type, int cx, int cy) {
        T::OnSize(type, cx, cy);
        ::InvalidateRect(this->m_hWnd, nullptr, TRUE);
    }

    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
        if (m_currentCursor) {
            ::SetCursor(m_currentCursor);
            return FALSE;
        }
        return T::OnSetCursor(window, hitTest, message);
    }

    afx_msg void OnKillFocus(CWnd* newWindow) {
        T::OnKillFocus(newWindow);
        _Refresh();
    }

    afx_msg LRESULT OnMouseLeaveMessage(WPARAM, LPARAM) {
        // The request that brought this message has ended.
        m_leaveTrackingArmed = false;
        _Refresh();
        return 0;
    }

    // Another window took the capture while a press was held: the release
    // will never come here, so the press is forgotten.
    afx_msg LRESULT OnCaptureChangedMessage(WPARAM, LPARAM newCapture) {
        if (reinterpret_cast<HWND>(newCapture) == this->m_hWnd)
            return 0;
        m_capturing = false;
        if (m_leftPressed) {
            m_leftPressed = false;
            m_dragging = false;
            const int pressed = m_pressedIndex;
            m_pressedIndex = -1;
            _Invalidate({pressed});
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    void _UpdateInside() {
        POINT screen = {};
        m_mouseInside = false;
        if (!CommonGuiLib::Input().getCursorPos(&screen))
            return;
        if (CommonGuiLib::Input().windowFromPoint(screen) != this->m_hWnd)
            return;
        POINT client = screen;
        ::ScreenToClient(this->m_hWnd, &client);
        RECT rect = {};
        ::GetClientRect(this->m_hWnd, &rect);
        if (!::PtInRect(&rect, client))
            return;
        m_mouseInside =
            CommonGuiLib::Input().childWindowFromPointEx(this->m_hWnd, client, CWP_SKIPINVISIBLE) == this->m_hWnd;
    }

    void _TrackLeave() {
        if (m_leaveTrackingArmed || !m_mouseInside)
            return;
        TRACKMOUSEEVENT request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_LEAVE;
        request.hwndTrack = this->m_hWnd;
        request.dwHoverTime = 0;
        CommonGuiLib::Input().trackMouseEvent(&request);
        m_leaveTrackingArmed = true;
    }

    void _UpdateHover() {
        const POINT point = GetCursorClientPos();
        RECT rect = {};
        ::GetClientRect(this->m_hWnd, &rect);
        int active = -1;
        if (m_host && ::PtInRect(&rect, point) &&
            CommonGuiLib::Input().childWindowFromPointEx(this->m_hWnd, point, CWP_SKIPINVISIBLE) == this->m_hWnd)
            active = m_host->HitTest(*this, point);
        m_activeIndex = active;
        if (m_activeIndex == m_hoverIndex)
            return;
        m_currentCursor = m_activeIndex != -1 ? m_host->GetCursor(*this, m_activeIndex) : nullptr;
        if (m_currentCursor)
            ::SetCursor(m_currentCursor);
        _Invalidate({m_hoverIndex, m_activeIndex});
        m_hoverIndex = m_activeIndex;
        m_host->OnHoverChanged(*this, m_activeIndex);
    }

    void _Refresh() {
        _UpdateInside();
        _TrackLeave();
        _UpdateHover();
        if (IsLeftButtonDown())
            _Invalidate({m_hoverIndex, m_activeIndex, m_pressedIndex});
        else
            _Invalidate({m_hoverIndex, m_activeIndex});
    }

    // Until the host first names an element region the whole client area is
    // repainted; from then on only the regions concerned.
    void _Invalidate(std::initializer_list<int> indices) {
        if (!m_host)
            return;
        bool anyIndex = false;
        std::vector<CommonGuiLib::SharedRegion> regions;
        for (int index : indices) {
            if (index < 0)
                continue;
            anyIndex = true;
            CommonGuiLib::SharedRegion region = m_host->GetElementRegion(*this, index);
            if (!CommonGuiLib::IsNullGDIObject(region)) {
                m_regionInvalidation = true;
                regions.push_back(region);
            }
        }
        if (!anyIndex)
            return;
        if (!m_regionInvalidation) {
            ::InvalidateRect(this->m_hWnd, nullptr, TRUE);
            return;
        }
        for (const CommonGuiLib::SharedRegion& region : regions)
            ::InvalidateRgn(this->m_hWnd, region->GetHandle(), TRUE);
    }

    void _EndCapture() {
        if (!m_capturing)
            return;
        m_capturing = false;
        CommonGuiLib::Input().releaseCapture();
    }

    IHost* m_host;
    HCURSOR m_currentCursor = nullptr;
    int m_activeIndex = -1;
    int m_hoverIndex = -1;
    bool m_mouseInside = false;
    bool m_leftPressed = false;
    bool m_rightPressed = false;
    bool m_dragging = false;
    POINT m_pressPoint = {};
    int m_pressedIndex = -1;
    bool m_leaveTrackingArmed = false;
    bool m_regionInvalidation = false;
    CommonGuiLib::SharedRegion m_updateRegion;
    // Whether the capture taken at a left press is still held.
    bool m_capturing = false;
};

BEGIN_TEMPLATE_MESSAGE_MAP(SurfaceT, T, T)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(WM_MOUSELEAVE, &ThisClass::OnMouseLeaveMessage)
    ON_MESSAGE(WM_CAPTURECHANGED, &ThisClass::OnCaptureChangedMessage)
END_MESSAGE_MAP()

extern template class SurfaceT<CDialog>;
