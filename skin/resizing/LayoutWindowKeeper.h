#pragma once
// The anchor layout of a layout-driven dialog: besides the anchored child
// windows it keeps the dialog's layout window, the shared managers and the
// anchored region set of the dialog's elements.
//
// GUI thread only; lives as long as its dialog.
#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/resizing/AnchorLayout.h"

#include <boost/shared_ptr.hpp>

class IAutoControlHost;

namespace LayoutLib {
class IWindow;
class Manager;
}  // namespace LayoutLib

namespace ResourceLib {
class IManager;
}  // namespace ResourceLib

class LayoutWindowKeeper : public CAnchorLayout {
public:
    // What the keeper asks of the dialog it serves.
    class ILayoutWindowKeeperHost {
    public:
        virtual ~ILayoutWindowKeeperHost() = default;
        // The rectangle the layout fills; empty makes the keeper use the
        // client rectangle.
        virtual RECT GetLayoutRect() { return RECT{}; }
        // An element's shape was added to the region set.
        virtual void OnElementRegionAdded(int index) {}
    };

    LayoutWindowKeeper(ILayoutWindowKeeperHost* host, IAutoControlHost* controlHost);
    ~LayoutWindowKeeper() override;

    void SetOwnerWindow(HWND owner) noexcept { m_owner = owner; }
    HWND GetOwnerWindow() const noexcept { return m_owner; }

    // The host's layout rectangle, else the owner's client rectangle.
    RECT GetLayoutRect();

    // The region set in use: the replacing one when set, else the own one.
    CommonGuiLib::AnchoredRegionSet& GetRegionSet() noexcept {
        return m_replacingRegions ? *m_replacingRegions : m_regions;
    }
    void SetReplacingRegionSet(CommonGuiLib::AnchoredRegionSet* regions) noexcept { m_replacingRegions = regions; }

    ILayoutWindowKeeperHost* m_host;
    IAutoControlHost* m_controlHost;
    HWND m_owner = nullptr;
    boost::shared_ptr<ResourceLib::IManager> m_resourceManager;
    boost::shared_ptr<LayoutLib::Manager> m_layoutManager;
    boost::shared_ptr<LayoutLib::IWindow> m_layoutWindow;
    bool m_skinWindow = false;
    bool m_automateElements = false;
    bool m_unused = false;
    CommonGuiLib::AnchoredRegionSet m_regions;
    CommonGuiLib::AnchoredRegionSet* m_replacingRegions = nullptr;

protected:
    CWnd* GetLayoutOwner() override;
};
