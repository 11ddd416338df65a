#include "toolkit/ToolBar.h"

#include "toolkit/CommandBars.h"
#include "toolkit/CurrentTheme.h"

#include <algorithm>
#include <vector>

namespace Toolkit {

namespace {

const LPCWSTR kToolBarResourceType = MAKEINTRESOURCEW(241);  // RT_TOOLBAR
const COLORREF kBitmapMask = RGB(192, 192, 192);            // the transparent colour of toolbar bitmaps
const UINT kToolBarWindowId = 0xE800;

// A TOOLBAR resource's button size and ids. Resource compilers write it in
// one of two layouts: Microsoft's (WORD version 1, width, height, count,
// then WORD ids) and GNU windres's (DWORD width, height, count, then DWORD
// ids). False when the data fits neither.
struct ToolBarLayout {
    int width = 0;
    int height = 0;
    std::vector<UINT> ids;
};

bool ReadToolBarResource(const BYTE* data, DWORD size, ToolBarLayout& layout) {
    const auto word = [data](DWORD at) { return static_cast<UINT>(data[at] | (data[at + 1] << 8)); };
    const auto dword = [&](DWORD at) { return word(at) | (word(at + 2) << 16); };
    if (size >= 8 && word(0) == 1 && size == 8 + 2 * word(6)) {
        layout.width = static_cast<int>(word(2));
        layout.height = static_cast<int>(word(4));
        for (UINT i = 0; i < word(6); ++i)
            layout.ids.push_back(word(8 + 2 * i));
    } else if (size >= 12 && dword(8) < 0x10000 && size == 12 + 4 * dword(8)) {
        layout.width = static_cast<int>(dword(0));
        layout.height = static_cast<int>(dword(4));
        for (UINT i = 0; i < dword(8); ++i)
            layout.ids.push_back(dword(12 + 4 * i) & 0xFFFF);
    } else {
        return false;
    }
    return layout.width > 0 && layout.height > 0 && layout.width < 0x8000 && layout.height < 0x8000;
}

// Hands the command UI's answers to a control.
class ControlCmdUI : public CCmdUI {
public:
    explicit ControlCmdUI(Control& control) : m_control(control) {}
    void Enable(BOOL bOn) override {
        m_control.SetEnabled(bOn);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override {
        m_control.SetChecked(nCheck == 1 ? CheckChecked : nCheck == 2 ? CheckMixed : CheckNone);
    }
    void SetText(LPCWSTR) override {}  // captions come from the program's own texts

private:
    Control& m_control;
};

}  // namespace

BEGIN_MESSAGE_MAP(ToolBar, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CANCELMODE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &ToolBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_PRINTCLIENT, &ToolBar::OnPrintClient)
    ON_MESSAGE(WM_SIZEPARENT, &ToolBar::OnSizeParent)
END_MESSAGE_MAP()

ToolBar::ToolBar(CommandBars* owner, LPCWSTR name) : Bar(BarToolbar), m_owner(owner), m_name(name ? name : L"") {}

ToolBar::~ToolBar() = default;

BOOL ToolBar::Create(CWnd* pParent) {
    if (!pParent || !pParent->m_hWnd)
        return FALSE;
    if (!CreateEx(0, nullptr, m_name, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, pParent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kToolBarWindowId))))
        return FALSE;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
    return TRUE;
}

BOOL ToolBar::LoadToolBar(UINT nIDResource) {
    m_pressed = nullptr;
    RemoveAllControls();
    SetImages(nullptr);
    m_pictures.DeleteImageList();

    const LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
    HINSTANCE module = AfxFindResourceHandle(name, kToolBarResourceType);
    HRSRC found = module ? ::FindResourceW(module, name, kToolBarResourceType) : nullptr;
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    ToolBarLayout layout;
    if (!data || !ReadToolBarResource(data, ::SizeofResource(module, found), layout))
        return FALSE;

    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nIDResource))
        return FALSE;
    if (!m_pictures.Create(layout.width, layout.height, ILC_COLOR24 | ILC_MASK, static_cast<int>(layout.ids.size()), 1) ||
        m_pictures.Add(&bitmap, kBitmapMask) < 0) {
        m_pictures.DeleteImageList();
        return FALSE;
    }
    const int pictures = m_pictures.GetImageCount();
    int image = 0;
    for (UINT id : layout.ids) {
        if (id == 0) {
            AddControl(ControlSeparator, 0);
            continue;
        }
        Control* control = AddControl(ControlCaptionButton, id);
        control->SetImageIndex(image < pictures ? image : -1);
        ++image;
    }
    SetImages(m_pictures.m_hImageList);
    m_owner->RecalcLayout();
    return TRUE;
}

