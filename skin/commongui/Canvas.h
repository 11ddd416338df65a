#pragma once
// The canvas every drawing operation of the skinned windows receives: a
// device context, a selector that puts the DC back as it was, and the
// drawing helpers on that DC.
//
// CanvasT<CommonGuiLib::CMemDC> is the double buffer of a paint; it starts
// as a copy of what the target shows and reaches the target when it dies.
// CanvasT<CConstructibleDC> draws on a given DC, or on a new DC with its own
// bitmap.
#include "skin/commongui/ConstructibleDC.h"
#include "skin/commongui/DCSelector.h"
#include "skin/commongui/DrawingHelpers.h"
#include "skin/commongui/MemDC.h"

template <class T>
class CanvasT : public T, public DCSelector, public DrawingHelpers {
public:
    // CMemDC: buffers the target's clip box.
    // CConstructibleDC: draws on `dc` itself, which stays alive.
    explicit CanvasT(CDC* dc);
    // CMemDC only: buffers `rect` (the clip box when null).
    CanvasT(CDC* target, const RECT* rect);
    // CConstructibleDC only: a new DC compatible with `reference`, with a
    // compatible bitmap of `size` selected through the first object slot.
    CanvasT(CDC* reference, SIZE size);

    ~CanvasT() override {
        // The base selector would restore only after the own bitmap, a
        // member, is gone: restore first, so the bitmap is no longer
        // selected when it is deleted.
        DCSelector::Restore();
        m_bitmap.DeleteObject();
    }
    CanvasT(const CanvasT&) = delete;
    CanvasT& operator=(const CanvasT&) = delete;

    // The DC's own setters and the saving ones (which take the DC first)
    // side by side.
    using T::SelectObject;
    using DCSelector::SelectObject;
    using T::SetBkMode;
    using DCSelector::SetBkMode;
    using T::SetMapMode;
    using DCSelector::SetMapMode;
    using T::SetPolyFillMode;
    using DCSelector::SetPolyFillMode;
    using T::SetStretchBltMode;
    using DCSelector::SetStretchBltMode;
    using T::SetROP2;
    using DCSelector::SetROP2;
    using T::SetTextColor;
    using DCSelector::SetTextColor;
    using T::SetBkColor;
    using DCSelector::SetBkColor;

private:
    CBitmap m_bitmap;
};

template <>
CanvasT<CommonGuiLib::CMemDC>::CanvasT(CDC* dc);
template <>
CanvasT<CommonGuiLib::CMemDC>::CanvasT(CDC* target, const RECT* rect);
template <>
CanvasT<CConstructibleDC>::CanvasT(CDC* dc);
template <>
CanvasT<CConstructibleDC>::CanvasT(CDC* reference, SIZE size);

