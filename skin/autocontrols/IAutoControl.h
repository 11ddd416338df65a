#pragma once
// Controls that a layout-driven surface binds to the elements of its layout
// window. A windowless one has no window: the surface hit-tests it by its
// element's region, the control container hands it the mouse events of its
// element and it paints itself onto the surface's canvas.
//
// The operations' order is fixed: the surface, the container and the
// renderer call them by position. Every default does nothing.
//
// GUI thread only: the thread of the surface's window.
#include "skin/autocontrols/ElementState.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IElement.h"
#include "skin/renderer/RendererData.h"

#include <boost/shared_ptr.hpp>

#include <afxwin.h>

class IAutoControlHost;
class ISurface;
class IWindowlessAutoControl;

class IAutoControl {
public:
    virtual ~IAutoControl() = default;

    // 1: the element id the control is bound to; -1 for none.
    virtual int GetIndex() const { return -1; }
    // 2: whether the control runs an animation on the surface's timer.
    virtual bool IsAnimated() const { return false; }
    // 3: the control's own window, for a windowed control.
    virtual CWnd* GetControlWindow() const { return nullptr; }
    // 4
    virtual IWindowlessAutoControl* AsWindowless() { return nullptr; }
    // 5: a message of the surface passed on to the control.
    virtual void OnSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam) {}
    // 6: the element's new rectangle.
    virtual void SetRect(int left, int top, int right, int bottom) {}
    // 7: binds the control to an element and lets it read its settings;
    // `values` were prepared by the host for this element.
    virtual void SetElement(boost::shared_ptr<LayoutLib::IElement> element, const LayoutLib::CustomValues& values,
                            LayoutRenderer::RendererData* rendererData) {}
    // 8: the surface has applied its layout.
    virtual void OnLayoutApplied() {}
    // 9: the control was taken off its element (the host's unregistering).
    virtual void OnUnregistered() {}
    // 10: draws an element whose visual type the renderer does not draw
    // itself; false when nothing was drawn.
    virtual bool DrawElement(CDC* canvas, boost::shared_ptr<LayoutLib::IElement> element, RECT rect) { return false; }
    // 11: the same with the rectangle by reference.
    virtual bool DrawElementAt(CDC* canvas, const boost::shared_ptr<LayoutLib::IElement>& element, const RECT& rect) {
        const RECT copy = rect;
        return DrawElement(canvas, element, copy);
    }
};

class IWindowlessAutoControl : public IAutoControl {
public:
    IWindowlessAutoControl* AsWindowless() override { return this; }

    // 12: true when both are given.
    virtual bool Initialize(ISurface* owner, IAutoControlHost* host) { return false; }
    // 13: whether the control takes the events of element `index`.
    virtual bool IsMyIndex(int index) const { return false; }
    // 14: draws the control over the surface's paint.
    virtual void Paint(CDC& canvas, const RECT& clientRect) {}
    // 15: null keeps the surface's cursor.
    virtual HCURSOR GetCursor(int index) { return nullptr; }
    // 16 to 23: the surface's mouse events on the control's elements.
    virtual void OnLButtonDown(int index) {}
    virtual void OnClick(int index) {}
    virtual void OnLButtonDblClk(int index) {}
    virtual void OnRButtonUp(int index) {}
    virtual void OnHoverChanged(int index) {}
    virtual void OnDrag(int pressedIndex, int hoverIndex) {}
    virtual void OnDragEnd(int pressedIndex, int hoverIndex) {}
    virtual void OnMouseMove(int index) {}
    // 24: the surface was resized; the control lays itself out again.
    virtual void OnSurfaceSized() {}
    // 25: adjusts the state the host builds for an element.
    virtual bool UpdateState(ElementState& state) { return false; }
    // 26: the control wants to be offered every index when registered.
    virtual bool WantsEveryIndex() const { return false; }
    // 27: adds what the control knows to the values of a drawing of its element.
    virtual void FillPictureParameters(boost::shared_ptr<LayoutLib::IElement> element,
                                       LayoutLib::CustomValues& values) {}
    // 28: whether the control can be bound to the element.
    virtual bool AcceptsElement(boost::shared_ptr<LayoutLib::IElement> element) { return false; }
};
