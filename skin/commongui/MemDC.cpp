#include "skin/commongui/MemDC.h"

#include "skin/commongui/Transparency.h"

namespace CommonGuiLib {

CMemDC::CMemDC(CDC* target, bool copyBackground, const RECT* rect) {
    _Initialize(target, rect);
    if (copyBackground && m_buffering)
        ::BitBlt(m_hDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
                 m_target->m_hDC, m_rect.left, m_rect.top, SRCCOPY);
}

CMemDC::CMemDC(CDC* target, COLORREF fill, const RECT* rect) {
    _Initialize(target, rect);
    FillSolidRect(&m_rect, fill);
}

void CMemDC::_Initialize(CDC* target, const RECT* rect) {
    m_target = target;
    m_buffering = !target->IsPrinting();
    if (rect)
        m_rect = *rect;
    else
        target->GetClipBox(&m_rect);

    if (!m_buffering) {
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        m_bPrinting = target->m_bPrinting;
        return;
    }

    CreateCompatibleDC(target);
    target->LPtoDP(&m_rect);
    m_bitmap.CreateCompatibleBitmap(target, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top);
    if (m_hDC && m_bitmap.m_hObject)
        m_previousBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);

    SetMapMode(target->GetMapMode());
    SetWindowExt(target->GetWindowExt());
    SetViewportExt(target->GetViewportExt());
    target->DPtoLP(&m_rect);
    SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC() {
    if (m_buffering) {
        const int width = m_rect.right - m_rect.left;
        const int height = m_rect.bottom - m_rect.top;
        if (m_transparencyPercent < 1)
            ::BitBlt(m_target->m_hDC, m_rect.left, m_rect.top, width, height, m_hDC, m_rect.left, m_rect.top,
                     SRCCOPY);
        else
            ::AlphaBlend(m_target->m_hDC, m_rect.left, m_rect.top, width, height, m_hDC, m_rect.left, m_rect.top,
                         width, height, MakeBlendFunction(m_transparencyPercent, false));
        if (m_previousBitmap)
            ::SelectObject(m_hDC, m_previousBitmap);
    } else {
        // The handles are the target's: CDC must not delete them.
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}

}  // namespace CommonGuiLib