void ToolBar::SetMinimumButtonSize(int width, int height) {
    m_minimumButton = CSize(std::max(width, 0), std::max(height, 0));
    m_owner->RecalcLayout();
}

void ToolBar::ShowExpandButton(BOOL show) {
    m_showExpand = show ? TRUE : FALSE;
    m_owner->RecalcLayout();
}

int ToolBar::LayoutControls(CDC* pDC, QE978& theme, int width) {
    SetSize(CSize(width, GetSize().cy));
    const CRect margins = theme.GetBorderMargins(*this);
    std::vector<CSize> sizes(static_cast<size_t>(GetControlCount()));
    int rowHeight = 0;
    for (int i = 0; i < GetControlCount(); ++i) {
        Control& control = *GetControl(i);
        if (!control.IsVisible())
            continue;
        CSize size = control.GetKind() == ControlSeparator ? theme.DrawSeparator(pDC, *this, control, FALSE)
                                                           : theme.DrawToolbarControl(pDC, *this, control, FALSE);
        if (control.GetKind() != ControlSeparator) {
            size.cx = std::max(size.cx, m_minimumButton.cx);
            size.cy = std::max(size.cy, m_minimumButton.cy);
        }
        sizes[static_cast<size_t>(i)] = size;
        rowHeight = std::max(rowHeight, static_cast<int>(size.cy));
    }

    // A bar that hides controls always offers them through its expand
    // button, so the row is laid out again with the button's room kept.
    const int end = width - margins.right;
    const BOOL overflow = PlaceControls(theme, sizes, margins, rowHeight, end - (m_showExpand ? kExpandRoom : 0));
    if (overflow && !m_showExpand)
        PlaceControls(theme, sizes, margins, rowHeight, end - kExpandRoom);
    m_expandShown = m_showExpand || overflow;
    const int height = margins.top + rowHeight + margins.bottom;
    SetSize(CSize(width, height));
    GetExpandButton().controlsHidden = overflow;
    if (m_expandShown) {
        theme.DrawExpandButton(pDC, *this, FALSE, FALSE);
    } else {
        GetExpandButton().rect.SetRectEmpty();
        GetExpandButton().hot = GetExpandButton().pressed = FALSE;
    }
    return height;
}

BOOL ToolBar::PlaceControls(QE978& theme, const std::vector<CSize>& sizes, const CRect& margins, int rowHeight,
                            int limit) {
    int x = margins.left;
    BOOL overflow = FALSE;
    for (int i = 0; i < GetControlCount(); ++i) {
        Control& control = *GetControl(i);
        const CSize size = sizes[static_cast<size_t>(i)];
        const CRect place(x, margins.top, x + size.cx, margins.top + rowHeight);
        if (!control.IsVisible() || overflow || place.right > limit) {
            // Once one control does not fit, the ones after it hide too.
            overflow = overflow || (control.IsVisible() && place.right > limit);
            control.SetRect(CRect());
            continue;
        }
        control.SetRect(theme.AdjustControlRect(*this, control, place));
        x = place.right;
    }
    return overflow;
}

std::vector<Control*> ToolBar::GetHiddenControls() const {
    std::vector<Control*> hidden;
    for (int i = 0; i < GetControlCount(); ++i) {
        Control* control = GetControl(i);
        if (control->IsVisible() && control->GetKind() != ControlSeparator && control->GetRect().IsRectEmpty())
            hidden.push_back(control);
    }
    return hidden;
}

BOOL ToolBar::IsOnExpandButton(CPoint point) const {
    return m_expandShown && GetExpandButton().rect.PtInRect(point);
}

void ToolBar::SetExpandState(BOOL hot, BOOL pressed) {
    ExpandButton& button = GetExpandButton();
    if (button.hot == hot && button.pressed == pressed)
        return;
    button.hot = hot;
    button.pressed = pressed;
    if (m_hWnd)
        InvalidateRect(button.rect, FALSE);
}

