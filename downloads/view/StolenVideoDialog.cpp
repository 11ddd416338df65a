#include "downloads/view/StolenVideoDialog.h"
#include "downloads/view/ViewServices.h"

#include "appframework/product/ProductInfo.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "skin/layout/IDrawable.h"
#include "skin/layout/IElement.h"

using ViewServices::ExpandProductPlaceholders;

StolenVideoDialog::StolenVideoDialog(const boost::shared_ptr<LayoutLib::IManager>& layoutManager, CWnd* pParent)
    : FullAutoSurfaceT<CDialog>(IDD, pParent),
      m_layoutManager(layoutManager),
      m_checkBox(nullptr, WLCheckBox::Checked) {}

BOOL StolenVideoDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const boost::shared_ptr<AppResources::Manager> pResources = AppResources::ResourceManagerHolder::GetManager();
    SetResourceManager(pResources ? pResources->GetResourceLibManager() : boost::shared_ptr<ResourceLib::IManager>());
    SetWindowText(ExpandProductPlaceholders(L"{ProductName}").c_str());
    m_layoutLoaded = m_layoutManager && LoadLayout(m_layoutManager, kLayoutWindow, true, true);
    if (!m_layoutLoaded) {
        // A bare template offers nothing to answer with: the question is
        // left for another time rather than shown empty.
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CenterWindow();
    SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

IAutoControl* StolenVideoDialog::GetAutoControl(const ElementPtr& element) {
    if (element && element->GetType() == L"checkbox")
        return &m_checkBox;
    return FullAutoSurfaceT<CDialog>::GetAutoControl(element);
}

void StolenVideoDialog::OnClick(Surface& /*surface*/, int index) {
    switch (index) {
    case ControlCaptureOff:
        m_choice = ChoiceCaptureOff;
        EndDialog(IDOK);
        break;
    case ControlWatch:
        m_choice = ChoiceWatch;
        EndDialog(IDOK);
        break;
    case ControlClose:
        m_choice = ChoiceNone;
        EndDialog(IDCANCEL);
        break;
    default:
        break;  // the check box toggles itself
    }
}

std::wstring StolenVideoDialog::GetElementText(const boost::shared_ptr<LayoutLib::IDrawable>& drawable,
                                               const ElementPtr& element) const {
    const boost::shared_ptr<LayoutLib::IText> pText = boost::dynamic_pointer_cast<LayoutLib::IText>(drawable);
    std::wstring text = pText ? pText->GetText() : std::wstring();
    if (text.empty() && element) {
        const boost::shared_ptr<ResourceLib::IManager>& pResources =
            const_cast<StolenVideoDialog*>(this)->GetRendererData().resourceManager;
        if (pResources)
            text = pResources->GetStringByName(element->GetName());
    }
    return ExpandProductPlaceholders(text);
}

bool StolenVideoDialog::GetTextHook(boost::shared_ptr<LayoutLib::IDrawable> drawable,
                                    LayoutRenderer::Canvas& /*canvas*/, ElementPtr element, std::wstring& text) {
    if (!boost::dynamic_pointer_cast<LayoutLib::IText>(drawable))
        return false;
    text = GetElementText(drawable, element);
    return true;
}
