#include "controls/tooltip/MarkupToolTip.h"

#include "controls/tooltip/TooltipSystem.h"

#include <algorithm>
#include <cstdio>

using ControlsLib::Tooltip;

namespace {

const wchar_t kClassName[] = L"CMarkupToolTip";
const int kBalloonSizes[9] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
const int kPlainSizes[9] = {0, 0, 3, 1, 0, 0, 0, 0, 0};

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT VirtualScreen() {
    // Looked up at run time: systems without several monitors know only the primary screen.
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int cx = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), cy = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (cx > 0 && cy > 0)
        return RECT{x, y, x + cx, y + cy};
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// One axis of the placement: where a body of `length` starts along the
// anchor's edge for the alignment, flipped when it crosses the bounds.
int AlignAlong(int point, int length, int distance, int& align, int low, int high) {
    const auto start = [&](int a) {
        return a == 0 ? point - distance : a == 1 ? point + distance - length : point - length / 2;
    };
    int at = start(align);
    if (align != 2 && (at < low || at + length > high)) {
        const int flipped = align ^ 1;
        const int other = start(flipped);
        if (other >= low && other + length <= high) {
            align = flipped;
            at = other;
        } else {
            align = 2;
            at = start(2);
        }
    }
    if (align == 2) {
        // Centred and still too long: kept inside as far as it goes.
        at = std::min(at, high - length);
        at = std::max(at, low);
    }
    return at;
}

}  // namespace