void ToolBar::ShowHiddenControls() {
    if (!m_hWnd)
        return;
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    std::vector<UINT> offered;
    for (const Control* control : GetHiddenControls()) {
        const CString& text = control->GetCaption().IsEmpty() ? control->GetTooltip() : control->GetCaption();
        menu.AppendMenu(MF_STRING | (control->IsEnabled() ? 0 : MF_GRAYED), control->GetId(), text);
        offered.push_back(control->GetId());
    }
    if (offered.empty())
        return;
    CRect button = GetExpandButton().rect;
    ClientToScreen(&button);
    SetExpandState(FALSE, TRUE);
    UpdateWindow();
    // The menu opens below the button, its right edge at the button's.
    const UINT chosen = static_cast<UINT>(menu.TrackPopupMenu(
        TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, button.right, button.bottom,
        this));
    if (!m_hWnd)
        return;
    SetExpandState(FALSE, FALSE);
    // Only what the menu offered and may still be used: the controls can
    // change while the menu is open.
    const Control* control = chosen ? FindControl(chosen) : nullptr;
    if (control && control->IsVisible() && control->IsEnabled() &&
        std::find(offered.begin(), offered.end(), chosen) != offered.end() && m_owner->GetSite())
        m_owner->GetSite()->SendMessage(WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

int ToolBar::CalcHeight(int width) {
    std::shared_ptr<QE978> theme = GetCurrentTheme();
    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    return LayoutControls(&dc, *theme, width);
}

void ToolBar::TakeStrip(AFX_SIZEPARENTPARAMS& layout) {
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE) || m_position != PositionTop)
        return;
    const CRect rest(layout.rect);
    const int height = std::min(CalcHeight(rest.Width()), static_cast<int>(std::max(rest.Height(), 0)));
    const CRect strip(rest.left, rest.top, rest.right, rest.top + height);
    layout.rect.top += height;
    layout.sizeTotal.cy += height;
    layout.sizeTotal.cx = std::max(static_cast<int>(layout.sizeTotal.cx), strip.Width());
    if (!layout.hDWP)
        return;
    AfxRepositionWindow(&layout, m_hWnd, &strip);
    // A bar that keeps its size gets no WM_SIZE, yet its controls may have moved.
    SetSize(strip.Size());
    SyncToolTips();
    Invalidate(FALSE);
}

