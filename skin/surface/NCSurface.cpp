#include "skin/surface/NCSurface.h"

#include "skin/commongui/UserInput.h"

NCSurface::NCSurface(IHost* host, HWND window, bool captureEnabled, bool startRepaintTimer)
    : m_host(host), m_captureEnabled(captureEnabled) {
    // Timers only on a real window: a null one would get thread timers.
    if (window)
        Attach(window, startRepaintTimer);
}

NCSurface::~NCSurface() = default;

void NCSurface::Attach(HWND window, bool startRepaintTimer) {
    m_window = window;
    if (!m_window)
        return;
    ::KillTimer(m_window, kRepaintTimer);
    if (startRepaintTimer)
        ::SetTimer(m_window, kRepaintTimer, kRepaintMilliseconds, nullptr);
    OnSize();
}

bool NCSurface::IsInCaptionStrip(POINT point, int windowWidth) {
    const int captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
    return point.x >= 1 && point.x <= windowWidth - 1 && point.y >= 1 && point.y <= captionHeight - 1;
}

int NCSurface::_WindowWidth() const {
    RECT rect = {};
    ::GetWindowRect(m_window, &rect);
    return rect.right - rect.left;
}

POINT NCSurface::_CursorInWindow() const {
    POINT cursor = {};
    CommonGuiLib::Input().getCursorPos(&cursor);
    RECT rect = {};
    ::GetWindowRect(m_window, &rect);
    return POINT{cursor.x - rect.left, cursor.y - rect.top};
}

void NCSurface::Paint() {
    if (!m_host || !m_window)
        return;
    CWindowDC windowDC(CWnd::FromHandle(m_window));
    const RECT rect = {0, 0, _WindowWidth(), ::GetSystemMetrics(SM_CYCAPTION)};
    CanvasT<CommonGuiLib::CMemDC> canvas(&windowDC, &rect);
    m_host->Paint(*this, canvas, rect);
}

void NCSurface::OnSize() {
    if (!m_window)
        return;
    const int width = _WindowWidth();
    const int previousWidth = m_regions.GetLayoutSize().cx;
    m_regions.Layout(width, ::GetSystemMetrics(SM_CYCAPTION));
    if (width != previousWidth)
        ::RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Paint();
}

void NCSurface::OnNcActivate(BOOL) {
    if (!m_window)
        return;
    // The system draws the caption after this message: paint over it again
    // once it has.
    ::PostMessageW(m_window, WM_NCPAINT, 0, 0);
    ::SetTimer(m_window, kActivationTimer, kActivationMilliseconds, nullptr);
}

void NCSurface::OnTimer(UINT_PTR id) {
    if (!m_window)
        return;
    if (id == kRepaintTimer) {
        Paint();
    } else if (id == kActivationTimer) {
        ::KillTimer(m_window, kActivationTimer);
        Paint();
    }
}

BOOL NCSurface::PreTranslateMessage(const MSG* message) {
    if (!message || !m_window)
        return FALSE;
    switch (message->message) {
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
        _MouseUpdate();
        break;
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDOWN:
        if (m_host) {
            _HoverUpdate();
            m_host->OnClick(*this, m_hotIndex);
        }
        break;
    default:
        break;
    }
    return FALSE;
}

void NCSurface::_MouseUpdate() {
    Paint();
    m_previousInside = m_inside;
    POINT cursor = {};
    CommonGuiLib::Input().getCursorPos(&cursor);
    const HWND under = CommonGuiLib::Input().windowFromPoint(cursor);
    m_inside = under == m_window && IsInCaptionStrip(_CursorInWindow(), _WindowWidth());
    _HoverUpdate();
}

void NCSurface::_HoverUpdate() {
    const int index = m_regions.HitTest(_CursorInWindow());
    if (index != m_hotIndex) {
        m_hotIndex = index;
        Paint();
    }
    if (!m_captureEnabled)
        return;
    if (index != -1 && !m_captured) {
        CommonGuiLib::Input().setCapture(m_window);
        m_captured = true;
    } else if (index == -1 && m_captured) {
        CommonGuiLib::Input().releaseCapture();
        m_captured = false;
    }
}
