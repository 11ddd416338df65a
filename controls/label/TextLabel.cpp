#include "controls/label/TextLabel.h"

#include "foundation/errors/Checks.h"
#include "foundation/internet/Url.h"
#include "foundation/system/ShellExecute.h"
#include "skin/commongui/DrawingHelpers.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTextLabel, CStatic)

BEGIN_MESSAGE_MAP(CTextLabel, CStatic)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTextLabel::CTextLabel()
    : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)), m_systemBackgroundBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))) {}

CTextLabel::~CTextLabel() {
    if (m_flashTimerRunning && _HasWindow())
        KillTimer(kFlashTimer);
    m_font.DeleteObject();
    ::DeleteObject(m_systemBackgroundBrush);
    if (m_backgroundBrush)
        ::DeleteObject(m_backgroundBrush);
    m_backgroundPicture.reset();
}

BOOL CTextLabel::PreCreateWindow(CREATESTRUCT& cs) { return CStatic::PreCreateWindow(cs); }

void CTextLabel::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::GetObjectW(font, sizeof(m_logFont), &m_logFont);
    m_logFont.lfQuality = CLEARTYPE_QUALITY;
    _RemakeFont();
    m_subclassStyle = GetStyle();
    // The type field is one value, not bits: OR-ing owner-draw into SS_RIGHT
    // would make SS_ENHMETAFILE. The alignment lives on in m_subclassStyle.
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
}