LRESULT ToolBar::OnSizeParent(WPARAM, LPARAM lParam) {
    TakeStrip(*reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
    return 0;
}

void ToolBar::Relayout() {
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    CalcHeight(client.Width());
    SetSize(client.Size());
    SyncToolTips();
    Invalidate(FALSE);
}

void ToolBar::SyncToolTips() {
    if (!m_toolTip)
        return;
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    while (::SendMessageW(m_toolTip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)))
        ::SendMessageW(m_toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    for (int i = 0; i < GetControlCount(); ++i) {
        Control& control = *GetControl(i);
        if (!control.IsVisible() || control.GetRect().IsRectEmpty() || control.GetKind() == ControlSeparator ||
            control.GetTooltip().IsEmpty())
            continue;
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = m_hWnd;
        tool.uId = control.GetId();
        tool.rect = control.GetRect();
        tool.lpszText = const_cast<LPWSTR>(control.GetTooltip().GetString());
        ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ToolBar::RelayToolTip(MSG* pMsg) {
    if (!m_toolTip || pMsg->hwnd != m_hWnd)
        return;
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONUP ||
        pMsg->message == WM_RBUTTONDOWN || pMsg->message == WM_RBUTTONUP)
        ::SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

CString ToolBar::GetToolTipText(UINT id) const {
    if (!m_toolTip)
        return CString();
    wchar_t buffer[512] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = id;
    tool.lpszText = buffer;
    ::SendMessageW(m_toolTip, TTM_GETTEXTW, _countof(buffer), reinterpret_cast<LPARAM>(&tool));
    return CString(buffer);
}

void ToolBar::UpdateCommandUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (!pTarget)
        return;
    for (int i = 0; i < GetControlCount(); ++i) {
        Control& control = *GetControl(i);
        if (control.GetKind() == ControlSeparator || control.GetId() == 0)
            continue;
        ControlCmdUI state(control);
        state.m_nID = control.GetId();
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(GetControlCount());
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

void ToolBar::OnControlChanged(Control& control, BOOL layoutChanged) {
    if (&control == m_pressed && (!control.IsVisible() || !control.IsEnabled()))
        ReleaseMouse();
    if (!m_hWnd)
        return;
    if (layoutChanged) {
        m_owner->RecalcLayout();
    } else {
        SyncToolTips();
        Invalidate(FALSE);
    }
}

Control* ToolBar::HitTest(CPoint point) const {
    for (int i = 0; i < GetControlCount(); ++i) {
        Control* control = GetControl(i);
        if (control->IsVisible() && control->GetKind() != ControlSeparator && control->GetRect().PtInRect(point))
            return control;
    }
    return nullptr;
}

void ToolBar::DrawBar(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    // Held for the whole painting: a theme replaced meanwhile lives on until the end.
    std::shared_ptr<QE978> theme = GetCurrentTheme();
    CDC canvas;
    canvas.Attach(::CreateCompatibleDC(pDC->m_hDC));
    CBitmap picture;
    picture.Attach(::CreateCompatibleBitmap(pDC->m_hDC, client.Width(), client.Height()));
    HGDIOBJ previous = ::SelectObject(canvas.m_hDC, picture.m_hObject);

    SetSize(client.Size());
    theme->FillBarBackground(&canvas, *this, client);
    for (int i = 0; i < GetControlCount(); ++i) {
        Control& control = *GetControl(i);
        if (!control.IsVisible() || control.GetRect().IsRectEmpty())
            continue;
        if (control.GetKind() == ControlSeparator)
            theme->DrawSeparator(&canvas, *this, control, TRUE);
        else
            theme->DrawToolbarControl(&canvas, *this, control, TRUE);
    }
    if (m_expandShown)
        theme->DrawExpandButton(&canvas, *this, TRUE, FALSE);

    ::BitBlt(pDC->m_hDC, 0, 0, client.Width(), client.Height(), canvas.m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(canvas.m_hDC, previous);
}

void ToolBar::OnPaint() {
    CPaintDC paint(this);
    DrawBar(&paint);
}

LRESULT ToolBar::OnPrintClient(WPARAM wParam, LPARAM) {
    CDC dc;
    dc.Attach(reinterpret_cast<HDC>(wParam));
    DrawBar(&dc);
    dc.Detach();
    return 0;
}

BOOL ToolBar::OnEraseBkgnd(CDC*) { return TRUE; }  // the painting covers every pixel

void ToolBar::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    Relayout();
}

void ToolBar::SetHotControl(Control* hot) {
    for (int i = 0; i < GetControlCount(); ++i) {
        Control* control = GetControl(i);
        const BOOL isHot = control == hot ? TRUE : FALSE;
        if (control->IsHot() != isHot) {
            control->SetHot(isHot);
            InvalidateRect(control->GetRect(), FALSE);
        }
    }
}

void ToolBar::OnMouseMove(UINT, CPoint point) {
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_trackingLeave = ::TrackMouseEvent(&track);
    }
    Control* under = HitTest(point);
    SetExpandState(!m_pressed && IsOnExpandButton(point), FALSE);
    if (m_pressed) {
        const BOOL pressed = under == m_pressed ? TRUE : FALSE;
        if (m_pressed->IsPressed() != pressed) {
            m_pressed->SetPressed(pressed);
            InvalidateRect(m_pressed->GetRect(), FALSE);
        }
        return;
    }
    SetHotControl(under);
}

void ToolBar::OnMouseLeave() {
    m_trackingLeave = FALSE;
    SetExpandState(FALSE, FALSE);
    if (!m_pressed)
        SetHotControl(nullptr);
}

void ToolBar::OnLButtonDown(UINT, CPoint point) {
    if (!m_pressed && IsOnExpandButton(point)) {
        ShowHiddenControls();
        return;
    }
    Control* control = HitTest(point);
    if (!control || !control->IsEnabled())
        return;
    m_pressed = control;
    control->SetPressed(TRUE);
    SetCapture();
    InvalidateRect(control->GetRect(), FALSE);
}

void ToolBar::OnLButtonUp(UINT, CPoint point) {
    if (!m_pressed)
        return;
    Control* released = m_pressed;
    const bool fire = HitTest(point) == released && released->IsEnabled();
    const UINT id = released->GetId();
    ReleaseMouse();
    if (fire && m_owner->GetSite())
        m_owner->GetSite()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// A quick second click is one more click, not a double click.
void ToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void ToolBar::ReleaseMouse() {
    Control* pressed = m_pressed;
    m_pressed = nullptr;
    if (pressed) {
        pressed->SetPressed(FALSE);
        if (m_hWnd)
            InvalidateRect(pressed->GetRect(), FALSE);
    }
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void ToolBar::OnCancelMode() {
    CWnd::OnCancelMode();
    ReleaseMouse();
}

void ToolBar::OnDestroy() {
    m_pressed = nullptr;
    if (m_toolTip) {
        ::DestroyWindow(m_toolTip);
        m_toolTip = nullptr;
    }
    CWnd::OnDestroy();
}

LRESULT ToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    UpdateCommandUI(m_owner->GetSite(), static_cast<BOOL>(wParam));
    return 0;
}

}  // namespace Toolkit
