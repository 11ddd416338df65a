#include "controls/button/SkinButton.h"

#include "controls/drawing/Section32.h"
#include "skin/commongui/MemDC.h"
#include "skin/commongui/UserInput.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CSkinButton, CButton)

namespace {

const DWORD kButtonTypeMask = 0x1F;

// A 32-bit top-down section: the copy keeps every colour of the caller's
// picture whatever the screen's depth.
HBITMAP CreateSection(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    // The parent hears of the click too.
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSkinButton::OnClicked)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(BM_SETSTYLE, &CSkinButton::OnSetStyle)
    ON_MESSAGE(WM_MOUSELEAVE, &CSkinButton::OnMouseLeaveMessage)
    ON_MESSAGE(BM_SETCHECK, &CSkinButton::OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CSkinButton::OnGetCheck)
END_MESSAGE_MAP()

CSkinButton::CSkinButton() {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    for (int slot = 0; slot < ColorSlotCount; slot += 2) {
        m_colors[slot] = face;
        m_colors[slot + 1] = text;
    }
    m_disabledCaptionColor = ::GetSysColor(COLOR_BTNSHADOW);
}

CSkinButton::~CSkinButton() {
    _DropPictures();
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.DestroyWindow();
}

BOOL CSkinButton::HasPicture(int index) const {
    return index >= 0 && index < PictureCount && !CommonGuiLib::IsNullGDIObject(m_pictures[index].bitmap);
}

void CSkinButton::_Repaint() {
    // Without a window there is nothing to repaint; a null window would
    // repaint every top-level window instead.
    if (::IsWindow(m_hWnd))
        Invalidate(TRUE);
}

void CSkinButton::_DropPictures() {
    for (Picture& picture : m_pictures)
        picture = Picture();
}

int CSkinButton::_PreparePicture(const CommonGuiLib::SharedBitmap& source, COLORREF transparent, Picture& picture) {
    const HBITMAP handle = CommonGuiLib::GetHandle(source);
    BITMAP description = {};
    if (!handle || ::GetObjectType(handle) != OBJ_BITMAP ||
        !::GetObjectW(handle, sizeof(description), &description) || description.bmWidth <= 0 ||
        description.bmHeight <= 0)
        return ImagesNoSize;
    const int width = description.bmWidth;
    const int height = std::abs(static_cast<int>(description.bmHeight));

    // The mask: pixels of the transparent colour become 1.
    CommonGuiLib::SharedBitmap mask =
        CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(::CreateBitmap(width, height, 1, 1, nullptr));
    CommonGuiLib::SharedBitmap copy =
        CommonGuiLib::MakeSharedGDIObject<CommonGuiLib::SharedGDIObjectBitmap>(CreateSection(width, height));
    if (CommonGuiLib::IsNullGDIObject(mask) || CommonGuiLib::IsNullGDIObject(copy))
        return ImagesNoMask;
    {
        DrawLib::MemoryDC sourceDC(handle);
        DrawLib::MemoryDC maskDC(mask->GetHandle());
        DrawLib::MemoryDC copyDC(copy->GetHandle());
        if (!sourceDC.Get() || !maskDC.Get() || !copyDC.Get())
            return ImagesNoMask;
        ::SetBkColor(sourceDC.Get(), transparent);
        if (!::BitBlt(maskDC.Get(), 0, 0, width, height, sourceDC.Get(), 0, 0, SRCCOPY) ||
            !::BitBlt(copyDC.Get(), 0, 0, width, height, sourceDC.Get(), 0, 0, SRCCOPY))
            return ImagesNoMask;
        // The copy's transparent pixels turn black, so that drawing it with
        // SRCPAINT over the masked background leaves the background there.
        ::SetTextColor(copyDC.Get(), RGB(255, 255, 255));
        ::SetBkColor(copyDC.Get(), RGB(0, 0, 0));
        if (!::BitBlt(copyDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, SRCAND))
            return ImagesNoMask;
    }
    picture.bitmap = copy;
    picture.width = width;
    picture.height = height;
    picture.mask = mask;
    picture.transparent = transparent;
    return ImagesOk;
}

int CSkinButton::SetImages(const CommonGuiLib::SharedBitmap& hot, COLORREF hotTransparent,
                           const CommonGuiLib::SharedBitmap& normal, COLORREF normalTransparent,
                           const CommonGuiLib::SharedBitmap& pressed, COLORREF pressedTransparent,
                           const CommonGuiLib::SharedBitmap& disabled, COLORREF disabledTransparent) {
    _DropPictures();
    if (CommonGuiLib::IsNullGDIObject(hot)) {
        _Repaint();
        return ImagesOk;
    }
    const struct {
        const CommonGuiLib::SharedBitmap& bitmap;
        COLORREF transparent;
    } given[PictureCount] = {
        {hot, hotTransparent}, {normal, normalTransparent}, {pressed, pressedTransparent},
        {disabled, disabledTransparent}};
    for (int index = 0; index < PictureCount; ++index) {
        if (index > 0 && CommonGuiLib::IsNullGDIObject(given[index].bitmap))
            continue;
        const int result = _PreparePicture(given[index].bitmap, given[index].transparent, m_pictures[index]);
        if (result != ImagesOk) {
            _DropPictures();
            return result;
        }
    }
    _Repaint();
    return ImagesOk;
}

int CSkinButton::SetColor(BYTE index, COLORREF color, BOOL repaint) {
    if (index >= ColorSlotCount)
        return 3;
    m_colors[index] = color;
    if (repaint)
        _Repaint();
    return 0;
}

int CSkinButton::SetDrawBorder(BOOL draw, BOOL repaint) {
    m_drawBorder = draw;
    if (repaint)
        _Repaint();
    return 0;
}

int CSkinButton::EnableBalloonTooltip() {
    m_tooltipStyle |= TTS_BALLOON;
    return 0;
}

void CSkinButton::_CreateTooltip() {
    if (m_tooltip.GetSafeHwnd() || !::IsWindow(m_hWnd))
        return;
    if (!m_tooltip.Create(this, m_tooltipStyle))
        return;
    m_tooltip.Activate(FALSE);
    m_tooltip.SetMaxTipWidth(kTooltipMaxWidth);
}

void CSkinButton::SetTooltipText(LPCWSTR text, BOOL activate) {
    if (!text)
        return;
    _CreateTooltip();
    if (!m_tooltip.GetSafeHwnd())
        return;
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_tooltip.AddTool(this, text, &client, kTooltipId);
    }
    m_tooltip.UpdateTipText(text, this, kTooltipId);
    m_tooltip.Activate(activate);
}

