#include "skin/autocontrols/WLBaseControl.h"

#include <stdexcept>

void WLBaseControl::RequireInitialized() const {
    if (!IsInitialized())
        throw std::runtime_error("The auto control hasn't been initialized");
}

void WLBaseControl::SetElement(boost::shared_ptr<LayoutLib::IElement> element, const LayoutLib::CustomValues&,
                               LayoutRenderer::RendererData*) {
    if (element)
        m_index = element->GetId();
}

void WLBaseControl::SetRect(int left, int top, int right, int bottom) {
    RequireInitialized();
    CommonGuiLib::AnchoredRegionSet& regions = m_host->GetRegionSet();
    const UINT anchors = regions.GetAnchors(m_index);
    const UINT extra = regions.GetExtra(m_index);
    if (regions.AddRect(m_index, RECT{left, top, right, bottom}, anchors, extra))
        m_host->InvalidateElement(this, m_index);
}

bool WLBaseControl::Initialize(ISurface* owner, IAutoControlHost* host) {
    m_owner = owner;
    m_host = host;
    return owner && host;
}

bool WLBaseControl::IsVisible() {
    RequireInitialized();
    return m_host->GetElementState(m_index).visible;
}

bool WLBaseControl::IsEnabled() {
    RequireInitialized();
    return m_host->GetElementState(m_index).enabled;
}

void WLBaseControl::Invalidate() {
    RequireInitialized();
    m_host->InvalidateElement(this, m_index);
}
