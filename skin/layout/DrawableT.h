#pragma once
// DrawableT: what every drawable holds (name, position, anchors,
// transparency, adjustment). Filled by the layout reader, then only read.
#include "skin/layout/IDrawable.h"
#include "skin/layout/IElement.h"

#include <windows.h>

#include <string>

namespace LayoutLib {

// I: one of the drawable interfaces.
template <class I>
class DrawableT : public I {
public:
    const CustomValues& GetCustomValues() const override { return m_customValues; }
    const CustomReferences& GetCustomReferences() const override { return m_customReferences; }
    std::wstring GetName() const override { return m_name; }

    int GetKind() const override { return m_kind; }
    RECT GetPosition() const override { return m_position; }
    int GetAnchors() const override { return m_anchors; }
    int GetTransparency() const override { return m_transparency; }
    int GetAdjustmentMode() const override { return m_adjustmentMode; }
    double GetAdjustmentFactor() const override { return m_adjustmentFactor; }
    bool GetAdjustmentFlag() const override { return m_adjustmentFlag; }
    bool IsSupersampled() const override {
        return m_adjustmentMode == AdjustmentSupersampling && m_adjustmentFactor > 0.0 && m_adjustmentFactor != 1.0;
    }

    void SetName(const std::wstring& name) { m_name = name; }
    void SetPosition(const RECT& position) { m_position = position; }
    void SetAnchors(int anchors) { m_anchors = anchors; }
    void SetTransparency(int transparency) { m_transparency = transparency; }
    void SetAdjustment(int mode, double factor, bool flag) {
        m_adjustmentMode = mode;
        m_adjustmentFactor = factor;
        m_adjustmentFlag = flag;
    }

protected:
    explicit DrawableT(int kind) : m_kind(kind) {}

private:
    std::wstring m_name;
    CustomValues m_customValues;
    int m_kind;
    RECT m_position = {0, 0, 0, 0};
    int m_anchors = AnchorDefault;
    int m_transparency = 0;
    int m_adjustmentMode = AdjustmentNone;
    double m_adjustmentFactor = -1.0;
    bool m_adjustmentFlag = false;
    CustomReferences m_customReferences;
};

}  // namespace LayoutLib