void CSkinButton::PreSubclassWindow() {
    const DWORD style = GetStyle();
    if (style & 0x02)
        m_checkBox = TRUE;
    if ((style & kButtonTypeMask) == BS_DEFPUSHBUTTON)
        m_default = TRUE;
    ModifyStyle(kButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CSkinButton::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_COMMAND, wParam, lParam);
    return CButton::OnCommand(wParam, lParam);
}

BOOL CSkinButton::PreTranslateMessage(MSG* pMsg) {
    _CreateTooltip();
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    // A fast second click presses the button again instead of being lost as
    // a double click.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CSkinButton::_LeaveHot() {
    if (m_flat && m_hot) {
        m_hot = FALSE;
        _Repaint();
    }
}

BOOL CSkinButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CSkinButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    _LeaveHot();
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    const HWND under = CommonGuiLib::Input().windowFromPoint(point);
    if ((nFlags & MK_LBUTTON) && !m_hot)
        return;
    if (under == m_hWnd) {
        if (!m_hot) {
            m_hot = TRUE;
            _Repaint();
            TRACKMOUSEEVENT request = {sizeof(request), TME_LEAVE, m_hWnd, 0};
            CommonGuiLib::Input().trackMouseEvent(&request);
        }
    } else {
        _LeaveHot();
    }
}

void CSkinButton::OnSysColorChange() { CButton::OnSysColorChange(); }

BOOL CSkinButton::OnClicked() {
    SetFocus();
    if (m_checkBox) {
        m_check = m_check ? 0 : 1;
        _Repaint();
    }
    return FALSE;
}

void CSkinButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        _LeaveHot();
}