namespace ControlsLib {

TipPlacement PlaceTip(POINT point, SIZE body, int direction, const RECT& bounds, const int sizes[9]) {
    TipPlacement placement;
    const int anchorWidth = sizes[4], anchorHeight = sizes[5], distance = sizes[6];
    placement.hasAnchor = anchorWidth > 0 && anchorHeight > 0;
    const int anchorDepth = placement.hasAnchor ? anchorHeight : 0;
    int high = direction & 0xF0;
    int align = direction & 0x0F;
    if (high > 0x30)
        high = 0x10;
    if (align > 2)
        align = 0;
    const bool vertical = high <= 0x10;
    const int across = vertical ? body.cy + anchorDepth : body.cx + anchorDepth;
    // The side the tip lies on: flipped when it crosses that bound.
    if (vertical) {
        if (high == 0x10 && point.y - across < bounds.top)
            high = 0x00;
        else if (high == 0x00 && point.y + across > bounds.bottom)
            high = 0x10;
    } else {
        if (high == 0x30 && point.x - across < bounds.left)
            high = 0x20;
        else if (high == 0x20 && point.x + across > bounds.right)
            high = 0x30;
    }
    const int anchorOffset = distance + anchorWidth / 2;
    RECT window;
    if (vertical) {
        const int left = AlignAlong(point.x, body.cx, anchorOffset, align, bounds.left, bounds.right);
        const int top = high == 0x00 ? point.y : point.y - across;
        window = RECT{left, top, left + body.cx, top + across};
        placement.body = RECT{0, high == 0x00 ? anchorDepth : 0, body.cx, high == 0x00 ? across : body.cy};
    } else {
        const int top = AlignAlong(point.y, body.cy, anchorOffset, align, bounds.top, bounds.bottom);
        const int left = high == 0x20 ? point.x : point.x - across;
        window = RECT{left, top, left + across, top + body.cy};
        placement.body = RECT{high == 0x20 ? anchorDepth : 0, 0, high == 0x20 ? across : body.cx, body.cy};
    }
    placement.window = window;
    placement.direction = high | align;
    if (placement.hasAnchor) {
        const POINT tip = {point.x - window.left, point.y - window.top};
        const int half = anchorWidth / 2;
        if (vertical) {
            const int base = high == 0x00 ? placement.body.top : placement.body.bottom;
            const int middle = std::max<int>(half, std::min<int>(body.cx - half, tip.x));
            placement.anchor[0] = POINT{middle - half, base};
            placement.anchor[1] = tip;
            placement.anchor[2] = POINT{middle + half, base};
        } else {
            const int base = high == 0x20 ? placement.body.left : placement.body.right;
            const int middle = std::max<int>(half, std::min<int>(body.cy - half, tip.y));
            placement.anchor[0] = POINT{base, middle - half};
            placement.anchor[1] = tip;
            placement.anchor[2] = POINT{base, middle + half};
        }
    }
    return placement;
}

int ShadowGrey(int darkness, int transparency) {
    const int grey = ::MulDiv(255, 100 - darkness, 100);
    return grey + (255 - grey) * transparency / 100;
}

void ComposeTip(CDrawManager& drawManager, HDC base, SIZE windowSize, HDC tipPicture, HRGN tipRegion,
                const TipShadow& shadow, int transparency) {
    if (shadow.dx != 0 || shadow.dy != 0) {
        const int grey = ShadowGrey(shadow.darkness, transparency);
        HDC maskDc = ::CreateCompatibleDC(base);
        HBITMAP mask = ::CreateCompatibleBitmap(base, windowSize.cx, windowSize.cy);
        HGDIOBJ previous = ::SelectObject(maskDc, mask);
        const RECT all = {0, 0, windowSize.cx, windowSize.cy};
        ::FillRect(maskDc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        HRGN moved = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(moved, tipRegion, nullptr, RGN_COPY);
        ::OffsetRgn(moved, shadow.dx, shadow.dy);
        HBRUSH brush = ::CreateSolidBrush(RGB(grey, grey, grey));
        ::FillRgn(maskDc, moved, brush);
        ::DeleteObject(brush);
        ::DeleteObject(moved);
        ::SelectObject(maskDc, previous);
        ::DeleteDC(maskDc);
        drawManager.DrawShadow(base, 0, 0, windowSize.cx, windowSize.cy, mask, shadow.gradient != FALSE,
                               shadow.blurX, shadow.blurY);
        ::DeleteObject(mask);
    }
    const int saved = ::SaveDC(base);
    ::SelectClipRgn(base, tipRegion);
    const RECT all = {0, 0, windowSize.cx, windowSize.cy};
    drawManager.DrawOpacityBlend(base, all, tipPicture, 0, 0, 100 - std::max(0, std::min(100, transparency)));
    ::RestoreDC(base, saved);
}

std::wstring WindowInfoValue(const std::wstring& value) {
    std::wstring shown = value;
    std::replace(shown.begin(), shown.end(), L'<', L'?');
    if (shown.size() >= 26)
        shown = shown.substr(0, 21) + L" ...";
    return shown;
}

}  // namespace ControlsLib

BEGIN_MESSAGE_MAP(CMarkupToolTip, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_ACTIVATEAPP()
    ON_MESSAGE(CMarkupToolTip::kLinkMessage, &CMarkupToolTip::OnLinkChanged)
END_MESSAGE_MAP()

CMarkupToolTip::CMarkupToolTip() {
    WNDCLASSW existing = {};
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!::GetClassInfoW(instance, kClassName, &existing)) {
        WNDCLASSW windowClass = {};
        windowClass.style = CS_SAVEBITS;
        windowClass.lpfnWndProc = &::DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        if (!::RegisterClassW(&windowClass))
            AfxThrowResourceException();
    }
    const COLORREF info = ::GetSysColor(COLOR_INFOBK);
    m_defaults.colors[0] = m_defaults.colors[1] = m_defaults.colors[2] = info;
    m_defaults.direction = 0x10;
    m_borderBrush = ::CreateSolidBrush(::GetSysColor(COLOR_INFOTEXT));
}

CMarkupToolTip::~CMarkupToolTip() {
    if (m_hWnd)
        DestroyWindow();
    if (m_borderBrush)
        ::DeleteObject(m_borderBrush);
    if (m_background)
        ::DeleteObject(m_background);
    if (m_savedScreen)
        ::DeleteObject(m_savedScreen);
    if (m_tipRegion)
        ::DeleteObject(m_tipRegion);
}

BOOL CMarkupToolTip::Create(CWnd* parent, BOOL balloon) {
    m_owner = parent ? parent->GetSafeHwnd() : nullptr;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, nullptr, WS_POPUP, 0, 0, 0, 0, m_owner, nullptr))
        return FALSE;
    std::copy(balloon ? kBalloonSizes : kPlainSizes, (balloon ? kBalloonSizes : kPlainSizes) + 9, m_sizes);
    m_drawer.SetCallbackRepaint(m_hWnd, kLinkMessage, 0);
    StopTimer(TimerPoll);
    StartTimer(TimerPoll, 100);
    return TRUE;
}

