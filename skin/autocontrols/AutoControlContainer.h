#pragma once
// The surface host of a layout-driven dialog that owns the list of its
// windowless controls: every paint and mouse event goes first to the
// controls registered for the element concerned, then to the next host (the
// dialog's own), so the dialog sees an event after its controls updated.
//
// The controls are owned elsewhere (the dialog's members or the surface's
// shared pointers). GUI thread only.
#include "skin/autocontrols/IAutoControl.h"
#include "skin/autocontrols/IAutoControlHost.h"
#include "skin/surface/Surface.h"

#include <algorithm>
#include <vector>

template <class T>
class AutoControlContainer : public SurfaceT<T>::IHost {
public:
    typedef SurfaceT<T> Surface;
    typedef std::vector<IWindowlessAutoControl*> ControlList;

    AutoControlContainer(typename Surface::IHost* nextHost, ISurface* surface, IAutoControlHost* controlHost)
        : m_nextHost(nextHost),
          m_surface(surface),
          m_controlHost(controlHost),
          m_regions(controlHost ? &controlHost->GetRegionSet() : nullptr) {}

    void Paint(Surface& surface, typename Surface::Canvas& canvas, const RECT& clientRect) override {
        if (m_nextHost)
            m_nextHost->Paint(surface, canvas, clientRect);
        // A control may unregister itself while painting.
        const ControlList controls = m_controls;
        for (IWindowlessAutoControl* control : controls)
            control->Paint(canvas, clientRect);
    }
    int HitTest(Surface& surface, POINT point) override {
        return m_nextHost ? m_nextHost->HitTest(surface, point) : -1;
    }
    HCURSOR GetCursor(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index)) {
            if (HCURSOR cursor = control->GetCursor(index))
                return cursor;
        }
        return m_nextHost ? m_nextHost->GetCursor(surface, index) : nullptr;
    }
    CommonGuiLib::SharedRegion GetElementRegion(Surface& surface, int index) override {
        return m_nextHost ? m_nextHost->GetElementRegion(surface, index) : CommonGuiLib::SharedRegion();
    }
    void OnLButtonDown(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnLButtonDown(index);
        if (m_nextHost)
            m_nextHost->OnLButtonDown(surface, index);
    }
    void OnClick(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnClick(index);
        if (m_nextHost)
            m_nextHost->OnClick(surface, index);
    }
    void OnLButtonDblClk(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnLButtonDblClk(index);
        if (m_nextHost)
            m_nextHost->OnLButtonDblClk(surface, index);
    }
    void OnRButtonUp(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnRButtonUp(index);
        if (m_nextHost)
            m_nextHost->OnRButtonUp(surface, index);
    }
    void OnHoverChanged(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnHoverChanged(index);
        if (m_nextHost)
            m_nextHost->OnHoverChanged(surface, index);
    }
    void OnDrag(Surface& surface, int pressedIndex, int hoverIndex) override {
        for (IWindowlessAutoControl* control : _ControlsAt(pressedIndex))
            control->OnDrag(pressedIndex, hoverIndex);
        if (hoverIndex != pressedIndex) {
            for (IWindowlessAutoControl* control : _ControlsAt(hoverIndex))
                control->OnDrag(pressedIndex, hoverIndex);
        }
        if (m_nextHost)
            m_nextHost->OnDrag(surface, pressedIndex, hoverIndex);
    }
    void OnDragEnd(Surface& surface, int pressedIndex, int hoverIndex) override {
        for (IWindowlessAutoControl* control : _ControlsAt(pressedIndex))
            control->OnDragEnd(pressedIndex, hoverIndex);
        if (hoverIndex != pressedIndex) {
            for (IWindowlessAutoControl* control : _ControlsAt(hoverIndex))
                control->OnDragEnd(pressedIndex, hoverIndex);
        }
        if (m_nextHost)
            m_nextHost->OnDragEnd(surface, pressedIndex, hoverIndex);
    }
    void OnMouseMove(Surface& surface, int index) override {
        for (IWindowlessAutoControl* control : _ControlsAt(index))
            control->OnMouseMove(index);
        if (m_nextHost)
            m_nextHost->OnMouseMove(surface, index);
    }

    // Adds the control (once) and enters it for every index it takes.
    void Register(IWindowlessAutoControl* control) {
        if (!control)
            return;
        if (std::find(m_controls.begin(), m_controls.end(), control) == m_controls.end())
            m_controls.push_back(control);
        _Enter(control);
    }
    // Empties every index and enters every control again.
    void Rebuild() {
        for (ControlList& controls : m_byIndex)
            controls.clear();
        for (IWindowlessAutoControl* control : m_controls)
            _Enter(control);
    }
    // False when the control was not registered.
    bool Unregister(IWindowlessAutoControl* control) {
        const auto found = std::find(m_controls.begin(), m_controls.end(), control);
        if (found == m_controls.end())
            return false;
        m_controls.erase(found);
        for (ControlList& controls : m_byIndex)
            controls.erase(std::remove(controls.begin(), controls.end(), control), controls.end());
        return true;
    }

    // In registration order: the paint order.
    const ControlList& GetControls() const noexcept { return m_controls; }
    // The controls that take the events of `index`; empty outside the range.
    ControlList GetControls(int index) const { return _ControlsAt(index); }
    bool IsRegisteredAt(const IWindowlessAutoControl* control, int index) const {
        const ControlList& controls = _ControlsAt(index);
        return std::find(controls.begin(), controls.end(), control) != controls.end();
    }
    int GetIndexCount() const noexcept { return static_cast<int>(m_byIndex.size()); }

private:
    void _Enter(IWindowlessAutoControl* control) {
        const int size = !m_regions || control->WantsEveryIndex() ? CommonGuiLib::AnchoredRegionSet::kSlotCount
                                                                  : m_regions->GetCount();
        if (size > static_cast<int>(m_byIndex.size()))
            m_byIndex.resize(size);
        for (int index = 0; index < size; ++index) {
            ControlList& controls = m_byIndex[index];
            if (control->IsMyIndex(index) && std::find(controls.begin(), controls.end(), control) == controls.end())
                controls.push_back(control);
        }
    }

    // A copy, so a control may unregister itself while it is told.
    ControlList _ControlsAt(int index) const {
        if (index < 0 || index >= static_cast<int>(m_byIndex.size()))
            return ControlList();
        return m_byIndex[index];
    }

    typename Surface::IHost* m_nextHost;
    ISurface* m_surface;
    IAutoControlHost* m_controlHost;
    CommonGuiLib::AnchoredRegionSet* m_regions;
    ControlList m_controls;
    std::vector<ControlList> m_byIndex;
};

// The renderer's unregistering of a control, for a host that keeps its
// controls in `container`: when the control is the one registered at its
// element index, it is told, its element's region leaves the region set and
// it is taken out of the container. False, and nothing done, otherwise; the
// host then drops its own hold and recomputes its animations.
template <class T>
bool UnregisterAutoControl(IAutoControlHost& host, AutoControlContainer<T>& container, IAutoControl& control) {
    const int index = control.GetIndex();
    IWindowlessAutoControl* windowless = control.AsWindowless();
    if (index < 0 || !windowless || !container.IsRegisteredAt(windowless, index))
        return false;
    control.OnUnregistered();
    host.GetRegionSet().Remove(index);
    container.Unregister(windowless);
    return true;
}