void CTextLabel::_RemakeFont() {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CTextLabel::_RedrawThroughParent() {
    // Without a window there is nothing to redraw; a null window would
    // repaint every top-level window instead.
    if (!_HasWindow())
        return;
    // The parent first, so that a transparent label shows its current picture.
    if (CWnd* parent = GetParent()) {
        CRect rect;
        GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        parent->InvalidateRect(&rect, TRUE);
        parent->UpdateWindow();
    }
    Invalidate(TRUE);
    UpdateWindow();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

CTextLabel& CTextLabel::SetBkColor(COLORREF color, COLORREF endColor, int gradientMode) {
    m_backgroundColor = color;
    m_gradientEndColor = endColor;
    m_gradientMode = gradientMode;
    if (m_backgroundBrush) {
        ::DeleteObject(m_backgroundBrush);
        m_backgroundBrush = nullptr;
    }
    if (gradientMode == 0)
        m_backgroundBrush = ::CreateSolidBrush(color);
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetTextColor(COLORREF color) {
    m_textColor = color;
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetText(const CString& text) {
    if (!_HasWindow())
        return *this;
    CString shown;
    GetWindowText(shown);
    if (shown.Compare(text) == 0)
        return *this;
    SetWindowText(text);
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFontBold(BOOL bold) {
    m_logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFontName(const CString& face, BYTE charSet) {
    // The description holds LF_FACESIZE - 1 characters and the terminator.
    if (face.GetLength() >= LF_FACESIZE)
        return *this;
    m_logFont.lfCharSet = charSet;
    std::fill(std::begin(m_logFont.lfFaceName), std::end(m_logFont.lfFaceName), L'\0');
    std::copy(static_cast<LPCWSTR>(face), static_cast<LPCWSTR>(face) + face.GetLength(), m_logFont.lfFaceName);
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFontUnderline(BYTE underline) {
    m_logFont.lfUnderline = underline;
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFontItalic(BYTE italic) {
    m_logFont.lfItalic = italic;
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFontSize(int size) {
    CFont sized;
    sized.CreateFont(static_cast<int>(size * 1.6), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, m_logFont.lfFaceName);
    LOGFONTW description = {};
    if (sized.GetSafeHandle() && ::GetObjectW(sized.GetSafeHandle(), sizeof(description), &description)) {
        m_logFont.lfHeight = description.lfHeight;
        m_logFont.lfWidth = description.lfWidth;
    }
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetSunken(BOOL sunken) {
    if (_HasWindow())
        ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_FRAMECHANGED);
    return *this;
}

CTextLabel& CTextLabel::SetBorder(BOOL border) {
    if (_HasWindow())
        ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_FRAMECHANGED);
    return *this;
}

CTextLabel& CTextLabel::SetTransparent(BOOL transparent) {
    m_transparent = transparent;
    if (_HasWindow())
        ModifyStyleEx(0, WS_EX_TRANSPARENT);
    _RedrawThroughParent();
    return *this;
}

void CTextLabel::_StopFlashTimer() {
    if (m_flashTimerRunning) {
        if (_HasWindow())
            KillTimer(kFlashTimer);
        m_flashTimerRunning = FALSE;
    }
}

void CTextLabel::_StartFlashTimer(int kind) {
    m_flashPhase = FALSE;
    m_flashKind = kind;
    // A null window would get a thread timer instead.
    if (_HasWindow()) {
        SetTimer(kFlashTimer, kFlashMilliseconds);
        m_flashTimerRunning = TRUE;
    }
}

CTextLabel& CTextLabel::FlashText(BOOL flash) {
    _StopFlashTimer();
    if (flash)
        _StartFlashTimer(FlashTextKind);
    else
        m_flashKind = FlashNone;
    return *this;
}

CTextLabel& CTextLabel::FlashBackground(BOOL flash) {
    _StopFlashTimer();
    if (flash)
        _StartFlashTimer(FlashBackgroundKind);
    return *this;
}

void CTextLabel::_SetLinkMode(int mode, BOOL notifyParent) {
    m_linkMode = mode;
    m_notifyParent = notifyParent;
    if (_HasWindow())
        ModifyStyle(mode ? 0 : SS_NOTIFY, mode ? SS_NOTIFY : 0);
}

CTextLabel& CTextLabel::SetLink(BOOL link, BOOL notifyParent) {
    _SetLinkMode(link ? LinkWeb : LinkNone, notifyParent);
    return *this;
}

CTextLabel& CTextLabel::SetMailLink(BOOL link, BOOL notifyParent) {
    _SetLinkMode(link ? LinkMail : LinkNone, notifyParent);
    return *this;
}

CTextLabel& CTextLabel::SetLinkCursor(HCURSOR cursor) {
    m_linkCursor = cursor;
    return *this;
}

CTextLabel& CTextLabel::SetEngraved(BOOL engraved, BOOL direction) {
    m_engraved = engraved;
    m_engraveDirection = direction;
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetRotationAngle(int degrees, BOOL rotated) {
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_rotated = rotated;
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetEngraveColor(COLORREF color) {
    m_engraveColor = color;
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetFont(LOGFONTW font) {
    m_logFont = font;
    _RemakeFont();
    _RedrawThroughParent();
    return *this;
}

CTextLabel& CTextLabel::SetLinkTarget(const CString& target) {
    m_linkTarget = target;
    return *this;
}

CTextLabel& CTextLabel::SetBackgroundPicture(const CommonGuiLib::SharedBitmap& picture) {
    m_backgroundPicture = picture;
    return *this;
}

CTextLabel& CTextLabel::SetEndEllipsis(BYTE endEllipsis) {
    m_endEllipsis = endEllipsis;
    return *this;
}

void CTextLabel::OnTimer(UINT_PTR nIDEvent) {
    m_flashPhase = !m_flashPhase;
    _RedrawThroughParent();
    CStatic::OnTimer(nIDEvent);
}

void CTextLabel::OnLButtonDown(UINT nFlags, CPoint point) {
    if (!m_notifyParent) {
        CString text;
        GetWindowText(text);
        if (m_linkMode == LinkWeb) {
            const CString& address = m_linkTarget.IsEmpty() ? text : m_linkTarget;
            // Labels show addresses as people write them ("www.example.com").
            Internet::Url(Internet::AddDefaultScheme(std::wstring(static_cast<LPCWSTR>(address)))).OpenInBrowser();
        } else if (m_linkMode == LinkMail) {
            const std::wstring mail = L"mailto:" + std::wstring(static_cast<LPCWSTR>(text));
            System::ShellExecuteInstance(nullptr, mail, wlitestring(), SW_SHOWNORMAL);
        }
    }
    CStatic::OnLButtonDown(nFlags, point);
}

void CTextLabel::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
    CStatic::OnLButtonDblClk(nFlags, point);
}

BOOL CTextLabel::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_linkCursor) {
        ::SetCursor(m_linkCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CTextLabel::OnSysColorChange() {
    ::DeleteObject(m_systemBackgroundBrush);
    m_systemBackgroundBrush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    _RedrawThroughParent();
}

void CTextLabel::OnPaint() { CStatic::OnPaint(); }

BOOL CTextLabel::OnEraseBkgnd(CDC*) { return FALSE; }

void CTextLabel::_DrawGradient(CDC& dc, const CRect& rect) const {
    const int width = rect.Width();
    const int bands = std::min(100, width);
    if (bands < 1)
        return;
    const int bandWidth = width / bands;
    // 8.8 fixed point per channel.
    int red = GetRValue(m_backgroundColor) << 8;
    int green = GetGValue(m_backgroundColor) << 8;
    int blue = GetBValue(m_backgroundColor) << 8;
    const int redStep = ((GetRValue(m_gradientEndColor) - GetRValue(m_backgroundColor)) * 256) / bands;
    const int greenStep = ((GetGValue(m_gradientEndColor) - GetGValue(m_backgroundColor)) * 256) / bands;
    const int blueStep = ((GetBValue(m_gradientEndColor) - GetBValue(m_backgroundColor)) * 256) / bands;
    const HGDIOBJ previousPen = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(NULL_PEN));
    for (int band = 0; band < bands; ++band) {
        const int left = rect.left + band * bandWidth;
        const int right = band == bands - 1 ? rect.right : left + bandWidth;
        const HBRUSH brush = ::CreateSolidBrush(RGB(red >> 8, green >> 8, blue >> 8));
        const HGDIOBJ previousBrush = ::SelectObject(dc.GetSafeHdc(), brush);
        // The null pen leaves out the right column: one more covers it.
        dc.Rectangle(left, rect.top, right + 1, rect.bottom);
        ::SelectObject(dc.GetSafeHdc(), previousBrush);
        ::DeleteObject(brush);
        red += redStep;
        green += greenStep;
        blue += blueStep;
    }
    ::SelectObject(dc.GetSafeHdc(), previousPen);
}

void CTextLabel::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CRect client;
    GetClientRect(&client);
    CString text;
    GetWindowText(text);

    CDC* itemDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CDC memoryDC;
    CBitmap memoryBitmap;
    HGDIOBJ previousBitmap = nullptr;
    CDC* dc = itemDC;
    if (!m_transparent) {
        memoryDC.CreateCompatibleDC(itemDC);
        memoryBitmap.CreateCompatibleBitmap(itemDC, client.Width(), client.Height());
        previousBitmap = ::SelectObject(memoryDC.GetSafeHdc(), memoryBitmap.GetSafeHandle());
        dc = &memoryDC;
    }

    const int previousMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF previousColor = dc->SetTextColor(m_textColor);
    const HGDIOBJ previousFont = ::SelectObject(dc->GetSafeHdc(), m_font.GetSafeHandle());

    if (!m_transparent) {
        if (!CommonGuiLib::IsNullGDIObject(m_backgroundPicture))
            DrawingHelpers(*dc).DrawBitmap(m_backgroundPicture, client, 0, false, false);
        else if (m_gradientMode == 0)
            ::FillRect(dc->GetSafeHdc(), &client, m_backgroundBrush ? m_backgroundBrush : m_systemBackgroundBrush);
        else
            _DrawGradient(*dc, client);
    }

    // The hidden phase of flashing text: the text in the background's colour.
    if (!m_flashPhase && m_flashKind == FlashTextKind)
        dc->SetTextColor(m_backgroundBrush ? m_backgroundColor : RGB(0, 0, 0));

    UINT format;
    const DWORD alignment = m_subclassStyle & SS_TYPEMASK;
    if (alignment == SS_RIGHT)
        format = DT_RIGHT | DT_WORDBREAK;
    else
        format = (alignment == SS_CENTER ? DT_CENTER : DT_LEFT) | DT_WORDBREAK;
    if (m_endEllipsis)
        format |= DT_END_ELLIPSIS;
    if (text.Find(L'\t') >= 0)
        format |= DT_EXPANDTABS;
    if (m_subclassStyle & SS_CENTERIMAGE)
        format = text.Find(L"\r\n") >= 0 ? DT_CENTER : (DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    if (!m_rotated) {
        CRect textRect = client;
        dc->DrawText(text, &textRect, format);
        if (m_engraved) {
            dc->SetTextColor(m_engraveColor);
            const int offset = m_engraveDirection ? 1 : -1;
            textRect.OffsetRect(offset, offset);
            dc->DrawText(text, &textRect, format);
        }
    } else {
        // The font's escapement turns the text about the centre.
        const UINT previousAlign = dc->SetTextAlign(TA_BASELINE);
        const CPoint previousOrigin = dc->SetViewportOrg(client.CenterPoint());
        dc->TextOut(0, 0, text);
        dc->SetViewportOrg(previousOrigin);
        dc->SetTextAlign(previousAlign);
    }

    dc->SetBkMode(previousMode);
    ::SelectObject(dc->GetSafeHdc(), previousFont);
    dc->SetTextColor(previousColor);

    if (!m_transparent) {
        itemDC->BitBlt(0, 0, client.Width(), client.Height(), &memoryDC, 0, 0, SRCCOPY);
        ::SelectObject(memoryDC.GetSafeHdc(), previousBitmap);
    }
}

bool SetLabelItemText(CWnd* pItem, const wlitestring& text) {
    CHECK_ERROR(pItem);
    CTextLabel* pLabel = DYNAMIC_DOWNCAST(CTextLabel, pItem);
    CHECK_ERROR(pLabel);
    pLabel->SetText(text.empty() ? CString() : CString(text.data(), text.length()));
    return true;
}
