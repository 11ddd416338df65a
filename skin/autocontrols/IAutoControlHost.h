#pragma once
// What auto controls and the layout renderer ask of a skinned dialog: its
// element regions and states, its layout, its child windows and controls,
// its renderer data, its animation timer and its GUI context. The
// layout-driven surface implements it; tests implement it with fixed boxes.
//
// GUI thread only.
#include "skin/autocontrols/ElementState.h"
#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IElement.h"
#include "skin/layout/IManager.h"
#include "skin/layout/IWindow.h"
#include "skin/renderer/RendererData.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>

class IAutoControl;

namespace Time {
class GUIMultiTimer;
}  // namespace Time

namespace ContextLib {
class GUIContext;
}  // namespace ContextLib

class IAutoControlHost {
public:
    virtual ~IAutoControlHost() = default;

    // 1, 2: the replacing region set when one is set, else the own one.
    virtual CommonGuiLib::AnchoredRegionSet& GetRegionSet() = 0;
    virtual const CommonGuiLib::AnchoredRegionSet& GetRegionSet() const = 0;
    // 3: the state of an element index, adjusted by its controls.
    virtual ElementState GetElementState(int index) = 0;
    // 4: the element's box in client coordinates (its item's box, else the
    // bounding box of its region); empty when there is none.
    virtual RECT GetElementRect(int index) = 0;
    // 5: the same in screen coordinates.
    virtual RECT GetElementScreenRect(int index) = 0;
    // 6: repaints an element (-1: the whole window); `control` is the
    // control that asks, or null.
    virtual void InvalidateElement(IAutoControl* control, int index) = 0;
    // 7, 8
    virtual boost::shared_ptr<LayoutLib::IWindow> GetLayoutWindow() = 0;
    virtual boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() = 0;
    // 9: the child window placed on an element; null when none.
    virtual HWND GetElementWindow(const boost::shared_ptr<LayoutLib::IElement>& element) = 0;
    // 10: the control bound to an element; the same control at every call.
    virtual IAutoControl* GetAutoControl(const boost::shared_ptr<LayoutLib::IElement>& element) = 0;
    // 11: lets every control registered for the element's index fill in
    // values for a drawing of the element.
    virtual void PrepareElementValues(const boost::shared_ptr<LayoutLib::IElement>& element,
                                      LayoutLib::CustomValues& values) = 0;
    // 12: false when the window already has an element of that index.
    virtual bool AddElement(const boost::shared_ptr<LayoutLib::IElement>& element) = 0;
    // 13: takes a control off its element: the control is told, its region
    // leaves the region set and its events stop. False when the control is
    // not the one registered at its index.
    virtual bool UnregisterAutoControl(IAutoControl& control) = 0;
    // 14: made on first use over the dialog's window; empty without one.
    virtual boost::shared_ptr<Time::GUIMultiTimer> GetAnimationTimer() = 0;
    // 15
    virtual LayoutRenderer::RendererData& GetRendererData() = 0;
    // 16: see GetStatePictureName.
    virtual std::wstring GetStatePictureName(const ElementState& state) { return ::GetStatePictureName(state); }
    // 17
    virtual boost::shared_ptr<ContextLib::GUIContext> GetGUIContext() = 0;
};
