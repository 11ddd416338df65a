#include "downloads/view/DownloadListItem.h"

#include "graphics/commongui/PictureLoaders.h"

namespace {

const COLORREF kTransparent = RGB(255, 255, 255);
const COLORREF kButtonBackground = 0x363636;

}  // namespace

DownloadListItem::~DownloadListItem() {
    if (m_button.m_hWnd)
        m_button.DestroyWindow();
    if (m_hWnd)
        DestroyWindow();
}

bool DownloadListItem::CreateProgress(CWnd* parent, const RECT& rect, int low, int high, int step, bool show) {
    Create(WS_CHILD | WS_BORDER | PBS_SMOOTH, rect, parent, 0);
    if (m_hWnd) {
        if (show)
            ShowWindow(SW_SHOW);
        m_progressShown = show;
        SetRange32(low, high);
        SetPos(0);
        SetStep(step);
    }
    m_progressCreated = m_hWnd != nullptr;
    return m_progressCreated;
}

bool DownloadListItem::CreateButton(const wchar_t* text, CWnd* parent, const RECT& rect, UINT id, CFont* font,
                                    UINT bitmap, UINT hotBitmap, bool show) {
    m_buttonCreated = true;
    LOGFONTW logFont = {};
    if (font && font->m_hObject && font->GetLogFont(&logFont))
        m_buttonFont.CreateFontIndirect(&logFont);
    if (!m_button.Create(text, WS_CHILD, rect, parent, id))
        return false;
    if (show)
        m_button.ShowWindow(SW_SHOW);
    m_buttonShown = show;
    if (m_buttonFont.m_hObject)
        m_button.SetFont(&m_buttonFont, TRUE);
    _LoadButtonBitmaps(bitmap, hotBitmap);
    m_button.EnableBalloonTooltip();
    m_button.SetColor(CSkinButton::ColorBackgroundHot, kButtonBackground, FALSE);
    m_button.SetColor(CSkinButton::ColorBackgroundNormal, kButtonBackground, FALSE);
    m_button.SetDrawBorder(FALSE, TRUE);
    return m_button.m_hWnd != nullptr;
}

bool DownloadListItem::_LoadButtonBitmaps(UINT bitmap, UINT hotBitmap) {
    const CommonGuiLib::SharedBitmap normal = CommonGuiLib::LoadBitmapFromResourceId(nullptr, WORD(bitmap), false);
    const CommonGuiLib::SharedBitmap hot = CommonGuiLib::LoadBitmapFromResourceId(nullptr, WORD(hotBitmap), false);
    m_buttonBitmap = bitmap;
    return m_button.SetImages(hot, kTransparent, normal, kTransparent) == CSkinButton::ImagesOk;
}

void DownloadListItem::SetButtonBitmaps(UINT bitmap, UINT hotBitmap) {
    if (!bitmap && !hotBitmap)
        return;
    if (!m_button.m_hWnd)
        return;
    _LoadButtonBitmaps(bitmap, hotBitmap);
    if (m_buttonShown)
        m_button.Invalidate();
}

void DownloadListItem::SetButtonTooltip(const wchar_t* text) {
    if (m_button.m_hWnd)
        m_button.SetTooltipText(text);
}

void DownloadListItem::SetButtonKey(LONG_PTR value) {
    if (m_button.m_hWnd)
        ::SetWindowLongPtrW(m_button.m_hWnd, GWLP_USERDATA, value);
}

void DownloadListItem::ShowButton(bool show) {
    if (m_button.m_hWnd && ((m_button.GetStyle() & WS_VISIBLE) != 0) != show)
        m_button.ShowWindow(show ? SW_SHOW : SW_HIDE);
    m_buttonShown = show;
}

void DownloadListItem::ShowProgress(bool show) {
    if (m_hWnd && ((GetStyle() & WS_VISIBLE) != 0) != show)
        ShowWindow(show ? SW_SHOW : SW_HIDE);
    m_progressShown = show;
}

void DownloadListItem::SetMarquee(bool on, int interval) {
    if (on == m_marqueeOn || !m_hWnd)
        return;
    m_marqueeOn = on;
    // The style first, then the animation: the control ignores the message
    // while it lacks the style. Sent twice as some versions want a restart.
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, on ? (style | PBS_MARQUEE) : (style & ~LONG_PTR(PBS_MARQUEE)));
    SendMessage(PBM_SETMARQUEE, on, interval);
    SendMessage(PBM_SETMARQUEE, on, interval);
}

void DownloadListItem::InvalidateProgress() {
    if (m_progressCreated && m_progressShown && m_hWnd)
        Invalidate();
}

void DownloadListItem::InvalidateButton() {
    if (m_buttonCreated && m_buttonShown && m_button.m_hWnd)
        m_button.Invalidate();
}

namespace {

// The window's rectangle in its parent's client coordinates.
CRect ParentRect(HWND window) {
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveIfChanged(HWND window, const RECT& rect) {
    if (ParentRect(window) != CRect(rect))
        ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void DownloadListItem::PlaceProgress(const RECT& rect, bool /*force*/) {
    if (!m_progressCreated || !m_hWnd)
        return;
    // Hidden first, moved after: a hidden bar never flashes at its old place.
    if (!m_progressShown && (GetStyle() & WS_VISIBLE))
        ShowWindow(SW_HIDE);
    MoveIfChanged(m_hWnd, rect);
}

void DownloadListItem::PlaceButton(const RECT& rect) {
    if (!m_buttonCreated || !m_button.m_hWnd)
        return;
    if (!m_buttonShown && (m_button.GetStyle() & WS_VISIBLE))
        m_button.ShowWindow(SW_HIDE);
    MoveIfChanged(m_button.m_hWnd, rect);
}
