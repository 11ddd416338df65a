#include "skin/resizing/LayoutWindowKeeper.h"

#include "resources/resourcelib/IManager.h"
#include "skin/autocontrols/IAutoControl.h"
#include "skin/autocontrols/IAutoControlHost.h"
#include "skin/layout/IManager.h"
#include "skin/layout/IWindow.h"

namespace {

bool IsPositive(SIZE size) {
    return size.cx > 0 && size.cy > 0;
}

SIZE Plus(SIZE size, SIZE add) {
    return SIZE{size.cx + add.cx, size.cy + add.cy};
}

}  // namespace

LayoutWindowKeeper::LayoutWindowKeeper(ILayoutWindowKeeperHost* host, IAutoControlHost* controlHost)
    : m_host(host), m_controlHost(controlHost) {}

LayoutWindowKeeper::~LayoutWindowKeeper() = default;

CWnd* LayoutWindowKeeper::GetLayoutOwner() { return m_owner ? CWnd::FromHandle(m_owner) : nullptr; }

RECT LayoutWindowKeeper::GetLayoutRect() {
    RECT rect = m_host ? m_host->GetLayoutRect() : RECT{};
    if (::IsRectEmpty(&rect)) {
        rect = RECT{};
        if (m_owner)
            ::GetClientRect(m_owner, &rect);
    }
    return rect;
}

WindowShape::MaskSources LayoutWindowKeeper::GetMaskSources() {
    WindowShape::MaskSources sources;
    sources.resourceManager = m_resourceManager;
    if (m_layoutManager)
        sources.baseFolder = m_layoutManager->GetBaseFolder();
    sources.cache = &m_maskRegions;
    return sources;
}

