#pragma once
// A windowless three-state check box: 0 checked, 1 unchecked, 2 undefined.
// A click on its element, while it is enabled and visible, unchecks a
// checked box and checks any other. It paints the visual state that its
// check state and mouse state pick.
#include "skin/autocontrols/WLBaseControl.h"
#include "skin/layout/IVisualInfo.h"

#include <boost/shared_ptr.hpp>

class WLCheckBox : public WLBaseControl {
public:
    enum State { Checked = 0, Unchecked = 1, Undefined = 2 };

    class IListener {
    public:
        virtual ~IListener() = default;
        virtual void _ReservedListener() {}
        // After every change of state.
        virtual void OnCheckChanged(WLCheckBox& box) = 0;
        // Its answer is the box's UpdateState answer.
        virtual bool OnUpdateState(WLCheckBox& box, ElementState& state) = 0;
    };

    WLCheckBox(IListener* listener, int initialState) : m_listener(listener), m_state(initialState) {}

    // Also reads the visual's "initialState": exactly "checked" or
    // "undefined", anything else unchecked. An element without a visual
    // leaves the state as it is.
    void SetElement(boost::shared_ptr<LayoutLib::IElement> element, const LayoutLib::CustomValues& values,
                    LayoutRenderer::RendererData* rendererData) override;
    void OnClick(int index) override;
    void Paint(CDC& canvas, const RECT& clientRect) override;
    bool UpdateState(ElementState& state) override;

    bool IsChecked() const noexcept { return m_state == Checked; }
    int GetState() const noexcept { return m_state; }

    // The visual state to paint now; empty when the visual has none of the
    // names searched.
    boost::shared_ptr<LayoutLib::IVisualState> ChooseStatePicture();

private:
    IListener* m_listener;
    int m_state;
    boost::shared_ptr<LayoutLib::IElement> m_element;
    boost::shared_ptr<LayoutLib::IVisualInfo> m_visual;
};
