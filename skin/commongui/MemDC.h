#pragma once
// The double buffer of a paint: a memory device context over a rectangle of
// a target DC that copies itself to the target when it is destroyed, and
// not before. Drawing code keeps using the target's logical coordinates.
// A printing target is drawn on directly.
#include <afxwin.h>

namespace CommonGuiLib {

class CMemDC : public CDC {
public:
    // Buffers `rect` (logical units of the target), or the target's clip box
    // when null; with `copyBackground` the buffer starts as a copy of what
    // the target shows there.
    CMemDC(CDC* target, bool copyBackground, const RECT* rect = nullptr);
    // Buffers as above and fills the buffer with `fill`.
    CMemDC(CDC* target, COLORREF fill, const RECT* rect = nullptr);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // A percent of 1 or more makes the copy back a constant-alpha blend
    // (100 invisible; above 100 counts as 100).
    void SetTransparencyPercent(int percent) noexcept { m_transparencyPercent = percent; }
    int GetTransparencyPercent() const noexcept { return m_transparencyPercent; }
    const RECT& GetBufferedRect() const noexcept { return m_rect; }
    // False while printing: the drawing then goes straight to the target.
    bool IsBuffering() const noexcept { return m_buffering; }

private:
    void _Initialize(CDC* target, const RECT* rect);

    CBitmap m_bitmap;
    HGDIOBJ m_previousBitmap = nullptr;
    CDC* m_target = nullptr;
    RECT m_rect = {};
    bool m_buffering = false;
    int m_transparencyPercent = 0;
};

}  // namespace CommonGuiLib