BOOL CMarkupToolTip::DestroyWindow() {
    HideNow();
    StopTimer(TimerPoll);
    m_drawer.SetCallbackRepaint(nullptr, 0, 0);
    return CWnd::DestroyWindow();
}

BOOL CMarkupToolTip::PreTranslateMessage(MSG* pMsg) {
    RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CMarkupToolTip::DrawBorder(HDC dc, HRGN region) {
    ::FrameRgn(dc, region, m_borderBrush, m_borderWidth, m_borderHeight);
}

void CMarkupToolTip::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (m_hWnd)
        Tooltip().setTimer(m_hWnd, id, milliseconds);
}

void CMarkupToolTip::StopTimer(UINT_PTR id) {
    if (m_hWnd)
        Tooltip().killTimer(m_hWnd, id);
}

void CMarkupToolTip::AddTool(CWnd* window, const wchar_t* text, const RECT* rect, int toolId) {
    if (!window)
        return;
    Tool tool;
    tool.text = text ? text : L"";
    if (rect)
        tool.rect = *rect;
    tool.id = toolId;
    std::vector<Tool>& tools = m_tools[window->GetSafeHwnd()];
    for (Tool& existing : tools) {
        if (SameRect(existing.rect, tool.rect)) {
            existing = tool;
            return;
        }
    }
    tools.push_back(tool);
}

void CMarkupToolTip::RemoveAllTools(BOOL hide) {
    if (hide)
        HideTip();
    m_tools.clear();
    if (hide && m_owner && ::IsWindow(m_owner)) {
        POINT cursor = {0, 0};
        Tooltip().getCursorPos(&cursor);
        POINT client = cursor;
        ::ScreenToClient(m_owner, &client);
        MSG message = {m_owner, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), 0, cursor};
        m_lastPoint = POINT{LONG_MIN, LONG_MIN};
        RelayEvent(&message);
    }
}

void CMarkupToolTip::HideTip() {
    if (m_state == Appearing) {
        StopTimer(TimerFadeIn);
        HideStep();
    } else if (m_state == Shown) {
        HideStep();
    }
}