void CSkinButton::OnEnable(BOOL bEnable) {
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        if (CWnd* parent = GetParent()) {
            CWnd* next = parent->GetNextDlgTabItem(this, FALSE);
            if (next && next->GetSafeHwnd() != m_hWnd)
                next->SetFocus();
            else
                parent->SetFocus();
        }
        _LeaveHot();
    }
}

void CSkinButton::OnCancelMode() {
    CButton::OnCancelMode();
    _LeaveHot();
}

UINT CSkinButton::OnGetDlgCode() {
    UINT code = CButton::OnGetDlgCode();
    code |= m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

HBRUSH CSkinButton::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }

LRESULT CSkinButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    const UINT type = static_cast<UINT>(wParam) & kButtonTypeMask;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        m_default = type == BS_DEFPUSHBUTTON;
    // The window stays owner-drawn whatever style the dialog manager asks for.
    const WPARAM style = (wParam & ~WPARAM(0x04 | 0x10)) | BS_OWNERDRAW;
    return DefWindowProc(BM_SETSTYLE, style, lParam);
}

LRESULT CSkinButton::OnMouseLeaveMessage(WPARAM, LPARAM) {
    _LeaveHot();
    return 0;
}

LRESULT CSkinButton::OnSetCheck(WPARAM wParam, LPARAM) {
    if (m_checkBox) {
        m_check = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
        _Repaint();
    }
    return 0;
}

LRESULT CSkinButton::OnGetCheck(WPARAM, LPARAM) { return m_check; }

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* itemDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRgn windowRegion;
    windowRegion.CreateRectRgn(0, 0, 0, 0);
    const bool hasRegion = GetWindowRgn(static_cast<HRGN>(windowRegion.GetSafeHandle())) != ERROR;
    if (hasRegion)
        itemDC->SelectClipRgn(&windowRegion);
    {
        CommonGuiLib::CMemDC dc(itemDC, COLORREF(0));
        const UINT state = lpDrawItemStruct->itemState;
        m_drawnPressed = (state & ODS_SELECTED) != 0 || (m_checkBox && m_check != 0);
        m_drawnFocused = (state & ODS_FOCUS) != 0;
        m_drawnDisabled = (state & ODS_DISABLED) != 0;

        CRect item(lpDrawItemStruct->rcItem);
        const int previousMode = dc.SetBkMode(TRANSPARENT);
        DrawBackground(&dc, &item);
        DrawBorder(&dc, &item);

        CString text;
        GetWindowText(text);
        CRect caption = item;
        if (HasPicture(PictureHot)) {
            const COLORREF previousBack = dc.SetBkColor(RGB(255, 255, 255));
            DrawPicture(&dc, !text.IsEmpty(), item, caption, m_drawnPressed, m_drawnDisabled);
            dc.SetBkColor(previousBack);
        }
        if (!text.IsEmpty())
            DrawCaption(&dc, text, item, caption, m_drawnPressed, m_drawnDisabled);
        dc.SetBkMode(previousMode);
    }
    if (hasRegion)
        itemDC->SelectClipRgn(nullptr);
}

void CSkinButton::DrawBackground(CDC* pDC, CRect* pRect) {
    if (!m_flat && (m_drawnFocused || m_default)) {
        CBrush black;
        black.CreateSolidBrush(RGB(0, 0, 0));
        pDC->FrameRect(pRect, &black);
        pRect->DeflateRect(1);
    }
    COLORREF color = m_colors[ColorBackgroundNormal];
    if (m_hot || m_drawnPressed)
        color = m_colors[ColorBackgroundHot];
    else if (m_drawnFocused)
        color = m_colors[ColorBackgroundFocus];
    CBrush brush;
    brush.CreateSolidBrush(color);
    pDC->FillRect(pRect, &brush);
}

void CSkinButton::DrawBorder(CDC* pDC, CRect* pRect) {
    if (!m_flat || !m_drawBorder)
        return;
    if (m_drawnPressed)
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_hot)
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void CSkinButton::DrawIcon(CDC*, BOOL, const CRect&, CRect&, BOOL, BOOL) {}

