#pragma once
// The anchor layout of a layout-driven dialog: besides the anchored child
// windows it keeps the dialog's layout window, the shared managers and the
// anchored region set of the dialog's elements, and applies the layout's
// sizes, window shape and element shapes to the dialog.
//
// GUI thread only; lives as long as its dialog.
#include "skin/autosurface/WindowShape.h"
#include "skin/commongui/AnchoredRegionSet.h"
#include "skin/resizing/AnchorLayout.h"

#include <boost/shared_ptr.hpp>

#include <string>

class IAutoControlHost;

namespace LayoutLib {
class IElement;
class IManager;
class IWindow;
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
        virtual void OnElementRegionAdded(const boost::shared_ptr<LayoutLib::IElement>& element) {}
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

    // Binds the layout window `name` of `manager`: sizes, element shapes
    // and controls, window shape. False when the window is missing or its
    // Reference or Preferred size is not positive.
    bool ApplyLayout(const boost::shared_ptr<LayoutLib::IManager>& manager, const std::wstring& name, bool skinWindow,
                     bool automateElements);
    // Whether the last ApplyLayout skins the window and has a layout window.
    bool IsSkinning() const noexcept { return m_skinWindow && m_layoutWindow; }
    // The window's shape for its current size, when the window is skinned.
    void ApplyWindowShape();
    // After WM_SIZE: the shape, the region set and the anchored children.
    void OnOwnerSized();
    // Fills the track sizes from the layout; false leaves the message to
    // default processing.
    bool GetMinMaxInfo(MINMAXINFO& info);
    // Adds the element's shape to the region set or to its child window.
    bool AddElementShape(const boost::shared_ptr<LayoutLib::IElement>& element);
    // Sizes the owner so that its client area is `clientSize`.
    void ResizeClient(SIZE clientSize);
    // What the non-client parts add to a client size: (0, 0) without a window.
    SIZE GetBorderSize() const;

    WindowShape::MaskSources GetMaskSources();

    ILayoutWindowKeeperHost* m_host;
    IAutoControlHost* m_controlHost;
    HWND m_owner = nullptr;
    boost::shared_ptr<ResourceLib::IManager> m_resourceManager;
    boost::shared_ptr<LayoutLib::IManager> m_layoutManager;
    boost::shared_ptr<LayoutLib::IWindow> m_layoutWindow;
    bool m_skinWindow = false;
    bool m_automateElements = false;
    CommonGuiLib::AnchoredRegionSet m_regions;
    CommonGuiLib::AnchoredRegionSet* m_replacingRegions = nullptr;
    WindowShape::MaskRegionCache m_maskRegions;

protected:
    CWnd* GetLayoutOwner() override;
};