void CMarkupToolTip::HideNow() {
    for (UINT_PTR id = TimerShow; id <= TimerFadeOut; ++id)
        StopTimer(id);
    m_state = Hidden;
    m_pendingShow = false;
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CMarkupToolTip::SetBackgroundColors(COLORREF begin, COLORREF middle, COLORREF end) {
    m_defaults.colors[0] = begin;
    m_defaults.colors[1] = middle;
    m_defaults.colors[2] = end;
}

void CMarkupToolTip::SetShadow(int dx, int dy, int darkness, BOOL gradient, int blurX, int blurY) {
    m_shadow = ControlsLib::TipShadow{dx, dy, std::min(darkness, 100), gradient, blurX, blurY};
}

void CMarkupToolTip::SetSizeParameter(int index, int value) {
    if (index >= 0 && index < 9)
        m_sizes[index] = value;
}

void CMarkupToolTip::SetTimes(UINT showDelay, UINT hideDelay, UINT fadeInStep, UINT fadeOutStep) {
    m_showDelay = showDelay;
    m_hideDelay = hideDelay;
    m_fadeInStep = fadeInStep;
    m_fadeOutStep = fadeOutStep;
}

HWND CMarkupToolTip::FindToolWindow(POINT point) const {
    HWND under = Tooltip().windowFromPoint(point);
    if (!under)
        return nullptr;
    HWND parent = ::GetParent(under);
    if (parent) {
        wchar_t className[32] = {};
        ::GetClassNameW(parent, className, 32);
        if ((::GetWindowLongW(parent, GWL_STYLE) & 0x0F) == 2 && ::lstrcmpiW(className, L"combobox") == 0)
            return parent;
    }
    POINT client = point;
    ::ScreenToClient(under, &client);
    HWND child = Tooltip().childWindowFromPointEx(under, client, CWP_ALL);
    if (!child)
        return under;
    if (!::IsWindowVisible(child))
        return under;
    if (!::IsWindowEnabled(child))
        return nullptr;
    return child;
}

bool CMarkupToolTip::FindTool(HWND window, POINT point, Tool& tool) const {
    const auto found = m_tools.find(window);
    if (found == m_tools.end() || found->second.empty())
        return false;
    const std::vector<Tool>& tools = found->second;
    if (tools.size() == 1 && IsEmpty(tools[0].rect)) {
        tool = tools[0];
        return true;
    }
    POINT client = point;
    ::ScreenToClient(window, &client);
    for (const Tool& candidate : tools) {
        if (::PtInRect(&candidate.rect, client)) {
            tool = candidate;
            return true;
        }
    }
    return false;
}

void CMarkupToolTip::RelayEvent(MSG* pMsg) {
    if (!m_hWnd || !pMsg)
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE: {
        POINT point = {0, 0};
        Tooltip().getCursorPos(&point);
        if (point.x == m_lastPoint.x && point.y == m_lastPoint.y)
            return;
        const POINT previous = m_lastPoint;
        m_lastPoint = point;
        if (m_noAutoLookup) {
            Tool info;
            HWND under = Tooltip().windowFromPoint(point);
            info.text = BuildWindowInfo(under, point, under && m_tools.count(under) > 0).c_str();
            ShowTool(m_hWnd, info, true);
            return;
        }
        if (::IsWindowVisible(m_hWnd) && Tooltip().windowFromPoint(point) == m_hWnd &&
            !(m_hover.behaviour & FollowMouse)) {
            if (m_hover.behaviour & OverTipRestartsHide)
                StartHideTimer();
            else
                HideTip();
            return;
        }
        HWND window = FindToolWindow(point);
        Tool tool;
        if (!window || !FindTool(window, point, tool)) {
            m_hasHover = false;
            m_hoverWindow = nullptr;
            StopTimer(TimerShow);
            HideTip();
            return;
        }
        if (m_hasHover && window == m_hoverWindow && SameRect(tool.rect, m_hover.rect)) {
            const DWORD behaviour = Effective(m_hover).behaviour;
            if (behaviour & FollowMouse) {
                StartHideTimer();
                if (previous.x != LONG_MIN && ::IsWindowVisible(m_hWnd)) {
                    RECT rect;
                    ::GetWindowRect(m_hWnd, &rect);
                    ::SetWindowPos(m_hWnd, nullptr, rect.left + point.x - previous.x, rect.top + point.y - previous.y,
                                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            } else if (behaviour & MoveRestartsHide) {
                StartHideTimer();
            } else if (!(behaviour & ForgetOnHide)) {
                HideTip();
            }
            return;
        }
        m_hoverWindow = window;
        m_hover = tool;
        m_hasHover = true;
        ShowTool(window, tool, true);
        return;
    }
    case WM_LBUTTONDOWN:
        if (pMsg->hwnd == m_hWnd && ::IsWindowVisible(m_hWnd)) {
            POINT point = {static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam))};
            m_drawer.OnLButtonDown(POINT{point.x - m_textRect.left, point.y - m_textRect.top});
        }
        return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        HideNow();
        return;
    default:
        return;
    }
}

void CMarkupToolTip::ShowTool(HWND window, const Tool& tool, bool delay) {
    if (m_state == Appearing || m_state == Shown) {
        if (m_state == Appearing)
            StopTimer(TimerFadeIn);
        HideStep();
    }
    m_shownWindow = window;
    m_shown = tool;
    m_hasShown = true;
    // The tip's window carries the text it shows, as the system's tooltips
    // let other programs (screen readers, tests) read theirs.
    if (m_hWnd)
        ::SetWindowTextW(m_hWnd, tool.text);
    Tooltip().getCursorPos(&m_metPoint);
    if (m_state == Hidden) {
        if (delay && m_showDelay != 0)
            StartTimer(TimerShow, m_showDelay);
        else
            OnTimer(TimerShow);
    } else {
        m_pendingShow = true;
        m_pendingDelay = delay && m_showDelay != 0;
    }
}

