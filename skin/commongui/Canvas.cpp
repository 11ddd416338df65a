#include "skin/commongui/Canvas.h"

#include "graphics/commongui/GdiScopes.h"

template <>
CanvasT<CommonGuiLib::CMemDC>::CanvasT(CDC* dc) : CanvasT(dc, nullptr) {}

template <>
CanvasT<CommonGuiLib::CMemDC>::CanvasT(CDC* target, const RECT* rect)
    : CommonGuiLib::CMemDC(target, true, rect), DCSelector(m_hDC), DrawingHelpers(static_cast<CDC&>(*this)) {}

template <>
CanvasT<CConstructibleDC>::CanvasT(CDC* dc)
    : CConstructibleDC(dc, CConstructibleDC::AttachExisting), DCSelector(m_hDC), DrawingHelpers(static_cast<CDC&>(*this)) {}

template <>
CanvasT<CConstructibleDC>::CanvasT(CDC* reference, SIZE size)
    : CConstructibleDC(reference, CConstructibleDC::CreateCompatible), DCSelector(m_hDC), DrawingHelpers(static_cast<CDC&>(*this)) {
    // Compatible with the reference, not with the new DC, whose own bitmap
    // is a monochrome pixel.
    CommonGuiLib::ScopedScreenDC screen;
    if (!m_bitmap.Attach(::CreateCompatibleBitmap(reference ? reference->m_hDC : screen.Get(), size.cx, size.cy)))
        return;
    DCSelector::SelectObject(m_hDC, 0, m_bitmap.m_hObject);
}