SIZE LayoutWindowKeeper::GetBorderSize() const {
    if (!m_owner || !::IsWindow(m_owner))
        return SIZE{};
    RECT window = {};
    RECT client = {};
    ::GetWindowRect(m_owner, &window);
    ::GetClientRect(m_owner, &client);
    return SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

void LayoutWindowKeeper::ResizeClient(SIZE clientSize) {
    if (!m_owner)
        return;
    const SIZE size = Plus(clientSize, GetBorderSize());
    ::SetWindowPos(m_owner, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool LayoutWindowKeeper::ApplyLayout(const boost::shared_ptr<LayoutLib::IManager>& manager, const std::wstring& name,
                                     bool skinWindow, bool automateElements) {
    m_layoutManager = manager;
    m_layoutWindow = manager ? manager->GetWindow(name) : boost::shared_ptr<LayoutLib::IWindow>();
    if (!m_layoutWindow)
        return false;
    const bool hasWindow = m_owner && ::IsWindow(m_owner);
    skinWindow = skinWindow && m_layoutWindow->IsAutomated() && hasWindow;
    if (!skinWindow && !automateElements)
        return true;

    const SIZE reference = m_layoutWindow->GetSize(LayoutLib::SizeReference);
    const SIZE preferred = m_layoutWindow->GetSize(LayoutLib::SizePreferred);
    if (!IsPositive(reference) || !IsPositive(preferred))
        return false;

    LayoutLib::ElementList elements;
    if (automateElements) {
        ResizeClient(reference);
        GetRegionSet().Layout(reference);
        m_layoutWindow->GetElements(elements);
        for (const boost::shared_ptr<LayoutLib::IElement>& element : elements) {
            if (!element || !element->IsAutomated())
                continue;
            if (m_controlHost) {
                if (IAutoControl* control = m_controlHost->GetAutoControl(element)) {
                    LayoutLib::CustomValues values;
                    m_controlHost->PrepareElementValues(element, values);
                    control->SetElement(element, values, &m_controlHost->GetRendererData());
                }
            }
            AddElementShape(element);
        }
    }

    m_skinWindow = skinWindow;
    m_automateElements = automateElements;
    SIZE target = preferred;
    if (!skinWindow) {
        const RECT client = GetLayoutRect();
        target = SIZE{client.right - client.left, client.bottom - client.top};
    }
    ResizeClient(target);
    GetRegionSet().Layout(target);
    RepositionChildren();
    if (skinWindow)
        ApplyWindowShape();

    if (automateElements && m_controlHost) {
        for (const boost::shared_ptr<LayoutLib::IElement>& element : elements) {
            if (!element || !element->IsAutomated())
                continue;
            if (IAutoControl* control = m_controlHost->GetAutoControl(element))
                control->OnLayoutApplied();
        }
    }
    return true;
}

void LayoutWindowKeeper::ApplyWindowShape() {
    if (!IsSkinning() || !m_owner || !::IsWindow(m_owner))
        return;
    if (m_layoutWindow->GetShapeType() == LayoutLib::ShapeRectangular)
        return;
    RECT window = {};
    ::GetWindowRect(m_owner, &window);
    const RECT target = {0, 0, window.right - window.left, window.bottom - window.top};
    const CommonGuiLib::SharedRegion region = WindowShape::BuildShapeRegion(
        m_layoutWindow->GetShapeType(), m_layoutWindow->GetShapeValues(), target, GetMaskSources());
    WindowShape::SetWindowRegionCopy(m_owner, region, true);
}

void LayoutWindowKeeper::OnOwnerSized() {
    ApplyWindowShape();
    const RECT rect = GetLayoutRect();
    GetRegionSet().Layout(rect.right - rect.left, rect.bottom - rect.top);
    RepositionChildren();
}

bool LayoutWindowKeeper::GetMinMaxInfo(MINMAXINFO& info) {
    if (!IsSkinning())
        return false;
    // The layout's sizes are client sizes; the system reads window sizes.
    const SIZE borders = GetBorderSize();
    if (!m_layoutWindow->IsResizable()) {
        const SIZE preferred = Plus(m_layoutWindow->GetSize(LayoutLib::SizePreferred), borders);
        info.ptMinTrackSize = POINT{preferred.cx, preferred.cy};
        info.ptMaxTrackSize = info.ptMinTrackSize;
        info.ptMaxSize = info.ptMinTrackSize;
        return true;
    }
    const SIZE minimum = m_layoutWindow->GetSize(LayoutLib::SizeMin);
    if (IsPositive(minimum)) {
        const SIZE size = Plus(minimum, borders);
        info.ptMinTrackSize = POINT{size.cx, size.cy};
    }
    const SIZE maximum = m_layoutWindow->GetSize(LayoutLib::SizeMax);
    if (IsPositive(maximum)) {
        const SIZE size = Plus(maximum, borders);
        info.ptMaxTrackSize = POINT{size.cx, size.cy};
        info.ptMaxSize = info.ptMaxTrackSize;
    }
    return true;
}

bool LayoutWindowKeeper::AddElementShape(const boost::shared_ptr<LayoutLib::IElement>& element) {
    if (!element)
        return false;
    const RECT position = element->GetPosition();
    const CommonGuiLib::SharedRegion region =
        WindowShape::BuildShapeRegion(element->GetShapeType(), element->GetShapeValues(), position, GetMaskSources());
    if (CommonGuiLib::IsNullGDIObject(region))
        return false;
    const UINT anchors = WindowShape::ToRegionSetAnchors(element->GetAnchors());
    const POINT topLeft = {position.left, position.top};
    if (element->IsWindowed() && element->GetId() == -1) {
        HWND child = m_controlHost ? m_controlHost->GetElementWindow(element) : nullptr;
        if (!child || !::IsWindow(child))
            return false;
        if (element->GetShapeType() != LayoutLib::ShapeRectangular)
            WindowShape::SetWindowRegionCopy(child, region, true);
        ::SetWindowPos(child, nullptr, position.left, position.top, position.right - position.left,
                       position.bottom - position.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return AnchorChildByLayout(child, element->GetAnchors());
    }
    if (!GetRegionSet().AddRegion(element->GetId(), region, topLeft, anchors, 0))
        return false;
    if (!element->IsWindowed() && m_host)
        m_host->OnElementRegionAdded(element);
    return true;
}