CMarkupToolTip::Tool CMarkupToolTip::Effective(const Tool& tool) const {
    Tool effective = tool;
    if (!(tool.mask & MaskEffect)) {
        effective.effect = m_defaults.effect;
        effective.granularity = m_defaults.granularity;
    }
    if (!(tool.mask & MaskColors))
        std::copy(m_defaults.colors, m_defaults.colors + 3, effective.colors);
    if (!(tool.mask & MaskDirection))
        effective.direction = m_defaults.direction;
    if (!(tool.mask & MaskBehaviour))
        effective.behaviour = m_defaults.behaviour;
    if (!(tool.mask & MaskTransparency))
        effective.transparency = m_defaults.transparency;
    return effective;
}

void CMarkupToolTip::StartHideTimer() {
    StopTimer(TimerHide);
    if (!(Effective(m_shown).behaviour & NoAutoHide) && m_hideDelay != 0)
        StartTimer(TimerHide, m_hideDelay);
}

void CMarkupToolTip::HideStep() {
    OnTimer(TimerHide);
}

void CMarkupToolTip::OnTimer(UINT_PTR id) {
    switch (id) {
    case TimerShow: {
        StopTimer(TimerShow);
        POINT point = {0, 0};
        Tooltip().getCursorPos(&point);
        if (m_state != Hidden || !m_hasShown)
            return;
        if (point.x != m_metPoint.x || point.y != m_metPoint.y) {
            HideTip();
            return;
        }
        m_shown = Effective(m_shown);
        m_state = Appearing;
        PrepareAndPlace();
        if (m_state == Hidden)
            return;
        if (m_fadeIn && m_fadeInStep) {
            StartTimer(TimerFadeIn, m_fadeInStep);
        } else {
            m_state = Shown;
            StartHideTimer();
        }
        return;
    }
    case TimerHide:
        StopTimer(TimerShow);
        StopTimer(TimerFadeIn);
        StopTimer(TimerHide);
        if (m_state == Disappearing || m_state == Hidden)
            return;
        m_state = Disappearing;
        if (m_fadeOut && m_fadeOutStep) {
            StartTimer(TimerFadeOut, m_fadeOutStep);
        } else {
            m_transparency = 100;
            OnTimer(TimerFadeOut);
        }
        return;
    case TimerFadeIn:
        m_transparency = std::max<int>(m_transparency - 20, m_shown.transparency);
        if (m_transparency <= m_shown.transparency) {
            StopTimer(TimerFadeIn);
            m_state = Shown;
            StartHideTimer();
        }
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return;
    case TimerFadeOut:
        m_transparency = m_transparency < 80 ? m_transparency + 20 : 100;
        if (m_transparency < 100) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            return;
        }
        StopTimer(TimerFadeOut);
        if (m_hasHover && (Effective(m_hover).behaviour & ForgetOnHide))
            m_hasHover = false;
        ::ShowWindow(m_hWnd, SW_HIDE);
        m_state = Hidden;
        if (m_pendingShow) {
            m_pendingShow = false;
            if (m_pendingDelay)
                StartTimer(TimerShow, m_showDelay);
            else
                OnTimer(TimerShow);
        } else {
            m_showMode = 0;
        }
        return;
    case TimerPoll:
        if (::IsWindowVisible(m_hWnd) && m_state == Shown && m_drawer.OnTimer())
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return;
    default:
        return;
    }
}

