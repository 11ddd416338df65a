#include "skin/autocontrols/WLCheckBox.h"

#include "skin/layout/CustomGetters.h"
#include "skin/renderer/LayoutRenderer.h"

void WLCheckBox::SetElement(boost::shared_ptr<LayoutLib::IElement> element, const LayoutLib::CustomValues& values,
                            LayoutRenderer::RendererData* rendererData) {
    WLBaseControl::SetElement(element, values, rendererData);
    m_visual = element ? element->GetVisual() : nullptr;
    if (!m_visual)
        return;
    m_element = element;
    const std::wstring initial = LayoutLib::GetCustomString(L"initialState", m_visual->GetCustomValues(), L"unchecked");
    if (initial == L"checked")
        m_state = Checked;
    else if (initial == L"undefined")
        m_state = Undefined;
    else
        m_state = Unchecked;
}

boost::shared_ptr<LayoutLib::IVisualState> WLCheckBox::ChooseStatePicture() {
    RequireInitialized();
    const ElementState state = m_host->GetElementState(m_index);
    const wchar_t* mouse = !state.enabled                 ? StatePictureNames::kDisabled
                           : state.over && state.down     ? StatePictureNames::kDown
                           : state.over                   ? StatePictureNames::kOver
                                                          : StatePictureNames::kOut;
    const std::wstring prefix = m_state == Checked ? L"checked_" : m_state == Undefined ? L"undefined_" : L"unchecked_";
    if (!m_visual)
        return nullptr;
    const std::wstring names[] = {prefix + mouse, std::wstring(L"unchecked_") + mouse, prefix + L"out",
                                  L"unchecked_out", L"out", L"default"};
    for (const std::wstring& name : names) {
        if (boost::shared_ptr<LayoutLib::IVisualState> found = m_visual->FindState(name))
            return found;
    }
    return nullptr;
}

void WLCheckBox::Paint(CDC& canvas, const RECT&) {
    if (!IsVisible())
        return;
    const boost::shared_ptr<LayoutLib::IVisualState> visualState = ChooseStatePicture();
    if (!visualState)
        return;
    LayoutLib::CustomValues values = visualState->GetCustomValues();
    m_host->PrepareElementValues(m_element, values);
    const boost::shared_ptr<LayoutLib::IManager> layout = m_host->GetLayoutManager();
    if (!layout)
        return;
    const boost::shared_ptr<LayoutLib::IPicture> picture = layout->GetPicture(visualState->GetPicture(), values);
    if (!picture)
        return;
    const ElementState state = m_host->GetElementState(m_index);
    LayoutRenderer::RenderContext context;
    context.host = m_host;
    LayoutRenderer::Canvas drawing(&canvas);
    LayoutRenderer::DrawPicture(context, picture, drawing, state.box, m_element, nullptr);
}

void WLCheckBox::OnClick(int index) {
    RequireInitialized();
    if (!IsMyIndex(index) || !IsEnabled() || !IsVisible())
        return;
    m_state = m_state == Checked ? Unchecked : Checked;
    if (m_listener)
        m_listener->OnCheckChanged(*this);
    Invalidate();
}

bool WLCheckBox::UpdateState(ElementState& state) {
    RequireInitialized();
    const bool mine = IsMyIndex(state.index);
    if (mine && m_listener)
        return m_listener->OnUpdateState(*this, state);
    return mine;
}