int CSkinButton::_ChoosePicture(BOOL pressed, BOOL disabled) const {
    if (disabled && HasPicture(PictureDisabled))
        return PictureDisabled;
    if (_IsPushButton() && pressed && HasPicture(PicturePressed))
        return PicturePressed;
    if (HasPicture(PictureNormal) && !pressed && !(_IsPushButton() && m_hot))
        return PictureNormal;
    return PictureHot;
}

void CSkinButton::DrawPicture(CDC* pDC, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed,
                              BOOL disabled) {
    const int index = _ChoosePicture(pressed, disabled);
    const Picture& picture = m_pictures[index];
    if (CommonGuiLib::IsNullGDIObject(picture.bitmap))
        return;
    CRect image = item;
    if (hasCaption) {
        image.left += m_imageMargin;
        caption.left += m_imageMargin + picture.width;
    } else {
        image.left = item.left + (item.Width() - picture.width) / 2;
    }
    image.top = item.top + (item.Height() - picture.height) / 2;
    if (_IsPushButton() && pressed && index != PicturePressed)
        image.OffsetRect(m_pressedOffset.x, m_pressedOffset.y);

    DrawLib::MemoryDC pictureDC(picture.bitmap->GetHandle());
    DrawLib::MemoryDC maskDC(picture.mask->GetHandle());
    if (!pictureDC.Get() || !maskDC.Get())
        return;
    if (disabled && m_showDisabledPicture && !HasPicture(PictureDisabled)) {
        // The picture over white, so that its transparent part reads as
        // background to the disabled look.
        CBitmap combined;
        combined.CreateCompatibleBitmap(pDC, picture.width, picture.height);
        {
            DrawLib::MemoryDC combinedDC(static_cast<HBITMAP>(combined.GetSafeHandle()));
            if (!combinedDC.Get())
                return;
            ::PatBlt(combinedDC.Get(), 0, 0, picture.width, picture.height, WHITENESS);
            ::BitBlt(combinedDC.Get(), 0, 0, picture.width, picture.height, maskDC.Get(), 0, 0, SRCAND);
            ::BitBlt(combinedDC.Get(), 0, 0, picture.width, picture.height, pictureDC.Get(), 0, 0, SRCPAINT);
        }
        ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(combined.GetSafeHandle()), 0,
                     image.left, image.top, picture.width, picture.height, DST_BITMAP | DSS_DISABLED);
        return;
    }
    // The mask's set bits take the DC's background colour (white) and keep
    // what is there; the others take the text colour, which must be black.
    const COLORREF previousText = pDC->SetTextColor(RGB(0, 0, 0));
    pDC->BitBlt(image.left, image.top, picture.width, picture.height, CDC::FromHandle(maskDC.Get()), 0, 0, SRCAND);
    pDC->BitBlt(image.left, image.top, picture.width, picture.height, CDC::FromHandle(pictureDC.Get()), 0, 0,
                SRCPAINT);
    pDC->SetTextColor(previousText);
}

void CSkinButton::DrawCaption(CDC* pDC, const CString& text, const CRect& item, CRect& caption, BOOL pressed,
                              BOOL disabled) {
    if (pressed && _IsPushButton())
        caption.OffsetRect(m_pressedOffset.x, m_pressedOffset.y);
    // Measured in the font it is drawn in.
    CFont* font = GetFont();
    CFont* previousFont = font ? pDC->SelectObject(font) : nullptr;
    CRect measured = caption;
    pDC->DrawText(text, &measured, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
    measured.OffsetRect(caption.left + (caption.Width() - measured.Width()) / 2 - measured.left,
                        caption.top + (caption.Height() - measured.Height()) / 2 - measured.top);
    COLORREF color;
    UINT format;
    if (disabled) {
        color = m_disabledCaptionColor;
        format = DT_CENTER | DT_WORDBREAK;
    } else {
        color = m_colors[ColorCaptionNormal];
        if (m_hot || pressed)
            color = m_colors[ColorCaptionHot];
        else if (m_drawnFocused)
            color = m_colors[ColorCaptionFocus];
        format = DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    }
    const COLORREF previousColor = pDC->SetTextColor(color);
    pDC->DrawText(text, &measured, format);
    pDC->SetTextColor(previousColor);
    if (previousFont)
        pDC->SelectObject(previousFont);
}
