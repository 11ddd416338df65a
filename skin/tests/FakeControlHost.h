#pragma once
// A control host for the renderer and control tests: element boxes in a
// region set, states set by the test, a layout window and the renderer data.
#include "skin/autocontrols/IAutoControl.h"
#include "skin/autocontrols/IAutoControlHost.h"

#include <map>
#include <utility>
#include <vector>

namespace SkinTesting {

class FakeControlHost : public IAutoControlHost {
public:
    FakeControlHost() { regions.Layout(400, 300); }

    void AddBox(int index, const RECT& box) {
        regions.AddRect(index, box, CommonGuiLib::AnchoredRegionSet::AnchorLeft | CommonGuiLib::AnchoredRegionSet::AnchorTop, 0);
    }

    CommonGuiLib::AnchoredRegionSet& GetRegionSet() override { return regions; }
    const CommonGuiLib::AnchoredRegionSet& GetRegionSet() const override { return regions; }
    ElementState GetElementState(int index) override {
        ElementState state;
        const auto found = states.find(index);
        if (found != states.end())
            state = found->second;
        state.index = index;
        state.box = regions.GetItemBox(index);
        state.region = regions.GetRegion(index);
        for (IWindowlessAutoControl* control : controls) {
            if (control->IsMyIndex(index))
                control->UpdateState(state);
        }
        return state;
    }
    RECT GetElementRect(int index) override { return index == -1 ? noIndexBox : regions.GetItemBox(index); }
    RECT GetElementScreenRect(int index) override { return regions.GetItemBox(index); }
    void InvalidateElement(IAutoControl* control, int index) override { invalidated.emplace_back(control, index); }
    boost::shared_ptr<LayoutLib::IWindow> GetLayoutWindow() override { return window; }
    boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() override { return data.layoutManager; }
    HWND GetElementWindow(const boost::shared_ptr<LayoutLib::IElement>& element) override {
        const auto found = childWindows.find(element->GetId());
        return found == childWindows.end() ? nullptr : found->second;
    }
    IAutoControl* GetAutoControl(const boost::shared_ptr<LayoutLib::IElement>& element) override {
        for (IWindowlessAutoControl* control : controls) {
            if (control->IsMyIndex(element->GetId()))
                return control;
        }
        return nullptr;
    }
    void PrepareElementValues(const boost::shared_ptr<LayoutLib::IElement>& element,
                              LayoutLib::CustomValues& values) override {
        for (const auto& entry : preparedValues)
            values[entry.first] = entry.second;
        for (IWindowlessAutoControl* control : controls) {
            if (element && control->IsMyIndex(element->GetId()))
                control->FillPictureParameters(element, values);
        }
    }
    bool AddElement(const boost::shared_ptr<LayoutLib::IElement>&) override { return false; }
    bool UnregisterAutoControl(IAutoControl&) override { return false; }
    boost::shared_ptr<Time::GUIMultiTimer> GetAnimationTimer() override { return nullptr; }
    LayoutRenderer::RendererData& GetRendererData() override { return data; }
    boost::shared_ptr<ContextLib::GUIContext> GetGUIContext() override { return nullptr; }

    CommonGuiLib::AnchoredRegionSet regions;
    std::map<int, ElementState> states;  // flags by index; box and region come from the set
    boost::shared_ptr<LayoutLib::IWindow> window;
    LayoutRenderer::RendererData data;
    std::map<int, HWND> childWindows;
    std::vector<IWindowlessAutoControl*> controls;
    LayoutLib::CustomValues preparedValues;
    std::vector<std::pair<IAutoControl*, int>> invalidated;
    // What the host answers for index -1, so a test can see it is not drawn.
    RECT noIndexBox = {};
};

}  // namespace SkinTesting
