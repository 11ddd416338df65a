#pragma once
// The common base of windowless controls: the element index it is bound to,
// its surface and its control host. Most operations need all three and throw
// std::runtime_error "The auto control hasn't been initialized" without them.
#include "skin/autocontrols/IAutoControl.h"
#include "skin/autocontrols/IAutoControlHost.h"

class WLBaseControl : public IWindowlessAutoControl {
public:
    int GetIndex() const override { return m_index; }
    // Binds to the element's id.
    void SetElement(boost::shared_ptr<LayoutLib::IElement> element, const LayoutLib::CustomValues& values,
                    LayoutRenderer::RendererData* rendererData) override;
    // Moves the element's region to the rectangle, keeping its anchors, and
    // repaints it.
    void SetRect(int left, int top, int right, int bottom) override;
    bool Initialize(ISurface* owner, IAutoControlHost* host) override;
    bool IsMyIndex(int index) const override { return index == m_index && index != -1; }

    virtual bool IsVisible();
    virtual bool IsEnabled();
    virtual void Invalidate();

protected:
    bool IsInitialized() const noexcept { return m_host && m_owner && m_index != -1; }
    void RequireInitialized() const;

    int m_index = -1;
    IAutoControlHost* m_host = nullptr;
    ISurface* m_owner = nullptr;
};