void CMarkupToolTip::PrepareAndPlace() {
    if (m_notifyWindow) {
        NotifyInfo info = {};
        info.header.hwndFrom = m_hWnd;
        info.header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
        info.header.code = kNotifyCode;
        info.toolWindow = m_shownWindow;
        info.point = m_metPoint;
        info.tool = &m_shown;
        ::SendMessageW(m_notifyWindow, WM_NOTIFY, info.header.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    if (m_shown.text.IsEmpty()) {
        m_state = Hidden;
        return;
    }
    HDC screen = ::GetDC(nullptr);
    const SIZE text = m_drawer.PrepareOutput(screen, std::wstring(static_cast<const wchar_t*>(m_shown.text)));
    ::ReleaseDC(nullptr, screen);
    const SIZE body = {text.cx + 2 * m_sizes[2], text.cy + 2 * m_sizes[3]};
    m_placement = ControlsLib::PlaceTip(m_metPoint, body, m_shown.direction, VirtualScreen(), m_sizes);
    m_textRect = RECT{m_placement.body.left + m_sizes[2], m_placement.body.top + m_sizes[3],
                      m_placement.body.left + m_sizes[2] + text.cx, m_placement.body.top + m_sizes[3] + text.cy};

    if (m_tipRegion)
        ::DeleteObject(m_tipRegion);
    const RECT& b = m_placement.body;
    m_tipRegion = ::CreateRoundRectRgn(b.left, b.top, b.right + 1, b.bottom + 1, m_sizes[0], m_sizes[1]);
    if (m_placement.hasAnchor) {
        HRGN anchor = ::CreatePolygonRgn(m_placement.anchor, 3, WINDING);
        ::CombineRgn(m_tipRegion, m_tipRegion, anchor, RGN_OR);
        ::DeleteObject(anchor);
    }
    const int width = m_placement.window.right - m_placement.window.left;
    const int height = m_placement.window.bottom - m_placement.window.top;
    m_windowSize = SIZE{width + std::abs(m_shadow.dx), height + std::abs(m_shadow.dy)};

    if (m_background)
        ::DeleteObject(m_background);
    screen = ::GetDC(nullptr);
    m_background = ::CreateCompatibleBitmap(screen, m_windowSize.cx, m_windowSize.cy);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(dc, m_background);
    const RECT all = {0, 0, width, height};
    m_drawer.GetDrawManager().FillEffect(dc, all, m_shown.effect, m_shown.colors[0], m_shown.colors[1],
                                         m_shown.colors[2], m_shown.granularity, 0);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    if (m_savedScreen)
        ::DeleteObject(m_savedScreen);
    m_savedScreen = nullptr;

    m_transparency = m_fadeIn && m_fadeInStep ? 100 : m_shown.transparency;
    HRGN windowRegion = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(windowRegion, m_tipRegion, nullptr, RGN_COPY);
    if (m_shadow.dx != 0 || m_shadow.dy != 0) {
        HRGN shadow = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(shadow, m_tipRegion, nullptr, RGN_COPY);
        ::OffsetRgn(shadow, m_shadow.dx, m_shadow.dy);
        ::CombineRgn(windowRegion, windowRegion, shadow, RGN_OR);
        ::DeleteObject(shadow);
    }
    ::SetWindowRgn(m_hWnd, windowRegion, FALSE);
    UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
    if (m_showMode == 2)
        flags |= SWP_NOZORDER;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_placement.window.left, m_placement.window.top, m_windowSize.cx,
                   m_windowSize.cy, flags);
}

void CMarkupToolTip::Paint(HDC target, int transparency) {
    if (!m_background || !m_tipRegion)
        return;
    HDC tip = ::CreateCompatibleDC(target);
    HBITMAP picture = ::CreateCompatibleBitmap(target, m_windowSize.cx, m_windowSize.cy);
    HGDIOBJ previousPicture = ::SelectObject(tip, picture);
    HDC source = ::CreateCompatibleDC(target);
    HGDIOBJ previousSource = ::SelectObject(source, m_background);
    ::BitBlt(tip, 0, 0, m_windowSize.cx, m_windowSize.cy, source, 0, 0, SRCCOPY);
    m_drawer.DrawPreparedOutput(tip, m_textRect);
    if (m_borderBrush && m_borderWidth && m_borderHeight)
        DrawBorder(tip, m_tipRegion);

    // The first paint keeps what was on the screen under the window.
    if (!m_savedScreen) {
        m_savedScreen = ::CreateCompatibleBitmap(target, m_windowSize.cx, m_windowSize.cy);
        ::SelectObject(source, m_savedScreen);
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(source, 0, 0, m_windowSize.cx, m_windowSize.cy, screen, m_placement.window.left,
                 m_placement.window.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    }
    HDC base = ::CreateCompatibleDC(target);
    HBITMAP composed = ::CreateCompatibleBitmap(target, m_windowSize.cx, m_windowSize.cy);
    HGDIOBJ previousBase = ::SelectObject(base, composed);
    ::SelectObject(source, m_savedScreen);
    ::BitBlt(base, 0, 0, m_windowSize.cx, m_windowSize.cy, source, 0, 0, SRCCOPY);
    ControlsLib::ComposeTip(m_drawer.GetDrawManager(), base, m_windowSize, tip, m_tipRegion, m_shadow, transparency);
    ::BitBlt(target, 0, 0, m_windowSize.cx, m_windowSize.cy, base, 0, 0, SRCCOPY);

    ::SelectObject(base, previousBase);
    ::DeleteObject(composed);
    ::DeleteDC(base);
    ::SelectObject(source, previousSource);
    ::DeleteDC(source);
    ::SelectObject(tip, previousPicture);
    ::DeleteObject(picture);
    ::DeleteDC(tip);
}

void CMarkupToolTip::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc)
        Paint(dc, m_transparency);
    ::EndPaint(m_hWnd, &paint);
}

BOOL CMarkupToolTip::OnSetCursor(CWnd*, UINT, UINT) {
    POINT point = {0, 0};
    Tooltip().getCursorPos(&point);
    ::ScreenToClient(m_hWnd, &point);
    if (!m_drawer.OnSetCursor(POINT{point.x - m_textRect.left, point.y - m_textRect.top}))
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void CMarkupToolTip::OnActivateApp(BOOL bActive, DWORD) {
    if (!bActive)
        HideNow();
}

LRESULT CMarkupToolTip::OnLinkChanged(WPARAM, LPARAM) {
    if (m_repaintOnLink && m_hWnd && ::IsWindowVisible(m_hWnd)) {
        HDC dc = ::GetDC(m_hWnd);
        Paint(dc, 0);
        ::ReleaseDC(m_hWnd, dc);
    }
    return 1;
}

std::wstring CMarkupToolTip::BuildWindowInfo(HWND window, POINT point, bool hasTooltip) {
    const auto row = [](const wchar_t* label, const std::wstring& value) {
        return L"<tr><td width=70 bgcolor=buttonface>" + std::wstring(label) +
               L"</td><td width=130 bgcolor=window>" + ControlsLib::WindowInfoValue(value) + L"</td></tr>";
    };
    const auto format = [](const wchar_t* pattern, auto... values) {
        wchar_t text[128];
        std::swprintf(text, 128, pattern, values...);
        return std::wstring(text);
    };
    const auto className = [](HWND handle) {
        wchar_t text[256] = {};
        if (handle)
            ::GetClassNameW(handle, text, 256);
        return std::wstring(text);
    };
    const auto title = [](HWND handle) {
        wchar_t text[256] = {};
        if (handle)
            ::GetWindowTextW(handle, text, 256);
        return std::wstring(text);
    };
    RECT rect = {0, 0, 0, 0};
    if (window)
        ::GetWindowRect(window, &rect);
    HWND owner = window ? ::GetWindow(window, GW_OWNER) : nullptr;
    std::wstring text = L"<table><tr><td><font color=darkblue>Window</font><table border=1>";
    text += row(L"Class name", className(window));
    text += row(L"Title", title(window));
    text += row(L"Handle", format(L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(window))));
    text += row(L"Control ID", format(L"%d", window ? ::GetDlgCtrlID(window) : 0));
    text += row(L"Styles", format(L"0x%08X", window ? static_cast<unsigned>(::GetWindowLongW(window, GWL_STYLE)) : 0u));
    text += row(L"RECT", format(L"(%d, %d)-(%d, %d)", static_cast<int>(rect.left), static_cast<int>(rect.top),
                                static_cast<int>(rect.right), static_cast<int>(rect.bottom)));
    text += row(L"Width", format(L"%d", static_cast<int>(rect.right - rect.left)));
    text += row(L"Height", format(L"%d", static_cast<int>(rect.bottom - rect.top)));
    text += row(L"Has Tooltip", hasTooltip ? L"Yes" : L"No");
    text += L"</table></td><td><font color=darkblue>Window Owner</font><table border=1>";
    text += row(L"Class name", owner ? className(owner) : L"N/A");
    text += row(L"Title", owner ? title(owner) : L"N/A");
    text += row(L"Handle", owner ? format(L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(owner))) : L"N/A");
    text += L"</table><br><font color=darkblue>Mouse Cursor</font><table border=1>";
    text += row(L"X", format(L"%d", static_cast<int>(point.x)));
    text += row(L"Y", format(L"%d", static_cast<int>(point.y)));
    text += L"</table></td></tr></table>";
    return text;
}
